// SPDX-License-Identifier: MIT
// The in-process port monitor's exchange.
#include "platform/PortMonitor.h"

#include <algorithm>

#include "platform/MonitorBlock.h"

namespace ps {

TSysError TPortMonitor::Answer(const std::string& printerName, const std::string& target,
                               const std::string& valueName, std::uint32_t& type,
                               std::span<std::uint8_t> buffer, std::uint32_t& needed) {
    return AnswerMonitorTrigger(
        m_Kernel, valueName, type, buffer, needed,
        [&](std::span<std::uint8_t> block) { return Exchange(printerName, target, block); });
}

bool TPortMonitor::Exchange(const std::string& printerName, const std::string& target,
                            std::span<std::uint8_t> block) {
    const auto request = TakeMonitorRequest(block, printerName);
    if (!request) return false;

    auto link = OpenLink(target);
    if (!link ||
        !link->Send(block.subspan(kMonitorDataOffset, request->commandLength), m_Timeouts.sendMs))
        return false;
    if (request->wanted == 0) return true;

    // The reply goes straight into the block, never past what the caller has room for: a
    // printer that sends without end fills that much and is cut off there.
    const std::size_t cap = std::min(request->wanted, kMonitorDataCapacity);
    const std::uint64_t deadline = m_Clock.NowMs() + m_Timeouts.replyMs;
    std::size_t received = 0;
    while (received < cap) {
        const std::uint64_t now = m_Clock.NowMs();
        if (now >= deadline) break;
        const std::uint64_t left = deadline - now;
        const auto wait = static_cast<std::uint32_t>(
            received == 0 ? left : std::min<std::uint64_t>(left, m_Timeouts.quietMs));
        const std::int64_t n =
            link->Receive(block.subspan(kMonitorDataOffset + received, cap - received), wait);
        if (n <= 0) break;
        received += static_cast<std::size_t>(n);
    }
    SetMonitorReplyLength(block, received);
    return received > 0;
}

}  // namespace ps
