// tolvari-import: the native build of TolvariImport, for Linux.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "tool/Run.h"

namespace {

int Run(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    ImportOptions options;
    std::string error;
    const ImportPrint print = [](const std::string& line, bool isError) {
        std::fprintf(isError ? stderr : stdout, "%s\n", line.c_str());
    };
    int code = 0;
    if (!ParseImportArgs(args, options, error) || options.help) {
        if (!options.help)
            print("Error: " + error, true);
        print(ImportUsage("tolvari-import"), !options.help);
        code = options.help ? 0 : 2;
    } else {
        code = options.exportFile.empty() ? RunImport(options, print) : RunExport(options, print);
    }
    const bool printed = std::fflush(stdout) == 0 && !std::ferror(stdout);
    return ExitCode(code, printed, print);
}

}  // namespace

int main(int argc, char** argv)
{
    // A standard stream that is closed gets /dev/null opened read-only, so
    // that printing there fails, and no file the run opens takes its number
    // and receives the report.
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) < 0 && errno == EBADF && ::open("/dev/null", O_RDONLY) != fd)
            return 1;
    }
    // A reader gone from a pipe is a report that could not be printed, not
    // the end of the run half-way.
    std::signal(SIGPIPE, SIG_IGN);
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        // Before a run began: the runs catch their own.
        std::fprintf(stderr, "%s\n", kNoMemoryToStart);
        return 1;
    }
}
