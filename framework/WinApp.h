// The application object: the one global object of the program.
#pragma once

#include <string>

#include "framework/Wnd.h"

class CWinApp {
public:
    // appName is the caption of the program's message boxes; it must outlive the object.
    explicit CWinApp(const wchar_t* appName);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Returns FALSE to end the program once it has done its work.
    virtual BOOL InitInstance() { return FALSE; }
    // Sees every message of the program's modal loops before it is dispatched;
    // TRUE swallows the message.
    virtual BOOL ProcessMessageFilter(int code, MSG* msg);

    // The text of the box shown when a failure escaped a handler, in code
    // page 1250; a literal, as memory may have run out.
    virtual const char* FailureText(bool outOfMemory) const;

    void Enable3dControls();
    HICON LoadIcon(UINT id) const;
    int Run(HINSTANCE instance);

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
    const wchar_t* m_pszAppName;

private:
    static LRESULT CALLBACK MessageFilterHook(int code, WPARAM wParam, LPARAM lParam);
    HHOOK m_hMsgFilterHook = nullptr;
};

CWinApp* AfxGetApp();

// The message box every part of the program uses; text in code page 1250.
int AfxMessageBox(const std::string& text, UINT type = MB_OK);
// The one form of user-visible error: stop icon, OK.
void ShowErrorBox(const std::string& text);
// For the catch blocks of the window procedures and the application, and
// only there: an exception escaped a handler. Shows the application's
// failure box (once, without the heap) and ends the program with exit code 1.
void AfxFailureEscaped();
// Whether AfxFailureEscaped has run: the program is ending on a failure.
bool AfxFailureHasEscaped();
