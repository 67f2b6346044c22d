// SPDX-License-Identifier: MIT
// The reply queue.
#include "ReplyQueue.h"

#include <algorithm>

namespace ps::emu {

void TReplyQueue::Push(TBytes bytes, std::uint64_t readyAtMs) {
    if (bytes.empty()) return;
    if (bytes.size() > m_MaxQueued) bytes.resize(m_MaxQueued);
    m_Queued += bytes.size();
    m_Transfers.push_back({std::move(bytes), 0, readyAtMs});
    while (m_Queued > m_MaxQueued && m_Transfers.size() > 1) {
        const TTransfer& old = m_Transfers.front();
        m_Queued -= old.bytes.size() - old.offset;
        m_Transfers.pop_front();
    }
}

TBytes TReplyQueue::Take(std::size_t max, std::uint64_t nowMs) {
    if (m_Transfers.empty() || max == 0) return {};
    TTransfer& first = m_Transfers.front();
    if (first.readyAt > nowMs) return {};
    const std::size_t n = std::min(max, first.bytes.size() - first.offset);
    auto from = first.bytes.begin() + static_cast<std::ptrdiff_t>(first.offset);
    TBytes out(from, from + static_cast<std::ptrdiff_t>(n));
    first.offset += n;
    m_Queued -= n;
    if (first.offset == first.bytes.size()) m_Transfers.pop_front();
    return out;
}

void TReplyQueue::Clear() {
    m_Transfers.clear();
    m_Queued = 0;
}

}  // namespace ps::emu
