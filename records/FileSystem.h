// The two file operations the program needs, behind a portable interface.
// File names are code page 1250 bytes, as the settings file gives them.
#pragma once

#include <string>
#include <string_view>

namespace filesys {

// Reads the whole file as bytes into out. False if it cannot be opened or
// read; out is then unspecified.
bool ReadWholeFile(const std::string& path, std::string& out);

// Replaces the file with exactly these bytes, or leaves it as it was: the
// bytes go to a temporary file in the same directory, which is flushed to
// disk, closed and only then renamed over the target. On any failure the
// temporary file is removed and false is returned.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace filesys
