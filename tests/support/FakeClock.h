// SPDX-License-Identifier: MIT
// A platform clock whose time moves only when the test says so or something sleeps on it.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/Platform.h"

namespace ps::test {

class TManualClock : public TClock {
public:
    explicit TManualClock(std::uint64_t startMs = 1000) : m_Now(startMs) {}
    std::uint64_t NowMs() override { return m_Now.load(); }
    void Sleep(std::uint32_t ms) override { m_Now += ms; }
    void Advance(std::uint64_t ms) { m_Now += ms; }

private:
    std::atomic<std::uint64_t> m_Now;
};

}  // namespace ps::test
