// The About box's links: a click hands the link's target to the shell and
// turns the link from blue to red. (The main window behind it has no records.)
#include <gtest/gtest.h>

#include "Driver.h"
#include "res/resource.h"

// Pixels of this colour in the control as the screen shows it.
static int Pixels(HWND control, COLORREF colour)
{
    RECT r;
    ::GetWindowRect(control, &r);
    HDC screen = ::GetDC(nullptr);
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x)
            n += ::GetPixel(screen, x, y) == colour;
    }
    ::ReleaseDC(nullptr, screen);
    return n;
}

TEST(About, ALinkOpensItsTargetAndTurnsRed)
{
    e2e::TempDir dir;
    // In the tests' own Wine prefix the shell opens web and mail links with
    // a command that writes the target down.
    const std::wstring record = L"cmd.exe /c echo %1>>\"" + dir.File(L"opened.txt") + L"\"";
    for (const wchar_t* key : {L"http\\shell\\open\\command", L"mailto\\shell\\open\\command"})
        ::RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, record.c_str(), (record.size() + 1) * 2);
    e2e::App app;
    // A file without records: the window opens with empty fields and no box.
    ASSERT_TRUE(e2e::StartWith(app, dir, "[***CALENDAR***]\r\n\r\n[***CUSTOM***]\r\nno record\r\n"));
    EXPECT_EQ(e2e::ReportShown(app), std::vector<std::string>(5));
    ::PostMessageW(app.Main(), WM_SYSCOMMAND, 0x10, 0);  // Wine's own "&About Wine" takes the letter
    HWND box = app.WaitDialogWith(IDC_ABOUT_MAIL);
    const COLORREF blue = RGB(0, 0, 220), red = RGB(200, 0, 0);
    std::string opened;
    const std::pair<int, const char*> links[] = {{IDC_ABOUT_WEB, "http://www.example.org"},
                                                 {IDC_ABOUT_MAIL, "mailto:hi@example.org"}};
    for (const auto& [id, target] : links) {
        HWND link = ::GetDlgItem(box, id);
        EXPECT_TRUE(e2e::Eventually([&] { return Pixels(link, blue) > 0 && Pixels(link, red) == 0; })) << id;
        e2e::Send(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        e2e::Send(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        opened += target + std::string("\r\n");
        EXPECT_TRUE(e2e::Eventually([&] { return dir.Read(L"opened.txt") == opened; })) << dir.Read(L"opened.txt");
        EXPECT_TRUE(e2e::Eventually([&] { return Pixels(link, red) > 0 && Pixels(link, blue) == 0; })) << id;
    }
}
