// SPDX-License-Identifier: MIT
// Runs a built program of ours as a child process, as a user would from a shell.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace ps::test {

struct TProgramResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

/// Runs `program` with `args` and the current environment plus `env`, without a display
/// (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM removed), and waits for it.
TProgramResult RunProgram(const std::filesystem::path& program,
                          const std::vector<std::string>& args,
                          const std::map<std::string, std::string>& env);

}  // namespace ps::test
