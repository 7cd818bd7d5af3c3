#pragma once

#include "core/CommandTable.h"

namespace eng {

// The filter commands: trying a filter on an address, and checking an
// expression before the application stores it.
void addFilterCommands(CommandTable &table);

}  // namespace eng
