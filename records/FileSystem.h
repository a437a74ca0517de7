// The file operations the programs need, behind a portable interface.
//
// File names: on POSIX, bytes handed to the system as they are. On Windows,
// code page 1250 bytes, as Tolvari's settings file gives them, unless the
// process has called UseUtf8FileNames (the import, whose names come from its
// command line); either way they become UTF-16 at the Win32 call.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace filesys {

// From now on, file names of this process are UTF-8 (Windows only).
void UseUtf8FileNames();

enum class ReadStatus { Read, CannotRead, TooLarge };

// Reads the whole file as bytes into out, unless it holds limit bytes or
// more (also one that grows past limit while it is read, or a device without
// end). Out is unspecified unless the file was read. A file the process
// cannot hold, in memory or in one string, throws std::bad_alloc; the file
// is closed then too.
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

// The same save for bytes that are made while they are written, so that
// they need not be held in memory at once: the temporary file is created at
// once, Write appends to it and Commit flushes it and renames it over the
// target. A writer destroyed without a successful Commit removes its
// temporary file; the target then stays as it was.
class SafeWriter {
public:
    // Where it failed: the temporary file could not be created (the folder
    // cannot be written), a write or the flush failed (the disk is full),
    // or the target could not be replaced (it is a folder, or held open).
    enum class Failure { None, Create, Write, Replace };

    explicit SafeWriter(const std::string& path);
    ~SafeWriter();
    SafeWriter(const SafeWriter&) = delete;
    SafeWriter& operator=(const SafeWriter&) = delete;

    // False once anything has failed; then nothing more is written.
    bool Write(std::string_view bytes);
    bool Commit();
    Failure Failed() const { return m_failed; }

private:
    struct Temporary;  // the platform's open temporary file
    std::unique_ptr<Temporary> m_tmp;
    Failure m_failed = Failure::None;
};

// What makes a file the one it is, whatever name reaches it (a link, a
// relative path, another drive letter or share): device and inode on POSIX,
// the volume's serial number and the file index on Windows.
struct FileIdentity {
    unsigned long long volume = 0, index = 0;
    bool operator==(const FileIdentity& other) const { return volume == other.volume && index == other.index; }
};

// False, leaving id as it was, if there is no such file or it cannot be
// asked.
bool IdentifyFile(const std::string& path, FileIdentity& id);

// One text for every spelling of a file's name: on Windows its full path,
// long form, in capitals, as UTF-8; on POSIX the name as it is.
std::string SameFileKey(const std::string& path);

// The read loop both platforms share: read(buffer, size) gives the bytes it
// read, 0 at the end or -1 on a failure. sizeHint is the file's size if
// known, else 0; the file is read to its end either way.
ReadStatus ReadGrowing(unsigned long long sizeHint, unsigned long long limit, std::string& out,
                       const std::function<long long(char* buffer, size_t size)>& read);

// The file opened for reading bytes piece by piece ("rb"), or null.
std::FILE* OpenToRead(const std::string& path);

}  // namespace filesys
