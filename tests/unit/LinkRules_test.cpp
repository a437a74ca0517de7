#include "about/LinkRules.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

struct FakeShell : ILinkShell {
    std::string text;
    uintptr_t result = 42;
    std::vector<std::string> opened;
    int textReads = 0, beeps = 0, repaints = 0;

    std::string WindowText() override { ++textReads; return text; }
    uintptr_t Open(const std::string& target) override { opened.push_back(target); return result; }
    void Beep() override { ++beeps; }
    void Repaint() override { ++repaints; }
};

TEST(LinkTarget, MailRuleOnlyForWindowTextAndCaseSensitive)
{
    struct Case { const char* given; const char* text; const char* opens; };
    const Case cases[] = {
        {nullptr, "www.example.cz", "www.example.cz"},
        {nullptr, "jana@example.cz", "mailto:jana@example.cz"},
        {nullptr, "mailto:jana@example.cz", "mailto:jana@example.cz"},
        {nullptr, "write to mailto:jana@example.cz", "write to mailto:jana@example.cz"},
        {nullptr, "MAILTO:jana@example.cz", "mailto:MAILTO:jana@example.cz"},
        {nullptr, "@", "mailto:@"},
        {"", "jana@example.cz", "mailto:jana@example.cz"},
        {"jana@example.cz", "www.example.cz", "jana@example.cz"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CLinkRules link(c.given);
        FakeShell shell;
        shell.text = c.text;
        link.OnClick(shell);
        EXPECT_EQ(shell.opened, std::vector<std::string>{c.opens});
        EXPECT_EQ(link.m_target, c.opens);
        EXPECT_EQ(shell.textReads, c.given && *c.given ? 0 : 1);
    }
}

TEST(LinkClick, ShellResultDecidesColourOrBeep)
{
    // shell result, colour before, colour after; a beep when the colour stays
    const std::tuple<uintptr_t, uint32_t, uint32_t> cases[] = {
        {33, kLinkUnvisitedColor, kLinkVisitedColor},
        {UINTPTR_MAX, kLinkUnvisitedColor, kLinkVisitedColor},  // compared unsigned
        {32, kLinkUnvisitedColor, kLinkUnvisitedColor}, {0, kLinkUnvisitedColor, kLinkUnvisitedColor},
        {2, kLinkVisitedColor, kLinkVisitedColor},
    };
    for (auto [result, before, after] : cases) {
        CLinkRules link("http://www.example.cz");
        link.m_textColor = before;
        FakeShell shell;
        shell.result = result;
        link.OnClick(shell);
        EXPECT_EQ(link.m_textColor, after) << result;
        EXPECT_EQ(std::pair(shell.beeps, shell.repaints), result > 32 ? std::pair(0, 1) : std::pair(1, 0));
        EXPECT_EQ(link.m_target, "http://www.example.cz");
    }
}

TEST(LinkClick, EmptyTextIsIgnoredSilentlyUntilThereIsATargetWhichLaterClicksReopen)
{
    CLinkRules link(nullptr);
    EXPECT_EQ(link.m_textColor, kLinkUnvisitedColor);
    FakeShell shell;
    shell.result = 0;
    link.OnClick(shell);
    EXPECT_EQ(shell.beeps + shell.repaints + shell.opened.size(), 0u);
    for (const char* text : {"jana@example.cz", "www.example.cz", "www.example.cz"}) {
        shell.text = text;
        link.OnClick(shell);
        shell.result = 42;
    }
    EXPECT_EQ(shell.opened, std::vector<std::string>(3, "mailto:jana@example.cz"));
    EXPECT_EQ(shell.textReads, 2);
    EXPECT_EQ(link.m_textColor, kLinkVisitedColor);
}

TEST(LinkColours, OnlyPlainTextStaticsTakeTheLinkLook)
{
    const std::pair<uint32_t, bool> cases[] = {
        {0x0, false},        {0x1, false},        {0x2, false},  // left, centred, right
        {0x3, true},         {0xE, true},                        // icon, bitmap
        {0x80, true},                                            // no-prefix flag
        {0x50000101, false}, {0x50000081, true},                 // with window and notify bits
    };
    for (auto [style, declines] : cases)
        EXPECT_EQ(CLinkRules::DeclinesColour(style), declines) << std::hex << style;
}

}  // namespace
