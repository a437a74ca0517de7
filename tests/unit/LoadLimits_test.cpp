// A data file below the size limit that the process cannot hold, as a
// 32-bit process cannot hold one of 1.5 GB.
#include <sys/resource.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include "Rows.h"
#include "app/TodayCore.h"
#include "records/DataFile.h"

namespace {

struct TestCore : CTodayCore {
    TestCore() : CTodayCore(0) {}
    std::vector<std::string> errors;
    int quits = 0;
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void RequestQuit() override { ++quits; }
    void ShowReport() override {}
};

// In a child whose address space is cut to 512 MB, a sparse 1 GB file.
TEST(LoadLimits, FileBeyondTheProcessMemoryIsReportedAndEndsTheProgram)
{
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the sanitizer's shadow memory needs more address space";
#endif
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
            TestCore core;
            core.m_strDataFile = path;
            core.LoadFile();
            const bool told = core.errors == std::vector<std::string>{DataFileMemoryError(path, 0)};
            code = told && core.quits == 1 && core.m_nCount == 0 ? 0 : 1;
        } catch (...) {
        }
        ::_exit(code);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status << " (exit 2: escaped)";
}

}  // namespace
