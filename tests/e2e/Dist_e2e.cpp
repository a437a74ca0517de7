// The Windows release: the zip unpacked into a fresh folder holds the
// program, the import companion, the two files and a readme, and the program started there opens
// on today's report of the sample data.
#include "Driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <string>
#include <vector>

namespace {

using e2e::App;

// The unpacked zip, made by the test step before this one; a Unix path is
// reached through Wine's Z: drive.
std::wstring UnzippedDir()
{
    const wchar_t* dir = _wgetenv(L"TOLVARI_DIST_DIR");
    std::wstring path = dir ? dir : L"";
    if (!path.empty() && path[0] == L'/') {
        std::replace(path.begin(), path.end(), L'/', L'\\');
        path = L"Z:" + path;
    }
    return path;
}

std::vector<std::wstring> FilesIn(const std::wstring& dir)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = ::FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do
        if (std::wstring(fd.cFileName) != L"." && std::wstring(fd.cFileName) != L"..")
            names.push_back(fd.cFileName);
    while (::FindNextFileW(h, &fd));
    ::FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

const std::vector<std::wstring> kFiles = {L"README.txt", L"Tolvari.dat", L"Tolvari.exe", L"Tolvari.ini",
                                          L"TolvariImport.exe"};

TEST(Dist, HoldsTheProgramsTheTwoFilesAndAReadme)
{
    const std::wstring dir = UnzippedDir();
    ASSERT_FALSE(dir.empty()) << "TOLVARI_DIST_DIR is not set";
    EXPECT_EQ(FilesIn(dir), kFiles);
    // Notepad shows the readme line by line only with CR LF line ends.
    const std::string readme = e2e::ReadFileBytes(dir + L"\\README.txt");
    ASSERT_GT(std::count(readme.begin(), readme.end(), '\n'), 10);
    for (size_t i = 0; i < readme.size(); ++i)
        ASSERT_TRUE(readme[i] != '\n' || (i > 0 && readme[i - 1] == '\r')) << "bare LF after byte " << i;
    EXPECT_EQ(readme.back(), '\n');
}

TEST(Dist, OpensOnTodaysReportInTheUnzippedFolder)
{
    const std::wstring dir = UnzippedDir();
    ASSERT_FALSE(dir.empty()) << "TOLVARI_DIST_DIR is not set";
    const CurrentDate before = e2e::ClockDate();
    App app;
    ASSERT_TRUE(app.Start(dir, dir + L"\\Tolvari.exe"));
    ASSERT_TRUE(app.WaitMainWindow());
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ(app.FindDialogWith(0), nullptr) << "error box: " << App::MessageBoxText(app.FindDialogWith(0));
    const std::vector<std::string> shown = e2e::ReportShown(app);
    const std::vector<std::string> expected = e2e::CoreReport(
        e2e::ReadFileBytes(dir + L"\\Tolvari.dat"), before.m_nDay, before.m_nMonth, before.m_nYear);
    if (!(e2e::ClockDate() == before))
        GTEST_SKIP() << "the day changed while the program started";
    ASSERT_FALSE(expected[1].empty()) << "the sample has a name day for every day";
    EXPECT_EQ(shown, expected);

    e2e::CloseDialog(app.Main(), e2e::CloseBy::Button);
    EXPECT_EQ(e2e::ExitCodeAfterWait(app), 0u);
    EXPECT_EQ(FilesIn(dir), kFiles) << "the program wrote into the folder";
}

}  // namespace
