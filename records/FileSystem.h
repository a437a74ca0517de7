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

// What identifies a file and the state it was read in: the file itself
// (volume serial number and file index on Windows, device and inode on
// POSIX, so every name of it, links included, gives the same), its size and
// the time of its last write.
struct FileSnapshot {
    bool exists = false;  // a regular file that could be asked
    unsigned long long volume = 0, index = 0, size = 0, written = 0;

    bool SameFile(const FileSnapshot& o) const { return exists && o.exists && volume == o.volume && index == o.index; }
    bool operator==(const FileSnapshot& o) const { return SameFile(o) && size == o.size && written == o.written; }
    bool operator!=(const FileSnapshot& o) const { return !(*this == o); }
};

// The snapshot of the regular file the name leads to now; exists is false
// for no file, or anything else (a directory, a device, a pipe).
FileSnapshot SnapshotOf(const std::string& path);

// What a name leads to now, its links followed, so that a message can say
// why it cannot be read: nothing (or nothing the system will say), a
// regular file, a folder, or something else (a device, a pipe).
enum class FileKind { None, File, Folder, Other };
FileKind KindOf(const std::string& path);

// The file's identity as text (SnapshotOf), or, for a name that leads to no
// regular file, SameFileKey's text of the name.
std::string FileKey(const std::string& path);

// Reads the whole file as bytes into out, unless it holds limit bytes or
// more (also one that grows past limit while it is read). Only a regular
// file is read: a device or a pipe is refused at once, never waited on, as
// is a failed read. Out is unspecified unless the file was read. A file the
// process cannot hold, in memory or in one string, throws std::bad_alloc;
// the file is closed then too. When read is given, it gets the snapshot of
// the file as it was opened, for a later check that it is still the same.
ReadStatus ReadFileBelow(const std::string& path, std::string& out, unsigned long long limit,
                         FileSnapshot* read = nullptr);

// Reads the whole file as bytes into out. False if it cannot be opened or
// read; out is then unspecified.
inline bool ReadWholeFile(const std::string& path, std::string& out)
{
    return ReadFileBelow(path, out, ~0ull) == ReadStatus::Read;
}

enum class WriteStatus {
    Written,
    CannotWrite,  // the system said no: nothing was changed
    NotAFile,     // the name leads to a directory, a device or a pipe
    ReadOnly,     // the file is read-only (Windows' attribute; on POSIX no write permission)
    Changed,      // the file is no longer the one the snapshot describes
};

// Replaces the file with exactly these bytes, or leaves it as it was: the
// bytes go to a temporary file in the same directory, which is flushed to
// disk and only then renamed over the target. On any failure the temporary
// file is removed. A symbolic link is written through: the file it leads
// to is replaced, and the link stays.
//
// With unchanged given, the file must still be the one it describes (same
// file, size and last write) just before the rename, else Changed and
// nothing is written. std::bad_alloc is thrown only before anything is made.
//
// The temporary file is hidden and named after the target, ".<name>.tmp-"
// and six more characters (the name cut to 200 bytes). A save killed before
// its rename leaves one behind; it is never read, and the next successful
// save to the same name removes it. A save still running is never disturbed.
WriteStatus ReplaceFileBytes(const std::string& path, std::string_view bytes, const FileSnapshot* unchanged = nullptr);

inline bool WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    return ReplaceFileBytes(path, bytes) == WriteStatus::Written;
}

// The same save for bytes that are made while they are written, so that
// they need not be held in memory at once: the temporary file is created at
// once, Write appends to it and Commit flushes it and renames it over the
// target. A writer destroyed without a successful Commit removes its
// temporary file; the target then stays as it was.
class SafeWriter {
public:
    // Where it failed: the temporary file could not be created (the folder
    // cannot be written), a write or the flush failed (the disk is full),
    // the target could not be replaced (it is held open), is no regular
    // file or is read-only, or it changed since the snapshot Commit was given.
    enum class Failure { None, Create, Write, Replace, NotAFile, ReadOnly, Changed };

    explicit SafeWriter(const std::string& path);
    ~SafeWriter();
    SafeWriter(const SafeWriter&) = delete;
    SafeWriter& operator=(const SafeWriter&) = delete;

    // False once anything has failed; then nothing more is written.
    bool Write(std::string_view bytes);
    // With unchanged given, the target must still be the file it describes.
    bool Commit(const FileSnapshot* unchanged = nullptr);
    Failure Failed() const { return m_failed; }

private:
    struct Temporary;  // the platform's open temporary file
    std::unique_ptr<Temporary> m_tmp;
    Failure m_failed = Failure::None;
};

// One text for every spelling of a file's name: on Windows its full path,
// long form, in capitals, as UTF-8; on POSIX the name as it is.
std::string SameFileKey(const std::string& path);

// The read loop both platforms share: read(buffer, size) gives the bytes it
// read, 0 at the end or -1 on a failure (so is a count beyond size: a
// failed call taken for a number). sizeHint is the file's size if
// known, else 0; the file is read to its end either way.
ReadStatus ReadGrowing(unsigned long long sizeHint, unsigned long long limit, std::string& out,
                       const std::function<long long(char* buffer, size_t size)>& read);

// The file opened for reading bytes piece by piece ("rb"), or null.
std::FILE* OpenToRead(const std::string& path);

}  // namespace filesys
