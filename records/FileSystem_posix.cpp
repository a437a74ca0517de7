#include "records/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "records/Faults.h"

namespace filesys {
namespace {

constexpr size_t kMaxNameInPrefix = 200;

// Each call the seam may fail, with the error the system usually gives there.
bool Failed(FaultCall call, int usual)
{
    const int error = FaultFor(call, usual);
    if (error != 0)
        errno = error;
    return error != 0;
}

int Open(const char* path, int flags)
{
    return Failed(FaultCall::Open, EACCES) ? -1 : ::open(path, flags | O_CLOEXEC, 0);
}

bool Stat(int fd, struct stat& st)
{
    return !Failed(FaultCall::Size, EIO) && ::fstat(fd, &st) == 0;
}

// A call interrupted by a signal is made again.
template <class Call>
long long Retried(Call call)
{
    long long n;
    while ((n = call()) < 0 && errno == EINTR) {
    }
    return n;
}

long long Read(int fd, char* buffer, size_t size)
{
    return Retried([&] { return Failed(FaultCall::Read, EIO) ? -1 : ::read(fd, buffer, size); });
}

bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const long long n = Retried([&] { return Failed(FaultCall::Write, ENOSPC) ? -1 : ::write(fd, data, size); });
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool Flush(int fd)
{
    return Retried([&] { return Failed(FaultCall::Flush, EIO) ? -1 : ::fsync(fd); }) == 0;
}

bool Remove(int dir, const char* name)
{
    return !Failed(FaultCall::Delete, EBUSY) && ::unlinkat(dir, name, 0) == 0;
}

// Closed on every way out, a thrown bad_alloc included.
struct Descriptor {
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

FileSnapshot SnapshotFrom(const struct stat& st)
{
    FileSnapshot s;
    s.exists = S_ISREG(st.st_mode);
    s.volume = static_cast<unsigned long long>(st.st_dev);
    s.index = static_cast<unsigned long long>(st.st_ino);
    s.size = static_cast<unsigned long long>(st.st_size);
    s.written = static_cast<unsigned long long>(st.st_mtim.tv_sec) * 1000000000ull +
                static_cast<unsigned long long>(st.st_mtim.tv_nsec);
    return s;
}

// The directory part of path with its final "/", or "" for a bare name.
std::string DirectoryPrefix(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// ".<name>.tmp-": the start of the temporary files of saves to path. A
// long name is cut so that the temporary name stays within NAME_MAX.
std::string TemporaryPrefix(const std::string& path)
{
    return "." + path.substr(DirectoryPrefix(path).size(), kMaxNameInPrefix) + ".tmp-";
}

// The file a save replaces: path, or the end of its chain of symbolic links
// (which need not exist yet), and the mode it has. Anything but a regular
// file or no file is refused, as is a file no one may write.
WriteStatus SaveTarget(std::string& target, mode_t& mode)
{
    for (int links = 0; links < 40; ++links) {
        struct stat st;
        if (Failed(FaultCall::Size, EIO) || ::lstat(target.c_str(), &st) != 0) {
            if (errno != ENOENT)
                return WriteStatus::CannotWrite;
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
            return WriteStatus::Written;
        }
        if (S_ISLNK(st.st_mode)) {
            std::vector<char> link(static_cast<size_t>(st.st_size) + 2);
            const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
            if (n < 0 || static_cast<size_t>(n) >= link.size())
                return WriteStatus::CannotWrite;
            const std::string to(link.data(), static_cast<size_t>(n));
            target = to[0] == '/' ? to : DirectoryPrefix(target) + to;
            continue;
        }
        if (!S_ISREG(st.st_mode))
            return WriteStatus::NotAFile;
        // No write bit stops root too, as the read-only attribute does on Windows.
        if ((st.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)
            return WriteStatus::ReadOnly;
        mode = st.st_mode & 07777;
        return WriteStatus::Written;
    }
    return WriteStatus::CannotWrite;  // a loop of links
}

// Removes what saves killed before their rename left behind: files named
// prefix plus mkstemp's six characters that no running save holds locked.
// Only a help to the next save: a failure here, of memory too, changes nothing.
void RemoveStaleTemporaries(int dir, const std::string& prefix) noexcept
try {
    const int scan = ::dup(dir);
    DIR* entries = scan >= 0 ? ::fdopendir(scan) : nullptr;
    if (!entries) {
        if (scan >= 0)
            ::close(scan);
        return;
    }
    std::vector<std::string> stale;
    try {
        while (const dirent* e = ::readdir(entries)) {
            const std::string name = e->d_name;
            if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0)
                stale.push_back(name);
        }
    } catch (...) {
        ::closedir(entries);
        throw;
    }
    ::closedir(entries);
    for (const std::string& name : stale) {
        const Descriptor file{Failed(FaultCall::Open, EACCES)
                                  ? -1
                                  : ::openat(dir, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC)};
        struct stat held, named;
        // Only the file that was locked: its name may have been reused since.
        if (file.fd >= 0 && ::fstat(file.fd, &held) == 0 && S_ISREG(held.st_mode) &&
            ::flock(file.fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(dir, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_ino == held.st_ino &&
            named.st_dev == held.st_dev) {
            Remove(dir, name.c_str());
        }
    }
} catch (...) {
}

}  // namespace

void UseUtf8FileNames() {}

std::string SameFileKey(const std::string& path)
{
    return path;
}

FileSnapshot SnapshotOf(const std::string& path)
{
    const Descriptor file{Open(path.c_str(), O_RDONLY | O_NONBLOCK)};
    struct stat st;
    return file.fd >= 0 && Stat(file.fd, st) ? SnapshotFrom(st) : FileSnapshot();
}

FileKind KindOf(const std::string& path)
{
    struct stat st;
    if (Failed(FaultCall::Size, EIO) || ::stat(path.c_str(), &st) != 0)
        return FileKind::None;
    return S_ISREG(st.st_mode) ? FileKind::File : S_ISDIR(st.st_mode) ? FileKind::Folder : FileKind::Other;
}

ReadStatus ReadFileBelow(const std::string& path, std::string& out, unsigned long long limit, FileSnapshot* read)
{
    // Without a writer a pipe would hold the open until one comes.
    const Descriptor file{Open(path.c_str(), O_RDONLY | O_NONBLOCK)};
    struct stat st;
    if (file.fd < 0 || !Stat(file.fd, st) || !S_ISREG(st.st_mode))
        return ReadStatus::CannotRead;
    const ReadStatus status =
        ReadGrowing(st.st_size > 0 ? static_cast<unsigned long long>(st.st_size) : 0, limit, out,
                    [&](char* buffer, size_t size) -> long long { return Read(file.fd, buffer, size); });
    if (read)
        *read = SnapshotFrom(st);
    return status;
}

struct SafeWriter::Temporary {
    int fd = -1, dir = -1;
    std::string name, target, prefix;
    ~Temporary()
    {
        if (fd >= 0) {
            Remove(AT_FDCWD, name.c_str());
            ::close(fd);
        }
        if (dir >= 0)
            ::close(dir);
    }
};

SafeWriter::SafeWriter(const std::string& path) : m_tmp(new Temporary)
{
    Temporary& t = *m_tmp;
    t.target = path;
    mode_t mode = 0;
    switch (SaveTarget(t.target, mode)) {
    case WriteStatus::Written:
        break;
    case WriteStatus::NotAFile:
        m_failed = Failure::NotAFile;
        return;
    case WriteStatus::ReadOnly:
        m_failed = Failure::ReadOnly;
        return;
    default:
        m_failed = Failure::Create;
        return;
    }
    // The temporary file lies in the target's directory, so the rename
    // cannot cross file systems, and is hidden and named after the target,
    // so one left by a save that was killed is recognisable.
    const std::string dirName = DirectoryPrefix(t.target);
    t.prefix = TemporaryPrefix(t.target);
    t.name = dirName + t.prefix + "XXXXXX";
    t.dir = Open(dirName.empty() ? "." : dirName.c_str(), O_RDONLY | O_DIRECTORY);
    if (t.dir >= 0 && !filesys::Failed(FaultCall::Open, EACCES))
        t.fd = ::mkostemp(&t.name[0], O_CLOEXEC);
    if (t.fd < 0) {
        m_failed = Failure::Create;
        return;
    }
    // Held until the rename is done: the clean-up of other saves leaves a
    // locked temporary file alone.
    ::flock(t.fd, LOCK_EX);
    // mkstemp makes the file private; it gets the mode the target has.
    if (::fchmod(t.fd, mode) != 0)
        m_failed = Failure::Create;
}

SafeWriter::~SafeWriter() = default;

bool SafeWriter::Write(std::string_view bytes)
{
    if (m_failed == Failure::None && !WriteAll(m_tmp->fd, bytes.data(), bytes.size()))
        m_failed = Failure::Write;
    return m_failed == Failure::None;
}

bool SafeWriter::Commit(const FileSnapshot* unchanged)
{
    if (m_failed != Failure::None)
        return false;
    Temporary& t = *m_tmp;
    if (!Flush(t.fd))
        m_failed = Failure::Write;
    else if (unchanged && SnapshotOf(t.target) != *unchanged)
        m_failed = Failure::Changed;
    else if (filesys::Failed(FaultCall::Replace, EACCES) || ::rename(t.name.c_str(), t.target.c_str()) != 0)
        m_failed = Failure::Replace;
    if (m_failed != Failure::None)
        return false;
    // After a successful fsync a late error of close loses nothing.
    ::close(t.fd);
    t.fd = -1;
    // Make the rename itself durable; the data is already safe, so a
    // failure here does not undo the save.
    Flush(t.dir);
    RemoveStaleTemporaries(t.dir, t.prefix);
    m_tmp.reset();
    return true;
}

std::FILE* OpenToRead(const std::string& path)
{
    return Failed(FaultCall::Open, EACCES) ? nullptr : std::fopen(path.c_str(), "rb");
}

}  // namespace filesys
