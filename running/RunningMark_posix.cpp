#include "running/RunningMark.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "records/Faults.h"

// The mark is a shared lock of the open file description (Linux) on byte 0,
// which any reader may take and ask about; the writers' lock is flock's, of
// the whole file, which knows nothing of the other. Both belong to the open
// file, not the process, and go with its last descriptor.
namespace {

using filesys::FaultCall;
using filesys::FaultFor;

int OpenFile(const std::string& path)
{
    if (const int error = FaultFor(FaultCall::Open, EACCES)) {
        errno = error;
        return -1;
    }
    // Not a pipe without a writer, which would hold the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st;
    if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

// A lock call the seam may fail; one a signal interrupts is made again.
template <class Call>
int LockCall(Call call)
{
    int result;
    do {
        const int error = FaultFor(FaultCall::Mark, ENOLCK);
        errno = error;
        result = error != 0 ? -1 : call();
    } while (result < 0 && errno == EINTR);
    return result;
}

// F_OFD_SETLK or F_OFD_GETLK on the first byte; for the latter 1 if another
// holds a lock that stands in the way.
int LockFirstByte(int fd, int command, short type)
{
    struct flock lock = {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_len = 1;
    const int result = LockCall([&] { return ::fcntl(fd, command, &lock); });
    return result == 0 && command == F_OFD_GETLK && lock.l_type != F_UNLCK ? 1 : result;
}

bool SameFile(int fd, const std::string& path)
{
    struct stat held, named;
    return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

}  // namespace

RunningMark::~RunningMark()
{
    if (m_held != -1)
        ::close(static_cast<int>(m_held));
}

void RunningMark::Mark(const std::string& path) noexcept
{
    int fd = OpenFile(path);
    if (fd >= 0 && LockFirstByte(fd, F_OFD_SETLK, F_RDLCK) != 0) {
        ::close(fd);
        fd = -1;
    }
    if (m_held != -1)
        ::close(static_cast<int>(m_held));
    m_held = fd;
}

bool IsMarkedRunning(const std::string& path)
{
    const int fd = OpenFile(path);
    if (fd < 0)
        return false;
    // A failure to ask counts as a mark: the import then stays off the file.
    const bool marked = LockFirstByte(fd, F_OFD_GETLK, F_WRLCK) != 0;
    ::close(fd);
    return marked;
}

DataFileLock::Result DataFileLock::Lock(const std::string& path, unsigned waitMs) noexcept
{
    Unlock();
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        const int fd = OpenFile(path);
        if (fd < 0)
            return errno == ENOENT ? Result::Locked : Result::Failed;
        m_held = fd;
        const bool locked = LockCall([&] { return ::flock(fd, LOCK_EX | LOCK_NB); }) == 0;
        // A writer may have put a new file in place while this one waited.
        if (locked && SameFile(fd, path))
            return Result::Locked;
        const bool busy = locked || errno == EWOULDBLOCK;
        Unlock();
        if (!busy)
            return Result::Failed;
        if (std::chrono::steady_clock::now() >= end)
            return Result::Busy;
        if (!locked)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void DataFileLock::Unlock() noexcept
{
    if (m_held != -1)
        ::close(static_cast<int>(m_held));
    m_held = -1;
}
