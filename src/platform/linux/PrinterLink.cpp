// SPDX-License-Identifier: MIT
// Printer links over TCP and usblp.
#include "platform/linux/PrinterLink.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include "platform/linux/Deadline.h"
#include "platform/linux/LinuxErrors.h"
#include "platform/linux/UsblpLibrary.h"

namespace ps {
namespace {

int PollOne(int fd, short events, int timeoutMs) {
    pollfd entry{fd, events, 0};
    return ::poll(&entry, 1, timeoutMs);
}

class TTcpLink : public TPrinterLink {
public:
    TTcpLink(int fd, TClock& clock, std::string address)
        : m_Fd(fd), m_Clock(clock), m_strAddress(std::move(address)) {}
    ~TTcpLink() override { ::close(m_Fd); }

    bool Send(std::span<const std::uint8_t> data, std::uint32_t timeoutMs) override {
        const std::uint64_t deadline = m_Clock.NowMs() + timeoutMs;
        std::size_t done = 0;
        while (done < data.size()) {
            const ssize_t n = ::send(m_Fd, data.data() + done, data.size() - done, MSG_NOSIGNAL);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return FailWithErrno(errno);
            if (!WaitUntilReady(m_Clock, deadline,
                                [&](int slice) { return PollOne(m_Fd, POLLOUT, slice); })) {
                SetThreadLastError(kErrorTimeout, m_strAddress + " took " + std::to_string(done) +
                                                      " of " + std::to_string(data.size()) +
                                                      " bytes within " + std::to_string(timeoutMs) +
                                                      " ms");
                return false;
            }
        }
        return true;
    }

    std::int64_t Receive(std::span<std::uint8_t> buffer, std::uint32_t timeoutMs) override {
        const std::uint64_t deadline = m_Clock.NowMs() + timeoutMs;
        for (;;) {
            const ssize_t n = ::recv(m_Fd, buffer.data(), buffer.size(), MSG_DONTWAIT);
            if (n > 0) return n;
            if (n == 0) return -1;  // the printer closed the connection
            if (errno == EINTR) continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK) {
                FailWithErrno(errno);
                return -1;
            }
            if (!WaitUntilReady(m_Clock, deadline,
                                [&](int slice) { return PollOne(m_Fd, POLLIN, slice); }))
                return 0;
        }
    }

private:
    int m_Fd;
    TClock& m_Clock;
    std::string m_strAddress;  // "HOST:PORT", for messages
};

class TUsblpLink : public TPrinterLink {
public:
    TUsblpLink(TUsblpSystem& system, TClock& clock, int fd)
        : m_System(system), m_Clock(clock), m_Fd(fd) {}
    ~TUsblpLink() override { m_System.Close(m_Fd); }

    bool Send(std::span<const std::uint8_t> data, std::uint32_t timeoutMs) override {
        int error = 0;
        const std::int64_t written = UsblpWrite(m_System, m_Clock, m_Fd, data, timeoutMs, error);
        if (written == static_cast<std::int64_t>(data.size())) return true;
        if (error != ETIMEDOUT) return FailWithErrno(error ? error : EIO);
        SetThreadLastError(kErrorTimeout, "the printer took " +
                                              std::to_string(std::max<std::int64_t>(written, 0)) +
                                              " of " + std::to_string(data.size()) +
                                              " bytes before the write deadline");
        return false;
    }

    std::int64_t Receive(std::span<std::uint8_t> buffer, std::uint32_t timeoutMs) override {
        int error = 0;
        const std::int64_t read = UsblpRead(m_System, m_Clock, m_Fd, buffer, timeoutMs, error);
        if (read < 0) FailWithErrno(error);
        return read;
    }

private:
    TUsblpSystem& m_System;
    TClock& m_Clock;
    int m_Fd;
};

// Connects a non-blocking socket within the deadline.
bool Connect(int fd, const addrinfo& address, TClock& clock, std::uint64_t deadline) {
    if (::connect(fd, address.ai_addr, address.ai_addrlen) == 0) return true;
    if (errno != EINPROGRESS) return FailWithErrno(errno);
    if (!WaitUntilReady(clock, deadline, [&](int slice) { return PollOne(fd, POLLOUT, slice); })) {
        SetThreadLastError(kErrorTimeout);
        errno = ETIMEDOUT;
        return false;
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) return FailWithErrno(errno);
    errno = error;
    return error == 0 || FailWithErrno(error);
}

// A name lookup that may be given up: getaddrinfo has no deadline of its own, so it runs on a
// thread of its own and a caller whose time is up leaves it to finish alone.
struct TLookup {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    bool abandoned = false;
    int result = EAI_AGAIN;
    addrinfo* found = nullptr;
};

// The addresses of host:port, looked up within `timeoutMs` of real time (a resolver waits in
// real time, whatever the platform clock does). Nothing, with the reason in `why`, otherwise.
addrinfo* Resolve(const std::string& host, int port, std::uint32_t timeoutMs, std::string& why) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    const std::string service = std::to_string(port);
    addrinfo* found = nullptr;
    // A numeric address needs no resolver.
    hints.ai_flags |= AI_NUMERICHOST;
    if (::getaddrinfo(host.c_str(), service.c_str(), &hints, &found) == 0) return found;
    hints.ai_flags &= ~AI_NUMERICHOST;

