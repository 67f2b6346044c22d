// SPDX-License-Identifier: MIT
// The device seam on the real kernel.
#include "platform/linux/UsblpSystem.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>

namespace ps {
namespace {

// The signal that ends a blocking write at its deadline: a real-time one, which nothing else
// of the program uses, handled by doing nothing (without SA_RESTART, so the write returns).
int DeadlineSignal() {
    return SIGRTMIN + 4;
}

extern "C" void IgnoreDeadlineSignal(int) {}

void InstallDeadlineHandler() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action {};
        action.sa_handler = IgnoreDeadlineSignal;
        sigemptyset(&action.sa_mask);
        ::sigaction(DeadlineSignal(), &action, nullptr);
    });
}

// A timer that sends DeadlineSignal to the calling thread at the deadline and after it.
class TThreadAlarm {
public:
    explicit TThreadAlarm(int timeoutMs) {
        InstallDeadlineHandler();
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, DeadlineSignal());
        pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
        sigevent event{};
        event.sigev_notify = SIGEV_THREAD_ID;
        event.sigev_signo = DeadlineSignal();
        event._sigev_un._tid = ::gettid();  // sigev_notify_thread_id, unnamed in this C library
        if (::timer_create(CLOCK_MONOTONIC, &event, &m_Timer) != 0) return;
        m_bArmed = true;
        itimerspec when{};
        when.it_value.tv_sec = timeoutMs / 1000;
        when.it_value.tv_nsec = static_cast<long>(timeoutMs % 1000) * 1000000L + 1;
        // And again every 50 ms after it: a signal that comes before the write has started is
        // lost, and the next one still ends the write.
        when.it_interval.tv_nsec = 50 * 1000000L;
        ::timer_settime(m_Timer, 0, &when, nullptr);
    }
    ~TThreadAlarm() {
        if (m_bArmed) ::timer_delete(m_Timer);
    }
    bool Armed() const { return m_bArmed; }

private:
    timer_t m_Timer{};
    bool m_bArmed = false;
};

class TKernelUsblpSystem : public TUsblpSystem {
public:
    int Open(const std::string& path, int flags) override {
        return ::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY, 0644);
    }
    int Close(int fd) override { return ::close(fd); }
    int Ioctl(int fd, unsigned long request, void* argument) override {
        return ::ioctl(fd, request, argument);
    }
    ssize_t Read(int fd, void* buffer, std::size_t size) override {
        return ::read(fd, buffer, size);
    }
    ssize_t Write(int fd, const void* data, std::size_t size) override {
        return ::write(fd, data, size);
    }
    int Poll(int fd, short events, int timeoutMs, short& revents) override {
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, timeoutMs);
        revents = ready > 0 ? entry.revents : 0;
        return ready;
    }
    int Kind(int fd, TNodeKind& kind) override {
        struct stat info {};
        if (::fstat(fd, &info) != 0) return -1;
        kind.characterDevice = S_ISCHR(info.st_mode);
        kind.major = kind.characterDevice ? major(info.st_rdev) : 0;
        kind.minor = kind.characterDevice ? minor(info.st_rdev) : 0;
        return 0;
    }
    int SetNonBlocking(int fd, bool nonBlocking) override {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags < 0) return -1;
        return ::fcntl(fd, F_SETFL, nonBlocking ? flags | O_NONBLOCK : flags & ~O_NONBLOCK);
    }
    ssize_t WriteWithin(int fd, const void* data, std::size_t size, int timeoutMs) override {
        ssize_t n = -1;
        int error = 0;
        {
            const TThreadAlarm alarm(timeoutMs < 1 ? 1 : timeoutMs);
            if (!alarm.Armed()) return -1;  // errno from timer_create
            n = ::write(fd, data, size);
            error = errno;
        }
        if (n < 0) errno = error == EINTR ? ETIMEDOUT : error;
        return n;
    }
};

}  // namespace

std::unique_ptr<TUsblpSystem> MakeKernelUsblpSystem() {
    return std::make_unique<TKernelUsblpSystem>();
}

}  // namespace ps
