// SPDX-License-Identifier: MIT
// The busy test before a device command: a printer at work is left alone.
#pragma once

#include <string>

namespace ps {

class TUSBPrinterPort;

/// True when the printer on `port` answers its USB status byte with 0x1F (at work); the box
/// HintTitle / WaitingForPrinterWork (error icon) is then shown and the caller sends nothing.
/// A printer whose status cannot be asked counts as not at work.
bool RefusedAsPrinterAtWork(const TUSBPrinterPort& usbPort, const std::string& port);

}  // namespace ps
