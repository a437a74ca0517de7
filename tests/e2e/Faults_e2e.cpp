// The test variant of the program (TolvariFaults.exe beside Tolvari.exe),
// with one call of the file layer or one allocation failing as Windows would
// fail it, for every n in turn until a run in which nothing failed: the
// right box or none, never a hang, the data file old or new and whole, no
// temporary file left once a save has succeeded, the file held by no handle
// while a box is up.
#include <future>

#include <gtest/gtest.h>

#include "Driver.h"
#include "res/resource.h"

namespace {

using e2e::App;

const std::string kData = "[***CALENDAR***]\r\n06.12 0000 Nikola\r\n\r\n[***CUSTOM***]\r\n06.12 1950 Grandpa\r\n";
const std::string kSaved = "[***CALENDAR***]\r\n06.12 0000 Nikola\r\n\r\n[***CUSTOM***]\r\n06.12 1950 Grandpa!\r\n";
const std::string kEnds = "Error: Not enough memory.\n\nThe program ends";
const std::vector<std::wstring> kFiles = {L"Tolvari.dat", L"Tolvari.ini"};

// One run of the test variant in dir with the n-th call of the kind
// failing, counted from the start or, armed later, from Arm().
struct FaultyRun {
    FaultyRun(const e2e::TempDir& dir, const std::wstring& kind, long n, bool armLater) : dir(dir)
    {
        static int count = 0;
        const std::wstring id = std::to_wstring(::GetCurrentProcessId()) + L"." + std::to_wstring(++count);
        hit = ::CreateEventW(nullptr, TRUE, FALSE, (L"TolvariFaultHit." + id).c_str());
        arm = ::CreateEventW(nullptr, TRUE, FALSE, (L"TolvariFaultArm." + id).c_str());
        ::SetEnvironmentVariableW(L"TOLVARI_FAULT", (kind + L":" + std::to_wstring(n)).c_str());
        ::SetEnvironmentVariableW(L"TOLVARI_FAULT_HIT", (L"TolvariFaultHit." + id).c_str());
        ::SetEnvironmentVariableW(L"TOLVARI_FAULT_ARM", armLater ? (L"TolvariFaultArm." + id).c_str() : nullptr);
        const std::wstring exe = e2e::TolvariExe();
        EXPECT_TRUE(app.Start(dir.Path(), true, exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"TolvariFaults.exe"));
    }
    ~FaultyRun() { ::CloseHandle(hit), ::CloseHandle(arm); }
    bool Hit() const { return ::WaitForSingleObject(hit, 0) == WAIT_OBJECT_0; }
    // The text of the box the program shows, answered, or "" once ready()
    // holds and the program has handled what came before.
    template <class Ready>
    std::string Box(Ready ready)
    {
        HWND box = nullptr;
        EXPECT_TRUE(e2e::Eventually([&] { return (box = app.WaitDialogWith(0x440, 0)) != nullptr || ready(); }));
        if (!box && (!app.Sync() || !(box = app.WaitDialogWith(0x440, 0))))
            return "";
        const std::string text = App::MessageBoxText(box);
        RECT r;
        ::GetWindowRect(box, &r);
        EXPECT_TRUE(r.left >= 0 && r.right <= ::GetSystemMetrics(SM_CXSCREEN) &&
                    r.bottom <= ::GetSystemMetrics(SM_CYSCREEN))
            << "the box fits the screen";
        HANDLE file = ::CreateFileW(dir.File(L"Tolvari.dat").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE) << "the data file is held open";
        ::CloseHandle(file);
        App::Click(box, IDOK, false);
        EXPECT_TRUE(e2e::Eventually([&] { return !::IsWindow(box); }) &&
                    (app.WaitExit(0) || app.Sync() || app.WaitExit()));
        return text;
    }
    // Exit from the main window, where a failure is the one box of the end.
    DWORD Exit()
    {
        App::Click(app.Main(), IDOK, false);
        const std::string box = Box([&] { return app.WaitExit(0); });
        EXPECT_TRUE(box.empty() || box == kEnds + ".") << box;
        return app.ExitCode() & ~1u;
    }
    const e2e::TempDir& dir;
    App app;
    HANDLE hit, arm;
};

TEST(FaultRuns, StartUpGivesTheBoxOfTheFileThatFailed)
{
    const std::string noData =
                          "The file specified in Tolvari.ini in FILE section doesn't exist in the current directory.",
                      data = "Error: Can't open file Tolvari.dat\n\n" + noData,
                      memory = "\n\nThe file is larger than the program can hold in memory.";
    const std::vector<std::string> boxes[] = {
        {"", "Error: Can't open file Tolvari.ini\n\nThe file doesn't exist in the current directory.", data},
        {"", "Error: Not enough memory to read file Tolvari.ini" + memory,
         "Error: Not enough memory to read file Tolvari.dat" + memory, kEnds + "."}};
    e2e::TempDir dir;
    e2e::WriteDefaultFiles(dir, kData);
    for (const wchar_t* kind : {L"open", L"size", L"read", L"mark", L"new"}) {
        for (long n = 1;; ++n) {
            SCOPED_TRACE(std::to_string(n) + " " + e2e::ToCp1250(kind));
            FaultyRun run(dir, kind, n, false);
            const std::string box = run.Box([&] { return run.app.WaitMainWindow(0); });
            const auto& expected = boxes[kind[0] == L'n'];
            EXPECT_NE(std::find(expected.begin(), expected.end(), box), expected.end()) << box;
            EXPECT_TRUE(!box.empty() || run.app.Text(IDC_TODAY_BIRTHDAYS) == "Grandpa (76 let)");
            EXPECT_EQ(box.empty() ? run.Exit() : run.app.ExitCode(), box == kEnds + "." ? 1u : 0u);
            EXPECT_EQ(dir.Read(L"Tolvari.dat"), kData);
            EXPECT_EQ(dir.List(), kFiles);
            if (!run.Hit() || HasFailure())
                break;
        }
    }
    // The boxes of names and sizes, each shown whole or so that it fits, then
    // the end: a missing file of a 260-character name; a name beyond any path
    // in a damaged settings file, where memory will not hold copies of it (a
    // 32-bit program), its middle left out; a data or settings file of 2 GB
    // (sparse), too large.
    const std::string folder = "C:\\Users\\Jan Nov\xE1k\\OneDrive - Rodina\\Dokumenty\\", m(64, 'm');
    const std::string name = folder + std::string(260 - folder.size() - 12, 'v') + "\\Tolvari.dat";
    const std::tuple<std::string, const wchar_t*, std::string> ends[] = {
        {name, nullptr, "Error: Can't open file " + name + noData},
        {std::string(1 << 20, 'm'), nullptr,
         "Error: Can't open file " + m + m + "..." + m.substr(3) + m + m.substr(60) + noData},
        {"Tolvari.dat", L"Tolvari.dat", "Error: File Tolvari.dat is too largeA data file must be smaller than 2 GB."},
        {"Tolvari.dat", L"Tolvari.ini",
         "Error: File Tolvari.ini is too largeA settings file must be smaller than 2 GB."}};
    for (const auto& [file, large, text] : ends) {
        dir.Write(L"Tolvari.ini", "FILE=" + file + "\r\n");
        if (large)
            std::filesystem::resize_file(dir.File(large), 1LL << 31);
        FaultyRun run(dir, L"big", 1500000, false);
        std::string shown = run.Box([] { return false; });  // without its line breaks
        shown.erase(std::remove(shown.begin(), shown.end(), '\n'), shown.end());
        EXPECT_EQ(shown, text);
        EXPECT_EQ(run.app.ExitCode(), 0u);
        e2e::WriteDefaultFiles(dir, kData);
        EXPECT_EQ(dir.List(), kFiles);
    }
}

// Each failure counted from the moment the editor closes, beside the
// leftover of a killed save: a save that fails keeps the old file and the
// changes, which the next end of the editor saves, here a quit request from
// another program; a failure of memory outside the save ends the program
// with one box.
TEST(FaultRuns, EditorSaveKeepsTheOldFileOrWritesTheNewOneWhole)
{
    e2e::TempDir dir;
    for (const wchar_t* kind : {L"open", L"size", L"write", L"flush", L"replace", L"delete", L"mark", L"new"}) {
        const std::string notSaved = std::string("Error: ") +
                                     (kind[0] == L'n' ? "Not enough memory to write" : "Can't write") +
                                     " file Tolvari.dat\n\nYour changes are kept. Close the editor again to save them.";
        for (long n = 1;; ++n) {
            SCOPED_TRACE(std::to_string(n) + " " + e2e::ToCp1250(kind));
            e2e::WriteDefaultFiles(dir, kData);
            dir.Write(L".Tolvari.dat.tmp-K1LLED", "the leftover of a killed save");
            FaultyRun run(dir, kind, n, true);
            ASSERT_TRUE(run.app.WaitMainWindow());
            ::PostMessageW(run.app.Main(), WM_SYSCOMMAND, IDM_EDITBOX, 0);
            HWND ed = run.app.WaitDialogWith(IDC_EDIT_NAME);
            e2e::Send(::GetDlgItem(ed, IDC_EDIT_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Grandpa!"));
            ::SetEvent(run.arm);
            App::Click(ed, IDOK, false);
            const std::string box = run.Box([&] { return run.app.Text(IDC_TODAY_BIRTHDAYS) == "Grandpa! (76 let)"; });
            const std::string bytes = dir.Read(L"Tolvari.dat");
            const bool lost = box == kEnds + " without saving changes.", ends = lost || box == kEnds + ".";
            EXPECT_TRUE(box.empty() || box == notSaved || ends) << box;
            EXPECT_EQ(bytes, box == notSaved || lost ? kData : kSaved);
            if (box == notSaved) {
                ::PostMessageW(run.app.Main(), WM_SYSCOMMAND, IDM_EDITBOX, 0);
                ed = run.app.WaitDialogWith(IDC_EDIT_NAME);
                ::PostThreadMessageW(::GetWindowThreadProcessId(ed, nullptr), WM_QUIT, 0, 0);
            }
            EXPECT_EQ(box.empty() ? run.Exit() : run.app.ExitCode(), ends ? 1u : 0u);
            EXPECT_EQ(dir.Read(L"Tolvari.dat"), lost ? kData : kSaved);
            // The leftover stays for the next save when its removal failed.
            std::vector<std::wstring> left = dir.List();
            left.erase(left.begin(),
                       left.end() - (run.Hit() && (kind[0] == L'd' || kind[0] == L'n') ? 2 : left.size()));
            EXPECT_TRUE(lost || left == kFiles);
            if (!run.Hit() || HasFailure())
                break;
        }
    }
}

// The About box's web link: a click hands its target to the shell; a
// failure escaping the click's handler, one of a control of the program's
// own, is one box, then the end, exit code 1. (The start-up's failures
// reach the dialog's handlers.)
TEST(FaultRuns, ALinkOpensItsTargetOrItsFailureEndsTheProgram)
{
    e2e::TempDir dir;
    // In the tests' own Wine prefix the shell opens web links with a command
    // that writes the target down.
    const std::wstring record = L"cmd.exe /c echo %1>>\"" + dir.File(L"opened.txt") + L"\"";
    ::RegSetKeyValueW(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", nullptr, REG_SZ, record.c_str(),
                      (record.size() + 1) * 2);
    e2e::WriteDefaultFiles(dir, kData);
    for (long n = 1;; ++n) {
        SCOPED_TRACE(n);
        ::DeleteFileW(dir.File(L"opened.txt").c_str());
        FaultyRun run(dir, L"new", n, true);
        ASSERT_TRUE(run.app.WaitMainWindow());
        ::PostMessageW(run.app.Main(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        HWND about = run.app.WaitDialogWith(IDC_ABOUT_WEB), link = ::GetDlgItem(about, IDC_ABOUT_WEB);
        ::SetEvent(run.arm);
        // The click answers once its handler has returned, after a box too.
        auto click = std::async(std::launch::async, [&] { return e2e::Send(link, WM_LBUTTONDOWN); });
        const std::string box =
            run.Box([&] { return click.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
        EXPECT_TRUE(box.empty()
                        ? e2e::Eventually([&] { return dir.Read(L"opened.txt") == "http://www.example.org\r\n"; })
                        : box == kEnds + ".")
            << box << dir.Read(L"opened.txt");
        if (box.empty())
            ::PostMessageW(about, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(box.empty() && e2e::Eventually([&] { return !::IsWindow(about); }) ? run.Exit() : run.app.ExitCode(),
                  box.empty() ? 0u : 1u);
        if (!run.Hit() || HasFailure())
            break;
    }
}

}  // namespace
