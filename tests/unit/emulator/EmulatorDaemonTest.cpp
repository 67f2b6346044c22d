// SPDX-License-Identifier: MIT
// The printer-emulator daemon run whole: a raw TCP client on the loopback port, then SIGTERM.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "EmulatorTestSupport.h"

extern char** environ;

namespace ps::emu {
namespace {

struct TRun {
    pid_t pid = -1;
    int out = -1;  // the daemon's standard output
};

// With `bErrors` standard error goes into the same pipe as standard output.
TRun Start(std::vector<std::string> args, bool bErrors = false) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    if (bErrors) posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    args.insert(args.begin(), PS_PRINTER_EMULATOR);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    TRun run;
    if (posix_spawn(&run.pid, PS_PRINTER_EMULATOR, &actions, nullptr, argv.data(), environ) != 0)
        run.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    run.out = pipeFds[0];
    return run;
}

int Wait(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Reads until `want` bytes (0: one line) came or nothing more comes for a while (a guard
// against hanging, not a measure).
std::string ReadSome(int fd, std::size_t want) {
    std::string text;
    char buf[4096];
    while (want == 0 || text.size() < want) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 10000) <= 0) break;
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0) break;
        text.append(buf, static_cast<std::size_t>(n));
        if (want == 0 && text.find('\n') != std::string::npos) break;
    }
    return text;
}

TEST(EmulatorDaemon, ServesOneDeviceOnTheLoopbackPort) {
    ps::test::TTempDir dir;
    dir.Write("emulation.ini",
              "[Device:TP1]\nScheme=" + test::DataFile("test-scheme.ini").string() +
                  "\nModelName=TP-1\n");
    TRun run = Start({"--dir", dir.Path().string(), "--device", "TP1", "--port", "0"});
    ASSERT_GT(run.pid, 0);
    const std::string banner = ReadSome(run.out, 0);
    unsigned port = 0;
    ASSERT_EQ(std::sscanf(banner.c_str(), "printer-emulator: device TP1 on 127.0.0.1:%u", &port), 1)
        << banner;

    const int sock = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    ASSERT_EQ(connect(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0)
        << std::strerror(errno) << " port " << port;
    // A read command cut in two pieces is one command.
    const auto first = test::Hex("1B 1D 1E 05 03 01");
    const auto second = test::Hex("0A 1B 1D 1F");
    ASSERT_EQ(send(sock, first.data(), first.size(), 0), static_cast<ssize_t>(first.size()));
    ASSERT_EQ(send(sock, second.data(), second.size(), 0), static_cast<ssize_t>(second.size()));
    const std::string reply = ReadSome(sock, 12);
    EXPECT_EQ(test::Spaced(std::vector<std::uint8_t>(reply.begin(), reply.end())),
              "1B 1D 1E 05 03 01 0A 01 02 1B 1D 1F");
    close(sock);

    kill(run.pid, SIGTERM);
    EXPECT_EQ(Wait(run.pid), 0);
    close(run.out);
    const std::string log = test::ReadText(dir.Path() / "devices" / "TP1" / "commands.log");
    EXPECT_NE(log.find("port 1B 1D 1E 05 03"), std::string::npos) << log;
}

TEST(EmulatorDaemon, ReportsMistakesOfItsDeviceAndServesIt) {
    ps::test::TTempDir dir;
    dir.Write("emulation.ini", "[Clock]\nSpeed=fast\n[Device:TP1]\nMute=yes\nCleanMs=soon\n");
    TRun run = Start({"--dir", dir.Path().string(), "--device", "TP1", "--port", "0"}, true);
    ASSERT_GT(run.pid, 0);
    std::string text;
    while (text.find("on 127.0.0.1:") == std::string::npos) {
        const std::string more = ReadSome(run.out, 0);
        if (more.empty()) break;
        text += more;
    }
    EXPECT_EQ(text.substr(0, text.find("printer-emulator: device")),
              "printer-emulator: emulation.ini: [Device:TP1] Mute=yes: not a flag (0 or 1); "
              "keeps 0\n"
              "printer-emulator: emulation.ini: [Device:TP1] CleanMs=soon: not a number; keeps "
              "8000\n"
              "printer-emulator: emulation.ini: [Clock] Speed=fast: not a number above 0; keeps "
              "1\n");
    EXPECT_NE(text.find("printer-emulator: device TP1 on 127.0.0.1:"), std::string::npos) << text;
    kill(run.pid, SIGTERM);
    EXPECT_EQ(Wait(run.pid), 0);
    close(run.out);
}

TEST(EmulatorDaemon, RefusesUnknownDevicesAndBadArguments) {
    ps::test::TTempDir dir;
    dir.Write("emulation.ini", "[Device:TP1]\n");
    TRun unknown = Start({"--dir", dir.Path().string(), "--device", "NOPE", "--port", "0"});
    ASSERT_GT(unknown.pid, 0);
    EXPECT_EQ(Wait(unknown.pid), 1);
    close(unknown.out);
    TRun bad = Start({"--dir", dir.Path().string(), "--port", "70000"});
    ASSERT_GT(bad.pid, 0);
    EXPECT_EQ(Wait(bad.pid), 2);
    close(bad.out);
}

}  // namespace
}  // namespace ps::emu
