// SPDX-License-Identifier: MIT
// The actions of the ink maintenance page after its checks have passed: head, deep and roller
// cleaning, the nozzle check print, the clean button of the nozzle check page and the form
// feed. Each shows its own boxes and tells the dialog whether to close.
#pragma once

#include <array>
#include <string>

#include "maintenance/NozzlePatterns.h"
#include "maintenance/PrinterWaits.h"
#include "platform/UserInterface.h"

namespace ps {

class TUSBPrinterPort;

/// How an action leaves its dialog.
enum class TInkActionEnd { StayOpen, Close };

/// The printer an action works on (g_PrinterName) as the checks found it.
struct TInkTarget {
    TOwnerWindow owner = nullptr;              // boxes appear over it
    const TUSBPrinterPort* usbPort = nullptr;  // status bytes
    std::string portName;
};

/// Paths of the pattern files, in the order of kNozzlePatterns.
using TNozzlePatternPaths = std::array<std::string, kNozzlePatterns.size()>;

/// Head cleaning: reads "TimeData", cleans, waits, tells, writes the record with counter + 1.
/// A record that could not be read is left as it is (the cleaning runs all the same).
TInkActionEnd RunHeadCleaning(const TInkTarget& target);
/// Deep cleaning after the DeepClean confirmation; the record gets the date and counter + 2,
/// unless it could not be read.
TInkActionEnd RunDeepCleaning(const TInkTarget& target);
/// Roller cleaning after the BearingClean confirmation; no waiting, no box on success.
TInkActionEnd RunRollerCleaning(const TInkTarget& target);
/// The nozzle check print of the item named `itemName`, after the Holecheck confirmation.
TInkActionEnd RunNozzleCheck(const TInkTarget& target, const std::string& itemName,
                             const TNozzlePatternPaths& patterns);
/// The clean button of a nozzle check page (its own checks done): Clean confirmation, head
/// cleaning and its waiting; "TimeData" stays as it is.
TInkActionEnd RunCleanButton(const TInkTarget& target);
/// Sends the form feed; SetPrinterFail when it is not accepted. True when accepted.
bool SendFormFeed(TOwnerWindow owner);

/// The waiting after a cleaning command was accepted: 1 s, the waiting window, 4 s, then the
/// status wait on 0x2A.
TStatusWait WaitForCleaning(const TInkTarget& target);

}  // namespace ps
