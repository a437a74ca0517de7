// Data files beyond what the program can hold, and font sizes beyond 96 DPI.
#include "app/TodayCore.h"

#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include "DataFile_TempDir.h"
#include "records/DataFile.h"

namespace {

class TestCore : public CTodayCore {
public:
    explicit TestCore(const std::string& dataFile) : CTodayCore(0) { m_strDataFile = dataFile; }
    std::vector<std::string> errors;
    int quits = 0;

protected:
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void RequestQuit() override { ++quits; }
    void ShowReport() override {}
};

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;  // its shadow memory needs more address space than we allow
#else
constexpr bool kSanitized = false;
#endif

// A file below the size limit that the process cannot hold, as a 32-bit
// process cannot hold one of 1.5 GB: the memory message and the end, in a
// child whose address space is cut to 512 MB.
TEST(LoadLimits, FileBeyondTheProcessMemoryIsReportedAndEndsTheProgram)
{
    if (kSanitized)
        GTEST_SKIP();
    TempDir dir;
    const std::string path = dir.File("Tolvari.dat");
    WriteBytes(path, "24.12 9999 Eve\r\n");
    ASSERT_EQ(::truncate(path.c_str(), 1LL << 30), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit limit = {512u << 20, 512u << 20};
        ::setrlimit(RLIMIT_AS, &limit);
        int code = 2;  // the failure escaped
        try {
            TestCore core(path);
            core.LoadFile();
            code = core.errors == std::vector<std::string>{DataFileMemoryError(path, 0)} && core.quits == 1 &&
                           core.m_nCount == 0
                       ? 0
                       : 1;
        } catch (...) {
        }
        ::_exit(code);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status << " (exit 2: the failure escaped)";
}

TEST(LoadLimits, FontHeightsArePixelsAt96Dpi)
{
    const struct {
        int height, dpi, scaled;
    } cases[] = {
        {18, 96, 18},  {18, 144, 27}, {16, 120, 20}, {15, 144, 23}, {-15, 144, -23}, {0, 144, 0},
        {INT_MAX, 96, INT_MAX}, {INT_MAX, 144, INT_MAX}, {INT_MIN, 144, INT_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScaleFontHeight(c.height, c.dpi), c.scaled) << c.height << " at " << c.dpi;
}

}  // namespace
