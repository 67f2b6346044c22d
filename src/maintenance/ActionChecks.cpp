// SPDX-License-Identifier: MIT
// The checks before an action.
#include "maintenance/ActionChecks.h"

#include "localisation/Scheme.h"
#include "platform/Platform.h"
#include "printer/UtilPrinter.h"
#include "transport/USBPrinterPort.h"

namespace ps {
namespace {

// Only whether any job waits matters; the spooler sizes its own answer.
constexpr std::uint32_t kJobsAsked = 10;

}  // namespace

TQueueState PrinterQueueState(const std::string& printerName) {
    auto printer = Platform().Spooler().Open(printerName, TPrinterAccess::Default);
    if (!printer) return TQueueState::Unknown;
    const auto jobs = printer->GetJobs(0, kJobsAsked);
    if (!jobs) return TQueueState::Unknown;
    return jobs->empty() ? TQueueState::Empty : TQueueState::HasJobs;
}

std::optional<std::uint8_t> StatusByteOf(const TUSBPrinterPort* usbPort,
                                         const std::string& portName) {
    std::uint8_t status = 0;
    if (usbPort && usbPort->GetPrinterStatusByte(portName, status)) return status;
    return std::nullopt;
}

TActionCheck CheckBeforeAction(const std::string& printerName, const TUSBPrinterPort* usbPort,
                               TActionCheckSet checks) {
    TActionCheck check;
    if (checks.bOpens && !Platform().Spooler().Open(printerName, TPrinterAccess::Default)) {
        check.refusal = TActionRefusal::PrinterNotOpened;
        return check;
    }
    if (checks.bQueue && PrinterQueueState(printerName) != TQueueState::Empty) {
        check.refusal = TActionRefusal::JobsQueued;
        return check;
    }
    bool online = false;
    const bool described = GetPrinterPortInfo(printerName, check.portName, online);
    if (checks.bUsable && !(described && online)) {
        check.refusal = TActionRefusal::PrinterNotUsable;
        return check;
    }
    check.bUsbPort = check.portName.find("USB") != std::string::npos;
    check.status = StatusByteOf(usbPort, check.portName);
    if (check.status && checks.bAtWork && *check.status == kStatusPrinterAtWork)
        check.refusal = TActionRefusal::PrinterAtWork;
    else if (check.status && checks.bNoInkBox && *check.status == kStatusNoInkBox)
        check.refusal = TActionRefusal::NoInkBox;
    return check;
}

void ShowRefusal(TActionRefusal refusal, TOwnerWindow owner) {
    const std::string* text = nullptr;
    switch (refusal) {
        case TActionRefusal::None:
            return;
        case TActionRefusal::PrinterNotOpened:
        case TActionRefusal::PrinterNotUsable:
            text = &g_GlobalString.PrinterNotFound;
            break;
        case TActionRefusal::JobsQueued:
            text = &g_GlobalString.mPrintQueue;
            break;
        case TActionRefusal::PrinterAtWork:
            text = &g_GlobalString.WaitingForPrinterWork;
            break;
        case TActionRefusal::NoInkBox:
            text = &g_GlobalString.mNoInkBox;
            break;
    }
    ShowMessage(owner, g_GlobalString.HintTitle, *text, TMessageIcon::Error);
}

TActionCheck CheckAndTell(const std::string& printerName, const TUSBPrinterPort* usbPort,
                          TOwnerWindow owner, TActionCheckSet checks) {
    TActionCheck check = CheckBeforeAction(printerName, usbPort, checks);
    ShowRefusal(check.refusal, owner);
    return check;
}

}  // namespace ps
