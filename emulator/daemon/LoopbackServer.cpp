// SPDX-License-Identifier: MIT
// The loopback TCP server of the printer-emulator daemon (POSIX sockets).
#include "LoopbackServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace ps::emu {
namespace {

constexpr int kPollMs = 5;
constexpr std::size_t kChunk = 65536;

std::runtime_error SocketError(const char* what) {
    return std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

bool SendAll(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

// Sends what the device has ready; false when the client is gone.
bool SendReplies(int fd, TEmulatedDevice& device) {
    for (;;) {
        auto reply = device.TakeReply(kChunk);
        if (reply.empty()) return true;
        if (!SendAll(fd, reply)) return false;
    }
}

void ServeClient(int fd, TEmulatedDevice& device, const std::function<bool()>& stopRequested) {
    std::vector<std::uint8_t> buffer(kChunk);
    while (!stopRequested()) {
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, kPollMs);
        if (ready < 0 && errno != EINTR) return;
        if (ready > 0) {
            const ssize_t n = ::recv(fd, buffer.data(), buffer.size(), 0);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                SendReplies(fd, device);
                return;
            }
            device.Receive(
                "port", std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(n)));
        }
        if (!SendReplies(fd, device)) return;
    }
}

}  // namespace

TLoopbackServer::TLoopbackServer(std::uint16_t port) {
    m_iListen = ::socket(AF_INET, SOCK_STREAM, 0);
    if (m_iListen < 0) throw SocketError("socket");
    const int on = 1;
    ::setsockopt(m_iListen, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);  // never reachable from outside
    addr.sin_port = htons(port);
    if (::bind(m_iListen, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(m_iListen, 4) != 0) {
        const auto error = SocketError("bind");
        ::close(m_iListen);
        throw error;
    }
    socklen_t len = sizeof addr;
    ::getsockname(m_iListen, reinterpret_cast<sockaddr*>(&addr), &len);
    m_wPort = ntohs(addr.sin_port);
}

TLoopbackServer::~TLoopbackServer() {
    if (m_iListen >= 0) ::close(m_iListen);
}

void TLoopbackServer::Serve(TEmulatedDevice& device,
                            const std::function<bool()>& stopRequested) {
    while (!stopRequested()) {
        pollfd p{m_iListen, POLLIN, 0};
        const int ready = ::poll(&p, 1, 50);
        if (ready <= 0) continue;
        const int client = ::accept(m_iListen, nullptr, nullptr);
        if (client < 0) continue;
        ServeClient(client, device, stopRequested);
        ::close(client);
    }
}

}  // namespace ps::emu
