// SPDX-License-Identifier: MIT
// The in-process port monitor of the Linux platform.
#include "platform/linux/LinuxPortMonitor.h"

#include <algorithm>
#include <array>

#include "platform/ExchangeFailure.h"
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

// Server text in a message: control characters dropped, cut to a readable length.
std::string Printable(std::string_view text) {
    constexpr std::size_t kMaxShown = 200;
    std::string shown;
    for (char c : text.substr(0, kMaxShown)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) shown += c;
    }
    return text.size() > kMaxShown ? shown + "..." : shown;
}

std::string ChannelCommand(const std::string& queueName) {
    return "\"lpadmin -p " + Printable(queueName) + " -o " + kChannelOption +
           "=socket://HOST:9100\"";
}

}  // namespace

TSysError TLinuxPortMonitor::Answer(const std::string& queueName, const std::string& deviceUri,
                                    const std::string& channel, const std::string& valueName,
                                    std::uint32_t& type, std::span<std::uint8_t> buffer,
                                    std::uint32_t& needed) {
    return AnswerMonitorTrigger(m_Kernel, valueName, type, buffer, needed,
                                [&](std::span<std::uint8_t> block) {
                                    return Exchange(queueName, deviceUri, channel, block);
                                });
}

std::unique_ptr<TPrinterLink> TLinuxPortMonitor::OpenLink(const std::string& queueName,
                                                          const std::string& deviceUri,
                                                          const std::string& channel) {
    const auto uri = ParseDeviceUri(deviceUri);
    if (!uri) {
        SetThreadLastError(kErrorInvalidParameter, "the device URI of queue \"" +
                                                       Printable(queueName) + "\" cannot be read");
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
    if (!channel.empty()) {
        const auto named = ParseCommandChannel(channel);
        if (!named) {
            SetThreadLastError(kErrorInvalidParameter,
                               "the command channel \"" + Printable(channel) +
                                   "\" named for queue \"" + Printable(queueName) +
                                   "\" is not socket://HOST[:PORT]; name it again with " +
                                   ChannelCommand(queueName));
            return nullptr;
        }
        return OpenTcpLink(named->host, named->port, m_Clock, m_Timeouts.connectMs);
    }
    if (uri->scheme == "socket")
        return OpenTcpLink(uri->host, uri->port > 0 ? uri->port : kRawPrintingPort, m_Clock,
                           m_Timeouts.connectMs);
    if (IsNetworkScheme(uri->scheme)) {
        // An ipp:, lpd: or smb: queue often points at a print server: raw bytes to port 9100
        // of that host would reach whatever listens there, not this printer.
        SetThreadLastError(kErrorNotSupported,
                           "the command channel of queue \"" + Printable(queueName) +
                               "\" is not known: its device URI (" + uri->scheme +
                               ":) names a print server or service, not the printer's raw port; "
                               "name the channel with " +
                               ChannelCommand(queueName));
        return nullptr;
    }
    SetThreadLastError(kErrorNotSupported, "queue \"" + Printable(queueName) + "\" prints over a " +
                                               Printable(uri->scheme) +
                                               ": link, which has no command channel here");
    return nullptr;
}

bool TLinuxPortMonitor::Exchange(const std::string& queueName, const std::string& deviceUri,
                                 const std::string& channel, std::span<std::uint8_t> block) {
    const auto request = TakeMonitorRequest(block, queueName);
    if (!request) return false;

    auto link = OpenLink(queueName, deviceUri, channel);
    if (!link) {
        NoteExchangeFailure(ThreadLastErrorText());
        return false;
    }
    if (request->wanted > 0) DiscardStaleInput(*link, m_Clock);
    if (!link->Send(block.subspan(kMonitorDataOffset, request->commandLength), m_Timeouts.sendMs)) {
        NoteExchangeFailure("the command did not reach the printer of queue \"" +
                            Printable(queueName) + "\": " + ThreadLastErrorText());
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
        NoteExchangeFailure("the printer of queue \"" + Printable(queueName) +
                            "\" did not answer within " + std::to_string(m_Timeouts.replyMs) +
                            " ms");
    return received > 0;
}

}  // namespace ps
