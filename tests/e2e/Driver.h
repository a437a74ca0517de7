// Drives the real Tolvari.exe from another process, the way a user would:
// start it in a directory, read its fields, click, use the system menu,
// answer message boxes, read the files it wrote. Every wait is bounded.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "calendar/CurrentDate.h"

namespace e2e {

constexpr DWORD kWaitMs = 15000;

// The settings of the sample installation, naming Tolvari.dat.
extern const char kDefaultIni[];

// Today by this machine's clock, as the program reads it at start.
CurrentDate ClockDate();

// The whole file, or nothing when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);

// A fresh directory of its own for one test, removed afterwards.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::wstring& Path() const { return m_path; }
    std::wstring File(const std::wstring& name) const { return m_path + L"\\" + name; }
    void Write(const std::wstring& name, const std::string& bytes) const;
    std::string Read(const std::wstring& name) const;  // empty when missing
    bool Exists(const std::wstring& name) const;
    std::vector<std::wstring> List() const;

private:
    std::wstring m_path;
};

// The usual start: the default settings file and the given data file.
void WriteDefaultFiles(const TempDir& dir, const std::string& dataBytes);

std::string ToCp1250(const std::wstring& text);
std::wstring FromCp1250(const std::string& bytes);

class App {
public:
    App() = default;
    ~App();  // ends the program if a test left it running
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Starts Tolvari.exe with dir as the current directory.
    bool Start(const std::wstring& dir, const std::wstring& exe = std::wstring());
    bool WaitMainWindow(DWORD ms = kWaitMs);
    HWND Main() const { return m_main; }
    DWORD Pid() const { return m_pi.dwProcessId; }
    HANDLE Process() const { return m_pi.hProcess; }

    // A top-level dialog of the program holding the given control, or null.
    HWND FindDialogWith(int controlId) const;
    HWND WaitDialogWith(int controlId, DWORD ms = kWaitMs) const;
    HWND WaitMessageBox(DWORD ms = kWaitMs) const;
    bool WaitNoMessageBox(DWORD ms = kWaitMs) const;

    // Control texts as the program holds them, in code page 1250 bytes.
    static std::string Text(HWND dialog, int id);
    std::string Text(int id) const { return Text(m_main, id); }
    static std::wstring WindowTextW(HWND hwnd);
    static std::string MessageBoxText(HWND box);

    // Presses a button and waits until the program has handled it.
    static void Click(HWND dialog, int id);
    void Click(int id) const { Click(m_main, id); }
    // Presses a button without waiting (for buttons that open a modal box).
    static void ClickAsync(HWND dialog, int id);
    void SysCommand(UINT id) const;
    static void Answer(HWND box, int buttonId);
    static void Key(HWND hwnd, UINT vk);  // a key press sent to the window's thread

    bool WaitExit(DWORD ms = kWaitMs, DWORD* exitCode = nullptr);
    bool Running() const;
    void Kill();
    // Waits until the program's thread has handled everything sent so far.
    bool Sync(DWORD ms = kWaitMs) const;

private:
    PROCESS_INFORMATION m_pi = {};
    HWND m_main = nullptr;
};

std::wstring TolvariExe();

// Polls condition every 5 ms until it holds or ms have passed.
template <class F>
bool Eventually(F condition, DWORD ms = kWaitMs)
{
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > ms)
            return false;
        ::Sleep(5);
    }
    return true;
}

// SendMessage bounded by kWaitMs; 0 when the program did not answer.
LRESULT SendBounded(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// The default settings and the data file in dir, the program started there
// and its main window up.
bool StartWith(App& app, const TempDir& dir, const std::string& dataBytes);
// Posts the system menu command and waits for the dialog holding controlId.
HWND OpenBySysMenu(const App& app, UINT command, int controlId);
bool WaitGone(HWND window, DWORD ms = kWaitMs);

// The three ways a user ends a dialog whose default button is IDOK.
enum class CloseBy { Button, Esc, CloseBox };
constexpr CloseBy kCloseWays[] = {CloseBy::Button, CloseBy::Esc, CloseBy::CloseBox};
const char* CloseName(CloseBy how);
void CloseDialog(HWND dialog, CloseBy how);  // posted: does not wait
// Waits for the end of the program; its exit code, or ~0u when it runs on.
DWORD ExitCodeAfterWait(App& app, DWORD ms = kWaitMs);

// The five report fields of the main window (1000, 1001, 1002, 1003, 1007)
// as shown, and as the core builds them from these bytes for that day.
std::vector<std::string> ReportShown(const App& app);
std::vector<std::string> CoreReport(const std::string& dataBytes, int day, int month, int year);

}  // namespace e2e
