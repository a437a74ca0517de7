// The two file operations the program needs, behind a portable interface.
// File names are code page 1250 bytes, as the settings file gives them.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace filesys {

enum class ReadStatus { Read, CannotRead, TooLarge };

// Reads the whole file as bytes into out, unless it holds limit bytes or
// more (also one that grows past limit while it is read, or a device without
// end). Out is unspecified unless the file was read. A file the process
// cannot hold throws std::bad_alloc.
ReadStatus ReadFileBelow(const std::string& path, std::string& out, unsigned long long limit);

// Reads the whole file as bytes into out. False if it cannot be opened or
// read; out is then unspecified.
inline bool ReadWholeFile(const std::string& path, std::string& out)
{
    return ReadFileBelow(path, out, ~0ull) == ReadStatus::Read;
}

// Replaces the file with exactly these bytes, or leaves it as it was: the
// bytes go to a temporary file in the same directory, which is flushed to
// disk and only then renamed over the target. On any failure the temporary
// file is removed and false is returned.
//
// The temporary file is hidden and named after the target, ".<name>.tmp-"
// and six more characters (the name cut to 200 bytes). A save killed before
// its rename leaves one behind; it is never read, and the next successful
// save to the same name removes it. A save still running is never disturbed.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

// The file opened for reading bytes piece by piece ("rb"), or null.
std::FILE* OpenToRead(const std::string& path);

}  // namespace filesys
