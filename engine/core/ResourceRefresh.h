#pragma once

#include "store/ProjectTables.h"

namespace eng {

class Engine;

// Puts a done resource of a running task back in the queue (a failed one
// only, unless forced): every task holding it counts it as queued again.
// False when it is not done, not failed while not forced, or in no running task.
bool refreshResource(Engine &engine, uint32_t urlResId, bool forced);

}  // namespace eng
