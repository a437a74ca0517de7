#include "FaultSeam.h"

#include <cstdlib>
#include <cstring>
#include <new>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

filesys::FaultCall g_call = filesys::FaultCall::Count;
long g_countdown = 0;  // calls (or allocations) until the one that fails
int g_error = 0;
bool g_allocation = false;
size_t g_bigAllocation = 0;  // 0: none
bool g_fired = false;

void Fire()
{
    g_fired = true;
#ifdef _WIN32
    if (const char* name = std::getenv("TOLVARI_FAULT_HIT")) {
        HANDLE hit = OpenEventA(EVENT_MODIFY_STATE, FALSE, name);
        SetEvent(hit);
        CloseHandle(hit);
    }
#endif
}

// The environment of the test variant of Tolvari.exe.
#ifdef _WIN32
[[maybe_unused]] const bool g_fromEnvironment = [] {
    static const char* const kNames[] = {"open", "size", "read", "write", "flush", "replace", "delete", "mark"};
    const char* fault = std::getenv("TOLVARI_FAULT");
    const char* colon = fault ? std::strchr(fault, ':') : nullptr;
    if (!colon)
        return false;
    const long n = std::atol(colon + 1);
    const size_t kind = static_cast<size_t>(colon - fault);
    if (std::strncmp(fault, "new", kind) == 0)
        faults::ArmAllocation(n);
    else if (std::strncmp(fault, "big", kind) == 0)
        g_bigAllocation = static_cast<size_t>(n);
    for (int k = 0; k < 8; ++k)
        if (std::strlen(kNames[k]) == kind && std::strncmp(fault, kNames[k], kind) == 0)
            faults::Arm(static_cast<filesys::FaultCall>(k), n);
    return true;
}();
#endif

}  // namespace

namespace filesys {

int FaultFor(FaultCall call, int usual)
{
    if (g_allocation || call != g_call || g_countdown <= 0 || --g_countdown > 0)
        return 0;
    Fire();
    return g_error != 0 ? g_error : usual;
}

}  // namespace filesys

namespace faults {

void Arm(filesys::FaultCall call, long n, int error)
{
    g_call = call, g_countdown = n, g_error = error, g_allocation = false, g_fired = false;
}

void ArmAllocation(long n)
{
    g_call = filesys::FaultCall::Count, g_countdown = n, g_allocation = true, g_fired = false;
}

void Disarm()
{
    g_countdown = 0;
}

bool Fired()
{
    return g_fired;
}

}  // namespace faults

void* operator new(size_t size)
{
    if ((g_allocation && g_countdown > 0 && --g_countdown == 0) || (g_bigAllocation && size >= g_bigAllocation)) {
        Fire();
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void* operator new[](size_t size)
{
    return operator new(size);
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete[](void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, size_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, size_t) noexcept
{
    std::free(p);
}
