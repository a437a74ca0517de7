// The import companion: TolvariImport.exe beside Tolvari.exe merges a
// contacts file into the data file, once Tolvari is closed, and Tolvari
// then shows the birthday.
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "Driver.h"
#include "res/resource.h"

namespace {

// Runs TolvariImport.exe in dir; its exit code.
DWORD RunImport(const e2e::TempDir& dir, std::wstring args)
{
    const std::wstring tolvari = e2e::TolvariExe();
    const std::wstring exe = tolvari.substr(0, tolvari.find_last_of(L"\\/") + 1) + L"TolvariImport.exe";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    DWORD code = ~0u;
    args = L"TolvariImport " + args;
    if (::CreateProcessW(exe.c_str(), &args[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, dir.Path().c_str(),
                         &si, &pi) &&
        ::WaitForSingleObject(pi.hProcess, e2e::kWaitMs) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(pi.hProcess, &code);
    ::TerminateProcess(pi.hProcess, code);  // if it hangs
    for (HANDLE h : {pi.hProcess, pi.hThread})
        ::CloseHandle(h);
    return code;
}

SYSTEMTIME Today()
{
    SYSTEMTIME t;
    ::GetLocalTime(&t);
    return t;
}

// A running Tolvari keeps the import off its data file, however the name is
// spelt; closed, it lets the import in, from a file whose name code page
// 1250 cannot hold, and shows the birthday on its day.
TEST(Import, WaitsForTolvariToCloseThenTheBirthdayShowsOnItsDay)
{
    const SYSTEMTIME today = Today();
    e2e::TempDir dir;
    const std::string data = "[***CALENDAR***]\r\n19.03 0000 Josef\r\n";
    dir.Write(L"Tolvari.ini", "FILE=Dvo\xF8\xE1k.dat\r\n");  // Dvořák.dat in code page 1250
    dir.Write(L"Dvo\u0159\u00E1k.dat", data);
    char card[128];
    std::snprintf(card, sizeof card,
                  "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ji\xC5\x99\xC3\xAD Nov\xC3\xA1k\r\n"
                  "BDAY:1950-%02d-%02d\r\nEND:VCARD\r\n",
                  today.wMonth, today.wDay);
    dir.Write(L"S\u00F8ren.vcf", card);
    e2e::App running;
    ASSERT_TRUE(running.Start(dir.Path()) && running.WaitMainWindow());
    EXPECT_EQ(RunImport(dir, L"S\u00F8ren.vcf"), 1u);
    EXPECT_EQ(RunImport(dir, L"--data \"" + dir.File(L"DVO\u0158\u00C1K.DAT") + L"\" S\u00F8ren.vcf"), 1u);
    EXPECT_EQ(dir.Read(L"Dvo\u0159\u00E1k.dat"), data);
    ::PostMessageW(running.Main(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(running.WaitExit());
    ASSERT_EQ(RunImport(dir, L"S\u00F8ren.vcf"), 0u);

    e2e::App app;
    ASSERT_TRUE(app.Start(dir.Path()) && app.WaitMainWindow() && app.Sync());
    if (Today().wDay != today.wDay)
        GTEST_SKIP() << "the day changed while the program started";
    EXPECT_EQ(app.Text(IDC_TODAY_BIRTHDAYS), "Ji\xF8\xED Nov\xE1k (" + std::to_string(today.wYear - 1950) + " let)");
}

}  // namespace
