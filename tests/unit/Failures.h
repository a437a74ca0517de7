// Every failure a run can meet, one at a time.
#pragma once

#include <cerrno>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "FaultSeam.h"

// Runs run(kind, error, arm) for every kind of call with the error it
// usually meets, those made again after a signal with EINTR, and the
// allocations (Count), each for n = 1, 2, ... until a run in which nothing
// failed; arm() makes the n-th call of the kind from then on fail and the
// run disarms it. No run may leave a descriptor open or let an exception out.
template <class Run>
void ForEveryFailure(Run run)
{
    using filesys::FaultCall;
    const int plain = static_cast<int>(FaultCall::Count) + 1;
    for (int k = 0; k < plain + 4; ++k) {
        const FaultCall again[] = {FaultCall::Read, FaultCall::Write, FaultCall::Flush, FaultCall::Mark};
        const FaultCall kind = k < plain ? static_cast<FaultCall>(k) : again[k - plain];
        const int error = k < plain ? 0 : EINTR;
        for (long n = 1; n < 100000 && !::testing::Test::HasFailure(); ++n) {
            SCOPED_TRACE("call " + std::to_string(n) + " of kind " + std::to_string(static_cast<int>(kind)) +
                         ", error " + std::to_string(error));
            const long open = std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
            EXPECT_NO_THROW(run(kind, error, [&] { faults::Arm(kind, n, error); }));
            faults::Arm(FaultCall::Count, 0);
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}), open);
            if (!faults::Fired())
                break;
        }
    }
}
