#include "running/RunningMark.h"

#include <cstdint>
#include <cstdio>

namespace {

std::string ObjectName(const char* kind, const std::string& fileKey)
{
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (unsigned char c : fileKey)
        hash = (hash ^ c) * 1099511628211ull;
    char name[48];
    std::snprintf(name, sizeof name, "Tolvari.%s.%016llx", kind, static_cast<unsigned long long>(hash));
    return name;
}

}  // namespace

std::string RunningMarkName(const std::string& fileKey)
{
    return ObjectName("DataFileInUse", fileKey);
}

std::string DataFileLockName(const std::string& fileKey)
{
    return ObjectName("DataFileLock", fileKey);
}
