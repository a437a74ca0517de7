#include "about/LinkRules.h"

CLinkRules::CLinkRules(const char* target) : m_target(target ? target : ""), m_textColor(kLinkUnvisitedColor) {}

void CLinkRules::OnClick(ILinkShell& shell)
{
    if (m_target.empty()) {
        m_target = shell.WindowText();
        if (m_target.empty())
            return;  // nothing to open, not worth a beep
        // A bare address shown in the box opens the mail program. The test is
        // case-sensitive on purpose, so "MAILTO:" gets a second prefix.
        if (m_target.find('@') != std::string::npos && m_target.find("mailto:") == std::string::npos)
            m_target.insert(0, "mailto:");
    }

    if (shell.Open(m_target) > 32) {
        m_textColor = kLinkVisitedColor;
        shell.Repaint();
    } else {
        shell.Beep();  // colour and target stay, so the next click tries again
    }
}

bool CLinkRules::DeclinesColour(uint32_t windowStyle)
{
    return (windowStyle & 0xFF) > 2;
}
