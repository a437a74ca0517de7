// Writes the benchmark's data set at one size in Tolvari's format and in the
// formats of the programs it is compared with:
//   tolvari_peergen RECORDS DIR [SEED]
// DIR gets Tolvari.dat, calendar.txt, remind.rem, pal.pal and birthdays.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/DataGen.h"
#include "bench/PeerFormats.h"

namespace {

bool WriteFile(const std::string& path, const std::string& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s RECORDS DIR [SEED]\n", argv[0]);
        return 2;
    }
    const int records = std::atoi(argv[1]);
    const std::string dir = argv[2];
    const unsigned seed = argc > 3 ? static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10)) : 1u;

    const std::string data = GenerateDataFile(records, seed);
    const struct {
        const char* file;
        const char* format;
    } kFiles[] = {
        {"calendar.txt", "calendar"}, {"remind.rem", "remind"}, {"pal.pal", "pal"}, {"birthdays", "birthday"}};
    bool ok = WriteFile(dir + "/Tolvari.dat", data);
    for (const auto& f : kFiles) {
        PeerFormat format;
        ParsePeerFormat(f.format, format);
        ok = ok && WriteFile(dir + "/" + f.file, ConvertDataFile(data, format));
    }
    if (!ok) {
        std::fprintf(stderr, "cannot write the files in %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
