// SPDX-License-Identifier: MIT
// The program's own file and the user's state folder on POSIX systems.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "base/ProgramPlace.h"

namespace ps::fs {
namespace {

std::string AbsoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    return value && value[0] == '/' ? std::string(value) : std::string();
}

}  // namespace

std::filesystem::path ExecutablePath() {
    // Linux names the program's file here, whatever its argv[0] was.
    std::error_code ec;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : path;
}

std::filesystem::path UserStateFolder() {
    if (std::string state = AbsoluteVariable("XDG_STATE_HOME"); !state.empty()) return state;
    std::string home = AbsoluteVariable("HOME");
    if (home.empty()) {
        if (const passwd* user = ::getpwuid(::getuid());
            user && user->pw_dir && user->pw_dir[0] == '/')
            home = user->pw_dir;
    }
    if (home.empty()) return {};
    return std::filesystem::path(home) / ".local" / "state";
}

bool SetEnvironmentValue(const std::string& name, const std::string& value) {
    return ::setenv(name.c_str(), value.c_str(), 1) == 0;
}

}  // namespace ps::fs
