// SPDX-License-Identifier: MIT
// A raw TCP printer port on the loopback interface: what a client sends is received by the
// device, what the device answers is sent back.
#pragma once

#include <cstdint>
#include <functional>

#include "emulator/EmulatedDevice.h"

namespace ps::emu {

class TLoopbackServer {
public:
    /// Listens on 127.0.0.1:`port` (0 picks a free port). Throws std::runtime_error.
    explicit TLoopbackServer(std::uint16_t port);
    ~TLoopbackServer();
    TLoopbackServer(const TLoopbackServer&) = delete;
    TLoopbackServer& operator=(const TLoopbackServer&) = delete;

    std::uint16_t Port() const { return m_wPort; }

    /// Serves one client at a time until `stopRequested` says so (asked at least every 50 ms).
    /// Every chunk read is one Receive("port", ...); ready replies are written back as they
    /// come.
    void Serve(TEmulatedDevice& device, const std::function<bool()>& stopRequested);

private:
    int m_iListen = -1;
    std::uint16_t m_wPort = 0;
};

}  // namespace ps::emu
