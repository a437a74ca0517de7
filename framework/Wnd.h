// A window object over a Win32 handle, with a table-driven message map.
#pragma once

#include <windows.h>

#include <string>

class CWnd;

// Messages a parent hands back to the child control they concern
// (WM_CTLCOLOR*, WM_DRAWITEM) arrive in the child's map under this offset.
constexpr UINT WM_REFLECT_BASE = 0xBC00;

// One row of a message map. Exactly one of the handler members is set.
struct MessageMapEntry {
    UINT message;  // WM_COMMAND for command rows
    UINT code;     // notification code of a command row
    UINT idFirst;
    UINT idLast;
    void (CWnd::*command)();
    LRESULT (CWnd::*handler)(WPARAM, LPARAM);
    void (CWnd::*sysCommand)(UINT, LPARAM);
};

struct MessageMap {
    const MessageMapEntry* entries;
    size_t count;
};

// A class's map is its own rows only: it does not chain to its base class's
// map. The dispatcher tries the rows, then the framework's own handling
// (CDialog's defaults), then the window's default procedure.
template <size_t N>
constexpr MessageMap MakeMessageMap(const MessageMapEntry (&entries)[N])
{
    return MessageMap{entries, N};
}

// Typed builders for map rows; the casts are checked to come from a CWnd.
template <class T>
constexpr MessageMapEntry MapCommand(UINT id, UINT code, void (T::*fn)())
{
    return {WM_COMMAND, code, id, id, static_cast<void (CWnd::*)()>(fn), nullptr, nullptr};
}

template <class T>
constexpr MessageMapEntry MapMessage(UINT message, void (T::*fn)())
{
    return {message, 0, 0, 0, static_cast<void (CWnd::*)()>(fn), nullptr, nullptr};
}

template <class T>
constexpr MessageMapEntry MapMessage(UINT message, LRESULT (T::*fn)(WPARAM, LPARAM))
{
    return {message, 0, 0, 0, nullptr, static_cast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(fn), nullptr};
}

template <class T>
constexpr MessageMapEntry MapSysCommand(void (T::*fn)(UINT, LPARAM))
{
    return {WM_SYSCOMMAND, 0, 0, 0, nullptr, nullptr, static_cast<void (CWnd::*)(UINT, LPARAM)>(fn)};
}

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    // <windows.h> renames this (and any method named like an A/W function)
    // to GetWindowTextW; every file that uses it must include it first, as
    // this header does, or the names will not match at link time.
    std::string GetWindowText() const;
    // Centres a top-level window over its owner, or on the work area of its
    // monitor when it has no visible owner, and keeps it inside that area.
    void CenterWindow();

    // Takes over an existing control: its messages reach this object's map first.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(int id, CWnd* parent);
    HWND UnsubclassWindow();
    static CWnd* FromHandleAttached(HWND hwnd);

    // Called by a handler that wants the message's default processing as well.
    void Default() { m_bDefaultRequested = true; }

    // A parent calls this with a message about the child; true when handled.
    virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

protected:
    virtual MessageMap GetMessageMap() const { return MessageMap{nullptr, 0}; }
    // Runs the map row for the message; false when no row matched or the
    // handler asked for the default processing.
    bool DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Reflects WM_CTLCOLOR* and WM_DRAWITEM to the child they concern.
    bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual void PostNcDestroy() {}

private:
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM);
    WNDPROC m_oldWndProc = nullptr;
    bool m_bDefaultRequested = false;
};
