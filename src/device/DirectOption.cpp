// SPDX-License-Identifier: MIT
// The direct option setting.
#include "device/DirectOption.h"

#include <cstdio>

#include "base/Lib_String.h"
#include "device/DeviceQuery.h"
#include "localisation/Scheme.h"
#include "platform/Platform.h"
#include "platform/UserInterface.h"
#include "printer/Globals.h"
#include "printer/UtilPrinter.h"
#include "scheme/Scheme3.h"
#include "transport/TVPCOMM.h"

namespace ps {
namespace {

constexpr std::int32_t kAnswerBufferSize = 1024;
const std::uint8_t kFrameStart[] = {0x1B, 0x1D, 0x1E};

void Say(const std::string& text, TMessageIcon icon) {
    ShowMessage(nullptr, g_GlobalString.HintTitle, text, icon);
}

std::optional<std::int32_t> Decimal(const std::string& text) {
    std::size_t at = text.find_first_not_of(' ');
    if (at == std::string::npos) return std::nullopt;
    const std::size_t end = text.find_last_not_of(' ') + 1;
    bool negative = false;
    if (text[at] == '-' || text[at] == '+') negative = text[at++] == '-';
    if (at == end) return std::nullopt;
    std::int64_t value = 0;
    for (; at < end; ++at) {
        if (text[at] < '0' || text[at] > '9') return std::nullopt;
        value = value * 10 + (text[at] - '0');
        if (value > INT32_MAX) return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

// The vendor library write of the USB route; the handle goes back through the library.
bool WriteUsb(const std::string& bytes, int index) {
    const TIoHandle handle = OpenPrinterUSBPort(index + 1);
    if (handle == kInvalidIoHandle) return false;
    const auto length = static_cast<std::int32_t>(bytes.size());
    const std::int32_t written = WritePort(
        handle, reinterpret_cast<const std::uint8_t*>(bytes.data()), length, kUsbWriteTimeoutMs);
    CloseUSBPort(handle);
    return written == length;
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::optional<TAnswerBytes> AnswerBytesOf(const TSettingItem& item) {
    const auto& titles = item.RuleValues.RuleTitle;
    if (titles.size() < 2) return std::nullopt;
    const auto start = Decimal(titles[0]);
    const auto count = Decimal(titles[1]);
    if (!start || !count) return std::nullopt;
    return TAnswerBytes{*start, *count};
}

std::optional<std::string> AnswerText(const TReplyView& reply, const TAnswerBytes& bytes) {
    if (bytes.count <= 0) return std::string();
    if (!reply.Has(bytes.start, bytes.count)) return std::nullopt;
    std::string text;
    for (std::int32_t i = 0; i < bytes.count; ++i) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%.2X ", *reply.Byte(bytes.start + i));
        text += pair;
    }
    return text;
}

TDirectOptionResult SendDirectOption(const TSettingItem& item, std::uint8_t page,
                                     const std::string& portDevice) {
    const std::string instruction = Trimmed(item.SetInstruction);
    const std::string bytes = HexString2AnsiString(instruction, false);
    TDirectOptionResult result;

    if (page == kPageBase) {
        const bool written = WritePortDevice(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                             static_cast<std::uint32_t>(bytes.size()), portDevice);
        Say(written ? g_GlobalString.SetPrinterSuccessI : g_GlobalString.SetPrinterFail,
            written ? TMessageIcon::Information : TMessageIcon::Error);
        return result;
    }

    std::string port;
    if (!DevicePrinterOnlineOrSay(port, TOfflineBox::HintError)) return result;
    const int index = port.find("USB") != std::string::npos ? FindUSBPrinterIndex(port) : -1;
    if (index < 0) {
        const bool sent = SendRawJob(g_PrinterName, bytes, kDirectOptionJobName);
        Say(sent ? g_GlobalString.SetPrinterCantAffirm : g_GlobalString.SetPrinterFailRetry,
            sent ? TMessageIcon::Information : TMessageIcon::Error);
        return result;
    }
    if (!WriteUsb(bytes, index)) {
        Say(g_GlobalString.SetPrinterFail, TMessageIcon::Error);
        return result;
    }

    // The answer's place comes from the item; without it the answer cannot be shown.
    const auto place = AnswerBytesOf(item);
    if (!place)
        throw EConvertError(
            "The option was sent to the printer, but its answer cannot be shown: the first two "
            "rule titles of the item must be the answer's offset and byte count in decimal.");

    TSchemeOptions2& scheme = *g_SchemeOptions;
    Platform().Clock().Sleep(scheme.m_Sections.SleepBeforeRead);
    TBytes reply(kAnswerBufferSize, 0);
    std::int32_t length = kAnswerBufferSize;
    bool answered =
        scheme.DoWriteAndReadPrinter(index, instruction, reply.data(), kAnswerBufferSize - 1,
                                     length, true, false, scheme.m_Sections.WriteReadDelay, true);
    // The reply is aligned on its frame start; a reply without one has no answer.
    const TReplyView view(reply.data(), std::min(length, kAnswerBufferSize));
    answered = answered && view.Has(0, 3) && FindMem(kFrameStart, reply.data(), 3, 3) == 0;
    std::optional<std::string> text;
    if (answered) text = AnswerText(view, *place);
    if (text || scheme.m_Sections.AffirmReadDisable) {
        result.bShowAnswer = true;
        result.answer = text.value_or(std::string());
        return result;
    }
    Say(g_GlobalString.SetPrinterTimeout, TMessageIcon::Error);
    return result;
}

}  // namespace ps
