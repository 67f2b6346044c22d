// SPDX-License-Identifier: MIT
// Where the running program lies and where its user keeps state; one source per OS in os/.
#pragma once

#include <filesystem>
#include <string>

namespace ps::fs {

/// The running program's own file as the operating system names it; empty when it cannot say.
std::filesystem::path ExecutablePath();

/// The user's folder for what programs keep between runs: $XDG_STATE_HOME when it is an
/// absolute path, else ~/.local/state (Windows: %LOCALAPPDATA%); empty when neither is known.
std::filesystem::path UserStateFolder();

/// Sets an environment variable of this process, for itself and the programs it starts.
bool SetEnvironmentValue(const std::string& name, const std::string& value);

}  // namespace ps::fs
