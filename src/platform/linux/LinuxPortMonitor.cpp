// SPDX-License-Identifier: MIT
// The in-process port monitor of the Linux platform: how it opens a queue's link.
#include "platform/linux/LinuxPortMonitor.h"

#include "platform/linux/DeviceUri.h"

namespace ps {
namespace {

std::string ChannelCommand(const std::string& queueName) {
    return "\"lpadmin -p " + PrintableText(queueName) + " -o " + kChannelOption +
           "=socket://HOST:9100\"";
}

}  // namespace

TSysError TLinuxPortMonitor::Answer(const std::string& queueName, const std::string& deviceUri,
                                    const std::string& channel, const std::string& valueName,
                                    std::uint32_t& type, std::span<std::uint8_t> buffer,
                                    std::uint32_t& needed) {
    return AnswerOverLink(
        queueName, [&] { return OpenLink(queueName, deviceUri, channel); }, valueName, type,
        buffer, needed);
}

std::unique_ptr<TPrinterLink> TLinuxPortMonitor::OpenLink(const std::string& queueName,
                                                          const std::string& deviceUri,
                                                          const std::string& channel) {
    const auto uri = ParseDeviceUri(deviceUri);
    if (!uri) {
        SetThreadLastError(kErrorInvalidParameter, "the device URI of queue \"" +
                                                       PrintableText(queueName) +
                                                       "\" cannot be read");
        return nullptr;
    }
    if (uri->scheme == "usb") {
        const auto devices = ScanUsblpDevices(m_Usb, m_Folders);
        const auto match = MatchUsbQueue(queueName, *uri, devices);
        if (!match.index) {
            SetThreadLastError(kErrorFileNotFound, match.problem);
            return nullptr;
        }
        return OpenUsblpLink(m_Usb, m_Folders, Clock(), devices[*match.index]);
    }
    if (!channel.empty()) {
        const auto named = ParseCommandChannel(channel);
        if (!named) {
            SetThreadLastError(kErrorInvalidParameter,
                               "the command channel \"" + PrintableText(channel) +
                                   "\" named for queue \"" + PrintableText(queueName) +
                                   "\" is not socket://HOST[:PORT]; name it again with " +
                                   ChannelCommand(queueName));
            return nullptr;
        }
        return OpenTcpLink(named->host, named->port, Clock(), Timeouts().connectMs);
    }
    if (uri->scheme == "socket")
        return OpenTcpLink(uri->host, uri->port > 0 ? uri->port : kRawPrintingPort, Clock(),
                           Timeouts().connectMs);
    if (IsNetworkScheme(uri->scheme)) {
        // An ipp:, lpd: or smb: queue often points at a print server: raw bytes to port 9100
        // of that host would reach whatever listens there, not this printer.
        SetThreadLastError(kErrorNotSupported,
                           "the command channel of queue \"" + PrintableText(queueName) +
                               "\" is not known: its device URI (" + uri->scheme +
                               ":) names a print server or service, not the printer's raw port; "
                               "name the channel with " +
                               ChannelCommand(queueName));
        return nullptr;
    }
    SetThreadLastError(kErrorNotSupported, "queue \"" + PrintableText(queueName) +
                                               "\" prints over a " + PrintableText(uri->scheme) +
                                               ": link, which has no command channel here");
    return nullptr;
}

}  // namespace ps
