#include "framework/WinApp.h"

#include <windows.h>

#include <commctrl.h>

#include <new>

#include "records/Text.h"

namespace {
CWinApp* g_app = nullptr;  // the framework's link to the one application object
bool g_failed = false;     // a failure escaped a handler; the program is ending
}  // namespace

CWinApp* AfxGetApp()
{
    return g_app;
}

CWinApp::CWinApp(const wchar_t* appName) : m_pszAppName(appName)
{
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::ProcessMessageFilter(int, MSG*)
{
    return FALSE;
}

const char* CWinApp::FailureText(bool outOfMemory) const
{
    return outOfMemory ? "Error: Not enough memory." : "Error: Unexpected failure.";
}

void CWinApp::Enable3dControls()
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
}

HICON CWinApp::LoadIcon(UINT id) const
{
    return static_cast<HICON>(
        ::LoadImageW(m_hInstance, MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}

LRESULT CALLBACK CWinApp::MessageFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    CWinApp* app = g_app;
    if (code >= 0 && app && app->ProcessMessageFilter(code, reinterpret_cast<MSG*>(lParam)))
        return 1;
    return ::CallNextHookEx(app ? app->m_hMsgFilterHook : nullptr, code, wParam, lParam);
}

int CWinApp::Run(HINSTANCE instance)
{
    m_hInstance = instance;
    m_hMsgFilterHook = ::SetWindowsHookExW(WH_MSGFILTER, &CWinApp::MessageFilterHook, nullptr, ::GetCurrentThreadId());
    try {
        InitInstance();
    } catch (...) {
        m_pMainWnd = nullptr;  // its window is gone with the unwinding
        AfxFailureEscaped();
    }
    if (m_hMsgFilterHook)
        ::UnhookWindowsHookEx(m_hMsgFilterHook);
    m_hMsgFilterHook = nullptr;
    return g_failed ? 1 : 0;
}

int AfxMessageBox(const std::string& text, UINT type)
{
    CWinApp* app = AfxGetApp();
    HWND owner = nullptr;
    if (app && app->m_pMainWnd && ::IsWindow(app->m_pMainWnd->m_hWnd))
        owner = ::GetLastActivePopup(app->m_pMainWnd->m_hWnd);
    return ::MessageBoxW(owner, tolvari::Widen(text).c_str(), app ? app->m_pszAppName : nullptr, type | MB_TASKMODAL);
}

void ShowErrorBox(const std::string& text)
{
    AfxMessageBox(text, MB_OK | MB_ICONHAND);
}

void AfxFailureEscaped()
{
    // A failure raised while the box is up (its messages reach the handlers
    // too) only ends the program.
    if (!g_failed) {
        g_failed = true;
        bool outOfMemory = false;
        try {
            throw;
        } catch (const std::bad_alloc&) {
            outOfMemory = true;
        } catch (...) {
        }
        CWinApp* app = AfxGetApp();
        wchar_t text[512];
        if (!::MultiByteToWideChar(1250, 0, app ? app->FailureText(outOfMemory) : "Error", -1, text, 512))
            text[0] = L'\0';
        HWND owner = nullptr;
        if (app && app->m_pMainWnd && ::IsWindow(app->m_pMainWnd->m_hWnd))
            owner = ::GetLastActivePopup(app->m_pMainWnd->m_hWnd);
        ::MessageBoxW(owner, text, app ? app->m_pszAppName : nullptr, MB_OK | MB_ICONHAND | MB_TASKMODAL);
    }
    ::PostQuitMessage(1);
}

bool AfxFailureHasEscaped()
{
    return g_failed;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CWinApp* app = AfxGetApp();
    return app ? app->Run(instance) : 1;
}
