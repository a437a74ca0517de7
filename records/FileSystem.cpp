#include "records/FileSystem.h"

#include <algorithm>
#include <cstdio>
#include <new>

namespace filesys {
namespace {

// The length for a string of n bytes. One longer than any string may be is
// as much out of reach as memory that is not there: the library's
// length_error (at 1 GB on a 32-bit build) becomes bad_alloc.
size_t Room(const std::string& s, unsigned long long n)
{
    if (n > s.max_size())
        throw std::bad_alloc();
    return static_cast<size_t>(n);
}

}  // namespace

ReadStatus ReadGrowing(unsigned long long sizeHint, unsigned long long limit, std::string& out,
                       const std::function<long long(char* buffer, size_t size)>& read)
{
    if (sizeHint >= limit)
        return ReadStatus::TooLarge;
    // One byte more than the size, so that the read reporting the end fits
    // too; the size is only a hint, a file may grow while it is read.
    std::string data;
    data.resize(Room(data, std::min(sizeHint > 0 ? sizeHint + 1 : 65536, limit)));
    size_t used = 0;
    for (;;) {
        if (used == data.size()) {
            if (used >= limit)
                return ReadStatus::TooLarge;
            data.resize(Room(data, std::min<unsigned long long>(2ull * data.size(), limit)));
        }
        const long long n = read(&data[used], data.size() - used);
        if (n < 0 || static_cast<unsigned long long>(n) > data.size() - used)
            return ReadStatus::CannotRead;
        if (n == 0)
            break;
        used += static_cast<size_t>(n);
    }
    data.resize(used);
    out.swap(data);
    return ReadStatus::Read;
}

std::string FileKey(const std::string& path)
{
    const FileSnapshot file = SnapshotOf(path);
    if (!file.exists)
        return SameFileKey(path);
    char key[48];
    std::snprintf(key, sizeof key, "#%llx:%llx", file.volume, file.index);
    return key;
}

}  // namespace filesys
