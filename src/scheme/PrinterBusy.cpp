// SPDX-License-Identifier: MIT
// The busy test.
#include "scheme/PrinterBusy.h"

#include <cstdint>

#include "localisation/Scheme.h"
#include "platform/UserInterface.h"
#include "transport/USBPrinterPort.h"

namespace ps {

bool RefusedAsPrinterAtWork(const TUSBPrinterPort& usbPort, const std::string& port) {
    std::uint8_t status = 0;
    if (!usbPort.GetPrinterStatusByte(port, status) || status != kStatusPrinterAtWork) return false;
    ShowMessage(nullptr, g_GlobalString.HintTitle, g_GlobalString.WaitingForPrinterWork,
                TMessageIcon::Error);
    return true;
}

}  // namespace ps
