// The programs' side of the seam in records/Faults.h: no call fails here.
// This file holds nothing else, so a test build that links its own FaultFor
// never pulls it from the library.
#include "records/Faults.h"

namespace filesys {

int FaultFor(FaultCall, int)
{
    return 0;
}

}  // namespace filesys
