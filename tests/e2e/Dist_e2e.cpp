// The Windows release: the zip unpacked into a fresh folder, the way a user
// does it, holds the program, its two files and a readme, and the program
// started there opens on today's report of the sample data.
#include "Driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <string>
#include <vector>

#include "calendar/DayReport.h"
#include "records/DataFile.h"

namespace {

using e2e::App;

// The unpacked zip, made by the test step before this one (scripts/dist). A
// Unix path from the test environment is reached through Wine's Z: drive.
std::wstring UnzippedDir()
{
    const wchar_t* dir = _wgetenv(L"TOLVARI_DIST_DIR");
    if (!dir || !*dir)
        return std::wstring();
    std::wstring path = dir;
    if (path[0] == L'/') {
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
    do {
        const std::wstring name = fd.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (::FindNextFileW(h, &fd));
    ::FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadBytes(const std::wstring& path)
{
    std::string bytes;
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(h, buffer, sizeof(buffer), &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    ::CloseHandle(h);
    return bytes;
}

std::tm LocalNow()
{
    const std::time_t now = std::time(nullptr);
    return *std::localtime(&now);
}

TEST(Dist, HoldsTheProgramItsTwoFilesAndAReadme)
{
    const std::wstring dir = UnzippedDir();
    ASSERT_FALSE(dir.empty()) << "TOLVARI_DIST_DIR is not set";
    const std::vector<std::wstring> expected = {L"README.txt", L"Tolvari.dat", L"Tolvari.exe",
                                                L"Tolvari.ini"};
    EXPECT_EQ(FilesIn(dir), expected);

    // Notepad shows the readme line by line only with CR LF line ends.
    const std::string readme = ReadBytes(dir + L"\\README.txt");
    ASSERT_FALSE(readme.empty());
    size_t lines = 0;
    for (size_t i = 0; i < readme.size(); ++i) {
        if (readme[i] != '\n')
            continue;
        ++lines;
        ASSERT_TRUE(i > 0 && readme[i - 1] == '\r') << "bare LF after byte " << i;
    }
    EXPECT_GT(lines, 10u);
    EXPECT_EQ(readme.substr(readme.size() - 2), "\r\n");
}

TEST(Dist, OpensOnTodaysReportInTheUnzippedFolder)
{
    const std::wstring dir = UnzippedDir();
    ASSERT_FALSE(dir.empty()) << "TOLVARI_DIST_DIR is not set";
    RecordList sample;
    ASSERT_TRUE(LoadDataFile(e2e::ToCp1250(dir + L"\\Tolvari.dat"), sample));

    const std::tm before = LocalNow();
    App app;
    ASSERT_TRUE(app.Start(dir, dir + L"\\Tolvari.exe"));
    ASSERT_TRUE(app.WaitMainWindow());
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ(app.FindDialogWith(0), nullptr)
        << "error box: " << App::MessageBoxText(app.FindDialogWith(0));
    const std::string dnes = app.Text(1000);
    const std::string calendar = app.Text(1001);
    const std::string holidays = app.Text(1002);
    const std::string birthdays = app.Text(1003);
    const std::string nextDays = app.Text(1007);
    if (LocalNow().tm_yday != before.tm_yday)
        GTEST_SKIP() << "the day changed while the program started";

    CurrentDate today;
    today.SetDateFromClock(before);
    DayReportTexts expected;
    BuildDayReport(sample, today, 0, expected);
    ASSERT_FALSE(expected.m_showCalendar.empty()) << "the sample has a name day for every day";
    EXPECT_FALSE(dnes.empty());
    EXPECT_EQ(dnes, expected.m_showDnes);
    EXPECT_EQ(calendar, expected.m_showCalendar);
    EXPECT_EQ(holidays, expected.m_showHolidays);
    EXPECT_EQ(birthdays, expected.m_showBirthdays);
    EXPECT_EQ(nextDays, expected.m_showNextDays);

    App::ClickAsync(app.Main(), IDOK);
    DWORD code = 1234;
    ASSERT_TRUE(app.WaitExit(e2e::kWaitMs, &code));
    EXPECT_EQ(code, 0u);
    // Only looked at: the folder is as the zip left it.
    EXPECT_EQ(FilesIn(dir).size(), 4u);
}

}  // namespace
