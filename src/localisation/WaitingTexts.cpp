// SPDX-License-Identifier: MIT
// Waiting window texts.
#include "localisation/WaitingTexts.h"

#include "base/TextCodec.h"
#include "localisation/Scheme.h"

namespace ps {

TWaitingTexts WaitingWindowTexts(std::string_view printerName) {
    const std::u16string name = Utf8ToUtf16(printerName);  // counted in characters
    if (name.size() >= 11 && name.substr(9, 2) == u"IP")
        return {g_GlobalString.HintTitle, g_GlobalString.WaitingForPrinterWork};
    return {g_GlobalString.ReadingPrinter, g_GlobalString.WaitingForPrinterRW};
}

}  // namespace ps
