// The least any program can spend on the report the way it is defined: one
// read of the whole data file, then one pass per day (the displayed day and
// the seven after it) comparing the day and month keys, two bytes each, at
// the start of every line. The line starts are found once, so that a pass is
// only the comparisons. No parsing, no storing of fields, no texts.
//   tolvari_lowerbound FILE YEAR MONTH DAY [--stats]
// Prints how many lines matched; --stats adds the time from inside the
// process on standard error.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "calendar/CurrentDate.h"
#include "calendar/DayReport.h"
#include "records/FileSystem.h"

namespace {

// Offsets of the lines that are long enough to hold "DD.MM".
std::vector<uint32_t> LineStarts(const std::string& text)
{
    std::vector<uint32_t> starts;
    starts.reserve(text.size() / 24 + 1);
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    for (const char* p = begin; p < end;) {
        const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        const char* stop = lf ? lf : end;
        if (stop - p >= 5)
            starts.push_back(static_cast<uint32_t>(p - begin));
        p = stop + 1;
    }
    return starts;
}

long CountDay(const std::string& text, const std::vector<uint32_t>& starts, const char day[2], const char month[2])
{
    long matches = 0;
    const char* const base = text.data();
    for (uint32_t at : starts) {
        const char* p = base + at;
        matches += std::memcmp(p, day, 2) == 0 && std::memcmp(p + 3, month, 2) == 0;
    }
    return matches;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s FILE YEAR MONTH DAY [--stats]\n", argv[0]);
        return 2;
    }
    const bool stats = argc > 5 && std::strcmp(argv[5], "--stats") == 0;
    const auto start = std::chrono::steady_clock::now();

    CurrentDate date;
    date.m_nYear = std::atoi(argv[2]);
    date.m_nMonth = std::atoi(argv[3]);
    date.m_nDay = std::atoi(argv[4]);
    std::string text;
    if (!filesys::ReadWholeFile(argv[1], text)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const std::vector<uint32_t> starts = LineStarts(text);
    long matches = 0;
    for (int k = 0; k < 8; ++k) {
        if (k > 0)
            date.NextDay();
        const std::string day = DayKey(date.m_nDay), month = DayKey(date.m_nMonth);
        if (day.size() == 2 && month.size() == 2)
            matches += CountDay(text, starts, day.data(), month.data());
    }
    const auto end = std::chrono::steady_clock::now();
    std::printf("%ld\n", matches);
    if (stats) {
        std::fprintf(
            stderr, "work_us %lld\n",
            static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(end - start).count()));
    }
    return 0;
}
