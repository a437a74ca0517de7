#include "records/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace filesys {
namespace {

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

std::string DirectoryOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& out)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    // One byte more than the size, so that the read reporting the end fits
    // too; keep reading until then, the size is only a hint.
    struct stat st;
    size_t room = 65536;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
        room = static_cast<size_t>(st.st_size) + 1;
    std::string data(room, '\0');
    size_t used = 0;
    for (;;) {
        if (used == data.size())
            data.resize(data.size() * 2);
        ssize_t n = ::read(fd, &data[used], data.size() - used);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        used += static_cast<size_t>(n);
    }
    ::close(fd);
    data.resize(used);
    out.swap(data);
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    // The temporary name extends the target's, so it lies in the same
    // directory and the rename cannot cross file systems.
    std::string tmpl = path + ".XXXXXX";
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0)
        return false;
    const char* tmp = name.data();

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

    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes.data(), bytes.size()) &&
              ::fsync(fd) == 0;
    if (::close(fd) != 0)
        ok = false;
    if (ok && ::rename(tmp, path.c_str()) != 0)
        ok = false;
    if (!ok) {
        ::unlink(tmp);
        return false;
    }
    // Make the rename itself durable; the data is already safe, so a
    // failure here does not undo the save.
    int dir = ::open(DirectoryOf(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

}  // namespace filesys
