// SPDX-License-Identifier: MIT
// Child processes for end-to-end tests (POSIX).
#include "ProgramRunner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "support/TestSupport.h"

extern char** environ;

namespace ps::test {
namespace {
std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
}  // namespace

TProgramResult RunProgram(const std::filesystem::path& program,
                          const std::vector<std::string>& args,
                          const std::map<std::string, std::string>& env) {
    std::map<std::string, std::string> merged;
    for (char** e = environ; *e; ++e) {
        std::string entry(*e);
        auto eq = entry.find('=');
        if (eq != std::string::npos) merged[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    merged.erase("DISPLAY");
    merged.erase("WAYLAND_DISPLAY");
    merged.erase("QT_QPA_PLATFORM");
    for (const auto& [key, value] : env) merged[key] = value;
    std::vector<std::string> envText;
    for (const auto& [key, value] : merged) envText.push_back(key + "=" + value);
    std::vector<char*> envp;
    for (auto& s : envText) envp.push_back(s.data());
    envp.push_back(nullptr);

    std::vector<std::string> argText = {program.string()};
    argText.insert(argText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& s : argText) argv.push_back(s.data());
    argv.push_back(nullptr);

    TTempDir capture;
    const auto outPath = capture.Path() / "out";
    const auto errPath = capture.Path() / "err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = 0;
    TProgramResult result;
    int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        result.err = std::strerror(rc);
        return result;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = Slurp(outPath);
    result.err = Slurp(errPath);
    return result;
}

}  // namespace ps::test
