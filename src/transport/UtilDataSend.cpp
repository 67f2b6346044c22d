// SPDX-License-Identifier: MIT
// The port-monitor data channel and its spooler services.
#include "transport/UtilDataSend.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "base/Lib_String.h"
#include "base/TextCodec.h"
#include "platform/ExchangeFailure.h"
#include "platform/Platform.h"
#include "transport/ExchangeLock.h"
#include "transport/RawJob.h"

namespace ps {
namespace {

void PutLe32(std::span<std::uint8_t> block, std::size_t offset, std::int32_t value) {
    WriteLE32(&block[offset], static_cast<std::uint32_t>(value));
}

std::int32_t GetLe32(std::span<const std::uint8_t> block, std::size_t offset) {
    return static_cast<std::int32_t>(ReadLE32(&block[offset]));
}

// The printer name in the block's 64-byte field: at most 31 UTF-16 units and a terminator,
// never half a surrogate pair.
void PutPrinterName(std::span<std::uint8_t> block, const std::string& printerName) {
    std::u16string name = Utf8ToUtf16(printerName);
    std::size_t units = std::min(name.size(), kMonitorPrinterNameBytes / 2 - 1);
    if (units > 0 && units < name.size() && name[units - 1] >= 0xD800 && name[units - 1] <= 0xDBFF)
        --units;
    std::string bytes = Utf16ToBytesLE(std::u16string_view(name).substr(0, units));
    std::memcpy(&block[kMonitorOffsetPrinterName], bytes.data(), bytes.size());
    block[kMonitorOffsetPrinterName + bytes.size()] = 0;
    block[kMonitorOffsetPrinterName + bytes.size() + 1] = 0;
}

}  // namespace

std::string MonitorBlockName(std::uint32_t sessionId) {
    return "Session\\" + std::to_string(sessionId) + "\\DOZIV_EDI1";
}

bool PortMonitorExchange(const std::string& printerName, const std::uint8_t* command,
                         std::int32_t commandLength, std::uint8_t* reply,
                         std::int32_t& replyLength) {
    const std::int32_t wanted = replyLength;
    if (commandLength < 0 || commandLength > kMonitorDataCapacity || wanted < 0 ||
        (commandLength > 0 && !command) || (wanted > 0 && !reply)) {
        SetThreadLastError(kErrorInvalidParameter);
        return false;
    }
    const TExchangeLock lock;  // no other program talks to the printer meanwhile
    if (!lock.Held()) return false;
    auto printer = Platform().Spooler().Open(printerName, TPrinterAccess::Full);
    if (!printer) {
        // The user may not administer printers, the server cannot be reached ...
        NoteExchangeFailure(ThreadLastErrorText());
        return false;
    }

    TKernel& kernel = Platform().Kernel();
    const std::string blockName = MonitorBlockName(kernel.GetSessionId());
    auto memory = kernel.CreateSharedMemory(blockName, kMonitorBlockSize);
    auto view = memory ? memory->Map() : nullptr;
    if (!view || view->Bytes().size() < static_cast<std::size_t>(kMonitorBlockSize)) return false;
    std::span<std::uint8_t> block = view->Bytes();

    PutLe32(block, kMonitorOffsetReplyLength, wanted);
    PutPrinterName(block, printerName);
    PutLe32(block, kMonitorOffsetCommandLength, commandLength);
    PutLe32(block, kMonitorOffsetSize, kMonitorBlockSize);
    if (commandLength > 0) {
        std::memmove(&block[kMonitorOffsetData], command, static_cast<std::size_t>(commandLength));
    }

    std::uint8_t answer[4] = {0, 0, 0, 0};
    std::uint32_t type = kRegDword;
    std::uint32_t needed = 0;
    const TSysError queryResult = printer->GetData(blockName, type, answer, needed);
    if (queryResult != kErrorSuccess) NoteExchangeFailure(ThreadLastErrorText());

    // The reply is read back whatever the query said; never more than was asked for.
    std::int32_t stored = GetLe32(block, kMonitorOffsetReplyLength);
    std::int32_t length = std::clamp(stored, 0, std::min(wanted, kMonitorDataCapacity));
    if (length > 0) {
        std::memmove(reply, &block[kMonitorOffsetData], static_cast<std::size_t>(length));
    }
    replyLength = length;

    view.reset();
    memory.reset();
    printer.reset();
    SetThreadLastError(queryResult);
    return queryResult == kErrorSuccess && answer[0] != 0;
}

bool GetTimeData(const std::string& printerName, std::uint8_t* buffer, std::uint32_t size) {
    auto printer = Platform().Spooler().Open(printerName, TPrinterAccess::Full);
    if (!printer || (size > 0 && !buffer)) return false;
    std::uint32_t type = 0;
    std::uint32_t needed = 0;
    return printer->GetData("TimeData", type, std::span<std::uint8_t>(buffer, size), needed) ==
           kErrorSuccess;
}

bool SetTimeData(const std::string& printerName, std::u16string_view text, std::uint32_t size) {
    auto printer = Platform().Spooler().Open(printerName, TPrinterAccess::Full);
    if (!printer) return false;
    std::string bytes = Utf16ToBytesLE(text);
    bytes.resize(std::min<std::size_t>(bytes.size(), size));
    auto data = std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                              bytes.size());
    return printer->SetData("TimeData", kRegSz, data) == kErrorSuccess;
}

bool SendTestPrintJob(const std::string& printerName, const std::uint8_t* data,
                      std::uint32_t length) {
    return SendRawDocument(printerName, "Print test",
                           std::span<const std::uint8_t>(data, data ? length : 0));
}

}  // namespace ps
