// The tests' side of the seam of records/Faults.h, and a counting allocator:
// the n-th call of one kind from now (the n-th allocation for Count) fails
// once, with the usual error unless another is given; n = 0 disarms. The
// test variant of Tolvari.exe arms it from its environment: TOLVARI_FAULT=
// read:3, new:40 (an allocation) or big:1500000 (every allocation of that
// many bytes or more fails), counted from the start or, with
// TOLVARI_FAULT_ARM, from the moment the event of that name is set; it sets
// the event named by TOLVARI_FAULT_HIT when the failure came.
#pragma once

#include "records/Faults.h"

namespace faults {

void Arm(filesys::FaultCall call, long n, int error = 0);
// Whether the failure armed last (with n > 0) came.
inline bool fired = false;
inline bool Fired()
{
    return fired;
}

}  // namespace faults
