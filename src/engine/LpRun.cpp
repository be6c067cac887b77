#include "engine/RunDriver.h"

namespace zelvar {

bool RunDriver::restrictedApplies(const RunContext &) const
{
    return false;
}

RunOutcome RunDriver::runRestricted(RunContext &run)
{
    return runLpModel(run);
}

} // namespace zelvar
