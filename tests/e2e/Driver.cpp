#include "Driver.h"

#include "calendar/CurrentDate.h"
#include "calendar/DayReport.h"
#include "records/DataFile.h"

#include <cstdlib>
#include <ctime>
#include <memory>
#include <fstream>
#include <sstream>

namespace e2e {

namespace {

bool IsDialogClass(HWND hwnd)
{
    wchar_t cls[32] = L"";
    ::GetClassNameW(hwnd, cls, 32);
    return wcscmp(cls, L"#32770") == 0;
}

struct FindData {
    DWORD pid;
    int controlId;   // 0: a message box
    HWND found;
};

bool IsMessageBoxWindow(HWND hwnd)
{
    const int ownDialogs[] = {1004, 1012, 1013};
    for (int id : ownDialogs)
        if (::GetDlgItem(hwnd, id))
            return false;
    return true;
}

BOOL CALLBACK FindProc(HWND hwnd, LPARAM lParam)
{
    auto* data = reinterpret_cast<FindData*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid != data->pid || !IsDialogClass(hwnd) || !::IsWindowVisible(hwnd))
        return TRUE;
    const bool match = data->controlId ? ::GetDlgItem(hwnd, data->controlId) != nullptr
                                       : IsMessageBoxWindow(hwnd);
    if (match) {
        data->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW fd;
    HANDLE h = ::FindFirstFileW((path + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring full = path + L"\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else {
                ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(full.c_str());
            }
        } while (::FindNextFileW(h, &fd));
        ::FindClose(h);
    }
    ::RemoveDirectoryW(path.c_str());
}

}  // namespace

