// SPDX-License-Identifier: MIT
// The checks made before a maintenance or device action is sent to a printer: it opens, no job
// waits in its queue, it is usable, and its USB status byte does not say "at work" (0x1F) or
// "no ink box" (0x39). Each refusal has its message box.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/UserInterface.h"

namespace ps {

class TUSBPrinterPort;

/// What the spooler tells about a printer's queue.
enum class TQueueState {
    Empty,
    HasJobs,
    Unknown  // the printer could not be opened or its jobs could not be listed
};

/// The queue of a printer (default access). Unknown is never taken for an empty queue.
TQueueState PrinterQueueState(const std::string& printerName);

enum class TActionRefusal {
    None,
    PrinterNotOpened,  // the spooler does not open the printer
    JobsQueued,        // jobs wait, or the queue cannot be listed
    PrinterNotUsable,  // no port information, or held off-line
    PrinterAtWork,     // status byte 0x1F
    NoInkBox           // status byte 0x39
};

/// Which checks an action asks for; they run in the order of the fields.
struct TActionCheckSet {
    bool bOpens = true;     // the printer opens with the spooler
    bool bQueue = true;     // no job waits in its queue
    bool bUsable = true;    // port information and on-line (always checked for the port name)
    bool bAtWork = true;    // refuse on 0x1F
    bool bNoInkBox = true;  // refuse on 0x39

    /// Everything: the ink maintenance page's own action.
    static TActionCheckSet Full() { return {}; }
    /// Usable and not at work: the wizard's Start/Next, the clean button, device dialogs.
    static TActionCheckSet UsableNotBusy() { return {false, false, true, true, false}; }
};

struct TActionCheck {
    TActionRefusal refusal = TActionRefusal::None;
    std::string portName;                // the printer's port, when it was found
    bool bUsbPort = false;               // the port name contains "USB" (exact case)
    std::optional<std::uint8_t> status;  // the status byte, when one was obtained
    bool Passed() const { return refusal == TActionRefusal::None; }
};

/// Runs the checks of `checks` in order and stops at the first refusal. `usbPort` (may be
/// nullptr: no status byte) answers the status byte of a USB port. Shows nothing.
TActionCheck CheckBeforeAction(const std::string& printerName, const TUSBPrinterPort* usbPort,
                               TActionCheckSet checks = TActionCheckSet::Full());

/// The box of a refusal (caption HintTitle, error icon) over `owner`; none for None.
void ShowRefusal(TActionRefusal refusal, TOwnerWindow owner);

/// CheckBeforeAction, and the refusal's box when it refuses.
TActionCheck CheckAndTell(const std::string& printerName, const TUSBPrinterPort* usbPort,
                          TOwnerWindow owner, TActionCheckSet checks = TActionCheckSet::Full());

/// The status byte of the printer on `portName`, when the port gives one.
std::optional<std::uint8_t> StatusByteOf(const TUSBPrinterPort* usbPort,
                                         const std::string& portName);

}  // namespace ps
