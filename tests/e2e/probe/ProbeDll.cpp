// The test probe, loaded into Tolvari's user-interface thread by a
// WH_CALLWNDPROC hook that the driver sets for that thread. Fonts, focus,
// menus and tooltip texts of a window can be read only in its own process;
// the probe reads them there and sends them back (see ProbeProtocol.h).
#include "ProbeProtocol.h"

#include <commctrl.h>

#include <cwchar>
#include <vector>

namespace {

UINT QueryMessage()
{
    static const UINT message = ::RegisterWindowMessageW(probe::kQueryMessage);
    return message;
}

uint32_t Handle32(HWND hwnd)
{
    return static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(hwnd));
}

class Reply {
public:
    Reply(uint32_t query, uint32_t sequence)
    {
        const probe::ReplyHeader header = {query, sequence, 0};
        Append(&header, sizeof(header));
    }

    template <class Item>
    void Add(const Item& item)
    {
        Append(&item, sizeof(item));
        reinterpret_cast<probe::ReplyHeader*>(m_bytes.data())->count++;
    }

    void Send(HWND to, HWND from)
    {
        COPYDATASTRUCT data = {probe::kMagic, static_cast<DWORD>(m_bytes.size()), m_bytes.data()};
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(to, WM_COPYDATA, reinterpret_cast<WPARAM>(from),
                              reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 10000, &result);
    }

private:
    void Append(const void* p, size_t n)
    {
        const char* bytes = static_cast<const char*>(p);
        m_bytes.insert(m_bytes.end(), bytes, bytes + n);
    }
    std::vector<char> m_bytes;
};

template <size_t N>
void CopyText(wchar_t (&to)[N], const wchar_t* from)
{
    std::wcsncpy(to, from, N - 1);
    to[N - 1] = L'\0';
}

void AnswerFont(HWND target, Reply& reply)
{
    probe::FontItem item = {};
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(target, WM_GETFONT, 0, 0));
    if (font && ::GetObjectW(font, sizeof(item.font), &item.font) == sizeof(item.font))
        item.hasFont = 1;
    reply.Add(item);
}

void AnswerFocus(Reply& reply)
{
    HWND focus = ::GetFocus();
    const probe::WindowItem item = {Handle32(focus), focus ? ::GetDlgCtrlID(focus) : 0};
    reply.Add(item);
}

void AnswerSystemMenu(HWND target, Reply& reply)
{
    HMENU menu = ::GetSystemMenu(target, FALSE);
    if (!menu)
        return;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        probe::MenuItem item = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        info.dwTypeData = item.text;
        info.cch = static_cast<UINT>(sizeof(item.text) / sizeof(item.text[0]) - 1);
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info))
            continue;
        item.id = info.wID;
        item.type = info.fType;
        item.state = info.fState;
        reply.Add(item);
    }
}

bool IsToolTipClass(HWND hwnd)
{
    wchar_t name[64] = L"";
    ::GetClassNameW(hwnd, name, 64);
    // A versioned class name ("6.0...!tooltips_class32") counts too.
    const wchar_t* bang = std::wcsrchr(name, L'!');
    return _wcsicmp(bang ? bang + 1 : name, TOOLTIPS_CLASSW) == 0;
}

struct ToolTipSearch {
    HWND owner;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectToolTips(HWND hwnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<ToolTipSearch*>(lParam);
    if (::GetWindow(hwnd, GW_OWNER) == search->owner && IsToolTipClass(hwnd))
        search->found.push_back(hwnd);
    return TRUE;
}

void AnswerToolTips(HWND dialog, Reply& reply)
{
    ToolTipSearch search = {dialog, {}};
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectToolTips, reinterpret_cast<LPARAM>(&search));
    for (HWND tooltip : search.found) {
        const int count = static_cast<int>(::SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            TTTOOLINFOW info = {};
            info.cbSize = sizeof(info);
            if (!::SendMessageW(tooltip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i),
                                reinterpret_cast<LPARAM>(&info)))
                continue;
            probe::ToolItem item = {};
            item.tooltip = Handle32(tooltip);
            item.hwnd = Handle32(info.hwnd);
            item.uId = static_cast<uint32_t>(info.uId);
            item.flags = info.uFlags;
            wchar_t text[256] = L"";
            info.lpszText = text;
            ::SendMessageW(tooltip, TTM_GETTEXTW, sizeof(text) / sizeof(text[0]),
                           reinterpret_cast<LPARAM>(&info));
            CopyText(item.text, text);
            reply.Add(item);
        }
    }
}

