// SPDX-License-Identifier: MIT
// Pumped waits on the platform clock.
#include "maintenance/PrinterWaits.h"

#include <algorithm>
#include <thread>

#include "maintenance/ActionChecks.h"
#include "platform/Platform.h"
#include "platform/UserInterface.h"

namespace ps {
namespace {
constexpr std::uint32_t kPassMs = 1000;
}

void PumpedSleep(std::uint32_t ms) {
    TClock& clock = Platform().Clock();
    while (ms > 0) {
        UserInterface().ProcessMessages();
        const std::uint32_t slice = std::min(ms, kPumpSliceMs);
        clock.Sleep(slice);
        ms -= slice;
    }
    UserInterface().ProcessMessages();
}

TStatusWait WaitWhileStatus(const TUSBPrinterPort* usbPort, const std::string& portName,
                            std::uint8_t status) {
    TStatusWait wait;
    const bool usb = portName.find("USB") != std::string::npos;
    bool still = true;
    while (still && wait.passes < kStatusWaitPasses) {
        std::this_thread::yield();
        PumpedSleep(kPassMs);
        ++wait.passes;
        const std::optional<std::uint8_t> now =
            usb ? StatusByteOf(usbPort, portName) : std::nullopt;
        if (now) wait.lastStatus = now;
        still = now && *now == status;
    }
    wait.bTimedOut = still;
    return wait;
}

}  // namespace ps
