// SPDX-License-Identifier: MIT
// The emulated vendor port monitor: answers the printer-data trigger by exchanging the command
// of the named shared block with the printer's device (route "monitor").
#pragma once

#include <span>
#include <string>

#include "platform/Platform.h"
#include "platform/emulated/DeviceLink.h"
#include "platform/emulated/EmulatedKernel.h"

namespace ps::emu {

class TEmulatedPortMonitor {
public:
    TEmulatedPortMonitor(TEmulatedKernel& kernel, TDeviceHub& devices, TClock& clock)
        : m_Kernel(kernel), m_Devices(devices), m_Clock(clock) {}

    /// Answers the trigger query for `printer`: opens the block named `valueName`, checks its
    /// header and printer name, sends the command, waits up to the printer's monitor time-out
    /// for a reply when one is wanted, stores the reply length at offset 8 and the reply at
    /// offset 128, and returns a double word: 1 when the exchange worked, 0 when not.
    /// kErrorFileNotFound when there is no such block.
    TSysError Answer(const TEmulatedPrinterConfig& printer, const std::string& valueName,
                     std::uint32_t& type, std::span<std::uint8_t> buffer, std::uint32_t& needed);

private:
    bool Exchange(const TEmulatedPrinterConfig& printer, std::span<std::uint8_t> block);

    TEmulatedKernel& m_Kernel;
    TDeviceHub& m_Devices;
    TClock& m_Clock;
};

}  // namespace ps::emu
