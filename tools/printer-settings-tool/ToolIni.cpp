// SPDX-License-Identifier: MIT
// The "ini" command.
#include "ToolCommands.h"
#include "ToolCommon.h"

namespace ps::tool {

int RunIniCommand(std::vector<std::string>) { throw EUsageError("not built yet"); }

}  // namespace ps::tool
