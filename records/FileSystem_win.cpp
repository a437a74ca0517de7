#include "records/FileSystem.h"

#include <windows.h>

#include <vector>

#include "records/Text.h"

namespace filesys {
namespace {

constexpr size_t kMaxNameInPrefix = 200;

UINT g_nameCodePage = 1250;

// A file name for the wide API; empty if it is not text of its code page.
std::wstring WideName(const std::string& name)
{
    if (g_nameCodePage == 1250)
        return tolvari::Widen(name);
    const int size = static_cast<int>(name.size());
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(), size, &wide[0], n);
    return wide;
}

// Closed on every way out, a thrown bad_alloc included.
struct Handle {
    HANDLE h;
    ~Handle()
    {
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
};

// The directory part of path with its final separator, "C:" for a name
// relative to a drive's current directory, or "" for a bare name.
std::wstring DirectoryPrefix(const std::wstring& path)
{
    size_t slash = path.find_last_of(L"\\/");
    if (slash != std::wstring::npos)
        return path.substr(0, slash + 1);
    if (path.size() >= 2 && path[1] == L':')
        return path.substr(0, 2);
    return std::wstring();
}

// ".<name>.tmp-": the start of the temporary files of saves to path, the
// name cut so that the temporary name stays within the usual 255.
std::wstring TemporaryPrefix(const std::wstring& path)
{
    const std::wstring name = path.substr(DirectoryPrefix(path).size());
    return L"." + name.substr(0, kMaxNameInPrefix) + L".tmp-";
}

// Six characters from [0-9A-Z] for a temporary name.
std::wstring UniqueSuffix(unsigned seed)
{
    static const wchar_t kDigits[] = L"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::wstring suffix;
    for (int i = 0; i < 6; ++i) {
        suffix += kDigits[seed % 36];
        seed /= 36;
    }
    return suffix;
}

// Deletes the leftovers of killed saves: prefix plus six characters. A file
// another save is still writing is open without sharing, so it stays.
void RemoveStaleTemporaries(const std::wstring& dir, const std::wstring& prefix)
{
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((dir + prefix + L"*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0 &&
            !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileW((dir + name).c_str());
    } while (FindNextFileW(find, &found));
    FindClose(find);
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

void UseUtf8FileNames()
{
    g_nameCodePage = CP_UTF8;
}

std::string SameFileKey(const std::string& path)
{
    std::wstring name = WideName(path);
    // The full name, then its long form where the file exists; a name beyond
    // any path (a damaged settings file) is no file's, and Wine takes long
    // over it.
    for (int pass = 0; pass < 2 && name.size() < 32768; ++pass) {
        std::wstring out(32768, L'\0');
        const DWORD n = pass == 0 ? GetFullPathNameW(name.c_str(), 32768, &out[0], nullptr)
                                  : GetLongPathNameW(name.c_str(), &out[0], 32768);
        if (n > 0 && n < 32768)
            name.assign(out.c_str(), n);
    }
    // Capitals as the file system compares names, without the user's language.
    std::wstring upper(name.size(), L'\0');
    if (!name.empty() && LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, name.c_str(), static_cast<int>(name.size()),
                                      &upper[0], static_cast<int>(upper.size())) == static_cast<int>(name.size()))
        name = upper;
    const int size = static_cast<int>(name.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, name.data(), size, nullptr, 0, nullptr, nullptr);
    std::string key(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, name.data(), size, &key[0], n, nullptr, nullptr);
    return key;
}

ReadStatus ReadFileBelow(const std::string& path, std::string& out, unsigned long long limit)
{
    const std::wstring wide = WideName(path);
    if (wide.empty())
        return ReadStatus::CannotRead;
    const Handle file{CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.h == INVALID_HANDLE_VALUE)
        return ReadStatus::CannotRead;
    LARGE_INTEGER size;
    const bool sized = GetFileSizeEx(file.h, &size) && size.QuadPart > 0;
    return ReadGrowing(sized ? static_cast<unsigned long long>(size.QuadPart) : 0, limit, out,
                       [&](char* buffer, size_t want) -> long long {
                           DWORD chunk = want > 0x10000000u ? 0x10000000u : static_cast<DWORD>(want);
                           DWORD got = 0;
                           return ReadFile(file.h, buffer, chunk, &got, nullptr) ? got : -1;
                       });
}

struct SafeWriter::Temporary {
    HANDLE file = INVALID_HANDLE_VALUE;
    std::wstring name, target;
};

SafeWriter::SafeWriter(const std::string& path) : m_tmp(new Temporary)
{
    m_tmp->target = WideName(path);
    // A hidden file in the target's directory, named after it, so the final
    // move stays on one volume and a leftover of a killed save is
    // recognisable. No sharing while it is written: the clean-up of another
    // save cannot delete it then.
    const std::wstring prefix = DirectoryPrefix(m_tmp->target) + TemporaryPrefix(m_tmp->target);
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100 && !m_tmp->target.empty(); ++attempt) {
        unsigned seed = GetTickCount() ^ (GetCurrentProcessId() << 12) ^ (++counter * 2654435761u);
        m_tmp->name = prefix + UniqueSuffix(seed);
        m_tmp->file =
            CreateFileW(m_tmp->name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (m_tmp->file != INVALID_HANDLE_VALUE ||
            (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS))
            break;
    }
    if (m_tmp->file == INVALID_HANDLE_VALUE) {
        m_tmp.reset();
        m_failed = Failure::Create;
    }
}

SafeWriter::~SafeWriter()
{
    if (m_tmp) {
        if (m_tmp->file != INVALID_HANDLE_VALUE)
            CloseHandle(m_tmp->file);
        DeleteFileW(m_tmp->name.c_str());
    }
}

bool SafeWriter::Write(std::string_view bytes)
{
    if (m_failed == Failure::None && !WriteAll(m_tmp->file, bytes.data(), bytes.size()))
        m_failed = Failure::Write;
    return m_failed == Failure::None;
}

bool SafeWriter::Commit()
{
    if (m_failed != Failure::None)
        return false;
    bool ok = FlushFileBuffers(m_tmp->file) != 0;
    if (!CloseHandle(m_tmp->file))
        ok = false;
    m_tmp->file = INVALID_HANDLE_VALUE;
    // The move keeps the attributes of the file moved: the target must not
    // come out hidden.
    if (!ok || !SetFileAttributesW(m_tmp->name.c_str(), FILE_ATTRIBUTE_NORMAL)) {
        m_failed = Failure::Write;
        return false;
    }
    if (!MoveFileExW(m_tmp->name.c_str(), m_tmp->target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        m_failed = Failure::Replace;
        return false;
    }
    const std::wstring target = m_tmp->target;
    m_tmp.reset();
    RemoveStaleTemporaries(DirectoryPrefix(target), TemporaryPrefix(target));
    return true;
}

bool IdentifyFile(const std::string& path, FileIdentity& id)
{
    const std::wstring name = WideName(path);
    if (name.empty())
        return false;
    // No access asked: a file that another program holds open answers too;
    // the backup flag lets a folder answer.
    const Handle file{CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
    BY_HANDLE_FILE_INFORMATION info;
    if (file.h == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(file.h, &info))
        return false;
    id.volume = info.dwVolumeSerialNumber;
    id.index = static_cast<unsigned long long>(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
    return true;
}

std::FILE* OpenToRead(const std::string& path)
{
    const std::wstring name = WideName(path);
    return name.empty() ? nullptr : _wfopen(name.c_str(), L"rb");
}

}  // namespace filesys
