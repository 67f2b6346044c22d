// SPDX-License-Identifier: MIT
// The in-process port monitor of the Linux platform.
#include "platform/linux/LinuxPortMonitor.h"

#include <algorithm>
#include <array>

#include "platform/MonitorBlock.h"
#include "platform/linux/DeviceUri.h"

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

TSysError TLinuxPortMonitor::Answer(const std::string& queueName, const std::string& deviceUri,
                                    const std::string& valueName, std::uint32_t& type,
                                    std::span<std::uint8_t> buffer, std::uint32_t& needed) {
    return AnswerMonitorTrigger(
        m_Kernel, valueName, type, buffer, needed,
        [&](std::span<std::uint8_t> block) { return Exchange(queueName, deviceUri, block); });
}

std::unique_ptr<TPrinterLink> TLinuxPortMonitor::OpenLink(const std::string& queueName,
                                                          const std::string& deviceUri) {
    const auto uri = ParseDeviceUri(deviceUri);
    if (!uri) {
        SetThreadLastError(kErrorInvalidParameter, "the device URI cannot be read");
        return nullptr;
    }
    if (uri->scheme == "usb") {
        const auto devices = ScanUsblpDevices(m_Usb, m_Folders);
        const auto match = MatchUsbQueue(queueName, *uri, devices);
        if (!match.index) {
            SetThreadLastError(kErrorFileNotFound, match.problem);
            return nullptr;
        }
        return OpenUsblpLink(m_Usb, m_Folders, m_Clock, devices[*match.index]);
    }
    if (uri->scheme == "socket")
        return OpenTcpLink(uri->host, uri->port > 0 ? uri->port : kRawPrintingPort, m_Clock,
                           m_Timeouts.connectMs);
    if (IsNetworkScheme(uri->scheme) && uri->scheme != "dnssd")
        return OpenTcpLink(uri->host, kRawPrintingPort, m_Clock, m_Timeouts.connectMs);
    SetThreadLastError(kErrorNotSupported,
                       "the port monitor reaches printers on usb: and network queues only");
    return nullptr;
}

bool TLinuxPortMonitor::Exchange(const std::string& queueName, const std::string& deviceUri,
                                 std::span<std::uint8_t> block) {
    const auto request = TakeMonitorRequest(block, queueName);
    if (!request) return false;

    auto link = OpenLink(queueName, deviceUri);
    if (link && request->wanted > 0) DiscardStaleInput(*link, m_Clock);
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
