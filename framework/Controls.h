// The few controls and GDI objects the dialogs use.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "framework/Wnd.h"

// Owns one font handle; released with the object.
class CFont {
public:
    CFont() = default;
    ~CFont() { DeleteObject(); }
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    BOOL CreateFontIndirect(const LOGFONTW& lf);
    void DeleteObject();
    HFONT GetSafeHandle() const { return m_hFont; }
    operator HFONT() const { return m_hFont; }

private:
    HFONT m_hFont = nullptr;
};

class CStatic : public CWnd {};

// A push button drawn from two bitmap resources named after its caption,
// "<CAPTION>U" released and "<CAPTION>D" pressed; sized to the picture.
class CBitmapButton : public CWnd {
public:
    ~CBitmapButton() override;
    BOOL AutoLoad(UINT id, CWnd* parent);

protected:
    MessageMap GetMessageMap() const override;

private:
    LRESULT OnDrawItem(WPARAM, LPARAM lParam);
    HBITMAP m_hUp = nullptr;
    HBITMAP m_hDown = nullptr;
};

class CToolTipCtrl : public CWnd {
public:
    BOOL Create(CWnd* parent, DWORD style = 0);
    BOOL AddTool(CWnd* tool, const std::string& cp1250Text);
    void Activate(BOOL activate);
    void RelayEvent(MSG* msg);
    ~CToolTipCtrl() override;
};
