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

// One run of the test variant with the n-th call of the kind failing,
// counted from the start or from Arm().
struct FaultyRun {
    FaultyRun(const e2e::TempDir& dir, const std::wstring& kind, long n, bool armLater)
    {
        static int count = 0;
        const std::wstring id = std::to_wstring(::GetCurrentProcessId()) + L"." + std::to_wstring(++count);
        const std::wstring hitName = L"TolvariFaultHit." + id, armName = L"TolvariFaultArm." + id;
        hit = ::CreateEventW(nullptr, TRUE, FALSE, hitName.c_str());
        arm = ::CreateEventW(nullptr, TRUE, FALSE, armName.c_str());
        ::SetEnvironmentVariableW(L"TOLVARI_FAULT", (kind + L":" + std::to_wstring(n)).c_str());
        ::SetEnvironmentVariableW(L"TOLVARI_FAULT_HIT", hitName.c_str());
        ::SetEnvironmentVariableW(L"TOLVARI_FAULT_ARM", armLater ? armName.c_str() : nullptr);
        const std::wstring exe = e2e::TolvariExe();
        started = app.Start(dir.Path(), true, exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"TolvariFaults.exe");
        ::SetEnvironmentVariableW(L"TOLVARI_FAULT", nullptr);
    }
    ~FaultyRun() { ::CloseHandle(hit), ::CloseHandle(arm); }
    bool Hit() const { return ::WaitForSingleObject(hit, 0) == WAIT_OBJECT_0; }
    // The box the program shows, or none once ready() holds and the
    // program has handled what came before.
    template <class Ready>
    HWND BoxUnless(Ready ready) const
    {
        HWND box = nullptr;
        EXPECT_TRUE(e2e::Eventually([&] { return (box = app.WaitDialogWith(0x440, 0)) != nullptr || ready(); }));
        return box || !app.Sync() ? box : app.WaitDialogWith(0x440, 0);
    }
    // Answers the box; the program has handled that.
    bool Answer(HWND box)
    {
        App::Click(box, IDOK, false);
        return e2e::Eventually([&] { return !::IsWindow(box); }) && (app.WaitExit(0) || app.Sync() || app.WaitExit());
    }
    // Exit from the main window; a failure on the way out is the one box.
    DWORD Exit()
    {
        App::Click(app.Main(), IDOK, false);
        if (HWND box = BoxUnless([&] { return app.WaitExit(0); })) {
            EXPECT_EQ(App::MessageBoxText(box), kEnds + ".");
            App::Click(box, IDOK, false);
        }
        return app.ExitCode();
    }
    App app;
    HANDLE hit, arm;
    bool started;
};

