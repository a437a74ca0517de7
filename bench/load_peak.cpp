// Loads one data file the way the program does at start-up and reports the
// time taken and the process's peak resident memory:
//   tolvari_loadpeak file.dat
#include <sys/resource.h>

#include <chrono>
#include <cstdio>

#include "records/DataFile.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s file.dat\n", argv[0]);
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    RecordList list;
    if (!LoadDataFile(argv[1], list)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    std::printf("records %d\nload %.3f s\npeak RSS %ld KiB\n", list.m_nCount, seconds, usage.ru_maxrss);
    return 0;
}
