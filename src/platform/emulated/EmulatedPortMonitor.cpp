// SPDX-License-Identifier: MIT
// The emulated vendor port monitor.
#include "platform/emulated/EmulatedPortMonitor.h"

#include <algorithm>

#include "platform/MonitorBlock.h"

namespace ps::emu {

TSysError TEmulatedPortMonitor::Answer(const TEmulatedPrinterConfig& printer,
                                       const std::string& valueName, std::uint32_t& type,
                                       std::span<std::uint8_t> buffer, std::uint32_t& needed) {
    return AnswerMonitorTrigger(
        m_Kernel, valueName, type, buffer, needed,
        [&](std::span<std::uint8_t> block) { return Exchange(printer, block); });
}

bool TEmulatedPortMonitor::Exchange(const TEmulatedPrinterConfig& printer,
                                    std::span<std::uint8_t> block) {
    const auto request = TakeMonitorRequest(block, printer.name);
    if (!request) return false;
    TDeviceLink* device = m_Devices.Find(printer.deviceId);
    if (!device) return false;

    // Whatever an earlier command left unread is not this command's reply.
    while (!device->TakeReply(kMonitorDataCapacity).empty()) {
    }
    device->Receive("monitor", block.subspan(kMonitorDataOffset, request->commandLength));
    if (request->wanted == 0) return true;

    std::vector<std::uint8_t> reply;
    std::uint64_t deadline = m_Clock.NowMs() + printer.monitorTimeoutMs;
    for (;;) {
        auto part = device->TakeReply(kMonitorDataCapacity - reply.size());
        reply.insert(reply.end(), part.begin(), part.end());
        if (reply.size() >= kMonitorDataCapacity) break;
        if (!reply.empty() && !device->ReplyPending()) break;
        std::uint64_t now = m_Clock.NowMs();
        if (now >= deadline) break;
        m_Clock.Sleep(static_cast<std::uint32_t>(std::min<std::uint64_t>(2, deadline - now)));
    }
    // An empty reply has no data pointer to copy from; std::copy takes the empty range.
    std::copy(reply.begin(), reply.end(), block.begin() + kMonitorDataOffset);
    SetMonitorReplyLength(block, reply.size());
    return !reply.empty();
}

}  // namespace ps::emu
