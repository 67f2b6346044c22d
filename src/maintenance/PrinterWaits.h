// SPDX-License-Identifier: MIT
// Waits on the platform clock that keep the windows alive: sleeps cut into short slices with the
// pending paint and timer events processed between them, and the wait for a printer to leave
// the status byte of a running cleaning or change.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ps {

class TUSBPrinterPort;

/// Slice of a pumped sleep, in milliseconds of the platform clock.
inline constexpr std::uint32_t kPumpSliceMs = 50;
/// Longest wait for a status byte to change: passes of one second each.
inline constexpr int kStatusWaitPasses = 901;

/// Sleeps `ms` on the platform clock, processing pending window events (no user input) before
/// every slice, so the windows repaint while the caller waits.
void PumpedSleep(std::uint32_t ms);

struct TStatusWait {
    int passes = 0;                          // one-second passes made
    std::optional<std::uint8_t> lastStatus;  // the last status byte obtained
    bool bTimedOut = false;                  // every pass found `status` still set
};

/// Repeats up to 901 times: yield, process pending events, sleep one second (pumped); goes on
/// only while the port is a USB port ("USB" in its name), a status byte is obtained and it is
/// `status`. A port without a status byte ends after its first pass.
TStatusWait WaitWhileStatus(const TUSBPrinterPort* usbPort, const std::string& portName,
                            std::uint8_t status);

}  // namespace ps
