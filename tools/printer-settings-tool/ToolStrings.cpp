// SPDX-License-Identifier: MIT
// The "strings" command.
#include "ToolCommands.h"
#include "ToolCommon.h"

namespace ps::tool {

int RunStringsCommand(std::vector<std::string>) { throw EUsageError("not built yet"); }

}  // namespace ps::tool
