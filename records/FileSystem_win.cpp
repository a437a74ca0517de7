#include "records/FileSystem.h"

#include <windows.h>

#include "records/FileSystem_win.h"
#include "records/Text.h"

namespace filesys {
namespace {

constexpr size_t kMaxNameInPrefix = 200;

UINT g_nameCodePage = 1250;

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
    return L"." + path.substr(DirectoryPrefix(path).size(), kMaxNameInPrefix) + L".tmp-";
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
// another save is still writing is open without sharing, so it stays. Only a
// help to the next save: a failure here, of memory too, changes nothing.
void RemoveStaleTemporaries(const std::wstring& dir, const std::wstring& prefix) noexcept
try {
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((dir + prefix + L"*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const size_t length = wcslen(found.cFileName);
        if (length == prefix.size() + 6 && prefix.compare(0, prefix.size(), found.cFileName, prefix.size()) == 0 &&
            !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !winfs::Failed(FaultCall::Delete, ERROR_SHARING_VIOLATION))
            DeleteFileW((dir + found.cFileName).c_str());
    } while (FindNextFileW(find, &found));
    FindClose(find);
} catch (...) {
}

bool WriteAll(HANDLE file, const char* data, size_t size)
{
    while (size > 0) {
        DWORD chunk = size > 0x10000000u ? 0x10000000u : static_cast<DWORD>(size);
        DWORD written = 0;
        if (winfs::Failed(FaultCall::Write, ERROR_DISK_FULL) || !WriteFile(file, data, chunk, &written, nullptr) ||
            written == 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

// The file a save replaces: the name, or the file its symbolic links lead
// to. Anything but a regular file or no file is refused, as is a
// read-only one.
WriteStatus SaveTarget(std::wstring& target)
{
    for (int links = 0; links < 32; ++links) {
        if (winfs::Failed(FaultCall::Size, ERROR_NETNAME_DELETED))
            return WriteStatus::CannotWrite;
        const DWORD attributes = GetFileAttributesW(target.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return GetLastError() == ERROR_FILE_NOT_FOUND ? WriteStatus::Written : WriteStatus::CannotWrite;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return WriteStatus::NotAFile;
        if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) && winfs::IsSymbolicLink(target)) {
            if (!winfs::FollowLink(target))
                return WriteStatus::CannotWrite;
            continue;
        }
        if (attributes & FILE_ATTRIBUTE_READONLY)
            return WriteStatus::ReadOnly;
        // A device (NUL, COM1) or a pipe.
        const winfs::Handle file{winfs::OpenForInfo(target)};
        if (file.h == INVALID_HANDLE_VALUE)
            return WriteStatus::CannotWrite;
        return GetFileType(file.h) == FILE_TYPE_DISK ? WriteStatus::Written : WriteStatus::NotAFile;
    }
    return WriteStatus::CannotWrite;  // a loop of links
}

}  // namespace

namespace winfs {

std::wstring WideName(const std::string& name)
{
    // No name of the wide API is longer than 32767 characters of at most
    // three bytes: a longer one (a damaged settings file) is no file's,
    // and costs no copy.
    if (name.size() > 3 * 32767)
        return std::wstring();
    if (g_nameCodePage == 1250)
        return tolvari::Widen(name);
    const int size = static_cast<int>(name.size());
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(), size, &wide[0], n);
    return wide;
}

}  // namespace winfs

void UseUtf8FileNames()
{
    g_nameCodePage = CP_UTF8;
}

ReadStatus ReadFileBelow(const std::string& path, std::string& out, unsigned long long limit, FileSnapshot* read)
{
    const std::wstring wide = winfs::WideName(path);
    if (wide.empty())
        return ReadStatus::CannotRead;
    const winfs::Handle file{winfs::Failed(FaultCall::Open, ERROR_SHARING_VIOLATION)
                                 ? INVALID_HANDLE_VALUE
                                 : CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    // Only a file of a disk: a pipe or a device may never end.
    FileSnapshot opened;
    if (file.h == INVALID_HANDLE_VALUE || !winfs::SnapshotFrom(file.h, opened))
        return ReadStatus::CannotRead;
    const ReadStatus status = ReadGrowing(opened.size, limit, out, [&](char* buffer, size_t want) -> long long {
        const DWORD chunk = want > 0x10000000u ? 0x10000000u : static_cast<DWORD>(want);
        DWORD got = 0;
        if (winfs::Failed(FaultCall::Read, ERROR_LOCK_VIOLATION) || !ReadFile(file.h, buffer, chunk, &got, nullptr))
            return -1;
        return got;
    });
    if (read)
        *read = opened;
    return status;
}

WriteStatus ReplaceFileBytes(const std::string& path, std::string_view bytes, const FileSnapshot* unchanged)
{
    std::wstring target = winfs::WideName(path);
    if (target.empty())
        return WriteStatus::CannotWrite;
    const WriteStatus refused = SaveTarget(target);
    if (refused != WriteStatus::Written)
        return refused;
    // A hidden file in the target's directory, named after it, so the final
    // move stays on one volume and a leftover of a killed save is
    // recognisable. No sharing while it is written: the clean-up of another
    // save cannot delete it then.
    const std::wstring dir = DirectoryPrefix(target);
    const std::wstring prefix = TemporaryPrefix(target);
    std::wstring tmp = dir + prefix + L"XXXXXX";
    HANDLE file = INVALID_HANDLE_VALUE;
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        const unsigned seed = GetTickCount() ^ (GetCurrentProcessId() << 12) ^ (++counter * 2654435761u);
        tmp.replace(tmp.size() - 6, 6, UniqueSuffix(seed));
        if (winfs::Failed(FaultCall::Open, ERROR_ACCESS_DENIED))
            return WriteStatus::CannotWrite;
        file = CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS &&
            GetLastError() != ERROR_ALREADY_EXISTS)
            return WriteStatus::CannotWrite;
    }
    if (file == INVALID_HANDLE_VALUE)
        return WriteStatus::CannotWrite;
    bool ok = WriteAll(file, bytes.data(), bytes.size()) && !winfs::Failed(FaultCall::Flush, ERROR_DISK_FULL) &&
              FlushFileBuffers(file);
    if (!CloseHandle(file))
        ok = false;
    FileSnapshot now;
    const bool changed = ok && unchanged && (!winfs::SnapshotOfName(target, now) || now != *unchanged);
    // The move keeps the attributes of the file moved: the data file must not
    // come out hidden.
    ok = ok && !changed && !winfs::Failed(FaultCall::Replace, ERROR_ACCESS_DENIED) &&
         SetFileAttributesW(tmp.c_str(), FILE_ATTRIBUTE_NORMAL) &&
         !winfs::Failed(FaultCall::Replace, ERROR_ACCESS_DENIED) &&
         MoveFileExW(tmp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        if (!winfs::Failed(FaultCall::Delete, ERROR_ACCESS_DENIED))
            DeleteFileW(tmp.c_str());
        return changed ? WriteStatus::Changed : WriteStatus::CannotWrite;
    }
    RemoveStaleTemporaries(dir, prefix);
    return WriteStatus::Written;
}

struct SafeWriter::Temporary {
    HANDLE file = INVALID_HANDLE_VALUE;
    std::wstring name, target;
};

SafeWriter::SafeWriter(const std::string& path) : m_tmp(new Temporary)
{
    m_tmp->target = winfs::WideName(path);
    // A hidden file in the target's directory, named after it, so the final
    // move stays on one volume and a leftover of a killed save is
    // recognisable. No sharing while it is written: the clean-up of another
    // save cannot delete it then.
    const std::wstring prefix = DirectoryPrefix(m_tmp->target) + TemporaryPrefix(m_tmp->target);
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100 && !m_tmp->target.empty(); ++attempt) {
        unsigned seed = GetTickCount() ^ (GetCurrentProcessId() << 12) ^ (++counter * 2654435761u);
        m_tmp->name = prefix + UniqueSuffix(seed);
        if (winfs::Failed(FaultCall::Open, ERROR_ACCESS_DENIED))
            break;
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
        if (!winfs::Failed(FaultCall::Delete, ERROR_ACCESS_DENIED))
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
    bool ok = !winfs::Failed(FaultCall::Flush, ERROR_DISK_FULL) && FlushFileBuffers(m_tmp->file) != 0;
    if (!CloseHandle(m_tmp->file))
        ok = false;
    m_tmp->file = INVALID_HANDLE_VALUE;
    // The move keeps the attributes of the file moved: the target must not
    // come out hidden.
    if (!ok || winfs::Failed(FaultCall::Replace, ERROR_ACCESS_DENIED) ||
        !SetFileAttributesW(m_tmp->name.c_str(), FILE_ATTRIBUTE_NORMAL)) {
        m_failed = Failure::Write;
        return false;
    }
    if (winfs::Failed(FaultCall::Replace, ERROR_ACCESS_DENIED) ||
        !MoveFileExW(m_tmp->name.c_str(), m_tmp->target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        m_failed = Failure::Replace;
        return false;
    }
    const std::unique_ptr<Temporary> done = std::move(m_tmp);
    // Only a help to the next save: a failure here, of memory too, does not
    // undo this one.
    try {
        RemoveStaleTemporaries(DirectoryPrefix(done->target), TemporaryPrefix(done->target));
    } catch (...) {
    }
    return true;
}

bool IdentifyFile(const std::string& path, FileIdentity& id)
{
    const std::wstring name = winfs::WideName(path);
    if (name.empty())
        return false;
    // No access asked: a file that another program holds open answers too;
    // the backup flag lets a folder answer.
    const winfs::Handle file{CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
    BY_HANDLE_FILE_INFORMATION info;
    if (file.h == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(file.h, &info))
        return false;
    id.volume = info.dwVolumeSerialNumber;
    id.index = static_cast<unsigned long long>(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
    return true;
}

std::FILE* OpenToRead(const std::string& path)
{
    const std::wstring name = winfs::WideName(path);
    return name.empty() || winfs::Failed(FaultCall::Open, ERROR_SHARING_VIOLATION) ? nullptr
                                                                                   : _wfopen(name.c_str(), L"rb");
}

}  // namespace filesys
