// SPDX-License-Identifier: MIT
// Item value exchanges of the scheme: worker exchanges by USB index or printer name, raw
// writes, single-item reads through the port monitor, and whole-page reads.
#include <algorithm>
#include <array>
#include <limits>
#include <vector>

#include "localisation/Scheme.h"
#include "platform/UserInterface.h"
#include "printer/Globals.h"
#include "printer/UtilPrinter.h"
#include "scheme/ReadRecord.h"
#include "scheme/ReplyView.h"
#include "scheme/Scheme3.h"
#include "scheme/ValueCodec.h"
#include "transport/ThreadRWPrinter.h"
#include "transport/UtilDataSend.h"

namespace ps {
namespace {

constexpr std::int32_t kAffirmReadTimeOutMs = 1500;
constexpr std::int32_t kRawBufferSize = 1024;
constexpr std::int32_t kPageBufferSize = 4096;
constexpr std::int32_t kItemReplyWanted = 64;
constexpr std::uint32_t kWriteAndReadExtraTimeOut = 10;
/// The item count of a page read is one byte.
constexpr std::size_t kMaxPageReadItems = 255;

// The printer is usable: the spooler knows it and does not hold it off-line.
bool UsablePrinter(const std::string& printerName, std::string& port) {
    bool online = false;
    return GetPrinterPortInfo(printerName, port, online) && online;
}

bool CheckPrinterOrSay() {
    std::string port;
    if (UsablePrinter(g_PrinterName, port)) return true;
    ShowMessage(nullptr, g_GlobalString.HintTitle, g_GlobalString.PrinterNotFound,
                TMessageIcon::Error);
    return false;
}

}  // namespace

std::string TSchemeOptions2::SingleReadCommandOf(const TSettingItem& item) const {
    return SingleReadCommand(m_Sections.InstructionGetValueClass, item.GetInstruction,
                             m_Sections.InstructionTail);
}

std::string TSchemeOptions2::PageReadCommandOf(std::uint8_t iPage) const {
    std::vector<std::string> codes;
    if (const ArrSettingItems* items = PageItems(iPage))
        for (const TSettingItem& item : *items) codes.push_back(item.GetInstruction);
    return PageReadCommand(m_Sections.InstructionGetValueClass, codes, m_Sections.InstructionTail);
}

std::string TSchemeOptions2::WriteCommandOf(const TSettingItem& item, std::int32_t value) const {
    return WriteCommand(m_Sections.EnterInstruction, item.SetInstruction, item.nParameterByte,
                        value, m_Sections.InstructionTail, m_Sections.SaveInstruction);
}

bool TSchemeOptions2::DoWriteAndReadPrinter(std::int32_t iUSBPrinter,
                                            const std::string& strWriteHex, std::uint8_t* pBufRead,
                                            std::int32_t nBufRead, std::int32_t& nRead,
                                            bool bReadData, bool bResetFirst,
                                            std::uint32_t iExtraTimeOut, bool bFromFrameStart) {
    std::int32_t timeOut = kAffirmReadTimeOutMs;
    if (!m_Sections.AffirmReadDisable) {
        std::int64_t sum = static_cast<std::int64_t>(m_Sections.TimeOutPage) + iExtraTimeOut;
        timeOut = static_cast<std::int32_t>(
            std::clamp<std::int64_t>(sum, 0, std::numeric_limits<std::int32_t>::max()));
    }
    TRWPrinter worker;
    worker.SetParameters(iUSBPrinter, strWriteHex, bReadData, timeOut, 0, bResetFirst,
                         m_Sections.SleepBeforeRead, static_cast<std::uint32_t>(nRead));
    // Refused while another exchange pumps messages: nothing was sent, nothing is recorded.
    if (!RunWorkerPumping(worker)) return false;
    RecordWorkerExchange(worker);
    if (!worker.m_strError.empty())
        ShowMessage(nullptr, g_GlobalString.ErrorTitle, worker.m_strError, TMessageIcon::Error);
    const bool result = worker.m_bResult;
    if (result && bReadData && nRead > 0)
        worker.GetData(pBufRead, nBufRead, nRead, bFromFrameStart);
    return result;
}

bool TSchemeOptions2::DoWriteAndReadPrinter(const std::string& printerName,
                                            const std::string& strWriteHex, std::uint8_t* pBufRead,
                                            std::int32_t nBufRead, std::int32_t& nRead,
                                            bool bReadData, bool bResetFirst,
                                            std::uint32_t iExtraTimeOut, bool bFromFrameStart) {
    std::string port;
    if (!UsablePrinter(printerName, port) || port.find("USB") == std::string::npos) return false;
    return DoWriteAndReadPrinter(FindUSBPrinterIndex(port), strWriteHex, pBufRead, nBufRead, nRead,
                                 bReadData, bResetFirst, iExtraTimeOut, bFromFrameStart);
}

bool TSchemeOptions2::WritePrinter(const std::uint8_t* pBufWrite, std::int32_t nBufWrite) {
    if (!CheckPrinterOrSay()) return false;
    std::vector<std::uint8_t> reply(kRawBufferSize, 0);
    std::int32_t nRead = kRawBufferSize;
    return DoWriteAndReadPrinter(
        g_PrinterName, BytesToHexText(pBufWrite, static_cast<std::size_t>(std::max(0, nBufWrite))),
        reply.data(), kRawBufferSize - 1, nRead, false, false, 0, true);
}

bool TSchemeOptions2::WriteAndReadPrinter(const std::uint8_t* data, std::int32_t length,
                                          std::uint8_t* pBufReply, std::int32_t nBufReply,
                                          std::int32_t& nRead, bool bFromFrameStart) {
    if (!CheckPrinterOrSay()) return false;
    // The command is converted to text before the reply may overwrite the same buffer.
    std::string command = BytesToHexText(data, static_cast<std::size_t>(std::max(0, length)));
    return DoWriteAndReadPrinter(g_PrinterName, command, pBufReply, nBufReply, nRead, true, false,
                                 kWriteAndReadExtraTimeOut, bFromFrameStart);
}

bool TSchemeOptions2::GetItemValueFromPrinter(std::int32_t& iPrinterItemValue) {
    TSettingItem item;
    if (!GetItem(g_CurrentPage, g_CurrentItem, item)) return false;
    const TBytes command = SpacedHexToBytes(SingleReadCommandOf(item));
    std::array<std::uint8_t, kRawBufferSize> buffer{};
    if (command.size() > buffer.size()) return false;
    std::copy(command.begin(), command.end(), buffer.begin());
    // The reply overwrites the command from byte 0; only the bytes it returned are read, so
    // a reply too short to hold its value is a failed read, never the command's bytes.
    std::int32_t replyLength = kItemReplyWanted;
    if (!PortMonitorExchange(g_PrinterName, buffer.data(),
                             static_cast<std::int32_t>(command.size()), buffer.data(), replyLength))
        return false;
    // A reply that does not start as a value reply (noise, or the rest of an earlier reply)
    // holds no value at the fixed offsets: a failed read, not a value decoded from it.
    const TBytes& prefix = m_Sections.ReturnPrefix;
    if (replyLength < static_cast<std::int32_t>(prefix.size()) ||
        !std::equal(prefix.begin(), prefix.end(), buffer.begin()))
        return false;
    const TReplyView reply(buffer.data(), replyLength);
    const auto length = reply.Byte(kSingleReplyLengthOffset);
    if (!length) return false;
    if (*length < 1 || *length > 3) return true;  // no value of a known length: left unset
    const auto value =
        reply.ItemValue(kSingleReplyLengthOffset, kSingleReplyValueOffset, item.nParameterByte);
    if (!value) return false;
    iPrinterItemValue = *value;
    return true;
}

bool TSchemeOptions2::GetPrinterValues_ForPage(std::int32_t iUSBPrinter, std::uint8_t iPage) {
    const ArrSettingItems* items = PageItems(iPage);
    // A count above one byte would shift every code of the command: such a page is not sent.
    if (!items || items->size() > kMaxPageReadItems) return false;
    std::vector<std::uint8_t> buffer(kPageBufferSize, 0);
    std::int32_t nRead = kPageBufferSize;
    if (!DoWriteAndReadPrinter(iUSBPrinter, PageReadCommandOf(iPage), buffer.data(),
                               kPageBufferSize - 1, nRead, true, false, m_Sections.WriteReadDelay,
                               true))
        return false;
    nRead = std::clamp(nRead, 0, kPageBufferSize);
    const TBytes& prefix = m_Sections.ReturnPrefix;
    const int p = FindMem(prefix.data(), buffer.data(), static_cast<int>(prefix.size()), nRead);
    if (p < 0) return false;
    SetAllCurrentValues_ForPage(buffer.data() + p, nRead - p, iPage);
    return true;
}

void TSchemeOptions2::SetAllCurrentValues_ForPage(const std::uint8_t* reply, std::int32_t length,
                                                  std::uint8_t iPage) {
    ArrSettingItems* items = PageItems(iPage);
    if (!items || length <= kReplyEntriesOffset) return;
    std::vector<std::uint32_t> parameterBytes;
    for (const TSettingItem& item : *items) parameterBytes.push_back(item.nParameterByte);
    const std::vector<TReplyEntry> entries = DecodePageReply(reply, length, parameterBytes);
    for (TSettingItem& item : *items)
        item.ValueCurrent = FindReplyValue(entries, item.GetInstruction).value_or(ValueAbsent);
}

}  // namespace ps
