// SPDX-License-Identifier: MIT
// The in-process port monitor's exchange.
#include "platform/PortMonitor.h"

#include <algorithm>
#include <array>

#include "platform/ExchangeFailure.h"
#include "platform/MonitorBlock.h"

namespace ps {
namespace {

constexpr std::uint32_t kStaleQuietMs = 20;   // no more stale input after this long
constexpr std::uint32_t kStaleLimitMs = 200;  // a printer that keeps sending is not waited out

// Reads and drops what the printer sent before this exchange (the rest of a reply cut off in
// an earlier one), which would otherwise be taken for the start of this exchange's reply.
void DiscardStaleInput(TPrinterLink& link, TClock& clock) {
    std::array<std::uint8_t, 4096> scratch{};
    const std::uint64_t end = clock.NowMs() + kStaleLimitMs;
    while (clock.NowMs() < end && link.Receive(scratch, kStaleQuietMs) > 0) {
    }
}

}  // namespace

std::string PrintableText(std::string_view text) {
    constexpr std::size_t kMaxShown = 200;
    std::string shown;
    for (char c : text.substr(0, kMaxShown)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) shown += c;
    }
    return text.size() > kMaxShown ? shown + "..." : shown;
}

TSysError TPortMonitor::AnswerOverLink(const std::string& printerName, const TLinkOpener& openLink,
                                       const std::string& valueName, std::uint32_t& type,
                                       std::span<std::uint8_t> buffer, std::uint32_t& needed) {
    return AnswerMonitorTrigger(
        m_Kernel, valueName, type, buffer, needed,
        [&](std::span<std::uint8_t> block) { return Exchange(printerName, openLink, block); });
}

bool TPortMonitor::Exchange(const std::string& printerName, const TLinkOpener& openLink,
                            std::span<std::uint8_t> block) {
    const auto request = TakeMonitorRequest(block, printerName);
    if (!request) return false;

    auto link = openLink();
    if (!link) {
        NoteExchangeFailure(ThreadLastErrorText());
        return false;
    }
    if (request->wanted > 0) DiscardStaleInput(*link, m_Clock);
    if (!link->Send(block.subspan(kMonitorDataOffset, request->commandLength), m_Timeouts.sendMs)) {
        NoteExchangeFailure("the command did not reach the printer of queue \"" +
                            PrintableText(printerName) + "\": " + ThreadLastErrorText());
        return false;
    }
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
    if (received == 0)
        NoteExchangeFailure("the printer of queue \"" + PrintableText(printerName) +
                            "\" did not answer within " + std::to_string(m_Timeouts.replyMs) +
                            " ms");
    return received > 0;
}

}  // namespace ps
