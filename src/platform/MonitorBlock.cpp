// SPDX-License-Identifier: MIT
// The port monitor's side of the monitor block.
#include "platform/MonitorBlock.h"

#include "base/AsciiText.h"
#include "base/TextCodec.h"
#include "platform/Platform.h"
#include "platform/PlatformSpooler.h"

namespace ps {
namespace {

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

// The printer name of the block: UTF-16 up to its terminator within the 64-byte field.
std::string BlockPrinterName(std::span<const std::uint8_t> block) {
    std::size_t length = 0;
    while (length + 1 < kMonitorNameBytes &&
           (block[kMonitorNameOffset + length] != 0 || block[kMonitorNameOffset + length + 1] != 0))
        length += 2;
    return Utf16ToUtf8(
        std::string_view(reinterpret_cast<const char*>(&block[kMonitorNameOffset]), length));
}

// The block names the printer (a name cut to the field's 31 characters names it too).
bool NamesPrinter(const std::string& blockName, const std::string& printerName) {
    if (SameTextNoCase(blockName, printerName)) return true;
    const std::u16string full = Utf8ToUtf16(printerName);
    const std::u16string cut = Utf8ToUtf16(blockName);
    return full.size() > cut.size() && cut.size() == kMonitorNameBytes / 2 - 1 &&
           SameTextNoCase(blockName, Utf16ToUtf8(Utf16ToBytesLE(full.substr(0, cut.size()))));
}

}  // namespace

std::optional<TMonitorRequest> TakeMonitorRequest(std::span<std::uint8_t> block,
                                                  const std::string& printerName) {
    if (block.size() < kMonitorBlockBytes) return std::nullopt;
    const std::int32_t size = GetLe32(block, 0);
    const std::int32_t commandLength = GetLe32(block, 4);
    const std::int32_t wanted = GetLe32(block, 8);
    PutLe32(block, 8, 0);
    if (size != static_cast<std::int32_t>(kMonitorBlockBytes) || commandLength < 0 ||
        static_cast<std::size_t>(commandLength) > kMonitorDataCapacity || wanted < 0)
        return std::nullopt;
    if (!NamesPrinter(BlockPrinterName(block), printerName)) return std::nullopt;
    return TMonitorRequest{static_cast<std::size_t>(commandLength),
                           static_cast<std::size_t>(wanted)};
}

void SetMonitorReplyLength(std::span<std::uint8_t> block, std::size_t length) {
    PutLe32(block, 8, static_cast<std::uint32_t>(length));
}

bool IsMonitorTrigger(std::string_view valueName) {
    return valueName.size() > kTriggerSuffix.size() &&
           SameTextNoCase(valueName.substr(valueName.size() - kTriggerSuffix.size()),
                          kTriggerSuffix);
}

TSysError AnswerMonitorTrigger(TKernel& kernel, const std::string& valueName, std::uint32_t& type,
                               std::span<std::uint8_t> buffer, std::uint32_t& needed,
                               const std::function<bool(std::span<std::uint8_t>)>& exchange) {
    auto memory = kernel.OpenSharedMemory(valueName);
    if (!memory) return kErrorFileNotFound;
    auto view = memory->Map();
    if (!view) return GetThreadLastError();
    type = kRegDword;
    needed = 4;
    if (buffer.size() < 4) return kErrorMoreData;
    PutLe32(buffer, 0, exchange(view->Bytes()) ? 1 : 0);
    return kErrorSuccess;
}

}  // namespace ps
