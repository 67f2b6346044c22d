// SPDX-License-Identifier: MIT
// The vendor USB port library's contract on the Windows USB printing class, for machines
// without the vendor's library: printers are the present USB printer interfaces, ordered by
// the number of their spooler port (USB001, USB002 ...).
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/win32/UsbPrintSystem.h"

namespace ps::win32 {

/// One USB printer as enumeration found it.
struct TUsbPrinter {
    std::string path;
    std::string portName;
    std::string deviceId;  // cleaned and bounded; empty when the printer could not be asked
};

/// The USB printers present now, with their device IDs, ordered by port number (those without
/// a port name last, in the system's order).
std::vector<TUsbPrinter> ScanUsbPrinters(TUsbPrintSystem& system);

/// The index of the printer on `portName` (letter case ignored); -1 when there is none.
int FindUsbPrinterByPort(const std::vector<TUsbPrinter>& printers, const std::string& portName);

class TUsbPrintLibrary : public TVendorUsbLibrary {
public:
    explicit TUsbPrintLibrary(TUsbPrintSystem& system) : m_System(system) {}

    std::int32_t USBPrintRefresh() override;
    void GetUSBPrintFileName(std::int32_t index, char* buffer, std::uint32_t& size) override;
    void GetUSBHWID(std::int32_t index, char* portName, std::uint32_t portSize, char* deviceId,
                    std::uint32_t deviceIdSize) override;
    TIoHandle OpenPrinterUSBPort(std::int32_t portNumber) override;
    std::int32_t WritePort(TIoHandle handle, const std::uint8_t* data, std::int32_t length,
                           std::int32_t timeoutMs) override;
    std::int32_t ReadPort(TIoHandle handle, std::uint8_t* buffer, std::int32_t maxLength,
                          std::int32_t timeoutMs) override;
    void CloseUSBPort(TIoHandle handle) override;

private:
    TUsbPrintSystem& m_System;
    std::mutex m_Mutex;
    std::vector<TUsbPrinter> m_Printers;  // as the last refresh found them
};

}  // namespace ps::win32
