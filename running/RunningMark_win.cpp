#include "running/RunningMark.h"

#include <windows.h>

#include "records/FileSystem.h"

namespace {

std::wstring ObjectName(const std::string& path)
{
    const std::string name = RunningMarkName(filesys::SameFileKey(path));
    return std::wstring(name.begin(), name.end());  // ASCII
}

}  // namespace

RunningMark::~RunningMark()
{
    if (m_handle)
        CloseHandle(m_handle);
}

void RunningMark::Mark(const std::string& path)
{
    if (!m_handle)
        m_handle = CreateMutexW(nullptr, FALSE, ObjectName(path).c_str());
}

bool IsMarkedRunning(const std::string& path)
{
    HANDLE mark = OpenMutexW(SYNCHRONIZE, FALSE, ObjectName(path).c_str());
    if (mark)
        CloseHandle(mark);
    // One that exists but is not ours to open is a mark all the same.
    return mark != nullptr || GetLastError() == ERROR_ACCESS_DENIED;
}
