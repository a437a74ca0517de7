#include "framework/WinApp.h"

#include "framework/Text.h"

#include <commctrl.h>

namespace {
CWinApp* g_app = nullptr;  // the framework's link to the one application object
}

CWinApp* AfxGetApp()
{
    return g_app;
}

CWinApp::CWinApp(const wchar_t* appName) : m_pszAppName(appName ? appName : L"Tolvari")
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

void CWinApp::Enable3dControls()
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
}

HICON CWinApp::LoadIcon(UINT id) const
{
    return static_cast<HICON>(::LoadImageW(m_hInstance, MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0,
                                           LR_DEFAULTSIZE | LR_SHARED));
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
    m_hMsgFilterHook = ::SetWindowsHookExW(WH_MSGFILTER, &CWinApp::MessageFilterHook, nullptr,
                                           ::GetCurrentThreadId());
    int exitCode = 0;
    try {
        InitInstance();
    } catch (...) {
        exitCode = 1;
    }
    if (m_hMsgFilterHook)
        ::UnhookWindowsHookEx(m_hMsgFilterHook);
    m_hMsgFilterHook = nullptr;
    return exitCode;
}

int AfxMessageBox(const std::string& text, UINT type)
{
    CWinApp* app = AfxGetApp();
    HWND owner = nullptr;
    if (app && app->m_pMainWnd && ::IsWindow(app->m_pMainWnd->m_hWnd))
        owner = ::GetLastActivePopup(app->m_pMainWnd->m_hWnd);
    return ::MessageBoxW(owner, tolvari::Widen(text).c_str(), app ? app->m_pszAppName : L"Tolvari",
                         type | MB_TASKMODAL);
}

void ShowErrorBox(const std::string& text)
{
    AfxMessageBox(text, MB_OK | MB_ICONHAND);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CWinApp* app = AfxGetApp();
    return app ? app->Run(instance) : 1;
}
