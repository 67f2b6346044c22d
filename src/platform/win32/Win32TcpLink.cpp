// SPDX-License-Identifier: MIT
// A printer link over TCP through Winsock: non-blocking sockets waited on in slices of the
// platform clock, so every deadline holds.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <mutex>

#include "base/os/Win32Text.h"
#include "platform/win32/Win32Errors.h"
#include "platform/win32/Win32PortMonitor.h"

namespace ps::win32 {
namespace {

constexpr std::uint64_t kSliceMs = 20;

bool StartWinsock() {
    static std::once_flag once;
    static int result = -1;
    std::call_once(once, [] {
        WSADATA data{};
        result = WSAStartup(MAKEWORD(2, 2), &data);
    });
    if (result != 0) return Fail(static_cast<DWORD>(result));
    return true;
}

// Waits until the socket is ready to read (or write) or the deadline passes (false).
bool WaitReady(SOCKET socket, bool write, TClock& clock, std::uint64_t deadline) {
    for (;;) {
        const std::uint64_t now = clock.NowMs();
        if (now >= deadline) return false;
        const auto slice = std::min(deadline - now, kSliceMs);
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(socket, &ready);
        fd_set failed;
        FD_ZERO(&failed);
        FD_SET(socket, &failed);
        timeval wait{0, static_cast<long>(slice * 1000)};
        const int n = select(0, write ? nullptr : &ready, write ? &ready : nullptr, &failed, &wait);
        if (n != 0) return true;  // ready, failed, or an error the next call reports
        if (clock.NowMs() == now) clock.Sleep(static_cast<std::uint32_t>(slice));
    }
}

class TTcpLink : public TPrinterLink {
public:
    TTcpLink(SOCKET socket, TClock& clock) : m_Socket(socket), m_Clock(clock) {}
    ~TTcpLink() override { closesocket(m_Socket); }

    bool Send(std::span<const std::uint8_t> data, std::uint32_t timeoutMs) override {
        const std::uint64_t deadline = m_Clock.NowMs() + timeoutMs;
        std::size_t done = 0;
        while (done < data.size()) {
            const int chunk = static_cast<int>(std::min<std::size_t>(data.size() - done, 65536));
            const int n =
                send(m_Socket, reinterpret_cast<const char*>(data.data() + done), chunk, 0);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
                continue;
            }
            const int error = WSAGetLastError();
            if (error != WSAEWOULDBLOCK) return Fail(static_cast<DWORD>(error));
            if (!WaitReady(m_Socket, true, m_Clock, deadline)) return Fail(ERROR_TIMEOUT);
        }
        return true;
    }

    std::int64_t Receive(std::span<std::uint8_t> buffer, std::uint32_t timeoutMs) override {
        const std::uint64_t deadline = m_Clock.NowMs() + timeoutMs;
        const int size = static_cast<int>(std::min<std::size_t>(buffer.size(), 65536));
        for (;;) {
            const int n = recv(m_Socket, reinterpret_cast<char*>(buffer.data()), size, 0);
            if (n > 0) return n;
            if (n == 0) return -1;  // the printer closed the connection
            const int error = WSAGetLastError();
            if (error != WSAEWOULDBLOCK) {
                Fail(static_cast<DWORD>(error));
                return -1;
            }
            if (!WaitReady(m_Socket, false, m_Clock, deadline)) return 0;
        }
    }

private:
    SOCKET m_Socket;
    TClock& m_Clock;
};

// Connects a non-blocking socket within the deadline.
bool Connect(SOCKET socket, const ADDRINFOW& address, TClock& clock, std::uint64_t deadline) {
    if (connect(socket, address.ai_addr, static_cast<int>(address.ai_addrlen)) == 0) return true;
    const int error = WSAGetLastError();
    if (error != WSAEWOULDBLOCK) return Fail(static_cast<DWORD>(error));
    if (!WaitReady(socket, true, clock, deadline)) return Fail(ERROR_TIMEOUT);
    int result = 0;
    int length = sizeof result;
    if (getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&result), &length) != 0)
        return Fail(static_cast<DWORD>(WSAGetLastError()));
    return result == 0 || Fail(static_cast<DWORD>(result));
}

}  // namespace

std::unique_ptr<TPrinterLink> OpenTcpLink(const std::string& host, int port, TClock& clock,
                                          std::uint32_t connectTimeoutMs) {
    if (!StartWinsock()) return nullptr;
    ADDRINFOW hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    hints.ai_flags = AI_NUMERICSERV;
    ADDRINFOW* found = nullptr;
    if (host.empty() || port <= 0 || port > 65535 ||
        GetAddrInfoW(Widen(host).c_str(), std::to_wstring(port).c_str(), &hints, &found) != 0) {
        Fail(ERROR_FILE_NOT_FOUND, "the printer's host \"" + host + "\" is not known");
        return nullptr;
    }
    const std::uint64_t deadline = clock.NowMs() + connectTimeoutMs;
    std::unique_ptr<TPrinterLink> link;
    for (const ADDRINFOW* address = found; address && !link; address = address->ai_next) {
        const SOCKET socket =
            WSASocketW(address->ai_family, address->ai_socktype, address->ai_protocol, nullptr, 0,
                       WSA_FLAG_NO_HANDLE_INHERIT);
        if (socket == INVALID_SOCKET) {
            Fail(static_cast<DWORD>(WSAGetLastError()));
            continue;
        }
        u_long nonBlocking = 1;
        if (ioctlsocket(socket, FIONBIO, &nonBlocking) == 0 &&
            Connect(socket, *address, clock, deadline))
            link = std::make_unique<TTcpLink>(socket, clock);
        else
            closesocket(socket);
    }
    FreeAddrInfoW(found);
    return link;
}

}  // namespace ps::win32
