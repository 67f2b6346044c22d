// SPDX-License-Identifier: MIT
// The current-values report: the values of one page with their titles, for other programs.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/AtomicFile.h"
#include "base/PathText.h"
#include "localisation/Scheme.h"
#include "platform/Platform.h"
#include "printer/Globals.h"
#include "printer/UtilPrinter.h"
#include "scheme/Scheme3.h"

namespace ps {
namespace {

// Short date and long time as the language's locale writes them, with the user's separators.
std::string LocaleNow() {
    TKernel& kernel = Platform().Kernel();
    const TLocalTime now = kernel.GetLocalTime().value_or(TLocalTime{});
    const char date = kernel.GetDateSeparator();
    const char time = kernel.GetTimeSeparator();
    char text[64];
    if (g_GlobalString.Language == plEN) {
        int hour12 = now.hour % 12 == 0 ? 12 : now.hour % 12;
        std::snprintf(text, sizeof text, "%d%c%d%c%d %d%c%02d%c%02d %s", now.month, date, now.day,
                      date, now.year, hour12, time, now.minute, time, now.second,
                      now.hour < 12 ? "AM" : "PM");
    } else {
        std::snprintf(text, sizeof text, "%d%c%d%c%d %d%c%02d%c%02d", now.year, date, now.month,
                      date, now.day, now.hour, time, now.minute, time, now.second);
    }
    return text;
}

// The title up to and including the blank of its first " (": drops a millimetre suffix.
std::string ReportTitle(const std::string& title) {
    auto cut = title.find(" (");
    return cut == std::string::npos ? title : title.substr(0, cut + 1);
}

}  // namespace

std::string TSchemeOptions2::ValuesReportText(std::uint8_t iPage) const {
    std::string text = "[CurrentValues]\r\nTime = " + LocaleNow() + "\r\n";
    const std::int32_t count = GetItemLength(iPage);
    for (std::int32_t i = 0; i < count; ++i) {
        TSettingItem item;
        GetItem(iPage, i, item);
        text += std::to_string(i) + " = ";
        if (item.ValueCurrent != ValueAbsent) {
            std::string title;
            GetTitleFromValue(iPage, i, title, item.ValueCurrent);
            text += g_GlobalString.CurrentValue + ReportTitle(title);
        }
        text += "\r\n";
    }
    return text;
}

void TSchemeOptions2::CreatePrinterValuesIni_ForPage(std::uint8_t iPage) {
    std::error_code ec;
    std::filesystem::remove(PathFromUtf8(g_PrinterCacheBase), ec);

    std::string port;
    bool online = false;
    if (!GetPrinterPortInfo(g_PrinterName, port, online) || !online ||
        port.find("USB") == std::string::npos)
        return;
    if (!GetPrinterValues_ForPage(FindUSBPrinterIndex(port), iPage)) return;
    WriteFileAtomically(g_PrinterCacheBase, ValuesReportText(iPage));
}

}  // namespace ps
