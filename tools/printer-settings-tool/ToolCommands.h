// SPDX-License-Identifier: MIT
// The commands of printer-settings-tool; each takes the arguments after its own name.
#pragma once

#include <string>
#include <vector>

namespace ps::tool {

int RunSchemeCommand(std::vector<std::string> args);
int RunStringsCommand(std::vector<std::string> args);
int RunIniCommand(std::vector<std::string> args);

}  // namespace ps::tool
