// The main window opens as laid out and closes the three usual ways.
#include "Driver.h"

#include <gtest/gtest.h>

namespace {

using e2e::App;
using e2e::TempDir;

// A data file without records keeps the window open with empty fields.
void StartEmpty(App& app, const TempDir& dir)
{
    e2e::WriteDefaultFiles(dir, "[***CALENDAR***]\r\n");
    ASSERT_TRUE(app.Start(dir.Path()));
    ASSERT_TRUE(app.WaitMainWindow());
}

TEST(Startup, OpensWithCaptionFieldsAndButtons)
{
    TempDir dir;
    App app;
    StartEmpty(app, dir);
    EXPECT_EQ(App::WindowTextW(app.Main()), L"Tolvari");

    for (int id : {1000, 1001, 1002, 1003, 1007}) {
        HWND field = ::GetDlgItem(app.Main(), id);
        ASSERT_NE(field, nullptr) << "field " << id;
        EXPECT_EQ(app.Text(id), "") << "field " << id;
        const LONG style = ::GetWindowLongW(field, GWL_STYLE);
        EXPECT_TRUE(style & ES_READONLY) << "field " << id;
        EXPECT_TRUE(style & ES_MULTILINE) << "field " << id;
    }
    EXPECT_EQ(app.Text(IDOK), "Exit");
    EXPECT_EQ(app.Text(1004), "Yesterday");
    EXPECT_EQ(app.Text(1005), "Tomorrow");

    const LONG style = ::GetWindowLongW(app.Main(), GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(::GetWindowLongW(app.Main(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
}

struct CloseWay {
    const char* name;
    void (*close)(App&);
};

class StartupClose : public ::testing::TestWithParam<CloseWay> {};

TEST_P(StartupClose, EndsTheProcessWithCodeZero)
{
    TempDir dir;
    App app;
    StartEmpty(app, dir);
    GetParam().close(app);
    DWORD code = 1234;
    ASSERT_TRUE(app.WaitExit(e2e::kWaitMs, &code));
    EXPECT_EQ(code, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, StartupClose,
    ::testing::Values(CloseWay{"Exit", [](App& a) { App::ClickAsync(a.Main(), IDOK); }},
                      CloseWay{"Esc", [](App& a) { App::Key(a.Main(), VK_ESCAPE); }},
                      CloseWay{"CloseBox", [](App& a) { a.SysCommand(SC_CLOSE); }}),
    [](const ::testing::TestParamInfo<CloseWay>& info) { return std::string(info.param.name); });

}  // namespace
