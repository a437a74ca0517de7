#include "FaultSeam.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

filesys::FaultCall g_call = filesys::FaultCall::Count;  // Count: an allocation
long g_countdown = 0;                                   // calls of the kind until the one that fails
int g_error = 0;
size_t g_big = 0;  // the size from which every allocation fails, if not 0

void* g_armed = nullptr;  // counting waits for this event, when given

#ifdef _WIN32
[[maybe_unused]] const bool g_fromEnvironment = [] {
    const char* fault = std::getenv("TOLVARI_FAULT");
    const char* colon = fault ? std::strchr(fault, ':') : nullptr;
    if (const char* arm = colon ? std::getenv("TOLVARI_FAULT_ARM") : nullptr)
        g_armed = OpenEventA(SYNCHRONIZE, FALSE, arm);
    const std::string kind(fault, colon ? colon : fault), kinds = "open size read write flush replace delete mark new ";
    if (colon && kind == "big")
        g_big = std::strtoul(colon + 1, nullptr, 10);
    else if (colon && kinds.find(kind + " ") != std::string::npos)
        faults::Arm(static_cast<filesys::FaultCall>(std::count(kinds.begin(), kinds.begin() + kinds.find(kind), ' ')),
                    std::atol(colon + 1));
    return true;
}();
#endif

bool Counting()
{
#ifdef _WIN32
    if (g_armed && WaitForSingleObject(g_armed, 0) == WAIT_OBJECT_0)
        CloseHandle(g_armed), g_armed = nullptr;
#endif
    return !g_armed;
}

bool Fire()
{
    faults::fired = true;
#ifdef _WIN32
    HANDLE hit = OpenEventA(EVENT_MODIFY_STATE, FALSE, std::getenv("TOLVARI_FAULT_HIT"));
    SetEvent(hit), CloseHandle(hit);
#endif
    return true;
}

// The armed failure comes now.
bool Due(filesys::FaultCall call)
{
    return call == g_call && g_countdown > 0 && Counting() && --g_countdown == 0 && Fire();
}

}  // namespace

int filesys::FaultFor(FaultCall call, int usual)
{
    return call != FaultCall::Count && Due(call) ? (g_error != 0 ? g_error : usual) : 0;
}

void faults::Arm(filesys::FaultCall call, long n, int error)
{
    g_call = call, g_countdown = n, g_error = error, faults::fired = faults::fired && n == 0;
}

// The library's other forms of new and delete come here.
void* operator new(size_t size)
{
    void* p = Due(filesys::FaultCall::Count) || (g_big && size >= g_big && Fire()) ? nullptr : std::malloc(size + 1);
    return p ? p : throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, size_t) noexcept
{
    std::free(p);
}