    auto lookup = std::make_shared<TLookup>();
    std::thread([lookup, host, service, hints] {
        addrinfo* list = nullptr;
        const int result = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &list);
        std::lock_guard lock(lookup->mutex);
        if (lookup->abandoned) {
            if (list) ::freeaddrinfo(list);
        } else {
            lookup->result = result;
            lookup->found = list;
        }
        lookup->finished = true;
        lookup->done.notify_all();
    }).detach();
    std::unique_lock lock(lookup->mutex);
    if (!lookup->done.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                               [&] { return lookup->finished; })) {
        lookup->abandoned = true;
        why = "the printer's host \"" + host + "\" did not resolve within " +
              std::to_string(timeoutMs) + " ms";
        return nullptr;
    }
    if (lookup->result != 0 || !lookup->found) {
        why = "the printer's host \"" + host + "\" is not known (" +
              ::gai_strerror(lookup->result) + ")";
        return nullptr;
    }
    return lookup->found;
}

}  // namespace

std::unique_ptr<TPrinterLink> OpenTcpLink(const std::string& host, int port, TClock& clock,
                                          std::uint32_t connectTimeoutMs) {
    if (host.empty() || port <= 0 || port > 65535) {
        SetThreadLastError(kErrorFileNotFound, "the printer's address \"" + host + ":" +
                                                   std::to_string(port) + "\" is not usable");
        return nullptr;
    }
    const std::string address = (host.find(':') != std::string::npos ? "[" + host + "]" : host) +
                                ":" + std::to_string(port);
    const std::uint64_t start = clock.NowMs();
    const std::uint64_t deadline = start + connectTimeoutMs;
    // The name is looked up once for this exchange, with at most half of its time.
    std::string why;
    addrinfo* found = Resolve(host, port, connectTimeoutMs / 2, why);
    if (!found) {
        SetThreadLastError(kErrorFileNotFound, why);
        return nullptr;
    }
    std::size_t left = 0;
    for (const addrinfo* a = found; a; a = a->ai_next) ++left;
    std::unique_ptr<TPrinterLink> link;
    int lastError = 0;
    for (const addrinfo* a = found; a && !link; a = a->ai_next, --left) {
        // Each address has an equal share of the time still left: one that never answers does
        // not use up the time of the next.
        const std::uint64_t now = clock.NowMs();
        const std::uint64_t share = now < deadline ? (deadline - now) / left : 0;
        const int fd =
            ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            lastError = errno;
            continue;
        }
        if (Connect(fd, *a, clock, now + share)) {
            link = std::make_unique<TTcpLink>(fd, clock, address);
        } else {
            lastError = errno;
            ::close(fd);
        }
    }
    ::freeaddrinfo(found);
    if (link) return link;
    if (lastError == ETIMEDOUT)
        SetThreadLastError(kErrorTimeout, address + " did not accept a connection within " +
                                              std::to_string(connectTimeoutMs) + " ms");
    else if (lastError == ECONNREFUSED)
        SetThreadLastError(kErrorFileNotFound,
                           "connection refused at " + address + " (nothing listens on that port)");
    else
        SetThreadLastError(SysErrorFromErrno(lastError),
                           address + " cannot be reached: " + std::strerror(lastError));
    return nullptr;
}

std::unique_ptr<TPrinterLink> OpenUsblpLink(TUsblpSystem& system, const TUsblpFolders& folders,
                                            TClock& clock, const TUsblpDevice& device) {
    const int fd = OpenUsblpNode(system, folders, device);
    if (fd < 0) return nullptr;
    return std::make_unique<TUsblpLink>(system, clock, fd);
}

}  // namespace ps
