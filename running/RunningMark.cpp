#include "running/RunningMark.h"

#include <cstdint>
#include <cstdio>

std::string RunningMarkName(const std::string& fileKey)
{
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (unsigned char c : fileKey)
        hash = (hash ^ c) * 1099511628211ull;
    char name[48];
    std::snprintf(name, sizeof name, "Tolvari.DataFileInUse.%016llx", static_cast<unsigned long long>(hash));
    return name;
}
