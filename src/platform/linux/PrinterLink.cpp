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
    TTcpLink(int fd, TClock& clock) : m_Fd(fd), m_Clock(clock) {}
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
                SetThreadLastError(kErrorTimeout);
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
        return false;
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) return FailWithErrno(errno);
    return error == 0 || FailWithErrno(error);
}

}  // namespace

std::unique_ptr<TPrinterLink> OpenTcpLink(const std::string& host, int port, TClock& clock,
                                          std::uint32_t connectTimeoutMs) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (host.empty() || port <= 0 || port > 65535 ||
        ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
        SetThreadLastError(kErrorFileNotFound, "the printer's host \"" + host + "\" is not known");
        return nullptr;
    }
    const std::uint64_t deadline = clock.NowMs() + connectTimeoutMs;
    std::unique_ptr<TPrinterLink> link;
    for (const addrinfo* address = found; address && !link; address = address->ai_next) {
        const int fd =
            ::socket(address->ai_family, address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                     address->ai_protocol);
        if (fd < 0) {
            FailWithErrno(errno);
            continue;
        }
        if (Connect(fd, *address, clock, deadline))
            link = std::make_unique<TTcpLink>(fd, clock);
        else
            ::close(fd);
    }
    ::freeaddrinfo(found);
    return link;
}

std::unique_ptr<TPrinterLink> OpenUsblpLink(TUsblpSystem& system, const TUsblpFolders& folders,
                                            TClock& clock, const TUsblpDevice& device) {
    const int fd = OpenUsblpNode(system, folders, device);
    if (fd < 0) return nullptr;
    return std::make_unique<TUsblpLink>(system, clock, fd);
}

}  // namespace ps
