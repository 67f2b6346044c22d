// SPDX-License-Identifier: MIT
// Caption and text of the waiting window for a printer.
#pragma once

#include <string>
#include <string_view>

#include "platform/UserInterface.h"

namespace ps {

struct TWaitingTexts {
    std::string caption;
    std::string text;
};

/// Printers whose name has "IP" at characters 10 and 11 (counted from 1) are network printers
/// that work rather than read: WaitingForPrinterWork under HintTitle; every other name gets
/// WaitingForPrinterRW under ReadingPrinter.
TWaitingTexts WaitingWindowTexts(std::string_view printerName);

/// A waiting scope with the texts for a printer: shows the waiting window unless an outer
/// scope already does, and releases it when the guard goes.
class TWaitingWindowGuard {
public:
    explicit TWaitingWindowGuard(std::string_view printerName)
        : TWaitingWindowGuard(WaitingWindowTexts(printerName)) {}

private:
    explicit TWaitingWindowGuard(const TWaitingTexts& texts) : m_Scope(texts.caption, texts.text) {}
    TWaitingScope m_Scope;
};

}  // namespace ps
