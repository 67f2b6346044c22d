// SPDX-License-Identifier: MIT
// A private CUPS server and printer-emulator daemons for end-to-end tests.
#include "PrivateCupsd.h"

#include <fcntl.h>
#include <grp.h>
#include <netinet/in.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "support/EmulationDirBuilder.h"

extern char** environ;

namespace ps::test {
namespace {

namespace fs = std::filesystem;
constexpr const char* kCupsd = "/usr/sbin/cupsd";

void WriteFileBytes(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

bool WaitExit(pid_t pid, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

void Stop(pid_t pid) {
    if (pid <= 0) return;
    ::kill(pid, SIGTERM);
    if (!WaitExit(pid, std::chrono::seconds(10))) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
}

bool Accepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

std::string Tail(const fs::path& file) {
    const std::string text = ReadFileBytes(file);
    return text.size() > 3000 ? text.substr(text.size() - 3000) : text;
}

// The user and group backends run as: lp when the server runs as root (cupsd refuses root),
// else whoever runs the test.
std::pair<std::string, std::string> RunAs() {
    if (::geteuid() == 0) return {"lp", "lp"};
    const passwd* user = ::getpwuid(::geteuid());
    const group* grp = ::getgrgid(::getegid());
    return {user ? user->pw_name : "nobody", grp ? grp->gr_name : "nogroup"};
}

}  // namespace

int FreeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), length);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

TBackgroundProgram::TBackgroundProgram(const std::vector<std::string>& args, const fs::path& log) {
    std::vector<std::string> text = args;
    std::vector<char*> argv;
    for (auto& a : text) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    if (posix_spawn(&m_Pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) m_Pid = -1;
    posix_spawn_file_actions_destroy(&actions);
}

TBackgroundProgram::~TBackgroundProgram() {
    Stop(m_Pid);
}

bool TBackgroundProgram::Running() const {
    return m_Pid > 0 && ::waitpid(m_Pid, nullptr, WNOHANG) == 0;
}

std::string TPrivateCupsd::CannotRunReason() {
    if (::access(kCupsd, X_OK) != 0)
        return std::string(kCupsd) +
               " is not installed (scripts/install-deps.sh installs cups-daemon): no private "
               "CUPS server can run on this machine";
    if (::access("/usr/lib/cups/backend/socket", X_OK) != 0)
        return "the CUPS socket backend is not installed (package cups)";
    return {};
}

TPrivateCupsd::TPrivateCupsd() = default;

TPrivateCupsd::~TPrivateCupsd() {
    m_pServer.reset();
}

bool TPrivateCupsd::Start(std::string& problem) {
    // libcups reads CUPS_SERVER and CUPS_STATEDIR once per process: every server of one test
    // process listens on the same port and keeps its state in the same folder.
    static const int port = FreeLoopbackPort();
    static const TTempDir state;
    const fs::path root = m_Dir.Path();
    // The backends run as lp: they must reach the spool and the tests' files.
    ::chmod(root.c_str(), 0755);
    ::chmod(state.Path().c_str(), 0755);
    for (const char* sub : {"conf", "spool", "spool/tmp", "log", "cache"}) {
        fs::create_directories(root / sub);
        ::chmod((root / sub).c_str(), 0755);
    }
    m_iPort = port;
    const auto [user, grp] = RunAs();
    const std::string r = root.string();
    WriteFileBytes(root / "conf" / "cups-files.conf",
                   "ServerRoot " + r + "/conf\nRequestRoot " + r + "/spool\nTempDir " + r +
                       "/spool/tmp\nStateDir " + state.Path().string() + "\nCacheDir " + r +
                       "/cache\nErrorLog " + r + "/log/error_log\nAccessLog " + r +
                       "/log/access_log\nPageLog " + r + "/log/page_log\nFileDevice No\nUser " +
                       user + "\nGroup " + grp + "\nSystemGroup root\n");
    // Shaped as a distribution's own: administration needs the SystemGroup.
    WriteFileBytes(root / "conf" / "cupsd.conf",
                   "LogLevel debug\nListen 127.0.0.1:" + std::to_string(m_iPort) +
                       "\nBrowsing No\nWebInterface No\nDefaultAuthType Basic\n"
                       "<Location />\n  Order allow,deny\n</Location>\n"
                       "<Location /admin>\n  Order allow,deny\n</Location>\n"
                       "<Location /admin/conf>\n  AuthType Default\n  Require user @SYSTEM\n"
                       "  Order allow,deny\n</Location>\n"
                       "<Policy default>\n"
                       "  <Limit CUPS-Add-Modify-Printer CUPS-Delete-Printer CUPS-Set-Default "
                       "Pause-Printer Resume-Printer Enable-Printer Disable-Printer "
                       "CUPS-Accept-Jobs CUPS-Reject-Jobs Cancel-Jobs Hold-New-Jobs "
                       "Release-Held-New-Jobs>\n"
                       "    AuthType Default\n    Require user @SYSTEM\n    Order deny,allow\n"
                       "  </Limit>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n"
                       "</Policy>\n");
    ::setenv("CUPS_SERVER", ("127.0.0.1:" + std::to_string(m_iPort)).c_str(), 1);
    ::setenv("CUPS_STATEDIR", state.Path().c_str(), 1);
    m_pServer = std::make_unique<TBackgroundProgram>(
        std::vector<std::string>{kCupsd, "-f", "-c", r + "/conf/cupsd.conf", "-s",
                                 r + "/conf/cups-files.conf"},
        root / "log" / "cupsd.out");
    for (int i = 0; i < 400; ++i) {
        if (!m_pServer->Running()) break;
        if (Accepts(m_iPort) &&
            Client("lpstat", {"-r"}).out.find("is running") != std::string::npos)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    problem = "the private cupsd did not start:\n" + Tail(root / "log" / "cupsd.out") +
              Tail(root / "log" / "error_log");
    return false;
}

TProgramResult TPrivateCupsd::Admin(const std::vector<std::string>& args) const {
    return Client("/usr/sbin/lpadmin", args);
}

TProgramResult TPrivateCupsd::Client(const std::string& program,
                                     const std::vector<std::string>& args) const {
    const std::string path = program[0] == '/' ? program
                             : ::access(("/usr/sbin/" + program).c_str(), X_OK) == 0
                                 ? "/usr/sbin/" + program
                                 : "/usr/bin/" + program;
    return RunProgram(path, args, {});
}

TEmulatorDaemon::TEmulatorDaemon(const fs::path& program, const fs::path& directory,
                                 const std::string& id) {
    int fds[2];
    if (::pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::vector<std::string> args = {program.string(), "--dir", directory.string(), "--device", id,
                                     "--port",         "0"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&m_Pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) m_Pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    std::string banner;
    char c = 0;
    pollfd waiting{fds[0], POLLIN, 0};
    while (banner.find('\n') == std::string::npos && ::poll(&waiting, 1, 10000) > 0 &&
           ::read(fds[0], &c, 1) == 1)
        banner += c;
    ::close(fds[0]);
    unsigned port = 0;
    if (std::sscanf(banner.c_str(), "printer-emulator: device %*s on 127.0.0.1:%u", &port) == 1)
        m_iPort = static_cast<int>(port);
}

TEmulatorDaemon::~TEmulatorDaemon() {
    Stop(m_Pid);
}

std::string TEmulatorDaemon::SocketUri() const {
    // No SNMP probe and no wait for the printer to hang up: the emulator keeps the line open.
    return "socket://127.0.0.1:" + std::to_string(m_iPort) + "/?snmp=false&waiteof=false";
}

}  // namespace ps::test
