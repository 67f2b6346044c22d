// SPDX-License-Identifier: MIT
// The USB printers' device paths, and a printer's one-byte status asked directly from its USB
// printing class driver, without the spooler.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ps {

/// Status bytes the dialogs act on.
inline constexpr std::uint8_t kStatusPrinterAtWork = 0x1F;
inline constexpr std::uint8_t kStatusNoInkBox = 0x39;
inline constexpr std::uint8_t kStatusCleaning = 0x2A;
inline constexpr std::uint8_t kStatusHeadChange = 0x2C;
inline constexpr std::uint8_t kStatusInkBoxChange = 0x2E;

class TUSBPrinterPort {
public:
    /// An empty device list, filled from the vendor USB library when bRefresh is true. A
    /// printer attached later is not seen by this instance.
    explicit TUSBPrinterPort(bool bRefresh);

    /// The status byte of the printer on a port whose name contains "USB" (exact case), found
    /// in the device list by port name (letter case ignored). False for any other port, a
    /// port not in the list, a device that cannot be opened or a refused request.
    bool GetPrinterStatusByte(const std::string& strUSBPort, std::uint8_t& byStatus) const;

    /// "port=device path" per printer the library enumerated, including those without a model.
    std::vector<std::string> m_slPort_FileName;

private:
    void Refresh();
};

}  // namespace ps
