// What the Win32 halves of the file layer share (records/FileSystem_win.cpp,
// FileInfo_win.cpp, and the running mark's).
#pragma once

#include <windows.h>

#include <string>

#include "records/Faults.h"
#include "records/FileSystem.h"

namespace filesys::winfs {

// True, with the thread's last error set, when the seam fails this call.
inline bool Failed(FaultCall call, DWORD usual)
{
    const int error = FaultFor(call, static_cast<int>(usual));
    if (error != 0)
        SetLastError(static_cast<DWORD>(error));
    return error != 0;
}

// Closed on every way out, a thrown bad_alloc included.
struct Handle {
    HANDLE h;
    ~Handle()
    {
        if (h != INVALID_HANDLE_VALUE && h != nullptr)
            CloseHandle(h);
    }
};

// A file name for the wide API; empty if it is not text of its code page
// or longer than any name.
std::wstring WideName(const std::string& name);

// The file opened to be asked about, not read: no sharing stands in the way.
HANDLE OpenForInfo(const std::wstring& name);

// The snapshot of an open file; false for anything but a file of a disk.
bool SnapshotFrom(HANDLE file, FileSnapshot& snapshot);
bool SnapshotOfName(const std::wstring& name, FileSnapshot& snapshot);

// Whether name is a symbolic link (not any reparse point: a file of a
// cloud drive has one too), and the name it leads to in its place; false if
// that cannot be read or does not lead to the same file.
bool IsSymbolicLink(const std::wstring& name);
bool FollowLink(std::wstring& name);

}  // namespace filesys::winfs