std::string ToCp1250(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int n = ::WideCharToMultiByte(1250, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                        nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(1250, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr,
                          nullptr);
    return out;
}

std::wstring FromCp1250(const std::string& bytes)
{
    if (bytes.empty())
        return std::wstring();
    const int n = ::MultiByteToWideChar(1250, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(1250, 0, bytes.data(), static_cast<int>(bytes.size()), &out[0], n);
    return out;
}

std::wstring TolvariExe()
{
    const wchar_t* exe = _wgetenv(L"TOLVARI_EXE");
    return exe ? exe : L"Tolvari.exe";
}

TempDir::TempDir()
{
    wchar_t base[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        std::wstringstream name;
        name << base << L"tolvari-e2e-" << ::GetCurrentProcessId() << L"-" << ++counter;
        if (::CreateDirectoryW(name.str().c_str(), nullptr)) {
            m_path = name.str();
            break;
        }
    }
}

TempDir::~TempDir()
{
    RemoveTree(m_path);
}

void TempDir::Write(const std::wstring& name, const std::string& bytes) const
{
    HANDLE h = ::CreateFileW(File(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(h);
}

std::string ReadFileBytes(const std::wstring& path)
{
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::string();
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(h, buffer, sizeof(buffer), &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    ::CloseHandle(h);
    return bytes;
}

std::string TempDir::Read(const std::wstring& name) const
{
    return ReadFileBytes(File(name));
}

bool TempDir::Exists(const std::wstring& name) const
{
    return ::GetFileAttributesW(File(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> TempDir::List() const
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = ::FindFirstFileW((m_path + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = fd.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (::FindNextFileW(h, &fd));
    ::FindClose(h);
    return names;
}

const char kDefaultIni[] = "FILE=Tolvari.dat\r\nFONT1=Helvetica\r\nFACE1=ITALIC_BOLD\r\nSIZE1=18\r\n"
                          "FONT2=Helvetica\r\nFACE2=NORMAL\r\nSIZE2=16\r\n";

CurrentDate ClockDate()
{
    const std::time_t now = std::time(nullptr);
    CurrentDate date;
    date.SetDateFromClock(*std::localtime(&now));
    return date;
}

void WriteDefaultFiles(const TempDir& dir, const std::string& dataBytes)
{
    dir.Write(L"Tolvari.ini", kDefaultIni);
    dir.Write(L"Tolvari.dat", dataBytes);
}

App::~App()
{
    Kill();
}

bool App::Start(const std::wstring& dir, const std::wstring& exe)
{
    const std::wstring path = exe.empty() ? TolvariExe() : exe;
    std::wstring cmd = L"\"" + path + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    if (!::CreateProcessW(path.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si,
                          &m_pi))
        return false;
    ::WaitForInputIdle(m_pi.hProcess, kWaitMs);
    return true;
}

bool App::WaitMainWindow(DWORD ms)
{
    m_main = WaitDialogWith(1004, ms);
    return m_main != nullptr;
}

HWND App::FindDialogWith(int controlId) const
{
    FindData data = {m_pi.dwProcessId, controlId, nullptr};
    ::EnumWindows(&FindProc, reinterpret_cast<LPARAM>(&data));
    return data.found;
}

HWND App::WaitDialogWith(int controlId, DWORD ms) const
{
    HWND found = nullptr;
    Eventually([&] { return (found = FindDialogWith(controlId)) != nullptr; }, ms);
    return found;
}

HWND App::WaitMessageBox(DWORD ms) const
{
    return WaitDialogWith(0, ms);
}

bool App::WaitNoMessageBox(DWORD ms) const
{
    return Eventually([&] { return FindDialogWith(0) == nullptr; }, ms);
}

std::wstring App::WindowTextW(HWND hwnd)
{
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, &length))
        return std::wstring();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    DWORD_PTR got = 0;
    ::SendMessageTimeoutW(hwnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]),
                          SMTO_ABORTIFHUNG, kWaitMs, &got);
    text.resize(static_cast<size_t>(got));
    return text;
}

std::string App::Text(HWND dialog, int id)
{
    return ToCp1250(WindowTextW(::GetDlgItem(dialog, id)));
}

std::string App::MessageBoxText(HWND box)
{
    // The message is the static that is not the icon.
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[32] = L"";
        ::GetClassNameW(child, cls, 32);
        if (_wcsicmp(cls, L"Static") != 0)
            continue;
        if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            continue;
        const std::wstring text = WindowTextW(child);
        if (!text.empty())
            return ToCp1250(text);
    }
    return std::string();
}

void App::Click(HWND dialog, int id)
{
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, &result);
}

void App::ClickAsync(HWND dialog, int id)
{
    ::PostMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void App::SysCommand(UINT id) const
{
    ::PostMessageW(m_main, WM_SYSCOMMAND, id, 0);
}

void App::Answer(HWND box, int buttonId)
{
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box, buttonId)));
}

void App::Key(HWND hwnd, UINT vk)
{
    ::PostMessageW(hwnd, WM_KEYDOWN, vk, 1);
    ::PostMessageW(hwnd, WM_KEYUP, vk, 0xC0000001);
}

bool App::Sync(DWORD ms) const
{
    DWORD_PTR result = 0;
    return m_main && ::SendMessageTimeoutW(m_main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, ms, &result);
}

bool App::WaitExit(DWORD ms, DWORD* exitCode)
{
    if (!m_pi.hProcess)
        return true;
    if (::WaitForSingleObject(m_pi.hProcess, ms) != WAIT_OBJECT_0)
        return false;
    if (exitCode)
        ::GetExitCodeProcess(m_pi.hProcess, exitCode);
    return true;
}

bool App::Running() const
{
    return m_pi.hProcess && ::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

void App::Kill()
{
    if (!m_pi.hProcess)
        return;
    if (Running()) {
        ::TerminateProcess(m_pi.hProcess, 99);
        ::WaitForSingleObject(m_pi.hProcess, kWaitMs);
    }
    ::CloseHandle(m_pi.hProcess);
    ::CloseHandle(m_pi.hThread);
    m_pi = PROCESS_INFORMATION{};
    m_main = nullptr;
}

LRESULT SendBounded(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, kWaitMs, &result);
    return static_cast<LRESULT>(result);
}

bool StartWith(App& app, const TempDir& dir, const std::string& dataBytes)
{
    WriteDefaultFiles(dir, dataBytes);
    return app.Start(dir.Path()) && app.WaitMainWindow();
}

HWND OpenBySysMenu(const App& app, UINT command, int controlId)
{
    app.SysCommand(command);
    return app.WaitDialogWith(controlId);
}

bool WaitGone(HWND window, DWORD ms)
{
    return Eventually([&] { return !::IsWindow(window); }, ms);
}

const char* CloseName(CloseBy how)
{
    return how == CloseBy::Button ? "Button" : how == CloseBy::Esc ? "Esc" : "CloseBox";
}

void CloseDialog(HWND dialog, CloseBy how)
{
    if (how == CloseBy::Button)
        App::ClickAsync(dialog, IDOK);
    else if (how == CloseBy::Esc)
        App::Key(dialog, VK_ESCAPE);
    else
        ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

DWORD ExitCodeAfterWait(App& app, DWORD ms)
{
    DWORD code = ~0u;
    return app.WaitExit(ms, &code) ? code : ~0u;
}

std::vector<std::string> ReportShown(const App& app)
{
    std::vector<std::string> texts;
    for (int id : {1000, 1001, 1002, 1003, 1007})
        texts.push_back(app.Text(id));
    return texts;
}

std::vector<std::string> CoreReport(const std::string& dataBytes, int day, int month, int year)
{
    RecordList list;
    list.m_nCount = AppendRecords(list, std::make_shared<const std::string>(dataBytes));
    CurrentDate date;
    date.m_nDay = day, date.m_nMonth = month, date.m_nYear = year;
    date.m_nDOW = WeekdayOf(day, month, year);
    DayReportTexts t;
    BuildDayReport(list, date, 0, t);
    return {t.m_showDnes, t.m_showCalendar, t.m_showHolidays, t.m_showBirthdays, t.m_showNextDays};
}

}  // namespace e2e
