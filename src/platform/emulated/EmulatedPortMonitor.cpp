// SPDX-License-Identifier: MIT
// The emulated vendor port monitor.
#include "platform/emulated/EmulatedPortMonitor.h"

#include <algorithm>

#include "base/TextCodec.h"

namespace ps::emu {
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
    for (int i = 0; i < 4; ++i) block[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The printer name of the block: UTF-16 up to its terminator within the 64-byte field.
std::string BlockPrinterName(std::span<const std::uint8_t> block) {
    std::size_t length = 0;
    while (length + 1 < kNameBytes &&
           (block[kNameOffset + length] != 0 || block[kNameOffset + length + 1] != 0))
        length += 2;
    return Utf16ToUtf8(
        std::string_view(reinterpret_cast<const char*>(&block[kNameOffset]), length));
}

// The block names the printer (a name cut to the field's 31 characters names it too).
bool NamesPrinter(const std::string& blockName, const std::string& printerName) {
    if (SameTextNoCase(blockName, printerName)) return true;
    std::u16string full = Utf8ToUtf16(printerName);
    std::u16string cut = Utf8ToUtf16(blockName);
    return full.size() > cut.size() && cut.size() == kNameBytes / 2 - 1 &&
           SameTextNoCase(blockName, Utf16ToUtf8(Utf16ToBytesLE(full.substr(0, cut.size()))));
}

}  // namespace

bool IsMonitorTrigger(std::string_view valueName) {
    return valueName.size() > kTriggerSuffix.size() &&
           SameTextNoCase(valueName.substr(valueName.size() - kTriggerSuffix.size()),
                          kTriggerSuffix);
}

TSysError TEmulatedPortMonitor::Answer(const TEmulatedPrinterConfig& printer,
                                       const std::string& valueName, std::uint32_t& type,
                                       std::span<std::uint8_t> buffer, std::uint32_t& needed) {
    auto memory = m_Kernel.OpenSharedMemory(valueName);
    if (!memory) return kErrorFileNotFound;
    auto view = memory->Map();
    if (!view) return GetThreadLastError();
    type = kRegDword;
    needed = 4;
    if (buffer.size() < 4) return kErrorMoreData;
    bool ok = Exchange(printer, view->Bytes());
    PutLe32(buffer, 0, ok ? 1 : 0);
    return kErrorSuccess;
}

bool TEmulatedPortMonitor::Exchange(const TEmulatedPrinterConfig& printer,
                                    std::span<std::uint8_t> block) {
    if (block.size() < kBlockSize) return false;
    std::int32_t size = GetLe32(block, 0);
    std::int32_t commandLength = GetLe32(block, 4);
    std::int32_t wanted = GetLe32(block, 8);
    PutLe32(block, 8, 0);
    if (size != static_cast<std::int32_t>(kBlockSize) || commandLength < 0 ||
        static_cast<std::size_t>(commandLength) > kDataCapacity || wanted < 0)
        return false;
    if (!NamesPrinter(BlockPrinterName(block), printer.name)) return false;
    TDeviceLink* device = m_Devices.Find(printer.deviceId);
    if (!device) return false;

    // Whatever an earlier command left unread is not this command's reply.
    while (!device->TakeReply(kDataCapacity).empty()) {
    }
    device->Receive("monitor", block.subspan(kDataOffset, static_cast<std::size_t>(commandLength)));
    if (wanted == 0) return true;

    std::vector<std::uint8_t> reply;
    std::uint64_t deadline = m_Clock.NowMs() + printer.monitorTimeoutMs;
    for (;;) {
        auto part = device->TakeReply(kDataCapacity - reply.size());
        reply.insert(reply.end(), part.begin(), part.end());
        if (reply.size() >= kDataCapacity) break;
        if (!reply.empty() && !device->ReplyPending()) break;
        std::uint64_t now = m_Clock.NowMs();
        if (now >= deadline) break;
        m_Clock.Sleep(static_cast<std::uint32_t>(std::min<std::uint64_t>(2, deadline - now)));
    }
    // An empty reply has no data pointer to copy from; std::copy takes the empty range.
    std::copy(reply.begin(), reply.end(), block.begin() + kDataOffset);
    PutLe32(block, 8, static_cast<std::uint32_t>(reply.size()));
    return !reply.empty();
}

}  // namespace ps::emu
