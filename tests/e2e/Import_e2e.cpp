// The import companion: TolvariImport.exe beside Tolvari.exe merges a
// contacts file into the data file Tolvari uses, once Tolvari is closed; two
// imports take turns; every call and allocation that fails (in its test
// variant) is told and loses nothing.
#include <string>

#include <gtest/gtest.h>

#include "Driver.h"
#include "res/resource.h"

namespace {

// TolvariImport.exe (or its test variant) run in dir. Standard output goes
// to out, or with standard error to the file report in dir.
class Tool {
public:
    Tool(const e2e::TempDir& dir, std::wstring args, HANDLE out = nullptr, const wchar_t* report = L"report.txt",
         const wchar_t* exe = L"TolvariImport.exe")
    {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        m_report = ::CreateFileW(dir.File(report).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 &inherit, CREATE_ALWAYS, 0, nullptr);
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = out ? out : m_report;
        si.hStdError = m_report;
        const std::wstring tolvari = e2e::TolvariExe();
        const std::wstring path = tolvari.substr(0, tolvari.find_last_of(L"\\/") + 1) + exe;
        args = L"TolvariImport " + args;
        ::CreateProcessW(path.c_str(), &args[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, dir.Path().c_str(),
                         &si, &m_pi);
    }
    ~Tool()  // ends the program if it hangs
    {
        ::TerminateProcess(m_pi.hProcess, 99);
        for (HANDLE h : {m_pi.hProcess, m_pi.hThread, m_report})
            ::CloseHandle(h);
    }
    // The exit code, or ~0 if it did not end in time.
    DWORD Wait(DWORD ms = e2e::kWaitMs)
    {
        DWORD code = ~0u;
        return ::WaitForSingleObject(m_pi.hProcess, ms) == WAIT_OBJECT_0 && ::GetExitCodeProcess(m_pi.hProcess, &code)
                   ? code
                   : ~0u;
    }

private:
    PROCESS_INFORMATION m_pi = {};
    HANDLE m_report;
};

DWORD RunImport(const e2e::TempDir& dir, const std::wstring& args)
{
    return Tool(dir, args).Wait();
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

const std::string kData = "[***CALENDAR***]\r\n19.03 0000 Josef\r\n";

// Contacts with birthdays on the days of 1950 from the first.
std::string Cards(int from, int count)
{
    std::string cards;
    for (int i = from; i < from + count; ++i)
        cards += "BEGIN:VCARD\r\nFN:P" + std::to_string(i) + "\r\nBDAY:" + std::to_string(19500101 + i % 28) +
                 "\r\nEND:VCARD\r\n";
    return cards;
}

// One import holds the data file from its read to its replace, stopped
// there by its report, which no one reads. Meanwhile a second import waits
// and then adds to what the first wrote; a program that knows nothing of
// the lock and rewrites the file makes the first refuse, nothing written.
TEST(Import, TwoWritersLoseNothing)
{
    for (const bool rewrite : {false, true}) {
        e2e::TempDir dir;
        dir.Write(L"Tolvari.dat", kData), dir.Write(L"a.vcf", Cards(0, 6000)), dir.Write(L"b.vcf", Cards(6000, 1));
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        HANDLE read = nullptr, write = nullptr;
        ASSERT_TRUE(::CreatePipe(&read, &write, &inherit, 1024));
        ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
        Tool first(dir, L"a.vcf", write);
        ::CloseHandle(write);
        char buffer[4096];
        DWORD got = 0;
        ASSERT_TRUE(::ReadFile(read, buffer, 1, &got, nullptr));  // its first entry: the file is read
        rewrite ? dir.Write(L"Tolvari.dat", kData + "01.01 9999 Other\r\n") : void();
        Tool second(dir, L"b.vcf", nullptr, L"second.txt");
        EXPECT_TRUE(e2e::Eventually([&] { return dir.Read(L"second.txt").find("Waiting") == 0; }));
        while (::ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        }
        ::CloseHandle(read);
        EXPECT_EQ(first.Wait(), rewrite ? 1u : 0u);
        EXPECT_EQ(second.Wait(), 0u);
        const std::string report = dir.Read(L"report.txt"), after = dir.Read(L"Tolvari.dat");
        EXPECT_EQ(report,
                  rewrite ? "Error: Tolvari.dat changed while importing; nothing was written. Import again.\r\n" : "")
            << rewrite;
        // Each import's last birthday; the rewritten file's entry when it was rewritten.
        EXPECT_EQ(std::tuple(after.find("P5999\r\n") != std::string::npos, after.find("P6000\r\n") != std::string::npos,
                             after.find("Other") != std::string::npos),
                  std::tuple(!rewrite, true, rewrite))
            << rewrite;
    }
}

// A device or a folder as the data file is refused at once, as is a
// read-only data file.
TEST(Import, WhatIsNoFileOrReadOnlyIsRefused)
{
    e2e::TempDir dir;
    dir.Write(L"a.vcf", Cards(0, 1)), dir.Write(L"Tolvari.dat", kData);
    ::CreateDirectoryW(dir.File(L"folder.dat").c_str(), nullptr);
    ::SetFileAttributesW(dir.File(L"Tolvari.dat").c_str(), FILE_ATTRIBUTE_READONLY);
    for (const auto& [args, error] :
         {std::pair(L"--data NUL a.vcf", "Error: NUL is a device or a pipe, not a data file."),
          std::pair(L"--data folder.dat a.vcf", "Error: folder.dat is a folder, not a data file."),
          std::pair(L"a.vcf", "Error: Can't write file Tolvari.dat: it is read-only.")}) {
        EXPECT_EQ(Tool(dir, args).Wait(), 1u);
        EXPECT_NE(dir.Read(L"report.txt").find(error), std::string::npos) << error;
    }
    ::SetFileAttributesW(dir.File(L"Tolvari.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(dir.Read(L"Tolvari.dat"), kData);
}

// The test variant of the program, TolvariImportFaults.exe, fails the n-th
// call of a kind of the file layer, or the n-th allocation, as Windows
// would: for each n until a run in which nothing failed, in the import and
// the export, the run says that nothing was written and leaves the file as
// it was (exit code 1), never a crash; or it writes the file whole (0; 4 if
// memory ran out for the report after the write). A leftover of a save that
// was killed is removed by the next run that writes, and no failure leaves
// another one behind it.
TEST(ImportFaults, EveryFailingCallAndAllocationIsToldAndLosesNothing)
{
    e2e::TempDir dir;
    dir.Write(L"a.vcf", Cards(0, 1)), dir.Write(L"b.vcf", Cards(1, 1));
    const std::wstring hitName = L"TolvariImportFaultHit." + std::to_wstring(::GetCurrentProcessId());
    HANDLE hit = ::CreateEventW(nullptr, TRUE, FALSE, hitName.c_str());
    ::SetEnvironmentVariableW(L"TOLVARI_FAULT_HIT", hitName.c_str());
    const std::string kOld = kData + "\r\n[***CUSTOM***]\r\n05.03 1950 Grandpa\r\n", kNew = kOld + "01.01 1950 P0\r\n";
    for (const wchar_t* kind :
         {L"open", L"size", L"read", L"write", L"flush", L"replace", L"delete", L"mark", L"new"}) {
        for (const bool exporting : {false, true}) {
            const std::wstring args = exporting ? L"--export out.ics" : L"a.vcf",
                               file = exporting ? L"out.ics" : L"Tolvari.dat";
            for (int n = 1; n < 10000 && !HasFailure(); ++n) {
                SCOPED_TRACE(std::string(kind, kind + wcslen(kind)) + ":" + std::to_string(n) +
                             (exporting ? " of the export" : " of the import"));
                dir.Write(L"Tolvari.dat", kOld), dir.Write(L"out.ics", "old");
                const bool deleting = kind == std::wstring(L"delete");
                if (deleting)
                    dir.Write(L"." + file + L".tmp-ABCDEF", "");  // left by a save that was killed
                ::ResetEvent(hit);
                ::SetEnvironmentVariableW(L"TOLVARI_FAULT", (kind + (L":" + std::to_wstring(n))).c_str());
                const DWORD code = Tool(dir, args, nullptr, L"report.txt", L"TolvariImportFaults.exe").Wait();
                ::SetEnvironmentVariableW(L"TOLVARI_FAULT", nullptr);
                const std::string report = dir.Read(L"report.txt"), bytes = dir.Read(file);
                const size_t error = report.find("Error: ");
                const std::string message =
                    error == std::string::npos ? "" : report.substr(error, report.find('\r', error) - error);
                if (code == 1) {
                    EXPECT_EQ(bytes, exporting ? "old" : kOld) << report;
                    // The words are the portable code's, each checked in the unit tests.
                    EXPECT_NE(message.find("othing was "), std::string::npos) << report;
                } else {
                    EXPECT_TRUE(code == 0 ? message.empty()
                                          : code == 4 && message ==
                                                             "Error: Not enough memory to print the whole "
                                                             "report; the run itself was done.")
                        << code << " " << report;
                    EXPECT_EQ(exporting ? bytes.substr(bytes.size() - 15) : bytes,
                              exporting ? "END:VCALENDAR\r\n" : kNew);
                }
                if (deleting) {
                    EXPECT_EQ(Tool(dir, exporting ? args : L"a.vcf b.vcf").Wait(), 0u);
                }
                for (const std::wstring& name : dir.List())
                    EXPECT_NE(name[0], L'.') << std::string(name.begin(), name.end());
                if (::WaitForSingleObject(hit, 0) != WAIT_OBJECT_0)
                    break;
            }
        }
    }
    ::CloseHandle(hit);
}

}  // namespace
