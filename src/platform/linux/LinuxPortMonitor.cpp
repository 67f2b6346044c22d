// SPDX-License-Identifier: MIT
// The in-process port monitor of the Linux platform.
#include "platform/linux/LinuxPortMonitor.h"

#include <algorithm>

#include "base/AsciiText.h"
#include "base/TextCodec.h"
#include "platform/PlatformSpooler.h"
#include "platform/linux/DeviceUri.h"

namespace ps {
namespace {

constexpr std::size_t kBlockSize = 65536;
constexpr std::size_t kNameOffset = 64;
constexpr std::size_t kNameBytes = 64;
constexpr std::size_t kDataOffset = 128;
constexpr std::size_t kDataCapacity = kBlockSize - kDataOffset;
constexpr std::string_view kTriggerSuffix = "\\DOZIV_EDI1";

std::int32_t GetLe32(std::span<const std::uint8_t> block, std::size_t offset) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(block[offset]) |
                                     static_cast<std::uint32_t>(block[offset + 1]) << 8 |
                                     static_cast<std::uint32_t>(block[offset + 2]) << 16 |
                                     static_cast<std::uint32_t>(block[offset + 3]) << 24);
}

void PutLe32(std::span<std::uint8_t> block, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        block[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::string BlockPrinterName(std::span<const std::uint8_t> block) {
    std::size_t length = 0;
    while (length + 1 < kNameBytes &&
           (block[kNameOffset + length] != 0 || block[kNameOffset + length + 1] != 0))
        length += 2;
    return Utf16ToUtf8(
        std::string_view(reinterpret_cast<const char*>(&block[kNameOffset]), length));
}

// The block names the queue (a name cut to the field's 31 characters names it too).
bool NamesQueue(const std::string& blockName, const std::string& queueName) {
    if (SameTextNoCase(blockName, queueName)) return true;
    const std::u16string full = Utf8ToUtf16(queueName);
    const std::u16string cut = Utf8ToUtf16(blockName);
    return full.size() > cut.size() && cut.size() == kNameBytes / 2 - 1 &&
           SameTextNoCase(blockName, Utf16ToUtf8(Utf16ToBytesLE(full.substr(0, cut.size()))));
}

}  // namespace

bool IsPortMonitorTrigger(std::string_view valueName) {
    return valueName.size() > kTriggerSuffix.size() &&
           SameTextNoCase(valueName.substr(valueName.size() - kTriggerSuffix.size()),
                          kTriggerSuffix);
}

TSysError TLinuxPortMonitor::Answer(const std::string& queueName, const std::string& deviceUri,
                                    const std::string& valueName, std::uint32_t& type,
                                    std::span<std::uint8_t> buffer, std::uint32_t& needed) {
    auto memory = m_Kernel.OpenSharedMemory(valueName);
    if (!memory) return kErrorFileNotFound;
    auto view = memory->Map();
    if (!view) return GetThreadLastError();
    type = kRegDword;
    needed = 4;
    if (buffer.size() < 4) return kErrorMoreData;
    const bool ok = Exchange(queueName, deviceUri, view->Bytes());
    PutLe32(buffer, 0, ok ? 1 : 0);
    return kErrorSuccess;
}

std::unique_ptr<TPrinterLink> TLinuxPortMonitor::OpenLink(const std::string& deviceUri) {
    const auto uri = ParseDeviceUri(deviceUri);
    if (!uri) {
        SetThreadLastError(kErrorInvalidParameter, "the device URI cannot be read");
        return nullptr;
    }
    if (uri->scheme == "usb") {
        const auto devices = ScanUsblpDevices(m_Usb, m_Folders);
        const auto index = FindUsbDeviceForUri(*uri, devices);
        if (!index) {
            SetThreadLastError(kErrorFileNotFound, "the USB printer of the queue is not attached");
            return nullptr;
        }
        return OpenUsblpLink(m_Usb, m_Clock, devices[*index].path);
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
    if (block.size() < kBlockSize) return false;
    const std::int32_t size = GetLe32(block, 0);
    const std::int32_t commandLength = GetLe32(block, 4);
    const std::int32_t wanted = GetLe32(block, 8);
    PutLe32(block, 8, 0);
    if (size != static_cast<std::int32_t>(kBlockSize) || commandLength < 0 ||
        static_cast<std::size_t>(commandLength) > kDataCapacity || wanted < 0)
        return false;
    if (!NamesQueue(BlockPrinterName(block), queueName)) return false;

    auto link = OpenLink(deviceUri);
    if (!link || !link->Send(block.subspan(kDataOffset, static_cast<std::size_t>(commandLength)),
                             m_Timeouts.sendMs))
        return false;
    if (wanted == 0) return true;

    // The reply goes straight into the block, never past what the caller has room for: a
    // printer that sends without end fills that much and is cut off there.
    const std::size_t cap = std::min(static_cast<std::size_t>(wanted), kDataCapacity);
    const std::uint64_t deadline = m_Clock.NowMs() + m_Timeouts.replyMs;
    std::size_t received = 0;
    while (received < cap) {
        const std::uint64_t now = m_Clock.NowMs();
        if (now >= deadline) break;
        const std::uint64_t left = deadline - now;
        const auto wait = static_cast<std::uint32_t>(
            received == 0 ? left : std::min<std::uint64_t>(left, m_Timeouts.quietMs));
        const std::int64_t n =
            link->Receive(block.subspan(kDataOffset + received, cap - received), wait);
        if (n <= 0) break;
        received += static_cast<std::size_t>(n);
    }
    PutLe32(block, 8, static_cast<std::uint32_t>(received));
    return received > 0;
}

}  // namespace ps
