#include "records/FileSystem.h"

#include <windows.h>

#include <vector>

namespace filesys {
namespace {

// File names are code page 1250 bytes; the W API finds Czech names whatever
// the system's ANSI code page is.
std::wstring Widen(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    int n = MultiByteToWideChar(1250, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(1250, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

std::wstring DirectoryOf(const std::wstring& path)
{
    size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) {
        // "C:name" is relative to the current directory of drive C.
        if (path.size() >= 2 && path[1] == L':')
            return path.substr(0, 2) + L".";
        return L".";
    }
    if (slash == 0 || (slash == 2 && path[1] == L':'))
        return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

bool WriteAll(HANDLE file, const char* data, size_t size)
{
    while (size > 0) {
        DWORD chunk = size > 0x10000000u ? 0x10000000u : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr) || written == 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& out)
{
    std::wstring wide = Widen(path);
    if (wide.empty())
        return false;
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    size_t room = 65536;
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0) {
        if (static_cast<unsigned long long>(size.QuadPart) >= static_cast<size_t>(-1) / 2) {
            CloseHandle(file);
            return false;
        }
        room = static_cast<size_t>(size.QuadPart) + 1;
    }
    std::string data(room, '\0');
    size_t used = 0;
    bool ok = true;
    for (;;) {
        if (used == data.size())
            data.resize(data.size() * 2);
        size_t want = data.size() - used;
        DWORD chunk = want > 0x10000000u ? 0x10000000u : static_cast<DWORD>(want);
        DWORD got = 0;
        if (!ReadFile(file, &data[used], chunk, &got, nullptr)) {
            ok = false;
            break;
        }
        if (got == 0)
            break;
        used += got;
    }
    CloseHandle(file);
    if (!ok)
        return false;
    data.resize(used);
    out.swap(data);
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    std::wstring target = Widen(path);
    if (target.empty())
        return false;
    // GetTempFileNameW creates a uniquely named empty file in the target's
    // directory, so the final move stays on one volume.
    wchar_t tmp[MAX_PATH + 1];
    if (GetTempFileNameW(DirectoryOf(target).c_str(), L"tlv", 0, tmp) == 0)
        return false;
    HANDLE file = CreateFileW(tmp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileW(tmp);
        return false;
    }
    bool ok = WriteAll(file, bytes.data(), bytes.size()) && FlushFileBuffers(file);
    if (!CloseHandle(file))
        ok = false;
    if (ok && !MoveFileExW(tmp, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ok = false;
    if (!ok)
        DeleteFileW(tmp);
    return ok;
}

}  // namespace filesys
