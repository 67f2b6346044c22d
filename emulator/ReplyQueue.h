// SPDX-License-Identifier: MIT
// Replies waiting to be read, each ready at its own time on the clock.
#pragma once

#include <cstdint>
#include <deque>
#include <span>

#include "Frames.h"

namespace ps::emu {

/// A queue of reply transfers. A read takes bytes from the first ready transfer only, as a USB
/// bulk read ends at the end of a transfer; a transfer larger than the read stays at the front
/// with its rest. The queue keeps at most `maxQueued` bytes and drops its oldest transfers
/// beyond that (nobody is reading them).
class TReplyQueue {
public:
    explicit TReplyQueue(std::size_t maxQueued = 1u << 20) : m_MaxQueued(maxQueued) {}

    void Push(TBytes bytes, std::uint64_t readyAtMs);
    TBytes Take(std::size_t max, std::uint64_t nowMs);
    bool Pending() const { return !m_Transfers.empty(); }
    std::size_t QueuedBytes() const { return m_Queued; }
    void Clear();

private:
    struct TTransfer {
        TBytes bytes;
        std::size_t offset = 0;
        std::uint64_t readyAt = 0;
    };
    std::deque<TTransfer> m_Transfers;
    std::size_t m_Queued = 0;
    std::size_t m_MaxQueued;
};

}  // namespace ps::emu
