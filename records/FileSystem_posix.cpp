#include "records/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace filesys {
namespace {

constexpr size_t kMaxNameInPrefix = 200;

// Closed on every way out, a thrown bad_alloc included.
struct Descriptor {
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
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
    size_t slash = path.rfind('/');
    std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    return "." + name.substr(0, kMaxNameInPrefix) + ".tmp-";
}

// Removes what saves killed before their rename left behind: files named
// prefix plus mkstemp's six characters that no running save holds locked.
void RemoveStaleTemporaries(int dir, const std::string& prefix)
{
    int scan = ::dup(dir);
    DIR* entries = scan >= 0 ? ::fdopendir(scan) : nullptr;
    if (!entries) {
        if (scan >= 0)
            ::close(scan);
        return;
    }
    std::vector<std::string> stale;
    while (const dirent* e = ::readdir(entries)) {
        const std::string name = e->d_name;
        if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0)
            stale.push_back(name);
    }
    ::closedir(entries);
    for (const std::string& name : stale) {
        int fd = ::openat(dir, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat held, named;
        // Only the file that was locked: its name may have been reused since.
        if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(dir, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_ino == held.st_ino &&
            named.st_dev == held.st_dev) {
            ::unlinkat(dir, name.c_str(), 0);
        }
        ::close(fd);
    }
}

}  // namespace

void UseUtf8FileNames() {}

std::string SameFileKey(const std::string& path)
{
    return path;
}

ReadStatus ReadFileBelow(const std::string& path, std::string& out, unsigned long long limit)
{
    const Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0)
        return ReadStatus::CannotRead;
    // A pipe or a device has no size; neither has a file fstat fails on.
    struct stat st;
    const bool sized = ::fstat(file.fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
    return ReadGrowing(sized ? static_cast<unsigned long long>(st.st_size) : 0, limit, out,
                       [&](char* buffer, size_t size) -> long long {
                           ssize_t n;
                           while ((n = ::read(file.fd, buffer, size)) < 0 && errno == EINTR) {
                           }
                           return n;
                       });
}

struct SafeWriter::Temporary {
    int fd = -1;
    std::string name, target;
};

SafeWriter::SafeWriter(const std::string& path) : m_tmp(new Temporary)
{
    // The temporary file lies in the target's directory, so the rename
    // cannot cross file systems, and is hidden and named after the target,
    // so one left by a save that was killed is recognisable.
    std::string tmpl = DirectoryPrefix(path) + TemporaryPrefix(path) + "XXXXXX";
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    m_tmp->fd = ::mkstemp(name.data());
    m_tmp->name = name.data();
    m_tmp->target = path;
    if (m_tmp->fd < 0) {
        m_tmp.reset();
        m_failed = Failure::Create;
        return;
    }
    // Held until the rename is done: the clean-up of other saves leaves a
    // locked temporary file alone.
    ::flock(m_tmp->fd, LOCK_EX);
    // mkstemp makes the file private; give it the mode the target has, or
    // the usual mode of a new file.
    struct stat st;
    mode_t mode;
    if (::stat(path.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(m_tmp->fd, mode) != 0)
        m_failed = Failure::Create;
}

SafeWriter::~SafeWriter()
{
    if (m_tmp) {
        ::unlink(m_tmp->name.c_str());
        ::close(m_tmp->fd);
    }
}

bool SafeWriter::Write(std::string_view bytes)
{
    if (m_failed == Failure::None && !WriteAll(m_tmp->fd, bytes.data(), bytes.size()))
        m_failed = Failure::Write;
    return m_failed == Failure::None;
}

bool SafeWriter::Commit()
{
    if (m_failed == Failure::None && ::fsync(m_tmp->fd) != 0)
        m_failed = Failure::Write;
    if (m_failed == Failure::None && ::rename(m_tmp->name.c_str(), m_tmp->target.c_str()) != 0)
        m_failed = Failure::Replace;
    if (m_failed != Failure::None)
        return false;
    // After a successful fsync a late error of close loses nothing.
    ::close(m_tmp->fd);
    const std::string target = m_tmp->target;
    m_tmp.reset();
    // Make the rename itself durable; the data is already safe, so a
    // failure here does not undo the save.
    const std::string dirName = DirectoryPrefix(target);
    int dir = ::open(dirName.empty() ? "." : dirName.c_str(), O_RDONLY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        RemoveStaleTemporaries(dir, TemporaryPrefix(target));
        ::close(dir);
    }
    return true;
}

bool IdentifyFile(const std::string& path, FileIdentity& id)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return false;
    id.volume = static_cast<unsigned long long>(st.st_dev);
    id.index = static_cast<unsigned long long>(st.st_ino);
    return true;
}

std::FILE* OpenToRead(const std::string& path)
{
    return std::fopen(path.c_str(), "rb");
}

}  // namespace filesys
