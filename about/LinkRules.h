// Rules of the hyperlink control, free of any window system: which target a
// click opens, and when the link turns to its visited colour. The control
// supplies the shell operations through ILinkShell.
#pragma once

#include <cstdint>
#include <string>

// COLORREF values (0x00BBGGRR).
constexpr uint32_t kLinkUnvisitedColor = 0xDC0000;  // RGB(0, 0, 220), blue
constexpr uint32_t kLinkVisitedColor = 0x0000C8;    // RGB(200, 0, 0), red

struct ILinkShell {
    virtual ~ILinkShell() = default;
    virtual std::string WindowText() = 0;                   // the control's current text (cp1250)
    virtual uintptr_t Open(const std::string& target) = 0;  // ShellExecute "open"; > 32 = success
    virtual void Beep() = 0;                                // MessageBeep(0)
    virtual void Repaint() = 0;                             // invalidate whole control, erase
};

class CLinkRules {
public:
    explicit CLinkRules(const char* target);  // null counts as empty

    // Empty until the first click when the control's text is the target;
    // then it keeps what that click opened, "mailto:" included.
    std::string m_target;
    uint32_t m_textColor;  // unvisited until the shell accepts a click

    void OnClick(ILinkShell& shell);

    // Only left, centred and right-aligned text statics (low style byte 0..2)
    // take the link colour and underline; the rest are drawn as usual.
    static bool DeclinesColour(uint32_t windowStyle);
};
