#include "running/RunningMark.h"

#include <windows.h>

#include "records/FileSystem_win.h"

namespace {

using filesys::FaultCall;
using filesys::winfs::Failed;

std::wstring Wide(const std::string& ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

HANDLE Held(std::intptr_t held)
{
    return reinterpret_cast<HANDLE>(held);
}

}  // namespace

RunningMark::~RunningMark()
{
    if (m_held != -1)
        CloseHandle(Held(m_held));
}

void RunningMark::Mark(const std::string& path) noexcept
{
    HANDLE mark = nullptr;
    try {
        const std::string key = filesys::FileKey(path);
        if (!key.empty() && !Failed(FaultCall::Mark, ERROR_ACCESS_DENIED))
            mark = CreateMutexW(nullptr, FALSE, Wide(RunningMarkName(key)).c_str());
    } catch (...) {
    }
    // The new mark first: the file stays marked while it moves.
    if (m_held != -1)
        CloseHandle(Held(m_held));
    m_held = mark ? reinterpret_cast<std::intptr_t>(mark) : -1;
}

bool IsMarkedRunning(const std::string& path)
{
    const std::wstring name = Wide(RunningMarkName(filesys::FileKey(path)));
    HANDLE mark = Failed(FaultCall::Mark, ERROR_ACCESS_DENIED) ? nullptr : OpenMutexW(SYNCHRONIZE, FALSE, name.c_str());
    if (mark)
        CloseHandle(mark);
    // One that exists but is not ours to open is a mark all the same.
    return mark != nullptr || GetLastError() == ERROR_ACCESS_DENIED;
}

DataFileLock::Result DataFileLock::Lock(const std::string& path, unsigned waitMs) noexcept
{
    Unlock();
    try {
        const DWORD start = GetTickCount();
        // Until the file locked is still the one under the name.
        for (int round = 0; round < 100; ++round) {
            const std::string key = filesys::FileKey(path);
            HANDLE lock = Failed(FaultCall::Mark, ERROR_ACCESS_DENIED)
                              ? nullptr
                              : CreateMutexW(nullptr, FALSE, Wide(DataFileLockName(key)).c_str());
            if (!lock)
                return Result::Failed;
            const DWORD spent = GetTickCount() - start;
            const DWORD waited = Failed(FaultCall::Mark, ERROR_INVALID_HANDLE)
                                     ? WAIT_FAILED
                                     : WaitForSingleObject(lock, spent < waitMs ? waitMs - spent : 0);
            // Abandoned: its owner ended without a word; it is ours now.
            if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
                CloseHandle(lock);
                return waited == WAIT_TIMEOUT ? Result::Busy : Result::Failed;
            }
            m_held = reinterpret_cast<std::intptr_t>(lock);
            if (filesys::FileKey(path) == key)
                return Result::Locked;
            Unlock();
        }
        return Result::Busy;
    } catch (...) {
        Unlock();
        return Result::Failed;
    }
}

void DataFileLock::Unlock() noexcept
{
    if (m_held == -1)
        return;
    ReleaseMutex(Held(m_held));
    CloseHandle(Held(m_held));
    m_held = -1;
}
