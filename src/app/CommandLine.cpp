// SPDX-License-Identifier: MIT
// Command-line parsing and per-printer file names.
#include "app/CommandLine.h"

#include <charconv>
#include <cstdio>

namespace ps {

std::int32_t DecimalOrDefault(std::string_view text, std::int32_t fallback) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    std::int32_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return fallback;
    return value;
}

TCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    TCommandLine line;
    line.bHasArguments = !args.empty();
    if (args.empty()) return line;
    line.strPrinterName = args[0];
    if (args.size() > 1)
        line.iRunMode = static_cast<std::uint8_t>(DecimalOrDefault(args[1], 0) & 0xFF);
    if (args.size() > 2) line.iItem = DecimalOrDefault(args[2], 0);
    if (args.size() > 3) line.iReserved = DecimalOrDefault(args[3], 0);
    return line;
}

std::string PrinterFileName(std::string_view printerName) {
    const bool onlyDots =
        !printerName.empty() && printerName.find_first_not_of('.') == std::string_view::npos;
    std::string out;
    for (char c : printerName) {
        auto byte = static_cast<unsigned char>(c);
        bool unsafe = byte < 0x20 || byte == 0x7F ||
                      std::string_view("\\/:*?\"<>|%").find(c) != std::string_view::npos;
        if (unsafe || (onlyDots && c == '.')) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", byte);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

std::string PrinterCacheFolder(std::string_view tempPath) {
    std::string folder(tempPath.substr(0, 1024));
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
    const char separator = folder.empty() ? '/' : folder.back();
    return folder + "Talvenor Printer" + separator;
}

}  // namespace ps
