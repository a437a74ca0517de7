// Hooked into the program's thread by the driver (Driver.h, FontOf): a
// font handle means something only in its own process, so the description
// of a control's font is made here and sent back as a window text.
#include <windows.h>

#include <cwchar>

extern "C" LRESULT CALLBACK ProbeHook(int code, WPARAM wParam, LPARAM lParam)
{
    static const UINT query = ::RegisterWindowMessageW(L"TolvariProbeFont");
    const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && msg->message == query) {
        LOGFONTW f = {};
        HGDIOBJ font = reinterpret_cast<HGDIOBJ>(::SendMessageW(msg->hwnd, WM_GETFONT, 0, 0));
        wchar_t text[128] = L"none";
        if (font && ::GetObjectW(font, sizeof(f), &f))
            std::swprintf(text, 128, L"%ls %ld %ld%ls", f.lfFaceName, f.lfHeight, f.lfWeight,
                          f.lfItalic ? L" italic" : L"");
        ::SendMessageW(reinterpret_cast<HWND>(msg->lParam), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
