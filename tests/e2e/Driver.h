// Drives the real Tolvari.exe from another process as a user would: starts
// it in a directory of its own, reads its controls, clicks, answers its
// boxes, reads the files it wrote. Every wait is bounded.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "res/resource.h"

namespace e2e {

constexpr DWORD kWaitMs = 15000;

inline std::string ToCp1250(const std::wstring& text)
{
    std::string out(text.size() * 2, '\0');
    out.resize(::WideCharToMultiByte(1250, 0, text.data(), text.size(), &out[0], out.size(), nullptr, nullptr));
    return out;
}

inline std::wstring TolvariExe()
{
    return _wgetenv(L"TOLVARI_EXE") ? _wgetenv(L"TOLVARI_EXE") : L"Tolvari.exe";
}

inline std::vector<std::wstring> FilesIn(const std::filesystem::path& dir)
{
    std::vector<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().wstring());
    std::sort(names.begin(), names.end());
    return names;
}

template <class F>
bool Eventually(F condition, DWORD ms = kWaitMs)
{
    const DWORD start = ::GetTickCount();
    while (!condition() && ::GetTickCount() - start < ms)
        ::Sleep(5);
    return condition();
}

// A fresh directory for one test, removed afterwards.
class TempDir {
public:
    TempDir() { std::filesystem::remove_all(m_path), std::filesystem::create_directory(m_path); }
    ~TempDir() { std::filesystem::remove_all(m_path, m_error); }
    std::wstring Path() const { return m_path.wstring(); }
    std::wstring File(const std::wstring& name) const { return (m_path / name).wstring(); }
    void Write(const std::wstring& name, const std::string& bytes) const
    {
        std::ofstream(m_path / name, std::ios::binary) << bytes;
    }
    std::string Read(const std::wstring& name) const  // empty when missing
    {
        std::ostringstream bytes;
        bytes << std::ifstream(m_path / name, std::ios::binary).rdbuf();
        return bytes.str();
    }
    std::vector<std::wstring> List() const { return FilesIn(m_path); }

private:
    static inline int s_count = 0;
    std::filesystem::path m_path =
        std::filesystem::temp_directory_path() /
        ("tolvari-e2e-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++s_count));
    std::error_code m_error;
};

// The shipped settings and the given data file.
inline void WriteDefaultFiles(const TempDir& dir, const std::string& dataBytes)
{
    dir.Write(L"Tolvari.ini",
              "FILE=Tolvari.dat\r\nFONT1=Helvetica\r\nFACE1=ITALIC_BOLD\r\nSIZE1=18\r\n"
              "FONT2=Helvetica\r\nFACE2=NORMAL\r\nSIZE2=16\r\n");
    dir.Write(L"Tolvari.dat", dataBytes);
}

inline LRESULT Send(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, kWaitMs, &result);
    return static_cast<LRESULT>(result);
}

