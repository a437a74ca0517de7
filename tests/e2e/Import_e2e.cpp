// The import companion: TolvariImport.exe beside Tolvari.exe merges a
// contacts file into the data file Tolvari uses, once Tolvari is closed.
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

// A running Tolvari keeps the import off its data file, however the name is
// spelt; closed, it lets the import in, from a file whose name code page
// 1250 cannot hold.
TEST(Import, WaitsForTolvariToClose)
{
    e2e::TempDir dir;
    const std::string data = "[***CALENDAR***]\r\n19.03 0000 Josef\r\n";
    dir.Write(L"Tolvari.ini", "FILE=Dvo\xF8\xE1k.dat\r\n");  // Dvořák.dat in code page 1250
    dir.Write(L"Dvo\u0159\u00E1k.dat", data);
    dir.Write(L"S\u00F8ren.vcf", "BEGIN:VCARD\r\nFN:Ji\xC5\x99\xC3\xAD\r\nBDAY:1950-03-05\r\nEND:VCARD\r\n");
    e2e::App running;
    ASSERT_TRUE(running.Start(dir.Path()) && running.WaitMainWindow());
    EXPECT_EQ(RunImport(dir, L"S\u00F8ren.vcf"), 1u);
    EXPECT_EQ(RunImport(dir, L"--add-calendar SK"), 1u);
    EXPECT_EQ(RunImport(dir, L"--dry-run S\u00F8ren.vcf"), 0u);  // it writes nothing
    EXPECT_EQ(RunImport(dir, L"--data \"" + dir.File(L"DVO\u0158\u00C1K.DAT") + L"\" S\u00F8ren.vcf"), 1u);
    // The same file by another name: a hard link.
    ::CreateHardLinkW(dir.File(L"other.dat").c_str(), dir.File(L"Dvo\u0159\u00E1k.dat").c_str(), nullptr);
    EXPECT_EQ(RunImport(dir, L"--data other.dat S\u00F8ren.vcf"), 1u);
    EXPECT_EQ(dir.Read(L"Dvo\u0159\u00E1k.dat"), data);
    ::PostMessageW(running.Main(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(running.WaitExit());
    EXPECT_EQ(RunImport(dir, L"S\u00F8ren.vcf"), 0u);
    EXPECT_EQ(dir.Read(L"Dvo\u0159\u00E1k.dat"), data + "\r\n[***CUSTOM***]\r\n05.03 1950 Ji\xF8\xED\r\n");
}

}  // namespace
