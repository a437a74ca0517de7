// Tolvari under Wine, timed from outside the way a user meets it:
//  - start-up until the main window shows a filled report, against an empty
//    dialog program started the same way in the same run (interleaved);
//  - the round trip of a Tomorrow click: BM_CLICK sent until the five fields
//    hold the texts of the next day, which the portable core computes here.
// A benchmark, not a test: it prints medians and whether the goals hold.
//   tolvari_winbench [--rounds N] [--empty EmptyDialog.exe] [--smoke]
// Tolvari.exe comes from TOLVARI_EXE, as for the end-to-end tests.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "Driver.h"
#include "app/TodayCore.h"
#include "bench/DataGen.h"
#include "records/DataFile.h"
#include "res/resource.h"

namespace {

using e2e::App;
using e2e::TempDir;

// Filling the fields of a large report can take Wine's edit control seconds.
constexpr DWORD kStartWaitMs = 60000;
const int kFields[] = {IDC_TODAY_DNES, IDC_TODAY_CALENDAR, IDC_TODAY_HOLIDAYS, IDC_TODAY_BIRTHDAYS, IDC_TODAY_NEXTDAYS};

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::wstring Widen(const char* text)
{
    return std::wstring(text, text + strlen(text));
}

struct FindData {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindVisibleDialog(HWND hwnd, LPARAM lParam)
{
    auto* data = reinterpret_cast<FindData*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[16] = L"";
    ::GetClassNameW(hwnd, cls, 16);
    if (pid == data->pid && wcscmp(cls, L"#32770") == 0 && ::IsWindowVisible(hwnd)) {
        data->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

bool HasText(HWND dialog, int id)
{
    DWORD_PTR length = 0;
    return ::SendMessageTimeoutW(::GetDlgItem(dialog, id), WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, e2e::kWaitMs,
                                 &length) &&
           length > 0;
}

// One start: milliseconds from CreateProcess until a visible dialog of the
// process (with a filled date line when report is set), or a negative value.
double TimeStart(const std::wstring& exe, const std::wstring& dir, bool report)
{
    std::wstring cmd = L"\"" + exe + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    const double start = Now();
    if (!::CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi))
        return -1;
    double took = -1;
    HWND dialog = nullptr;
    while (Now() - start < kStartWaitMs) {
        FindData data = {pi.dwProcessId, nullptr};
        ::EnumWindows(&FindVisibleDialog, reinterpret_cast<LPARAM>(&data));
        if (data.found && (!report || HasText(data.found, IDC_TODAY_DNES))) {
            took = Now() - start;
            dialog = data.found;
            break;
        }
        if (::WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0)
            break;
    }
    if (dialog)
        ::PostMessageW(dialog, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(pi.hProcess, e2e::kWaitMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(pi.hProcess, 99);
        ::WaitForSingleObject(pi.hProcess, e2e::kWaitMs);
    }
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
    return took;
}

struct Startup {
    double empty = 0, tolvari = 0;
    bool ok = true;
};

// Interleaved: empty, Tolvari, Tolvari, empty, ... so neither always goes first.
Startup MeasureStartup(const std::wstring& emptyExe, int entries, int rounds)
{
    TempDir dir;
    e2e::WriteDefaultFiles(dir, GenerateDataFile(entries));
    const std::wstring tolvariExe = e2e::TolvariExe();
    Startup result;
    // Untimed first starts bring both programs into the file cache.
    if (TimeStart(emptyExe, dir.Path(), false) < 0 || TimeStart(tolvariExe, dir.Path(), true) < 0) {
        result.ok = false;
        return result;
    }
    std::vector<double> empty, tolvari;
    for (int r = 0; r < rounds; ++r) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool tolvariTurn = (turn == 0) == (r % 2 == 1);
            const double ms =
                tolvariTurn ? TimeStart(tolvariExe, dir.Path(), true) : TimeStart(emptyExe, dir.Path(), false);
            if (ms < 0)
                result.ok = false;
            else
                (tolvariTurn ? tolvari : empty).push_back(ms);
        }
    }
    result.empty = Median(empty);
    result.tolvari = Median(tolvari);
    return result;
}

// One WM_GETTEXT per field, with room for one character more than the
// expected text so that a longer text does not compare equal.
bool FieldsHold(HWND main, const DayReportTexts& t)
{
    const std::string* expected[] = {&t.m_showDnes, &t.m_showCalendar, &t.m_showHolidays, &t.m_showBirthdays,
                                     &t.m_showNextDays};
    for (int i = 0; i < 5; ++i) {
        const std::string& bytes = *expected[i];
        std::wstring want(bytes.size(), L'\0');
        want.resize(::MultiByteToWideChar(1250, 0, bytes.data(), static_cast<int>(bytes.size()), &want[0],
                                          static_cast<int>(want.size())));
        std::wstring text(want.size() + 2, L'\0');
        DWORD_PTR got = 0;
        if (!::SendMessageTimeoutW(::GetDlgItem(main, kFields[i]), WM_GETTEXT, text.size(),
                                   reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG, kStartWaitMs, &got))
            return false;
        text.resize(static_cast<size_t>(got));
        if (text != want)
            return false;
    }
    return true;
}

// The texts the program shows, computed the way it computes them.
class ExpectedReport : public CTodayCore {
public:
    explicit ExpectedReport(const std::string& bytes) : CTodayCore(0)
    {
        m_nCount = AppendRecords(*this, std::make_shared<const std::string>(bytes));
        const std::time_t now = std::time(nullptr);
        if (const std::tm* local = std::localtime(&now))
            SetDateFromClock(*local);
    }

protected:
    void ShowError(const std::string&) override {}
    void RequestQuit() override {}
    void ShowReport() override {}
};

struct Click {
    double roundTrip = -1;  // negative: failed, with the reason's number
    double handler = 0;     // of which until the program had handled BM_CLICK
    double report = 0;      // the program's report alone, timed here
    size_t nextDaysBytes = 0;
};

// Medians of the Tomorrow round trip.
Click MeasureClick(int entries, int rounds)
{
    Click result;
    TempDir dir;
    const std::string bytes = GenerateDataFile(entries);
    e2e::WriteDefaultFiles(dir, bytes);
    ExpectedReport expected(bytes);

    App app;
    if (!app.Start(dir.Path()) || !app.WaitMainWindow(kStartWaitMs))
        return result;
    // The program read the same clock when it opened; a start across
    // midnight shows up here as a different date line.
    if (App::Text(app.Main(), IDC_TODAY_DNES) != FormatDateLine(expected, 0)) {
        result.roundTrip = -2;
        return result;
    }

    std::vector<double> times, handler, report;
    for (int r = 0; r <= rounds; ++r) {
        expected.NextDay();
        const double reportStart = Now();
        expected.FindInfo();
        report.push_back(Now() - reportStart);
        result.nextDaysBytes = expected.m_showNextDays.size();
        const double start = Now();
        App::Click(app.Main(), IDC_TODAY_TOMORROW);
        const double handled = Now();
        bool done = false;
        while (!done && Now() - start < kStartWaitMs)
            done = FieldsHold(app.Main(), expected);
        if (!done) {
            result.roundTrip = -3;
            return result;
        }
        if (r > 0) {  // the first click warms up
            times.push_back(Now() - start);
            handler.push_back(handled - start);
        }
    }
    ::PostMessageW(app.Main(), WM_CLOSE, 0, 0);
    app.WaitExit();
    result.roundTrip = Median(times);
    result.handler = Median(handler);
    result.report = Median(report);
    return result;
}

std::string Thousands(int n)
{
    std::string digits = std::to_string(n), out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    int rounds = 15;
    bool smoke = false, startupOnly = false;
    std::wstring emptyExe = L"EmptyDialog.exe";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--rounds" && i + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--empty" && i + 1 < argc)
            emptyExe = Widen(argv[++i]);
        else if (arg == "--smoke")
            smoke = true;
        else if (arg == "--startup-only")
            startupOnly = true;
        else {
            std::fprintf(stderr, "usage: %s [--rounds N] [--empty EmptyDialog.exe] [--smoke] [--startup-only]\n",
                         argv[0]);
            return 2;
        }
    }
    // A smoke run proves that everything starts and the texts are met, fast.
    const int startupEntries[] = {1000, 10000};
    const int clickEntries[] = {10000, 100000};
    if (smoke)
        rounds = 1;