class App {
public:
    ~App()  // ends the program if a test left it running
    {
        ::TerminateProcess(m_pi.hProcess, 99);
        ::WaitForSingleObject(m_pi.hProcess, kWaitMs);
        ::CloseHandle(m_pi.hProcess);
        ::CloseHandle(m_pi.hThread);
    }
    // Starts Tolvari.exe with dir as its current directory. On the fixed day
    // its clock reads about noon of Sunday, 6 December 2026: its C runtime
    // takes the offset from UTC to local time from TZ, in any number of hours.
    bool Start(const std::wstring& dir, bool fixedDay = false, std::wstring exe = TolvariExe())
    {
        const long hours = std::lround(std::difftime(1796558400, std::time(nullptr)) / 3600);
        const std::wstring tz = (hours < 0 ? L"UTC+" : L"UTC-") + std::to_wstring(std::labs(hours));
        ::SetEnvironmentVariableW(L"TZ", fixedDay ? tz.c_str() : nullptr);  // the program inherits it
        std::wstring cmd = L"\"" + exe + L"\"";
        STARTUPINFOW si = {};
        si.cb = sizeof(si);
        return ::CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &m_pi);
    }
    bool WaitMainWindow(DWORD ms = kWaitMs) { return (m_main = WaitDialogWith(IDC_TODAY_YESTERDAY, ms)) != nullptr; }
    HWND Main() const { return m_main; }
    // A visible dialog of the program that holds the control.
    HWND WaitDialogWith(int controlId, DWORD ms = kWaitMs) const
    {
        HWND found = nullptr;
        Eventually(
            [&] {
                for (HWND w = nullptr; (w = ::FindWindowExW(nullptr, w, L"#32770", nullptr)) != nullptr;) {
                    DWORD pid = 0;
                    ::GetWindowThreadProcessId(w, &pid);
                    found = pid == m_pi.dwProcessId && ::IsWindowVisible(w) && ::GetDlgItem(w, controlId) ? w : found;
                }
                return found != nullptr;
            },
            ms);
        return found;
    }
    // Wine's message boxes hold an icon as control 0x440 and their text as 0xFFFF.
    HWND WaitMessageBox() const { return WaitDialogWith(0x440); }
    static std::string MessageBoxText(HWND box) { return Text(box, 0xFFFF); }
    // A control's text in code page 1250 bytes.
    static std::string Text(HWND dialog, int id)
    {
        std::wstring text(1 << 16, L'\0');  // more than a report field holds
        text.resize(Send(::GetDlgItem(dialog, id), WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0])));
        return ToCp1250(text);
    }
    std::string Text(int id) const { return Text(m_main, id); }
    // Presses a button and waits until the program has handled it, or does
    // not wait, for a button that opens a modal box.
    static void Click(HWND dialog, int id, bool wait = true)
    {
        wait ? void(Send(::GetDlgItem(dialog, id), BM_CLICK))
             : void(::PostMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0));
    }
    void Click(int id) const { Click(m_main, id); }
    // Waits until the program's thread has handled everything sent so far.
    bool Sync() const { return ::SendMessageTimeoutW(m_main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, nullptr); }
    bool WaitExit(DWORD ms = kWaitMs) { return ::WaitForSingleObject(m_pi.hProcess, ms) == WAIT_OBJECT_0; }
    // The exit code, once the program has ended.
    DWORD ExitCode()
    {
        DWORD code = ~0u;
        return WaitExit() && ::GetExitCodeProcess(m_pi.hProcess, &code) ? code : ~0u;
    }

private:
    PROCESS_INFORMATION m_pi = {};
    HWND m_main = nullptr;
};

// The default settings and the data file in dir; the program started there
// on the fixed day and its main window up.
inline bool StartWith(App& app, const TempDir& dir, const std::string& dataBytes)
{
    WriteDefaultFiles(dir, dataBytes);
    return app.Start(dir.Path(), true) && app.WaitMainWindow();
}

// Opens the system menu from the keyboard and picks the entry with this
// letter; the dialog then open holds controlId.
inline HWND OpenBySysMenu(const App& app, wchar_t letter, int controlId)
{
    ::PostMessageW(app.Main(), WM_SYSCOMMAND, SC_KEYMENU, L' ');
    Eventually([] { return ::IsWindowVisible(::FindWindowW(L"#32768", nullptr)); });  // the menu is open
    ::PostMessageW(app.Main(), WM_CHAR, letter, 1);
    return app.WaitDialogWith(controlId);
}

// The five report fields: date line, calendar, holidays, birthdays, next days.
inline std::vector<std::string> ReportShown(const App& app)
{
    return {app.Text(IDC_TODAY_DNES), app.Text(IDC_TODAY_CALENDAR), app.Text(IDC_TODAY_HOLIDAYS),
            app.Text(IDC_TODAY_BIRTHDAYS), app.Text(IDC_TODAY_NEXTDAYS)};
}

// Face, height, weight and " italic" of a control's font. A font handle
// means something only in its own process: the probe DLL, hooked into the
// program's thread, answers a registered message by setting our window's text.
inline std::string FontOf(HWND control)
{
    static HMODULE probe = ::LoadLibraryW(L"tolvari_probe.dll");
    HWND answer = ::CreateWindowW(L"STATIC", L"no answer", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    const auto proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(::GetProcAddress(probe, "ProbeHook")));
    HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, proc, probe, ::GetWindowThreadProcessId(control, nullptr));
    Send(control, ::RegisterWindowMessageW(L"TolvariProbeFont"), 0, reinterpret_cast<LPARAM>(answer));
    ::UnhookWindowsHookEx(hook);
    wchar_t text[128] = L"";
    ::GetWindowTextW(answer, text, 128);
    ::DestroyWindow(answer);
    return ToCp1250(text);
}

}  // namespace e2e