void AnswerState(HWND target, Reply& reply)
{
    const probe::StateItem item = {Handle32(::GetActiveWindow()), Handle32(::GetFocus()),
                                   Handle32(::GetCapture()), ::IsWindowEnabled(target) ? 1 : 0,
                                   ::IsWindowVisible(target) ? 1 : 0};
    reply.Add(item);
}

// The standard icon a message box shows, as its MB_ICON* style.
void AnswerMessageBoxIcon(HWND box, Reply& reply)
{
    HICON shown = nullptr;
    for (HWND child = ::GetWindow(box, GW_CHILD); child && !shown;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            shown = reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
    }
    const struct {
        LPCWSTR icon;
        int32_t style;
    } kIcons[] = {{IDI_HAND, MB_ICONHAND},
                  {IDI_QUESTION, MB_ICONQUESTION},
                  {IDI_EXCLAMATION, MB_ICONEXCLAMATION},
                  {IDI_ASTERISK, MB_ICONASTERISK}};
    probe::ValueItem item = {0};
    for (const auto& k : kIcons)
        if (shown && shown == ::LoadIconW(nullptr, k.icon))
            item.value = k.style;
    reply.Add(item);
}

// Where the program's common controls were loaded from: the side-by-side
// folder of version 6 when its manifest asked for them.
void AnswerCommonControls(Reply& reply)
{
    probe::TextItem item = {};
    if (HMODULE comctl = ::GetModuleHandleW(L"comctl32.dll"))
        ::GetModuleFileNameW(comctl, item.text, sizeof(item.text) / sizeof(item.text[0]));
    reply.Add(item);
}

uint32_t IconOf(HWND window, UINT message, WPARAM which)
{
    return static_cast<uint32_t>(::SendMessageW(window, message, which, 0));
}

void AnswerIcons(HWND window, Reply& reply)
{
    probe::IconsItem item = {IconOf(window, WM_GETICON, ICON_BIG), IconOf(window, WM_GETICON, ICON_SMALL),
                             IconOf(window, WM_QUERYDRAGICON, 0), 0, 0};
    ICONINFO info = {};
    if (item.bigIcon && ::GetIconInfo(reinterpret_cast<HICON>(static_cast<UINT_PTR>(item.bigIcon)), &info)) {
        BITMAP bitmap = {};
        if (::GetObjectW(info.hbmMask, sizeof(bitmap), &bitmap)) {
            item.width = bitmap.bmWidth;
            // A monochrome icon's mask holds the AND and XOR halves.
            item.height = info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2;
        }
        if (info.hbmColor)
            ::DeleteObject(info.hbmColor);
        if (info.hbmMask)
            ::DeleteObject(info.hbmMask);
    }
    reply.Add(item);
}

void Answer(const CWPSTRUCT& query)
{
    HWND replyTo = reinterpret_cast<HWND>(query.wParam);
    const uint32_t kind = static_cast<uint32_t>(query.lParam) & 0xFF;
    const uint32_t sequence = static_cast<uint32_t>(query.lParam) >> 8;
    Reply reply(kind, sequence);
    switch (kind) {
    case probe::kFont: AnswerFont(query.hwnd, reply); break;
    case probe::kFocus: AnswerFocus(reply); break;
    case probe::kSystemMenu: AnswerSystemMenu(query.hwnd, reply); break;
    case probe::kToolTips: AnswerToolTips(query.hwnd, reply); break;
    case probe::kState: AnswerState(query.hwnd, reply); break;
    case probe::kMessageBoxIcon: AnswerMessageBoxIcon(query.hwnd, reply); break;
    case probe::kCommonControls: AnswerCommonControls(reply); break;
    case probe::kIcons: AnswerIcons(query.hwnd, reply); break;
    default: break;
    }
    reply.Send(replyTo, query.hwnd);
}

}  // namespace

extern "C" LRESULT CALLBACK ProbeCallWndProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && lParam) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (message->message == QueryMessage()) {
            try {
                Answer(*message);
            } catch (...) {
                // Nothing may unwind into the program; the driver sees no reply.
            }
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
