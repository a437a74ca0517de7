// A long run on a 10,000-record file: Tomorrow pressed 3,000 times and
// the editor opened and closed 100 times. The program must still answer,
// show the right report at the end, write the file back unchanged, and not
// grow in memory beyond a small bound.
#include "Driver.h"

#include "calendar/CurrentDate.h"
#include "calendar/DayReport.h"
#include "app/TodayCore.h"
#include "records/DataFile.h"

#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <memory>
#include <string>

namespace {

using e2e::App;
using e2e::ClockDate;
using e2e::TempDir;

constexpr int kRecords = 10000;
constexpr int kTomorrows = 3000;
constexpr int kEditorRuns = 100;
constexpr int kDnes = 1000, kCalendar = 1001, kHolidays = 1002, kBirthdays = 1003, kTomorrow = 1005,
              kNextDays = 1007, kEditorNoAge = 1019;
constexpr UINT kEditCommand = 32771;
// What the program may grow by once warmed up: heap fragments and the
// allocator's caches, far below one leaked report per step (3,000 of them).
constexpr SIZE_T kGrowthBound = 2u << 20;

// A hand-kept file grown large: three records on the 1st of every month,
// on the first day shown and on the last, and the rest of the 10,000
// written with one-digit keys ("5.3"), which are kept and scanned on every
// step but never shown. Under Wine a step costs the program about 2 ms for
// the 10,000 records, and Wine's edit controls 20 to 50 ms more whenever
// the report fields hold text, so most days show little while each step
// still goes through every record.
RecordList MakeRecords(const CurrentDate& first, const CurrentDate& last)
{
    static const char* const kYears[] = {"0000", "9999", "8888", "1950", "1987", "2001"};
    RecordList list;
    int n = 0;
    auto add = [&](const std::string& day, const std::string& month) {
        list.m_arrDay.Add(day);
        list.m_arrMonth.Add(month);
        list.m_arrYear.Add(kYears[n % 6]);
        list.m_arrName.Add("Jm\xE9no \x8E" "ofie " + std::to_string(n));
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

struct Memory {
    SIZE_T privateBytes, workingSet;
};

// Private bytes: PrivateUsage where the system fills it, else the commit
// charge (PagefileUsage), which is what Wine reports.
Memory MemoryOf(DWORD pid)
{
    Memory m = {0, 0};
    HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) {
        ADD_FAILURE() << "OpenProcess failed: " << ::GetLastError();
        return m;
    }
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    if (::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                               sizeof(counters))) {
        m.privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
        m.workingSet = counters.WorkingSetSize;
    } else {
        ADD_FAILURE() << "GetProcessMemoryInfo failed: " << ::GetLastError();
    }
    ::CloseHandle(process);
    EXPECT_GT(m.privateBytes, 0u);
    EXPECT_GT(m.workingSet, 0u);
    return m;
}

// Posted in batches of ten, as a user clicking fast would queue them: the
// program handles each click in full and repaints about once per batch,
// which keeps 3,000 steps to seconds instead of minutes of painting under
// Wine. Sent messages overtake posted ones, so the end of a batch is seen in
// the date line, which differs on every day.
void Tomorrows(App& app, CurrentDate& shown, int times)
{
    for (int i = 0; i < times; ++i) {
        App::ClickAsync(app.Main(), kTomorrow);
        shown.NextDay();
        if (i % 10 == 9 || i == times - 1) {
            const std::string line = FormatDateLine(shown, 0);
            ASSERT_TRUE(e2e::Eventually([&] { return app.Text(kDnes) == line; }))
                << "no answer after " << i + 1 << " steps: shows \"" << app.Text(kDnes) << "\", not \""
                << line << "\"";
        }
    }
    ASSERT_TRUE(app.Sync());
}

void EditorRuns(App& app, int times)
{
    for (int i = 0; i < times; ++i) {
        app.SysCommand(kEditCommand);
        HWND ed = app.WaitDialogWith(kEditorNoAge);
        ASSERT_NE(ed, nullptr) << "the editor did not open, run " << i + 1;
        App::ClickAsync(ed, IDOK);
        ASSERT_TRUE(e2e::Eventually([&] { return !::IsWindow(ed); })) << "the editor did not close, run " << i + 1;
        ASSERT_TRUE(app.Sync()) << "no answer after editor run " << i + 1;
        ASSERT_EQ(app.FindDialogWith(0), nullptr) << "an error box after editor run " << i + 1;
    }
}

void ExpectReport(const App& app, const RecordList& list, const CurrentDate& date)
{
    DayReportTexts want;
    BuildDayReport(list, date, 0, want);
    EXPECT_EQ(app.Text(kDnes), FitReportField(want.m_showDnes));
    EXPECT_EQ(app.Text(kCalendar), FitReportField(want.m_showCalendar));
    EXPECT_EQ(app.Text(kHolidays), FitReportField(want.m_showHolidays));
    EXPECT_EQ(app.Text(kBirthdays), FitReportField(want.m_showBirthdays));
    EXPECT_EQ(app.Text(kNextDays), FitReportField(want.m_showNextDays));
}

void Print(const char* phase, const Memory& m, DWORD ms)
{
    std::printf("[          ] %-28s private %7lu KB, working set %7lu KB, %6lu ms\n", phase,
                static_cast<unsigned long>(m.privateBytes >> 10),
                static_cast<unsigned long>(m.workingSet >> 10), static_cast<unsigned long>(ms));
}

TEST(LongRun, ThousandsOfStepsAndEditorRunsStayCorrectAndSmall)
{
    const CurrentDate start = ClockDate();
    CurrentDate end = start;
    for (int i = 0; i < kTomorrows; ++i)
        end.NextDay();
    TempDir dir;
    const RecordList list = MakeRecords(start, end);
    const std::string bytes = FormatDataFile(list, 0);
    e2e::WriteDefaultFiles(dir, bytes);

    App app;
    ASSERT_TRUE(app.Start(dir.Path()));
    ASSERT_TRUE(app.WaitMainWindow());
    if (app.Text(kDnes) != FormatDateLine(start, 0))
        GTEST_SKIP() << "midnight passed during the start";
    const DWORD begin = ::GetTickCount();

    // Warm-up: the heap and the controls reach their working size. The
    // editor opens on the last record of the displayed day, so closing it
    // keeps the day.
    ASSERT_NO_FATAL_FAILURE(EditorRuns(app, 5));
    CurrentDate shown = start;
    ASSERT_NO_FATAL_FAILURE(Tomorrows(app, shown, 100));
    const Memory warm = MemoryOf(app.Pid());
    Print("after warm-up", warm, ::GetTickCount() - begin);

    ASSERT_NO_FATAL_FAILURE(Tomorrows(app, shown, kTomorrows - 100));
    const Memory stepped = MemoryOf(app.Pid());
    Print("after 3,000 Tomorrow", stepped, ::GetTickCount() - begin);
    ASSERT_TRUE(shown == end);
    ExpectReport(app, list, shown);
    EXPECT_NE(app.Text(kBirthdays), "") << "the last day shows its records";

    ASSERT_NO_FATAL_FAILURE(EditorRuns(app, kEditorRuns - 5));
    const Memory edited = MemoryOf(app.Pid());
    Print("after 100 editor runs", edited, ::GetTickCount() - begin);
    // The weekday is now the calendar's, the same as the stepped one here.
    shown.m_nDOW = WeekdayOf(shown.m_nDay, shown.m_nMonth, shown.m_nYear);
    ExpectReport(app, list, shown);
    EXPECT_TRUE(dir.Read(L"Tolvari.dat") == bytes) << "the file is written back unchanged";

    EXPECT_LT(stepped.privateBytes, warm.privateBytes + kGrowthBound);
    EXPECT_LT(edited.privateBytes, warm.privateBytes + kGrowthBound);
    EXPECT_LT(edited.workingSet, warm.workingSet + kGrowthBound);

    App::ClickAsync(app.Main(), IDOK);
    EXPECT_TRUE(app.WaitExit());
}

}  // namespace
