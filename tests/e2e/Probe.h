// Looks inside the running Tolvari.exe: what only its own user-interface
// thread can see (fonts, keyboard focus, the system menu, tooltip texts,
// activation, a message box's icon). The probe DLL (probe/) is hooked into
// that thread for the life of a Probe; every query is synchronous, bounded by
// kWaitMs, and answered by the program's thread between two of its messages.
//
//     e2e::Probe probe(app);
//     std::optional<LOGFONTW> font = probe.Font(::GetDlgItem(app.Main(), 1000));
//     EXPECT_EQ(probe.Focus(), IDOK);
//     for (const e2e::Tool& tool : probe.ToolTips(editor)) ...
//
// A query that gets no answer (program gone or hung) fails the running test
// with a message and returns the empty result.
#pragma once

#include "Driver.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct MenuItem {
    UINT id;
    bool separator;
    UINT state;  // MFS_GRAYED, MFS_CHECKED, ...
    std::wstring text;
};

struct Tool {
    HWND tooltip;  // the tooltip control holding it
    HWND window;   // the tool's own window (TTF_IDISHWND), else null
    HWND owner;    // TOOLINFO::hwnd
    UINT flags;    // TTF_*
    std::wstring text;
};

struct ThreadState {
    HWND active;    // the thread's active window
    HWND focus;     // the window with the keyboard focus
    HWND capture;   // the window holding the mouse capture
    bool enabled;   // of the window asked about
    bool visible;
};

struct WindowIcons {
    HICON bigIcon;    // WM_GETICON ICON_BIG
    HICON smallIcon;  // WM_GETICON ICON_SMALL
    HICON dragIcon;   // WM_QUERYDRAGICON
    SIZE bigSize;
};

class Probe {
public:
    // Hooks the thread of the program's main window.
    explicit Probe(const App& app);
    // Hooks the thread that owns this window (any window of the program,
    // e.g. a message box shown before the main window is visible).
    explicit Probe(HWND anyWindow);
    ~Probe();
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    bool Attached() const { return m_hook != nullptr; }

    // The LOGFONTW of the font the window answers WM_GETFONT with; nullopt
    // when it has none (it draws with the system font).
    std::optional<LOGFONTW> Font(HWND window);
    // Control id of the window with the keyboard focus (0: none, or no id).
    int Focus();
    HWND FocusWindow();
    // The entries of the window's system menu, top to bottom.
    std::vector<MenuItem> SystemMenu(HWND window);
    // Every tool of the tooltip controls the dialog owns.
    std::vector<Tool> ToolTips(HWND dialog);
    ThreadState State(HWND window);
    // The window's icons, as the window itself answers for them.
    WindowIcons Icons(HWND window);
    // MB_ICONHAND, MB_ICONQUESTION, MB_ICONEXCLAMATION, MB_ICONASTERISK, or 0.
    int MessageBoxIcon(HWND box);
    // Full path of the comctl32.dll the program has loaded (the side-by-side
    // "...common-controls_..._6.0..." folder when version 6 is in use).
    std::wstring CommonControlsPath();

private:
    // Sends one query to target and returns the reply's items; false when
    // no reply came.
    bool Ask(HWND target, uint32_t query, std::vector<char>& items, uint32_t& count);
    template <class Item>
    std::vector<Item> AskItems(HWND target, uint32_t query);
    static LRESULT CALLBACK ReplyProc(HWND, UINT, WPARAM, LPARAM);

    HWND m_target = nullptr;  // for thread-wide queries
    HMODULE m_dll = nullptr;
    HHOOK m_hook = nullptr;
    HWND m_replyWindow = nullptr;
    uint32_t m_sequence = 0;
    std::vector<char> m_reply;
};

}  // namespace e2e
