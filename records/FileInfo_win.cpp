// What Windows knows of a file by its name: its identity and state, the
// key of all its names, and where a symbolic link leads.
#include <windows.h>

#include <winioctl.h>

#include <cstring>
#include <vector>

#include "records/FileSystem_win.h"

namespace filesys {
namespace winfs {

HANDLE OpenForInfo(const std::wstring& name)
{
    if (Failed(FaultCall::Open, ERROR_SHARING_VIOLATION))
        return INVALID_HANDLE_VALUE;
    return CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                       0, nullptr);
}

bool SnapshotFrom(HANDLE file, FileSnapshot& snapshot)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (Failed(FaultCall::Size, ERROR_NETNAME_DELETED) || GetFileType(file) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(file, &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    snapshot.exists = true;
    snapshot.volume = info.dwVolumeSerialNumber;
    snapshot.index = static_cast<unsigned long long>(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
    snapshot.size = static_cast<unsigned long long>(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
    snapshot.written =
        static_cast<unsigned long long>(info.ftLastWriteTime.dwHighDateTime) << 32 | info.ftLastWriteTime.dwLowDateTime;
    return true;
}

bool SnapshotOfName(const std::wstring& name, FileSnapshot& snapshot)
{
    snapshot = FileSnapshot();
    const Handle file{name.empty() ? INVALID_HANDLE_VALUE : OpenForInfo(name)};
    return file.h != INVALID_HANDLE_VALUE && SnapshotFrom(file.h, snapshot);
}

bool IsSymbolicLink(const std::wstring& name)
{
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(name.c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    FindClose(find);
    return (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && found.dwReserved0 == IO_REPARSE_TAG_SYMLINK;
}

bool FollowLink(std::wstring& name)
{
    // The reparse data of a symbolic link; the names are in its path buffer.
    struct LinkData {
        DWORD tag;
        WORD dataLength, reserved, substituteOffset, substituteLength, printOffset, printLength;
        ULONG flags;
        wchar_t path[1];
    };
    const Handle link{CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
    std::vector<char> buffer(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
    DWORD got = 0;
    if (link.h == INVALID_HANDLE_VALUE || !DeviceIoControl(link.h, FSCTL_GET_REPARSE_POINT, nullptr, 0, buffer.data(),
                                                           static_cast<DWORD>(buffer.size()), &got, nullptr))
        return false;
    LinkData data;
    const size_t head = offsetof(LinkData, path);
    std::memcpy(&data, buffer.data(), head);
    if (data.tag != IO_REPARSE_TAG_SYMLINK || head + data.substituteOffset + data.substituteLength > got)
        return false;
    std::wstring to(data.substituteLength / 2, L'\0');
    std::memcpy(&to[0], buffer.data() + head + data.substituteOffset, data.substituteLength);
    // "\??\C:\dir\file", "\??\UNC\server\share\file", or relative to the link's folder.
    if (to.compare(0, 8, L"\\??\\UNC\\") == 0)
        to = L"\\\\" + to.substr(8);
    else if (to.compare(0, 4, L"\\??\\") == 0)
        to = to.substr(4);
    else if (data.flags & 1)  // SYMLINK_FLAG_RELATIVE
        to = name.substr(0, name.find_last_of(L"\\/") + 1) + to;
    // Only where it leads to the very file the link opens.
    FileSnapshot through, there;
    if (!SnapshotOfName(name, through) || !SnapshotOfName(to, there) || !through.SameFile(there))
        return false;
    name = to;
    return true;
}

}  // namespace winfs

std::string SameFileKey(const std::string& path)
{
    std::wstring name = winfs::WideName(path);
    // The full name, then its long form where the file exists; a name beyond
    // any path is no file's, and Wine takes long over it.
    for (int pass = 0; pass < 2 && !name.empty() && name.size() < 32768; ++pass) {
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

FileSnapshot SnapshotOf(const std::string& path)
{
    FileSnapshot snapshot;
    winfs::SnapshotOfName(winfs::WideName(path), snapshot);
    return snapshot;
}

FileKind KindOf(const std::string& path)
{
    const std::wstring name = winfs::WideName(path);
    if (name.empty() || winfs::Failed(FaultCall::Size, ERROR_NETNAME_DELETED))
        return FileKind::None;
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return FileKind::Folder;
    // A device (NUL, COM1) or a pipe has no attributes of a file on every
    // system: its type tells.
    const winfs::Handle file{winfs::OpenForInfo(name)};
    if (file.h == INVALID_HANDLE_VALUE)
        return FileKind::None;
    return GetFileType(file.h) == FILE_TYPE_DISK ? FileKind::File : FileKind::Other;
}

}  // namespace filesys
