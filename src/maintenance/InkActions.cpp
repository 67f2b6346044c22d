// SPDX-License-Identifier: MIT
// Cleaning, nozzle check and form feed.
#include "maintenance/InkActions.h"

#include <optional>

#include "localisation/Scheme.h"
#include "localisation/WaitingTexts.h"
#include "maintenance/InkMaintenance.h"
#include "printer/Globals.h"
#include "transport/USBPrinterPort.h"
#include "transport/UtilDataSend.h"
#include "transport/UtilDataSend_TimeData.h"

namespace ps {
namespace {

constexpr std::uint32_t kBeforeWaitingMs = 1000;
constexpr std::uint32_t kWaitingLeadMs = 4000;

void Tell(const TInkTarget& target, const std::string& text, TMessageIcon icon) {
    ShowMessage(target.owner, g_GlobalString.HintTitle, text, icon);
}

bool Confirmed(const TInkTarget& target, const std::string& question) {
    return ShowMessage(target.owner, g_GlobalString.HintTitle, question, TMessageIcon::Information,
                       TMessageButtons::OkCancel) == TMessageResult::Ok;
}

void TellSendFailed(const TInkTarget& target) {
    Tell(target, g_GlobalString.SetPrinterFail, TMessageIcon::Warning);
}

// The box after a cleaning's waiting: its finish text, or the time-out when the printer was
// still cleaning after the last pass.
void TellCleaningEnd(const TInkTarget& target, const TStatusWait& wait,
                     const std::string& finished) {
    if (wait.bTimedOut)
        Tell(target, g_GlobalString.SetPrinterTimeout, TMessageIcon::Warning);
    else
        Tell(target, finished, TMessageIcon::Information);
}

// One row of the nozzle check table.
struct TNozzleCheck {
    const char* itemName;
    const char* pattern;  // resource whose file is printed first; nullptr: no job
    std::uint32_t beforeCommandMs;
    const TBytes* command;  // nullptr: none
    std::uint32_t beforeFormFeedMs;
    bool bFormFeed;
};

const TNozzleCheck kNozzleChecks[] = {
    {"Ink_Holecheck6A3C", "HoleCheck6A3C_2", 8000, &kNozzleCheckCommand, 5000, true},
    {"Ink_Holecheck7D05", "HoleCheck7D05", 7000, &kNozzleCheckCommand, 7000, true},
    {"Ink_Holecheck4D00", "HoleCheck4D00", 0, nullptr, 0, false},
    {"Ink_Holecheck4E17", "HoleCheck4E17", 0, nullptr, 0, false},
    {"Ink_Holecheck5C90", nullptr, 0, &kNozzleCheckCommand, 0, false},
    {"Ink_Holecheck6B22", nullptr, 0, &kNozzleCheckCommand6B22, 0, false},
};

const std::string* PatternPath(const TNozzlePatternPaths& paths, std::string_view resource) {
    for (std::size_t i = 0; i < kNozzlePatterns.size(); ++i)
        if (resource == kNozzlePatterns[i].resource) return &paths[i];
    return nullptr;
}

// The pattern read back whole and sent as one "Print test" job.
bool PrintPattern(const TNozzlePatternPaths& paths, const char* resource) {
    if (!resource) return SendTestPrintJob(g_PrinterName, nullptr, 0);  // an empty job
    const std::string* path = PatternPath(paths, resource);
    const std::optional<TBytes> data = path ? ReadNozzlePatternFile(*path, resource) : std::nullopt;
    if (!data) return false;
    return SendTestPrintJob(g_PrinterName, data->data(), static_cast<std::uint32_t>(data->size()));
}

// The record as a cleaning finds it. Only a record that does not exist counts as empty; one
// that could not be read (or did not fit its buffer) is not known, and is left as it is.
struct TCleaningRecord {
    bool bKnown = false;
    std::u16string text;
    int counter = 0;
};

TCleaningRecord ReadCleaningRecord() {
    TTimeDataRecord record = ReadTimeDataRecord(g_PrinterName);
    TCleaningRecord result;
    result.bKnown =
        record.state == TTimeDataState::Present || record.state == TTimeDataState::Missing;
    if (!result.bKnown) return result;
    result.text = std::move(record.text);
    result.counter = TimeDataCounter(result.text);
    return result;
}

}  // namespace

TStatusWait WaitForCleaning(const TInkTarget& target) {
    PumpedSleep(kBeforeWaitingMs);
    TWaitingWindowGuard waiting(g_PrinterName);
    PumpedSleep(kWaitingLeadMs);
    return WaitWhileStatus(target.usbPort, target.portName, kStatusCleaning);
}

TInkActionEnd RunHeadCleaning(const TInkTarget& target) {
    const TCleaningRecord record = ReadCleaningRecord();
    if (!SendInkCommand(kHeadCleaningCommand)) {
        TellSendFailed(target);
        return TInkActionEnd::Close;
    }
    const TStatusWait wait = WaitForCleaning(target);
    TellCleaningEnd(target, wait, g_GlobalString.CleanFinish);
    if (record.bKnown) WriteTimeData(TimeDataAfterCleaning(record.text, record.counter));
    return TInkActionEnd::Close;
}

TInkActionEnd RunDeepCleaning(const TInkTarget& target) {
    const std::string now = TimeDataDateNow();
    const TCleaningRecord record = ReadCleaningRecord();
    if (!Confirmed(target, g_GlobalString.DeepClean)) return TInkActionEnd::StayOpen;
    if (!SendInkCommand(kDeepCleaningCommand)) {
        TellSendFailed(target);
        return TInkActionEnd::Close;
    }
    const TStatusWait wait = WaitForCleaning(target);
    TellCleaningEnd(target, wait, g_GlobalString.DeepCleanFinish);
    if (record.bKnown) WriteTimeData(TimeDataAfterDeepCleaning(now, record.counter));
    return TInkActionEnd::Close;
}

TInkActionEnd RunRollerCleaning(const TInkTarget& target) {
    if (!Confirmed(target, g_GlobalString.BearingClean)) return TInkActionEnd::StayOpen;
    if (!SendInkCommand(kRollerCleaningCommand)) TellSendFailed(target);
    return TInkActionEnd::Close;
}

TInkActionEnd RunNozzleCheck(const TInkTarget& target, const std::string& itemName,
                             const TNozzlePatternPaths& patterns) {
    if (!Confirmed(target, g_GlobalString.Holecheck)) return TInkActionEnd::StayOpen;
    const TNozzleCheck* row = nullptr;
    for (const TNozzleCheck& check : kNozzleChecks)
        if (itemName == check.itemName) row = &check;
    if (!row) {
        // A variant without a pattern of its own: an empty job.
        if (!PrintPattern(patterns, nullptr)) TellSendFailed(target);
        return TInkActionEnd::Close;
    }
    bool sent = true;
    {
        // The window repaints under the waiting window through the pauses.
        TWaitingWindowGuard waiting(g_PrinterName);
        if (row->pattern) sent = PrintPattern(patterns, row->pattern);
        if (sent && row->command) {
            PumpedSleep(row->beforeCommandMs);
            sent = SendInkCommand(*row->command);
            if (sent && row->bFormFeed) PumpedSleep(row->beforeFormFeedMs);
        }
    }
    if (!sent)
        TellSendFailed(target);
    else if (row->bFormFeed)
        SendFormFeed(target.owner);
    return TInkActionEnd::Close;
}

TInkActionEnd RunCleanButton(const TInkTarget& target) {
    if (!Confirmed(target, g_GlobalString.Clean)) return TInkActionEnd::StayOpen;
    if (!SendInkCommand(kHeadCleaningCommand)) {
        TellSendFailed(target);
        return TInkActionEnd::Close;
    }
    TellCleaningEnd(target, WaitForCleaning(target), g_GlobalString.CleanFinish);
    return TInkActionEnd::Close;
}

bool SendFormFeed(TOwnerWindow owner) {
    if (SendInkCommand(kFormFeedCommand)) return true;
    ShowMessage(owner, g_GlobalString.HintTitle, g_GlobalString.SetPrinterFail,
                TMessageIcon::Warning);
    return false;
}

}  // namespace ps
