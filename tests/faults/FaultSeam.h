// The tests' side of the seam of records/Faults.h, and a counting allocator:
// the n-th call of one kind from now (or the n-th allocation) fails once,
// with the usual error unless another is given. The test variant of
// Tolvari.exe arms it from its environment at start: TOLVARI_FAULT=read:3,
// new:40 or big:1500000 (every allocation of that many bytes or more fails),
// and sets the event named by TOLVARI_FAULT_HIT when the failure came.
#pragma once

#include <cstddef>

#include "records/Faults.h"

namespace faults {

void Arm(filesys::FaultCall call, long n, int error = 0);
void ArmAllocation(long n);
void Disarm();
// Whether the armed failure came (since the last Arm).
bool Fired();

}  // namespace faults
