// A static text control of a dialog turned into a link: drawn underlined in
// the link colour, a hand cursor over its whole rectangle, and a left click
// hands its target to the shell. Attach it with SubclassDlgItem.
#pragma once

#include "about/LinkRules.h"
#include "framework/Controls.h"

class CStaticLink : public CStatic {
public:
    // A null or empty target means: the control's text, read at the first click.
    explicit CStaticLink(const char* target = nullptr, BOOL deleteOnDestroy = FALSE);
    ~CStaticLink() override;

    CLinkRules m_link;      // target and current colour
    CFont m_underlineFont;  // made at the first drawing, kept for the object's life
    BOOL m_deleteOnDestroy;

    // Shared by every link for the life of the process.
    static const COLORREF s_unvisitedColor;
    static const COLORREF s_visitedColor;
    static HCURSOR s_linkCursor;        // never destroyed
    static BOOL s_cursorFallbackTried;  // the fallback search runs at most once

protected:
    MessageMap GetMessageMap() const override;
    void PostNcDestroy() override;

    LRESULT OnNcHitTest(WPARAM, LPARAM);
    LRESULT CtlColor(WPARAM hdc, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnSetCursor(WPARAM, LPARAM);

private:
    void CreateUnderlineFont();
    HFONT m_hPlainFont = nullptr;  // the control's own font, given back when the link goes
};
