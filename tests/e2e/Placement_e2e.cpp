// Where the windows open, what the screen's DPI does to the report fonts,
// and the boxes of failures: long file names, a data file too large, a
// failure that escapes a handler.
#include "Driver.h"
#include "Probe.h"
#include "res/resource.h"

#include <gtest/gtest.h>
#include <psapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <tuple>
#include <vector>

namespace {

using e2e::App;
using e2e::TempDir;

const std::string kData = "[***CALENDAR***]\r\n\r\n[***CUSTOM***]\r\n24.12 9999 Christmas Eve\r\n";

RECT Rect(HWND window)
{
    RECT rc = {};
    ::GetWindowRect(window, &rc);
    return rc;
}

bool CentredOver(HWND window, const RECT& over)
{
    const RECT rc = Rect(window);
    return std::abs(rc.left + rc.right - over.left - over.right) <= 2 &&
           std::abs(rc.top + rc.bottom - over.top - over.bottom) <= 2;
}

bool OnWorkArea(HWND window)
{
    RECT area = {}, rc = Rect(window);
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return rc.left >= area.left && rc.top >= area.top && rc.right <= area.right && rc.bottom <= area.bottom;
}

TEST(Placement, MainWindowCentredOnTheWorkAreaDialogsOverItAndOnTheArea)
{
    TempDir dir;
    App app;
    ASSERT_TRUE(e2e::StartWith(app, dir, kData));
    RECT area = {}, main = Rect(app.Main());
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_TRUE(CentredOver(app.Main(), area));
    const UINT dialogs[][2] = {{IDM_EDITBOX, IDC_EDIT_NOAGE}, {IDM_ABOUTBOX, IDC_ABOUT_WEB}};
    for (bool moved : {false, true}) {  // then half off the work area's bottom-right corner
        if (moved)
            ::SetWindowPos(app.Main(), nullptr, area.right - (main.right - main.left) / 2,
                           area.bottom - (main.bottom - main.top) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        for (const auto& d : dialogs) {
            HWND dialog = e2e::OpenBySysMenu(app, d[0], static_cast<int>(d[1]));
            ASSERT_NE(dialog, nullptr);
            EXPECT_TRUE(moved ? OnWorkArea(dialog) : CentredOver(dialog, Rect(app.Main()))) << d[0];
            e2e::CloseDialog(dialog, e2e::CloseBy::Esc);
            ASSERT_TRUE(e2e::WaitGone(dialog));
        }
    }
}

// SIZE1=18 and SIZE2=16 are pixels at 96 DPI; the screen's DPI is set in
// the prefix for the program started, and put back.
TEST(Placement, ReportFontsGrowWithTheScreensDpi)
{
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &key, nullptr), ERROR_SUCCESS);
    for (DWORD dpi : {144u, 96u}) {  // no early return: the last one is the usual DPI
        ::RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
        TempDir dir;
        App app;
        EXPECT_TRUE(e2e::StartWith(app, dir, kData));
        e2e::Probe probe(app);
        for (auto field : {std::make_pair(IDC_TODAY_DNES, 18), std::make_pair(IDC_TODAY_HOLIDAYS, 16)}) {
            const auto font = probe.Font(::GetDlgItem(app.Main(), field.first));
            EXPECT_EQ(font ? font->lfHeight : 0, field.second * static_cast<int>(dpi) / 96) << dpi << " DPI";
        }
    }
    ::RegCloseKey(key);
}

// Each file's name, size and time.
std::vector<std::tuple<std::wstring, DWORD, DWORD, DWORD>> Files(const TempDir& dir)
{
    std::vector<std::tuple<std::wstring, DWORD, DWORD, DWORD>> files;
    for (const std::wstring& name : dir.List()) {
        WIN32_FILE_ATTRIBUTE_DATA a = {};
        ::GetFileAttributesExW(dir.File(name).c_str(), GetFileExInfoStandard, &a);
        files.emplace_back(name, a.nFileSizeHigh, a.nFileSizeLow, a.ftLastWriteTime.dwLowDateTime);
    }
    return files;
}

// The stop box of a failure, then the end; nothing is written.
void ExpectBoxThenEnd(App& app, const TempDir& dir, const std::string& text, DWORD exitCode)
{
    const auto files = Files(dir);
    HWND box = app.WaitMessageBox();
    ASSERT_NE(box, nullptr);
    std::string shown = App::MessageBoxText(box);
    shown.erase(std::remove(shown.begin(), shown.end(), '\n'), shown.end());  // the lines of long names
    EXPECT_EQ(shown, text);
    EXPECT_TRUE(OnWorkArea(box));
    App::Answer(box, IDOK);
    EXPECT_EQ(e2e::ExitCodeAfterWait(app), exitCode);
    EXPECT_EQ(Files(dir), files);
}

