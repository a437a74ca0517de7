#include "running/RunningMark.h"

RunningMark::~RunningMark() = default;

void RunningMark::Mark(const std::string&) {}

bool IsMarkedRunning(const std::string&)
{
    return false;
}
