// The About box's links: a click hands the link's target to the shell and
// turns the link from blue to red.
#include "Driver.h"

#include <gtest/gtest.h>

using e2e::Eventually;

// Pixels of this colour in the control as the screen shows it.
int Pixels(HWND control, COLORREF colour)
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
    ASSERT_TRUE(e2e::StartWith(app, dir, "06.12 9999 Holiday\r\n"));
    ::PostMessageW(app.Main(), WM_SYSCOMMAND, 0x10, 0);  // Wine's own "&About Wine" takes the letter
    HWND box = app.WaitDialogWith(1014);
    const COLORREF blue = RGB(0, 0, 220), red = RGB(200, 0, 0);
    std::string opened;
    for (const auto& [id, target] : {std::pair{1013, "http://www.example.org\r\n"}, {1014, "mailto:hi@example.org\r\n"}}) {
        HWND link = ::GetDlgItem(box, id);
        EXPECT_TRUE(Eventually([&] { return Pixels(link, blue) > 0 && Pixels(link, red) == 0; })) << id;
        e2e::Send(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        e2e::Send(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        opened += target;
        EXPECT_TRUE(Eventually([&] { return dir.Read(L"opened.txt") == opened; })) << dir.Read(L"opened.txt");
        EXPECT_TRUE(Eventually([&] { return Pixels(link, red) > 0 && Pixels(link, blue) == 0; })) << id;
    }
}
