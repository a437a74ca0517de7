// Writes a synthetic data file: tolvari_gen RECORDS [SEED] > file.dat
#include <cstdio>
#include <cstdlib>

#include "bench/DataGen.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s RECORDS [SEED] > file.dat\n", argv[0]);
        return 2;
    }
    const int records = std::atoi(argv[1]);
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)) : 1u;
    const std::string bytes = GenerateDataFile(records, seed);
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() ? 0 : 1;
}