    bool ok = true;
    double startupRatio = 0, startupRatio10k = 0, click100k = 0;
    std::printf("Start-up until the report is shown, medians of %d interleaved starts:\n", rounds);
    for (int entries : startupEntries) {
        const int n = smoke ? 100 : entries;
        const Startup s = MeasureStartup(emptyExe, n, rounds);
        if (!s.ok) {
            std::printf("  %9s entries: a start failed\n", Thousands(n).c_str());
            ok = false;
            break;
        }
        const double ratio = s.tolvari / s.empty;
        (entries == 1000 ? startupRatio : startupRatio10k) = ratio;
        std::printf("  %9s entries: empty dialog %7.1f ms, Tolvari %7.1f ms, %.2fx\n", Thousands(n).c_str(), s.empty,
                    s.tolvari, ratio);
        if (smoke)
            break;
    }
    if (!startupOnly)
        std::printf("Tomorrow click until the five fields hold the next day, medians of %d clicks:\n", rounds);
    for (int entries : clickEntries) {
        if (startupOnly)
            break;
        const int n = smoke ? 100 : entries;
        const Click c = MeasureClick(n, rounds);
        if (c.roundTrip < 0) {
            std::printf("  %9s entries: failed (%g)\n", Thousands(n).c_str(), c.roundTrip);
            ok = false;
            break;
        }
        if (entries == 100000)
            click100k = c.roundTrip;
        std::printf(
            "  %9s entries: %8.2f ms; until the click was handled %.2f ms, of which the "
            "report %.2f ms (next 7 days field: %s bytes)\n",
            Thousands(n).c_str(), c.roundTrip, c.handler, c.report,
            Thousands(static_cast<int>(c.nextDaysBytes)).c_str());
        if (smoke)
            break;
    }
    if (!ok)
        return 1;
    if (!smoke) {
        std::printf("Goals:\n");
        std::printf("  %s start-up with 1,000 entries: %.2fx the empty dialog (goal <= 1.3x)\n",
                    startupRatio <= 1.3 ? "PASS" : "MISS", startupRatio);
        std::printf("  %s start-up with 10,000 entries: %.2fx the empty dialog (goal <= 1.6x)\n",
                    startupRatio10k <= 1.6 ? "PASS" : "MISS", startupRatio10k);
        if (!startupOnly)
            std::printf("  %s Tomorrow click at 100,000 entries: %.2f ms (goal < 16 ms)\n",
                        click100k < 16 ? "PASS" : "MISS", click100k);
    }
    return 0;
}
