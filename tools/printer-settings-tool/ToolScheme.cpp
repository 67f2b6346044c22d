// SPDX-License-Identifier: MIT
// The "scheme" command.
#include "ToolCommands.h"
#include "ToolCommon.h"

namespace ps::tool {

int RunSchemeCommand(std::vector<std::string>) { throw EUsageError("not built yet"); }

}  // namespace ps::tool
