// The release zip, unpacked into a fresh folder by the step before: its five
// files, and the program started there on the real clock.
#include <gtest/gtest.h>

#include "Driver.h"
#include "res/resource.h"

// Today's date line, as Windows writes dates in English.
static std::string Today()
{
    wchar_t line[64] = L"";
    ::GetDateFormatW(MAKELCID(0x409, SORT_DEFAULT), 0, nullptr, L"dddd', 'MMMM'  'd', 'yyyy", line, 64);
    return e2e::ToCp1250(line);
}

TEST(Dist, OpensOnTodaysReportInTheUnzippedFolder)
{
    std::wstring dir = _wgetenv(L"TOLVARI_DIST_DIR") ? _wgetenv(L"TOLVARI_DIST_DIR") : L"";
    ASSERT_EQ(dir[0], L'/');
    std::replace(dir.begin(), dir.end(), L'/', L'\\');
    dir = L"Z:" + dir;  // the Unix path through Wine's drive
    const std::vector<std::wstring> files = e2e::FilesIn(dir);
    EXPECT_EQ(files, (std::vector<std::wstring>{L"README.txt", L"Tolvari.dat", L"Tolvari.exe", L"Tolvari.ini",
                                                L"TolvariImport.exe"}));
    const std::string before = Today();
    e2e::App app;
    ASSERT_TRUE(app.Start(dir, false, dir + L"\\Tolvari.exe") && app.WaitMainWindow());
    const std::string shown = app.Text(IDC_TODAY_DNES);
    if (Today() != before)
        GTEST_SKIP() << "the date changed while the program started";
    EXPECT_EQ(shown, before);
    EXPECT_NE(app.Text(IDC_TODAY_CALENDAR), "") << "the sample has a name day for every day";
    ::PostMessageW(app.Main(), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(app.ExitCode(), 0u);
    EXPECT_EQ(e2e::FilesIn(dir), files) << "nothing is written";
}
