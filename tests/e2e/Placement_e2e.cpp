// Where the windows open. The boxes of failures are in Faults_e2e.cpp, the
// fonts at the screen's DPI in MainWindow_e2e.cpp.
#include <windows.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "Driver.h"
#include "res/resource.h"

namespace {

using e2e::App;

const std::string kData = "[***CALENDAR***]\r\n\r\n[***CUSTOM***]\r\n24.12 9999 Eve\r\n";

RECT Area(HWND window = nullptr)
{
    RECT rc = {};
    window ? ::GetWindowRect(window, &rc) : ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0);
    return rc;
}

bool CentredOver(HWND window, const RECT& o)
{
    const RECT w = Area(window);
    return std::abs(w.left + w.right - o.left - o.right) <= 2 && std::abs(w.top + w.bottom - o.top - o.bottom) <= 2;
}

bool OnWorkArea(HWND window)
{
    const RECT w = Area(window), a = Area();
    return w.left >= a.left && w.top >= a.top && w.right <= a.right && w.bottom <= a.bottom;
}

TEST(Placement, MainWindowCentredOnTheWorkAreaDialogsOverItAndOnTheArea)
{
    e2e::TempDir dir;
    App app;
    ASSERT_TRUE(e2e::StartWith(app, dir, kData));
    EXPECT_TRUE(CentredOver(app.Main(), Area()));
    const RECT a = Area(), m = Area(app.Main());
    for (bool moved : {false, true}) {  // then half off the work area's bottom-right corner
        if (moved)
            ::SetWindowPos(app.Main(), nullptr, (a.right * 2 - m.right + m.left) / 2,
                           (a.bottom * 2 - m.bottom + m.top) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        for (UINT command : {IDM_EDITBOX, IDM_ABOUTBOX}) {
            ::PostMessageW(app.Main(), WM_SYSCOMMAND, command, 0);
            HWND dlg = app.WaitDialogWith(command == IDM_EDITBOX ? IDC_EDIT_NOAGE : IDC_ABOUT_WEB);
            ASSERT_NE(dlg, nullptr);
            EXPECT_TRUE(moved ? OnWorkArea(dlg) : CentredOver(dlg, Area(app.Main()))) << command;
            ::PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
            ASSERT_TRUE(e2e::Eventually([&] { return !::IsWindow(dlg); }));
        }
    }
}

}  // namespace
