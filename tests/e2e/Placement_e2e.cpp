// Where the windows open, the report fonts at the screen's DPI, and the
// boxes of failures: a long file name, a file too large, a failure that
// escapes a handler.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstring>

#include <gtest/gtest.h>

#include "Driver.h"
#include "res/resource.h"

namespace {

using e2e::App;

const std::string kData = "[***CALENDAR***]\r\n\r\n[***CUSTOM***]\r\n24.12 9999 Eve\r\n";

RECT Area(HWND window = nullptr)
{
    RECT rc = {};
    window ? ::GetWindowRect(window, &rc) : ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0);
    return rc;
}

bool CentredOver(HWND window, const RECT& o)
{
    const RECT w = Area(window);
    return std::abs(w.left + w.right - o.left - o.right) <= 2 && std::abs(w.top + w.bottom - o.top - o.bottom) <= 2;
}

bool OnWorkArea(HWND window)
{
    const RECT w = Area(window), a = Area();
    return w.left >= a.left && w.top >= a.top && w.right <= a.right && w.bottom <= a.bottom;
}

TEST(Placement, MainWindowCentredOnTheWorkAreaDialogsOverItAndOnTheArea)
{
    e2e::TempDir dir;
    App app;
    ASSERT_TRUE(e2e::StartWith(app, dir, kData));
    EXPECT_TRUE(CentredOver(app.Main(), Area()));
    const RECT a = Area(), m = Area(app.Main());
    for (bool moved : {false, true}) {  // then half off the work area's bottom-right corner
        if (moved)
            ::SetWindowPos(app.Main(), nullptr, (a.right * 2 - m.right + m.left) / 2,
                           (a.bottom * 2 - m.bottom + m.top) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        for (UINT command : {IDM_EDITBOX, IDM_ABOUTBOX}) {
            ::PostMessageW(app.Main(), WM_SYSCOMMAND, command, 0);
            HWND dlg = app.WaitDialogWith(command == IDM_EDITBOX ? IDC_EDIT_NOAGE : IDC_ABOUT_WEB);
            ASSERT_NE(dlg, nullptr);
            EXPECT_TRUE(moved ? OnWorkArea(dlg) : CentredOver(dlg, Area(app.Main()))) << command;
            ::PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
            ASSERT_TRUE(e2e::Eventually([&] { return !::IsWindow(dlg); }));
        }
    }
}

// SIZE1=18 and SIZE2=16 are pixels at 96 DPI. No early return: the prefix
// must end at 96 DPI.
TEST(Placement, ReportFontsGrowWithTheScreensDpi)
{
    for (DWORD dpi : {144u, 96u}) {
        ::RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof(dpi));
        e2e::TempDir dir;
        App app;
        EXPECT_TRUE(e2e::StartWith(app, dir, kData));
        for (auto field : {std::make_pair(IDC_TODAY_DNES, 18), std::make_pair(IDC_TODAY_HOLIDAYS, 16)}) {
            const std::string font = e2e::FontOf(::GetDlgItem(app.Main(), field.first));
            EXPECT_EQ(font.substr(font.find(' '), 4), " " + std::to_string(field.second * dpi / 96) + " ")
                << font << " at " << dpi << " DPI";
        }
    }
}

// The stop box (its text without the line breaks), then the end.
void ExpectBoxThenEnd(App& app, const e2e::TempDir& dir, const std::string& text, DWORD exitCode)
{
    const std::vector<std::wstring> files = dir.List();
    HWND box = app.WaitMessageBox();
    ASSERT_NE(box, nullptr);
    std::string shown = App::MessageBoxText(box);
    shown.erase(std::remove(shown.begin(), shown.end(), '\n'), shown.end());
    EXPECT_EQ(shown, text);
    EXPECT_TRUE(OnWorkArea(box));
    App::Click(box, IDOK, false);
    EXPECT_EQ(app.ExitCode(), exitCode);
    EXPECT_EQ(dir.List(), files);
}