// Nothing holds the file open: another program may take it whole.
bool Free(const e2e::TempDir& dir)
{
    HANDLE file = ::CreateFileW(dir.File(L"Tolvari.dat").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ::CloseHandle(file);
    return file != INVALID_HANDLE_VALUE;
}

TEST(FaultRuns, StartUpGivesTheBoxOfTheFileThatFailed)
{
    const std::string settings =
                          "Error: Can't open file Tolvari.ini\n\nThe file doesn't exist in the current directory.",
                      data =
                          "Error: Can't open file Tolvari.dat\n\nThe file specified in Tolvari.ini in FILE section "
                          "doesn't exist in the current directory.",
                      memory = "\n\nThe file is larger than the program can hold in memory.";
    const std::vector<std::string> boxes[] = {
        {settings, data},
        {"Error: Not enough memory to read file Tolvari.ini" + memory,
         "Error: Not enough memory to read file Tolvari.dat" + memory, kEnds + "."}};
    e2e::TempDir dir;
    e2e::WriteDefaultFiles(dir, kData);
    for (const wchar_t* kind : {L"open", L"size", L"read", L"mark", L"new"}) {
        for (long n = 1;; ++n) {
            SCOPED_TRACE(std::to_string(n) + " " + e2e::ToCp1250(kind));
            FaultyRun run(dir, kind, n, false);
            ASSERT_TRUE(run.started);
            HWND box = run.BoxUnless([&] { return run.app.WaitMainWindow(0); });
            if (box) {
                const auto& expected = boxes[kind[0] == L'n'];
                const std::string text = App::MessageBoxText(box);
                EXPECT_NE(std::find(expected.begin(), expected.end(), text), expected.end()) << text;
                EXPECT_TRUE(Free(dir));
                App::Click(box, IDOK, false);
                EXPECT_EQ(run.app.ExitCode(), text == kEnds + "." ? 1u : 0u);
            } else {
                EXPECT_EQ(run.app.Text(IDC_TODAY_BIRTHDAYS), "Grandpa (76 let)");
                EXPECT_EQ(run.Exit() & ~1u, 0u);
            }
            EXPECT_EQ(dir.Read(L"Tolvari.dat"), kData);
            EXPECT_EQ(dir.List(), (std::vector<std::wstring>{L"Tolvari.dat", L"Tolvari.ini"}));
            if (!run.Hit() || HasFailure())
                break;
        }
    }
}

// A name beyond any path in a damaged settings file, where memory will not
// hold copies of it (a 32-bit program): the box of the data file, as for
// any name that leads to no file.
TEST(FaultRuns, ANameBeyondAnyPathGetsTheBoxOfTheDataFile)
{
    e2e::TempDir dir;
    dir.Write(L"Tolvari.ini", "FILE=" + std::string(1 << 20, 'm'));
    FaultyRun run(dir, L"big", 1500000, false);
    HWND box = run.app.WaitMessageBox();
    EXPECT_EQ(App::MessageBoxText(box).substr(0, 30), "Error: Can't open file " + std::string(7, 'm'));
    App::Click(box, IDOK, false);
    EXPECT_EQ(run.app.ExitCode(), 0u);
}

// A failure escaping a handler, of the dialog (Tomorrow) or of a control
// of its own (a link of the About box): one box, then the end, exit code 1.
TEST(FaultRuns, AFailureInAHandlerEndsTheProgramWithOneBox)
{
    e2e::TempDir dir;
    e2e::WriteDefaultFiles(dir, kData);
    for (int action = 0; action < 2; ++action) {
        for (long n = 1;; ++n) {
            SCOPED_TRACE(std::to_string(n) + " " + std::to_string(action));
            FaultyRun run(dir, L"new", n, true);
            ASSERT_TRUE(run.started && run.app.WaitMainWindow());
            HWND about = nullptr;
            if (action == 1) {
                ::PostMessageW(run.app.Main(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
                ASSERT_NE(about = run.app.WaitDialogWith(IDC_ABOUT_WEB), nullptr);
            }
            ::SetEvent(run.arm);
            // The click answers only once its handler has returned, after a box too.
            HWND control =
                action == 0 ? ::GetDlgItem(run.app.Main(), IDC_TODAY_TOMORROW) : ::GetDlgItem(about, IDC_ABOUT_WEB);
            auto click = std::async(std::launch::async, [&] {
                return e2e::Send(control, action == 0 ? BM_CLICK : WM_LBUTTONDOWN, 0, MAKELPARAM(2, 2));
            });
            HWND box =
                run.BoxUnless([&] { return click.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
            if (box) {
                EXPECT_EQ(App::MessageBoxText(box), kEnds + ".");
                App::Click(box, IDOK, false);
                EXPECT_EQ(run.app.ExitCode(), 1u);
            } else if (about) {
                ::PostMessageW(about, WM_COMMAND, IDCANCEL, 0);
                EXPECT_TRUE(e2e::Eventually([&] { return !::IsWindow(about); }));
            }
            if (!box) {
                EXPECT_EQ(run.Exit() & ~1u, 0u);
            }
            if (!run.Hit() || HasFailure())
                break;
        }
    }
}

// Each failure counted from the moment the editor closes, beside the
// leftover of a killed save: a save that fails keeps the old file and the
// changes, which the next close saves; a failure of memory outside the save
// ends the program with one box.
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
            ASSERT_TRUE(run.started && run.app.WaitMainWindow());
            bool ended = false;
            for (int close = 0; close < 2 && !ended; ++close) {
                ::PostMessageW(run.app.Main(), WM_SYSCOMMAND, IDM_EDITBOX, 0);
                HWND ed = run.app.WaitDialogWith(IDC_EDIT_NAME);
                e2e::Send(::GetDlgItem(ed, IDC_EDIT_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Grandpa!"));
                ::SetEvent(run.arm);
                App::Click(ed, IDOK, false);
                // The report follows the save; after a failed one it shows the kept change already.
                HWND box = run.BoxUnless([&] {
                    return run.app.Text(IDC_TODAY_BIRTHDAYS) == "Grandpa! (76 let)" &&
                           (close == 0 || dir.Read(L"Tolvari.dat") == kSaved);
                });
                const std::string text = box ? App::MessageBoxText(box) : "", bytes = dir.Read(L"Tolvari.dat");
                EXPECT_EQ(bytes, box && text != kEnds + "." ? kData : kSaved) << text;
                if (!box)
                    break;
                EXPECT_TRUE(Free(dir));
                EXPECT_TRUE(run.Answer(box));
                ended = text.compare(0, kEnds.size(), kEnds) == 0;
                EXPECT_TRUE(ended ? text == kEnds + (bytes == kData ? " without saving changes." : ".")
                                  : close == 0 && text == notSaved)
                    << text;
            }
            EXPECT_EQ(ended ? run.app.ExitCode() : run.Exit() & ~1u, ended ? 1u : 0u);
            // The leftover stays for the next save when its removal failed.
            std::vector<std::wstring> left = dir.List();
            if (run.Hit() && (kind[0] == L'd' || kind[0] == L'n') && left[0] == L".Tolvari.dat.tmp-K1LLED")
                left.erase(left.begin());
            if (dir.Read(L"Tolvari.dat") == kSaved) {
                EXPECT_EQ(left, (std::vector<std::wstring>{L"Tolvari.dat", L"Tolvari.ini"}));
            }
            if (!run.Hit() || HasFailure())
                break;
        }
    }
}

}  // namespace
