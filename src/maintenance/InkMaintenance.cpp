// SPDX-License-Identifier: MIT
// Ink maintenance commands and the deep-cleaning record.
#include "maintenance/InkMaintenance.h"

#include <cstdio>

#include "base/TextCodec.h"
#include "platform/Platform.h"
#include "printer/Globals.h"
#include "transport/UtilDataSend.h"

namespace ps {
namespace {

char Separator(char wanted, char fallback) {
    const bool printable = wanted > 0x20 && wanted < 0x7F;
    const bool digit = wanted >= '0' && wanted <= '9';
    return printable && !digit ? wanted : fallback;
}

std::u16string Ascii16(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

}  // namespace

bool SendInkCommand(const TBytes& command) {
    TBytes buffer = command;
    std::int32_t replyLength = 0;
    return PortMonitorExchange(g_PrinterName, buffer.data(),
                               static_cast<std::int32_t>(buffer.size()), buffer.data(),
                               replyLength);
}

int TimeDataCounter(std::u16string_view record) {
    if (record.size() <= kTimeDataCounterAt) return 0;
    const char16_t c = record[kTimeDataCounterAt];
    if (c < u'0' || c > u'9') {
        const std::string text = Utf16ToUtf8(Utf16ToBytesLE(std::u16string_view(&c, 1)));
        throw EConvertError("'" + text + "' is not a valid integer value");
    }
    return c - u'0';
}

std::u16string TimeDataAfterCleaning(std::u16string_view record, int counter) {
    std::u16string text(record.substr(0, kTimeDataDateLength));
    return text + u" " + Ascii16(std::to_string(counter + 1));
}

std::u16string TimeDataAfterDeepCleaning(std::string_view now, int counter) {
    return Ascii16(std::string(now)) + u" " + Ascii16(std::to_string(counter + 2));
}

std::string TimeDataDateNow() {
    TKernel& kernel = Platform().Kernel();
    const TLocalTime now = kernel.GetLocalTime().value_or(TLocalTime{});
    const char date = Separator(kernel.GetDateSeparator(), '/');
    const char time = Separator(kernel.GetTimeSeparator(), ':');
    char text[32];
    std::snprintf(text, sizeof text, "%04u%c%02u%c%02u %02u%c%02u%c%02u",
                  static_cast<unsigned>(now.year % 10000), date, now.month % 100u, date,
                  now.day % 100u, now.hour % 100u, time, now.minute % 100u, time,
                  now.second % 100u);
    return text;
}

bool WriteTimeData(std::u16string_view record) {
    return SetTimeData(g_PrinterName, record, static_cast<std::uint32_t>(record.size() * 2));
}

}  // namespace ps