TEST(PlacementBoxes, DataFileNameOf260CharactersIsShownWhole)
{
    const std::string folder = "C:\\Users\\Jan Nov\xE1k\\OneDrive - Rodina\\Dokumenty\\";
    const std::string name = folder + std::string(260 - folder.size() - 12, 'v') + "\\Tolvari.dat";
    e2e::TempDir dir;
    dir.Write(L"Tolvari.ini", "FILE=" + name + "\r\n");
    App app;
    ASSERT_TRUE(app.Start(dir.Path()));
    ExpectBoxThenEnd(app, dir,
                     "Error: Can't open file " + name +
                         "The file specified in Tolvari.ini in FILE "
                         "section doesn't exist in the current directory.",
                     0);
}

TEST(PlacementBoxes, DataFileOfTwoGigabytesIsTooLarge)
{
    e2e::TempDir dir;
    e2e::WriteDefaultFiles(dir, "");
    HANDLE file = ::CreateFileW(dir.File(L"Tolvari.dat").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, 0);
    LARGE_INTEGER size;
    size.QuadPart = 1LL << 31;  // sparse under Wine
    ASSERT_TRUE(::SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && ::SetEndOfFile(file));
    ::CloseHandle(file);
    App app;
    ASSERT_TRUE(app.Start(dir.Path()));
    ExpectBoxThenEnd(app, dir, "Error: File Tolvari.dat is too largeA data file must be smaller than 2 GB.", 0);
}

// The program's import of GetWindowTextLengthW pointed at "return -2": the
// next field it reads asks for a string longer than any string can be.
void BreakTextLengths(HANDLE process)
{
    HMODULE exe = nullptr;
    DWORD needed = 0;
    ASSERT_TRUE(::EnumProcessModules(process, &exe, sizeof(exe), &needed));
    auto read = [&](const char* at, auto& value) { return ::ReadProcessMemory(process, at, &value, sizeof(value), 0); };
    const char* base = reinterpret_cast<const char*>(exe);
    IMAGE_DOS_HEADER dos = {};
    IMAGE_NT_HEADERS nt = {};
    ASSERT_TRUE(read(base, dos) && read(base + dos.e_lfanew, nt));
    const char* dlls = base + nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    char* slot = nullptr;
    IMAGE_IMPORT_DESCRIPTOR dll = {};
    ULONG_PTR thunk = 0;
    for (; read(dlls, dll) && dll.Name; dlls += sizeof(dll)) {
        for (size_t i = 0; read(base + dll.OriginalFirstThunk + i * sizeof(thunk), thunk) && thunk; ++i) {
            char name[24] = {};
            if (!IMAGE_SNAP_BY_ORDINAL(thunk) && read(base + thunk + 2, name) &&
                !std::strcmp(name, "GetWindowTextLengthW"))
                slot = const_cast<char*>(base) + dll.FirstThunk + i * sizeof(thunk);
        }
    }
    // mov eax, -2; ret (ret 4 for the 32-bit stdcall)
    const unsigned char minusTwo[] = {0xB8, 0xFE, 0xFF, 0xFF, 0xFF, sizeof(void*) == 8 ? 0xC3 : 0xC2, 4, 0};
    void* code = ::VirtualAllocEx(process, nullptr, 16, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE);
    DWORD old = 0;
    ASSERT_TRUE(slot && code && ::WriteProcessMemory(process, code, minusTwo, sizeof(minusTwo), nullptr) &&
                ::VirtualProtectEx(process, slot, sizeof(code), PAGE_READWRITE, &old) &&
                ::WriteProcessMemory(process, slot, &code, sizeof(code), nullptr));
}

// Closing the editor would save, with the headers the file lacks; the
// failure ends the program first.
TEST(PlacementBoxes, FailureEscapingAHandlerShowsABoxAndEndsWithoutSaving)
{
    e2e::TempDir dir;
    App app;
    ASSERT_TRUE(e2e::StartWith(app, dir, "24.12 9999 Eve\r\n"));
    HWND ed = e2e::OpenBySysMenu(app, L'e', IDC_EDIT_NOAGE);
    ASSERT_NE(ed, nullptr);
    BreakTextLengths(app.Process());
    ::PostMessageW(::GetDlgItem(ed, IDC_EDIT_NAME), WM_CHAR, L'!', 1);
    ExpectBoxThenEnd(app, dir, "Error: Unexpected failure.The program ends without saving changes.", 1);
    EXPECT_EQ(dir.Read(L"Tolvari.dat"), "24.12 9999 Eve\r\n");
}

}  // namespace
