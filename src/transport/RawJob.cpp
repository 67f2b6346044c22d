// SPDX-License-Identifier: MIT
// Raw spooler jobs.
#include "transport/RawJob.h"

#include "platform/Platform.h"
#include "transport/ExchangeLock.h"

namespace ps {

bool SendRawDocument(const std::string& printerName, const std::string& documentName,
                     std::span<const std::uint8_t> data) {
    const TExchangeLock lock;
    if (!lock.Held()) return false;
    auto printer = Platform().Spooler().Open(printerName, TPrinterAccess::Default);
    if (!printer) return false;
    printer->StartDocument(documentName, "", "RAW");
    printer->StartPage();
    std::uint32_t written = 0;
    // A write that took less than the whole job printed only part of it.
    const bool ok = printer->WriteData(data, written) && written == data.size();
    printer->EndPage();
    printer->EndDocument();
    return ok;
}

}  // namespace ps
