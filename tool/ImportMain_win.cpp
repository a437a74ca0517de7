// TolvariImport.exe: the console program for Windows. Arguments arrive as
// UTF-16 and become UTF-8 for the portable part, file names included (they
// become UTF-16 again at the file functions, so any name works); lines go to
// the console as UTF-16, or as UTF-8 when the output is redirected.
#include <windows.h>

#include <new>
#include <string>
#include <vector>

#include "records/FileSystem.h"
#include "tool/Run.h"

namespace {

std::string Utf8(const std::wstring& text)
{
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::wstring Wide(const std::string& utf8)
{
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &out[0], n);
    return out;
}

// False if the line could not be written whole (a full disk, a closed pipe,
// no such handle).
bool WriteLine(DWORD which, const std::string& line)
{
    HANDLE out = GetStdHandle(which);
    DWORD mode = 0, done = 0;
    if (GetConsoleMode(out, &mode)) {
        const std::wstring text = Wide(line) + L"\r\n";
        return WriteConsoleW(out, text.data(), static_cast<DWORD>(text.size()), &done, nullptr) && done == text.size();
    }
    const std::string text = line + "\r\n";
    return WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &done, nullptr) && done == text.size();
}

bool FileExists(const wchar_t* name)
{
    return GetFileAttributesW(name) != INVALID_FILE_ATTRIBUTES;
}

// Files dropped onto the program in Explorer start it in some other folder:
// then the inputs keep their full names and the settings and data file are
// looked for beside the program.
void UseProgramFolderIfNoneHere(std::vector<std::wstring>& inputs)
{
    if (FileExists(L"Tolvari.ini") || FileExists(L"Tolvari.dat"))
        return;
    wchar_t exe[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder(exe, n);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    if (n == 0 || n == MAX_PATH || !FileExists((folder + L"Tolvari.ini").c_str()))
        return;
    for (std::wstring& input : inputs) {
        wchar_t full[MAX_PATH];
        const DWORD m = GetFullPathNameW(input.c_str(), MAX_PATH, full, nullptr);
        if (m > 0 && m < MAX_PATH)
            input.assign(full, m);
    }
    SetCurrentDirectoryW(folder.c_str());
}

// A console window opened for this program alone (a double-click or a drop)
// closes when it ends: keep it until the user has read the lines. Output
// that is redirected, or a console without a window, has no reader to wait for.
void WaitIfOwnConsole()
{
    DWORD processes[2];
    DWORD mode = 0;
    if (GetConsoleProcessList(processes, 2) != 1 || GetConsoleWindow() == nullptr ||
        !GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) ||
        !GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode))
        return;
    WriteLine(STD_OUTPUT_HANDLE, "Press Enter to close this window.");
    wchar_t buffer[16];
    DWORD read = 0;
    ReadConsoleW(GetStdHandle(STD_INPUT_HANDLE), buffer, 16, &read, nullptr);
}

// The command line run; the report's lines go to the console or the output.
int Run(int argc, wchar_t** argv)
{
    std::vector<std::wstring> wide(argv + 1, argv + argc);
    std::vector<std::string> args;
    for (const std::wstring& arg : wide)
        args.push_back(Utf8(arg));
    ImportOptions options;
    std::string error;
    int code = 0;
    bool printed = true;
    const ImportPrint print = [&printed](const std::string& line, bool isError) {
        if (!WriteLine(isError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE, line) && !isError)
            printed = false;
    };
    if (!ParseImportArgs(args, options, error) || options.help) {
        if (!options.help)
            print("Error: " + error, true);
        print(ImportUsage("TolvariImport"), !options.help);
        code = options.help ? 0 : 2;
    } else {
        if (options.dataFile.empty()) {
            // The export's output is named like an input.
            std::vector<std::wstring> inputs;
            for (const std::string& input : options.inputs)
                inputs.push_back(Wide(input));
            inputs.push_back(Wide(options.exportFile));
            UseProgramFolderIfNoneHere(inputs);
            for (size_t i = 0; i < options.inputs.size(); ++i)
                options.inputs[i] = Utf8(inputs[i]);
            if (!options.exportFile.empty())
                options.exportFile = Utf8(inputs.back());
        }
        filesys::UseUtf8FileNames();
        options.utf8FileNames = true;
        code = options.exportFile.empty() ? RunImport(options, print) : RunExport(options, print);
    }
    return ExitCode(code, printed, print);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    int code = 1;
    try {
        code = Run(argc, argv);
    } catch (const std::bad_alloc&) {
        // Before a run began: the runs catch their own. The line needs no memory.
        DWORD done = 0;
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), kNoMemoryToStart, sizeof kNoMemoryToStart - 1, &done, nullptr);
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), "\r\n", 2, &done, nullptr);
    }
    WaitIfOwnConsole();
    return code;
}