TEST(PlacementBoxes, DataFileNameOf260CharactersIsShownWhole)
{
    const std::string folder = "C:\\Users\\Jan Nov\xE1k\\OneDrive - Rodina\\Dokumenty\\";
    const std::string name = folder + std::string(260 - folder.size() - 12, 'v') + "\\Tolvari.dat";
    TempDir dir;
    dir.Write(L"Tolvari.ini", "FILE=" + name + "\r\n");
    App app;
    ASSERT_TRUE(app.Start(dir.Path()));
    ExpectBoxThenEnd(app, dir, "Error: Can't open file " + name + "The file specified in Tolvari.ini in FILE "
                     "section doesn't exist in the current directory.", 0);
}

// A sparse file: the size is refused before anything is read.
TEST(PlacementBoxes, DataFileOfTwoGigabytesIsTooLarge)
{
    TempDir dir;
    dir.Write(L"Tolvari.ini", e2e::kDefaultIni);
    HANDLE file = ::CreateFileW(dir.File(L"Tolvari.dat").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = 1LL << 31;
    ASSERT_TRUE(::SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && ::SetEndOfFile(file));
    ::CloseHandle(file);
    App app;
    ASSERT_TRUE(app.Start(dir.Path()));
    ExpectBoxThenEnd(app, dir, "Error: File Tolvari.dat is too largeA data file must be smaller than 2 GB.", 0);
}

// Points the program's import of GetWindowTextLengthW at "return -2": the
// next field it reads asks for a string longer than any, and the exception
// escapes the handler.
void BreakTextLengths(HANDLE process)
{
    HMODULE exe = nullptr;
    DWORD needed = 0;
    ASSERT_TRUE(::EnumProcessModules(process, &exe, sizeof(exe), &needed));
    auto read = [&](const char* at, auto& value) {
        return ::ReadProcessMemory(process, at, &value, sizeof(value), nullptr) != FALSE;
    };
    const char* base = reinterpret_cast<const char*>(exe);
    IMAGE_DOS_HEADER dos = {};
    IMAGE_NT_HEADERS nt = {};
    ASSERT_TRUE(read(base, dos) && read(base + dos.e_lfanew, nt));
    const char* imports = base + nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    char* slot = nullptr;
    IMAGE_IMPORT_DESCRIPTOR dll = {};
    for (; read(imports, dll) && dll.Name; imports += sizeof(dll)) {
        ULONG_PTR thunk = 0;
        for (size_t i = 0; read(base + dll.OriginalFirstThunk + i * sizeof(thunk), thunk) && thunk; ++i) {
            char name[24] = {};
            if (!IMAGE_SNAP_BY_ORDINAL(thunk) && read(base + thunk + 2, name) &&
                !std::strcmp(name, "GetWindowTextLengthW"))
                slot = const_cast<char*>(base) + dll.FirstThunk + i * sizeof(thunk);
        }
    }
#ifdef _WIN64
    const unsigned char minusTwo[] = {0xB8, 0xFE, 0xFF, 0xFF, 0xFF, 0xC3};  // mov eax, -2; ret
#else
    const unsigned char minusTwo[] = {0xB8, 0xFE, 0xFF, 0xFF, 0xFF, 0xC2, 0x04, 0x00};  // ...; ret 4
#endif
    void* code = ::VirtualAllocEx(process, nullptr, sizeof(minusTwo), MEM_COMMIT | MEM_RESERVE,
                                  PAGE_EXECUTE_READWRITE);
    DWORD old = 0;
    ASSERT_TRUE(slot && code && ::WriteProcessMemory(process, code, minusTwo, sizeof(minusTwo), nullptr) &&
                ::VirtualProtectEx(process, slot, sizeof(code), PAGE_READWRITE, &old) &&
                ::WriteProcessMemory(process, slot, &code, sizeof(code), nullptr));
}

// Closing the editor would save; a failure while it is open ends the
// program without saving.
TEST(PlacementBoxes, FailureEscapingAHandlerShowsABoxAndEndsWithoutSaving)
{
    TempDir dir;
    App app;
    ASSERT_TRUE(e2e::StartWith(app, dir, kData));
    HWND ed = e2e::OpenBySysMenu(app, IDM_EDITBOX, IDC_EDIT_NOAGE);
    ASSERT_NE(ed, nullptr);
    BreakTextLengths(app.Process());
    ::PostMessageW(::GetDlgItem(ed, IDC_EDIT_NAME), WM_CHAR, L'!', 1);
    ExpectBoxThenEnd(app, dir, "Error: Unexpected failure.The program ends without saving changes.", 1);
}

}  // namespace
