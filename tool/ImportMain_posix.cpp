// tolvari-import: the native build of TolvariImport, for Linux.
#include <cstdio>
#include <string>
#include <vector>

#include "tool/Run.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    ImportOptions options;
    std::string error;
    if (!ParseImportArgs(args, options, error) || options.help) {
        if (!options.help)
            std::fprintf(stderr, "Error: %s\n", error.c_str());
        std::fprintf(options.help ? stdout : stderr, "%s\n", ImportUsage("tolvari-import").c_str());
        return options.help ? 0 : 2;
    }
    const ImportPrint print = [](const std::string& line, bool isError) {
        std::fprintf(isError ? stderr : stdout, "%s\n", line.c_str());
    };
    return options.exportFile.empty() ? RunImport(options, print) : RunExport(options, print);
}
