// SPDX-License-Identifier: MIT
// xdg-open and the lock-file single-instance test.
#include "platform/linux/LinuxDesktop.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>
#include <vector>

#include "platform/WebAddress.h"
#include "platform/linux/LinuxErrors.h"

extern char** environ;

namespace ps {
namespace {

class TLockRegistration : public TWindowClassRegistration {
public:
    explicit TLockRegistration(int fd) : m_Fd(fd) {}
    ~TLockRegistration() override { ::close(m_Fd); }

private:
    int m_Fd;
};

}  // namespace

bool TXdgShell::OpenUrl(const std::string& url) {
    if (!IsWebAddress(url)) {
        SetThreadLastError(kErrorInvalidParameter, "only http and https addresses are opened");
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    std::vector<char*> argv = {m_Program.data(), const_cast<char*>(url.c_str()), nullptr};
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, m_Program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return FailWithErrno(rc);
    // Reaped in the background, so no zombie stays while the program runs on.
    std::thread([pid] {
        int status = 0;
        ::waitpid(pid, &status, 0);
    }).detach();
    return true;
}

std::string TLockFileSingleInstance::LockPath(const std::string& className) {
    std::string folder = m_Folder.empty() ? m_Kernel.GetTempPath() : m_Folder;
    if (folder.empty()) return {};
    std::string name;
    for (char c : className) {
        const bool plain = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') ||
                           (c >= 'A' && c <= 'Z') || c == '_' || c == '-';
        name += plain ? c : '_';
    }
    return folder + name + ".lock";
}

bool TLockFileSingleInstance::FindWindowClass(const std::string& className) {
    const std::string path = LockPath(className);
    if (path.empty()) return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;  // nobody ever registered
    const bool taken = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return taken;
}

std::unique_ptr<TWindowClassRegistration> TLockFileSingleInstance::RegisterWindowClass(
    const std::string& className) {
    const std::string path = LockPath(className);
    const int fd =
        path.empty() ? -1 : ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    // Without a lock the window still opens; it is only not found by a second start.
    if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (fd >= 0) ::close(fd);
        return std::make_unique<TWindowClassRegistration>();
    }
    return std::make_unique<TLockRegistration>(fd);
}

}  // namespace ps
