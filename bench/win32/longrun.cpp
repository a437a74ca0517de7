// A long run under Wine: a 10,000-record file, Tomorrow pressed 3,000 times
// and the editor opened and closed 100 times. Prints the program's memory
// and the time taken after each phase, and whether the report at the end
// and the file written back are the ones expected (exit code 1 if not).
//   tolvari_longrun    (Tolvari.exe from TOLVARI_EXE, as for the e2e tests)
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <ctime>

#include "Driver.h"
#include "app/TodayCore.h"
#include "records/DataFile.h"
#include "res/resource.h"

namespace {

using e2e::App;

constexpr int kRecords = 10000, kTomorrows = 3000, kEditorRuns = 100;

// A hand-kept file grown large: three records on the 1st of every month,
// on the first day shown and on the last, and the rest written with
// one-digit keys ("5.3"), which are kept and scanned on every step but never
// shown. Under Wine a step costs the program about 2 ms for the 10,000
// records, and Wine's edit controls 20 to 50 ms more whenever the report
// fields hold text, so most days show little while each step still goes
// through every record.
RecordList MakeRecords(const CurrentDate& first, const CurrentDate& last)
{
    static const char* const kYears[] = {"0000", "9999", "8888", "1950", "1987", "2001"};
    RecordList list;
    int n = 0;
    auto add = [&](const std::string& day, const std::string& month) {
        list.m_arrDay.Add(day);
        list.m_arrMonth.Add(month);
        list.m_arrYear.Add(kYears[n % 6]);
        list.m_arrName.Add(
            "Jm\xE9no \x8E"
            "ofie " +
            std::to_string(n));
        ++n;
    };
    for (int month = 1; month <= 12; ++month) {
        for (int k = 0; k < 3; ++k)
            add("01", DayKey(month));
    }
    for (const CurrentDate* day : {&first, &last}) {
        for (int k = 0; k < 3; ++k)
            add(DayKey(day->m_nDay), DayKey(day->m_nMonth));
    }
    while (n < kRecords)
        add(std::to_string(n % 9 + 1), std::to_string(n % 12 + 1));
    list.m_nCount = n;
    return list;
}

// Private bytes (PrivateUsage, or the commit charge where Wine leaves it 0)
// and the working set, in KB.
void PrintMemory(const char* phase, const App& app, DWORD startTicks)
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(app.Main(), &pid);
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    ::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters));
    ::CloseHandle(process);
    const SIZE_T privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    std::printf("%-24s private %7lu KB, working set %7lu KB, %6lu ms\n", phase,
                static_cast<unsigned long>(privateBytes >> 10),
                static_cast<unsigned long>(counters.WorkingSetSize >> 10),
                static_cast<unsigned long>(::GetTickCount() - startTicks));
}

// Posted in batches of ten, as a user clicking fast would queue them: the
// program handles each click in full and repaints about once per batch.
// Sent messages overtake posted ones, so the end of a batch is seen in the
// date line, which differs on every day.
bool Tomorrows(App& app, CurrentDate& shown, int times)
{
    for (int i = 0; i < times; ++i) {
        App::Click(app.Main(), 1005, false);
        shown.NextDay();
        const std::string line = FormatDateLine(shown, 0);
        if ((i % 10 == 9 || i == times - 1) && !e2e::Eventually([&] { return app.Text(IDC_TODAY_DNES) == line; }))
            return false;
    }
    return app.Sync();
}

bool EditorRuns(App& app, int times)
{
    for (int i = 0; i < times; ++i) {
        ::PostMessageW(app.Main(), WM_SYSCOMMAND, 32771, 0);
        HWND ed = app.WaitDialogWith(IDC_EDIT_NOAGE);
        if (!ed)
            return false;
        App::Click(ed, IDOK, false);
        if (!e2e::Eventually([&] { return !::IsWindow(ed); }) || !app.Sync())
            return false;
    }
    return true;
}

bool SameReport(const App& app, const RecordList& list, const CurrentDate& date)
{
    DayReportTexts want;
    BuildDayReport(list, date, 0, want);
    return e2e::ReportShown(app) ==
           std::vector<std::string>{FitReportField(want.m_showDnes), FitReportField(want.m_showCalendar),
                                    FitReportField(want.m_showHolidays), FitReportField(want.m_showBirthdays),
                                    FitReportField(want.m_showNextDays)};
}

}  // namespace

int main()
{
    const std::time_t now = std::time(nullptr);
    CurrentDate start;
    start.SetDateFromClock(*std::localtime(&now));
    CurrentDate end = start;
    for (int i = 0; i < kTomorrows; ++i)
        end.NextDay();
    e2e::TempDir dir;
    const RecordList list = MakeRecords(start, end);
    const std::string bytes = FormatDataFile(list, 0);
    e2e::WriteDefaultFiles(dir, bytes);
    App app;
    if (!app.Start(dir.Path()) || !app.WaitMainWindow() || app.Text(IDC_TODAY_DNES) != FormatDateLine(start, 0)) {
        std::printf("the program did not open on today (or midnight passed)\n");
        return 1;
    }
    const DWORD begin = ::GetTickCount();
    // Warm-up: the heap and the controls reach their working size. The
    // editor opens on the last record of the displayed day, so closing it
    // keeps the day.
    CurrentDate shown = start;
    bool ok = EditorRuns(app, 5) && Tomorrows(app, shown, 100);
    PrintMemory("after warm-up", app, begin);
    ok = ok && Tomorrows(app, shown, kTomorrows - 100);
    PrintMemory("after 3,000 Tomorrow", app, begin);
    ok = ok && SameReport(app, list, shown);
    ok = ok && EditorRuns(app, kEditorRuns - 5);
    PrintMemory("after 100 editor runs", app, begin);
    // The weekday is now the calendar's, the same as the stepped one here.
    shown.m_nDOW = WeekdayOf(shown.m_nDay, shown.m_nMonth, shown.m_nYear);
    ok = ok && SameReport(app, list, shown) && dir.Read(L"Tolvari.dat") == bytes;
    std::printf("report at the end and file written back: %s\n", ok ? "as expected" : "NOT as expected");
    return ok ? 0 : 1;
}
