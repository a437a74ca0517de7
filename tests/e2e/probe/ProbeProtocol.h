// What the test driver and the probe DLL say to each other.
//
// A query is the registered message kQueryMessage sent to a window of the
// program's user-interface thread: wParam is the driver's reply window,
// lParam is (sequence << 8) | query kind. The probe's hook sees it in that
// thread, works out the answer there and sends it back with WM_COPYDATA to
// the reply window while the driver still waits in SendMessageTimeout. The
// copied block is a ReplyHeader followed by `count` items of the query's
// item type. Handles travel as 32-bit values, as both sides are 32-bit.
#pragma once

#include <windows.h>

#include <cstdint>

namespace probe {

constexpr wchar_t kQueryMessage[] = L"Tolvari.Probe.Query";
constexpr char kHookProc[] = "ProbeCallWndProc";  // exported WH_CALLWNDPROC hook
constexpr wchar_t kDllName[] = L"tolvari_probe.dll";
constexpr ULONG_PTR kMagic = 0x54505242;           // COPYDATASTRUCT::dwData of a reply

enum Query : uint32_t {
    kFont = 1,         // target: any window -> one FontItem
    kFocus,            // target: any window of the thread -> one WindowItem (GetFocus)
    kSystemMenu,       // target: a top-level window -> one MenuItem per entry
    kToolTips,         // target: a dialog -> one ToolItem per tool of the tooltips it owns
    kState,            // target: any window -> one StateItem
    kMessageBoxIcon,   // target: a message box -> one ValueItem (MB_ICONHAND, ... or 0)
    kCommonControls,   // target: any window -> one TextItem (path of the loaded comctl32.dll)
    kIcons,            // target: a top-level window -> one IconsItem
};

struct ReplyHeader {
    uint32_t query;
    uint32_t sequence;
    uint32_t count;  // items that follow
};

struct FontItem {
    int32_t hasFont;  // 0: WM_GETFONT gave none (the system font)
    LOGFONTW font;
};

struct WindowItem {
    uint32_t hwnd;
    int32_t id;  // GetDlgCtrlID, 0 for none
};

struct MenuItem {
    uint32_t id;
    uint32_t type;   // MFT_* (MFT_SEPARATOR for a separator)
    uint32_t state;  // MFS_*
    wchar_t text[128];
};

struct ToolItem {
    uint32_t tooltip;  // the tooltip control
    uint32_t hwnd;     // TOOLINFO::hwnd
    uint32_t uId;      // the tool's window when flags has TTF_IDISHWND
    uint32_t flags;
    wchar_t text[256];
};

struct StateItem {
    uint32_t active;   // GetActiveWindow of the thread
    uint32_t focus;    // GetFocus
    uint32_t capture;  // GetCapture
    int32_t enabled;   // IsWindowEnabled(target)
    int32_t visible;   // IsWindowVisible(target)
};

struct ValueItem {
    int32_t value;
};

// WM_GETICON and WM_QUERYDRAGICON do not cross processes under Wine.
struct IconsItem {
    uint32_t bigIcon;     // WM_GETICON ICON_BIG
    uint32_t smallIcon;   // WM_GETICON ICON_SMALL
    uint32_t dragIcon;    // WM_QUERYDRAGICON
    int32_t width;    // of the big icon
    int32_t height;
};

struct TextItem {
    wchar_t text[MAX_PATH];
};

}  // namespace probe
