// What Tolvari does at start-up, without the window: read the data file,
// build the day report for a fixed date and print the five texts as the
// window would show them.
//   tolvari_harness FILE YEAR MONTH DAY [--stats]
// --stats adds, on standard error, the time of loading and of the report
// (from inside the process), the peak resident set of this program and the
// number of entries the report names (counted after the timed part).
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/TodayCore.h"
#include "records/DataFile.h"

namespace {

class HarnessCore : public CTodayCore {
public:
    HarnessCore() : CTodayCore(0) {}

    bool m_bFailed = false;

protected:
    void ShowError(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    void RequestQuit() override { m_bFailed = true; }
    void ShowReport() override {}
};

void Print(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
}

// Lines of a field joined by "\r\n", or entries of a look-ahead line joined
// by ", ". Calendar entries of the day run together, so the day's calendar
// entries are counted from the list instead.
int CountParts(const std::string& text, const char* separator)
{
    if (text.empty())
        return 0;
    int n = 1;
    for (size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, at + 1))
        ++n;
    return n;
}

// The high-water mark of this program's own memory. getrusage would report
// the larger of it and the memory of the process that started it, as that
// is what it was before exec.
long PeakResidentKiB()
{
    long kib = -1;
    if (FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f)) {
            if (std::strncmp(line, "VmHWM:", 6) == 0) {
                kib = std::strtol(line + 6, nullptr, 10);
                break;
            }
        }
        std::fclose(f);
    }
    if (kib < 0) {
        struct rusage usage;
        getrusage(RUSAGE_SELF, &usage);
        kib = usage.ru_maxrss;
    }
    return kib;
}

// The entries on the eight days, from the report before it is fitted to the
// window's fields (which cuts very long lines).
int CountEntries(const HarnessCore& core)
{
    DayReportTexts texts;
    BuildDayReport(core, core, 0, texts);
    const std::string key = DayKey(core.m_nDay), monthKey = DayKey(core.m_nMonth);
    int n = 0;
    for (int i = 0; i < core.m_nCount; ++i) {
        n += core.m_arrDay[i] == key && core.m_arrMonth[i] == monthKey && core.m_arrYear[i] == "0000";
    }
    n += CountParts(texts.m_showHolidays, "\r\n") + CountParts(texts.m_showBirthdays, "\r\n");
    size_t start = 0;
    for (int line = 0; line < 3; ++line) {
        size_t end = texts.m_showNextDays.find("\r\n", start);
        if (end == std::string::npos)
            end = texts.m_showNextDays.size();
        n += CountParts(texts.m_showNextDays.substr(start, end - start), ", ");
        start = end + 2;
    }
    return n;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s FILE YEAR MONTH DAY [--stats]\n", argv[0]);
        return 2;
    }
    const bool stats = argc > 5 && std::strcmp(argv[5], "--stats") == 0;
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();

    HarnessCore core;
    core.m_strDataFile = argv[1];
    core.m_nYear = std::atoi(argv[2]);
    core.m_nMonth = std::atoi(argv[3]);
    core.m_nDay = std::atoi(argv[4]);
    core.m_nDOW = WeekdayOf(core.m_nDay, core.m_nMonth, core.m_nYear);
    core.LoadFile();
    if (core.m_bFailed)
        return 1;
    const auto loaded = Clock::now();
    // As the window does: no report for an empty list.
    if (core.m_nCount != 0)
        core.FindInfo();
    const auto reported = Clock::now();

    for (const std::string* text :
         {&core.m_showDnes, &core.m_showCalendar, &core.m_showHolidays, &core.m_showBirthdays, &core.m_showNextDays})
        Print(*text);
    std::fflush(stdout);

    if (stats) {
        using Us = std::chrono::microseconds;
        std::fprintf(stderr, "records %d\nload_us %lld\nreport_us %lld\npeak_kib %ld\nentries %d\n", core.m_nCount,
                     static_cast<long long>(std::chrono::duration_cast<Us>(loaded - start).count()),
                     static_cast<long long>(std::chrono::duration_cast<Us>(reported - loaded).count()),
                     PeakResidentKiB(), CountEntries(core));
    }
    return 0;
}
