// SPDX-License-Identifier: MIT
// Caption and text of the waiting window for a printer.
#pragma once

#include <string>
#include <string_view>

namespace ps {

struct TWaitingTexts {
    std::string caption;
    std::string text;
};

/// Printers whose name has "IP" at characters 10 and 11 (counted from 1) are network printers
/// that work rather than read: WaitingForPrinterWork under HintTitle; every other name gets
/// WaitingForPrinterRW under ReadingPrinter.
TWaitingTexts WaitingWindowTexts(std::string_view printerName);

/// Shows the waiting window through the user-interface hook for the current printer, and
/// hides it again when the guard goes.
class TWaitingWindowGuard {
public:
    explicit TWaitingWindowGuard(std::string_view printerName);
    ~TWaitingWindowGuard();
    TWaitingWindowGuard(const TWaitingWindowGuard&) = delete;
    TWaitingWindowGuard& operator=(const TWaitingWindowGuard&) = delete;
};

}  // namespace ps
