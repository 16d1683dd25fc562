// cvExecAction and cvEditAction by action number.
#pragma once

#include <cstdint>

#include "hostapi/HostInterface.h"

namespace cv {

// Copies the action's parameter texts out of its slots (an empty slot reads
// as "") and runs its executor. False, with no other effect, for a number
// outside 1..6 and for an action with parameters whose list is null;
// otherwise the executor's result.
bool ExecuteAction(std::int32_t action, const HostString* params);

// Runs the action's edit flow. Actions 2 and 6 have nothing to edit: true,
// no slot touched. False, with no other effect, for a number outside 1..6
// and for an action with parameters whose list is null.
bool EditActionParams(std::int32_t action, HostString* params);

}  // namespace cv
