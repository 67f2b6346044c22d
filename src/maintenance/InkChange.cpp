// SPDX-License-Identifier: MIT
// Head and ink box change: variants, commands, serial number and sequences.
#include "maintenance/InkChange.h"

#include <algorithm>
#include <array>

#include "base/AsciiText.h"
#include "localisation/WaitingTexts.h"
#include "maintenance/InkMaintenance.h"
#include "platform/Platform.h"
#include "printer/Globals.h"
#include "transport/USBPrinterPort.h"

namespace ps {
namespace {

using G = TGlobalString;

constexpr std::uint32_t kChangeWaitLeadMs = 2000;

// One variant a row.
// clang-format off
const std::vector<TChangeVariant>& Table() {
    static const std::vector<TChangeVariant> table = {
        {"Changehead", TChangeKind::Head, TChangeStartCommand::Head,
         {&G::Step1, &G::Step2, &G::Step3, &G::Step4, &G::Step5}, false, true},
        {"ChangeheadA", TChangeKind::Head, TChangeStartCommand::Head,
         {&G::A4Step1, &G::A4Step2, &G::A4Step3, &G::A4Step4}, true, true},
        {"ChangeheadB", TChangeKind::Head, TChangeStartCommand::Head,
         {&G::CStep1, &G::CStep2, &G::CStep3, &G::CStep4, &G::CStep5, &G::CStep6, &G::CStep7,
          &G::CStep8, &G::CStep9, &G::CStep10},
         true, true},
        {"ChangeheadC", TChangeKind::Head, TChangeStartCommand::Head, {&G::A4Step1}, true, false},
        {"ChangeheadD", TChangeKind::Head, TChangeStartCommand::Head,
         {&G::A4CStep1, &G::A4CStep2, &G::A4CStep3, &G::A4CStep4, &G::A4CStep5}, true, true},
        {"Changehead_QP7", TChangeKind::Head, TChangeStartCommand::Head,
         {&G::QP7Step1, &G::QP7Step2, &G::QP7Step3, &G::QP7Step4, &G::QP7Step5, &G::QP7Step6,
          &G::QP7Step7, &G::QP7Step8, &G::QP7Step9},
         true, true},
        {"Changebox", TChangeKind::Box, TChangeStartCommand::None,
         {&G::bStep1, &G::bStep2, &G::bStep3, &G::bStep4, &G::bStep5}, false, true},
        {"ChangeboxA", TChangeKind::Box, TChangeStartCommand::Box, {&G::A4Step5}, false, true},
        {"ChangeboxB", TChangeKind::Box, TChangeStartCommand::Box, {&G::A4Step5}, false, true},
        {"ChangeboxC", TChangeKind::Box, TChangeStartCommand::Box,
         {&G::bStep1, &G::bStep2, &G::bStep3, &G::bStep4, &G::bStep5}, false, true},
        {"ChangeboxC_B", TChangeKind::Box, TChangeStartCommand::Box,
         {&G::bStep1, &G::bStep2, &G::bStep3, &G::bStep4, &G::bStep5}, false, true},
        {"ChangeboxD", TChangeKind::Box, TChangeStartCommand::Box, {&G::A4Step5}, false, false},
    };
    return table;
}
// clang-format on

bool OneOf(std::string_view commandSet, std::initializer_list<std::string_view> sets) {
    return std::find(sets.begin(), sets.end(), commandSet) != sets.end();
}

// A command written as hex text, converted into its 65-byte buffer.
TBytes FromHexText(std::string_view text) {
    std::array<std::uint8_t, kChangeCommandCapacity> buffer{};
    const int count = HexTextToBuffer(text, buffer.data(), kChangeCommandCapacity);
    if (count <= 0) return {};
    return TBytes(buffer.begin(), buffer.begin() + count);
}

std::size_t CharacterCount(std::string_view utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

void Tell(const TInkTarget& target, const std::string& text, TMessageIcon icon) {
    ShowMessage(target.owner, g_GlobalString.HintTitle, text, icon);
}

bool Confirmed(const TInkTarget& target) {
    return ShowMessage(target.owner, g_GlobalString.HintTitle, g_GlobalString.StarorCancel,
                       TMessageIcon::Information, TMessageButtons::OkCancel) == TMessageResult::Ok;
}

TBytes AbortCommand(TChangeKind kind) {
    return kind == TChangeKind::Head ? HeadChangeAbortCommand() : BoxChangeAbortCommand();
}

// Aborts a change mode the printer was put in, without a box of its own.
void LeaveChangeMode(TChangeKind kind) {
    SendInkCommand(AbortCommand(kind));
}

// The abort; SetPrinterFail when it is not accepted. True when accepted.
bool SendAbort(const TInkTarget& target, TChangeKind kind) {
    if (SendInkCommand(AbortCommand(kind))) return true;
    Tell(target, g_GlobalString.SetPrinterFail, TMessageIcon::Warning);
    return false;
}

// Sends the execute, waits on `status` and tells how the change ended.
TInkActionEnd Execute(const TInkTarget& target, const TBytes& command, std::uint8_t status,
                      TChangeKind kind, bool started) {
    if (!SendInkCommand(command)) {
        Tell(target, g_GlobalString.SetPrinterFail, TMessageIcon::Warning);
        if (started) LeaveChangeMode(kind);
        return TInkActionEnd::Close;
    }
    const TStatusWait wait = WaitForChange(target, status);
    if (wait.bTimedOut)
        Tell(target, g_GlobalString.SetPrinterTimeout, TMessageIcon::Warning);
    else if (wait.lastStatus == kStatusNoInkBox)
        Tell(target, g_GlobalString.mNoInkBox, TMessageIcon::Error);
    else
        Tell(target, g_GlobalString.InkFinish, TMessageIcon::Information);
    return TInkActionEnd::Close;
}

}  // namespace

const std::string& TChangeVariant::StepText(int step) const {
    static const std::string empty;
    if (step < 1 || step > Steps()) return empty;
    return g_GlobalString.*stepTexts[static_cast<std::size_t>(step - 1)];
}

std::string TChangeVariant::StepPicture(int step) const {
    return std::string(name) + std::to_string(step);
}

const std::vector<TChangeVariant>& ChangeVariants() {
    return Table();
}

const TChangeVariant* FindChangeVariant(std::string_view itemName) {
    if (!itemName.starts_with("Ink_")) return nullptr;
    const std::string_view variant = itemName.substr(4);
    for (const TChangeVariant& entry : Table()) {
        const std::string_view name = entry.name;
        const bool anyCase = name == "Changehead_QP7";
        if (anyCase ? SameTextNoCase(variant, name) : variant == name) return &entry;
    }
    return nullptr;
}

bool AsksHeadSerialNumber(std::string_view commandSet) {
    return OneOf(commandSet, {"6A3C", "6B21", "7D05", "7E40", "5C90", "6B22"});
}

bool SendsHeadSerialNumber(std::string_view commandSet) {
    return OneOf(commandSet, {"6A3C", "6B21", "7D05", "7E40", "6B22"});
}

bool HeadSerialNumberValid(std::string_view serial) {
    const std::size_t characters = CharacterCount(serial);
    if (characters < kHeadSerialShortest || characters > kHeadSerialLength) return false;
    return std::all_of(serial.begin(), serial.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

TBytes HeadChangeStartCommand() {
    return FromHexText("1B1D1E 111300 1B1D1F   1B1D1E 1003 1B1D1F");
}

TBytes HeadChangeExecuteCommand() {
    return FromHexText("1B1D1E 1007 1B1D1F");
}

TBytes HeadChangeAbortCommand() {
    return FromHexText("1B1D1E 1008 1B1D1F1B1D1E 111301 1B1D1F");
}

std::optional<TBytes> HeadChangeExecuteCommand(std::string_view serial) {
    if (!HeadSerialNumberValid(serial)) return std::nullopt;
    std::string padded(serial);
    padded.resize(kHeadSerialLength, ' ');
    const std::string text = "1B1D1E 113304 " + TextToHexText(padded) + " 0000000000000000 1B1D1F" +
                             " 1B1D1E 1007 1B1D1F";
    TBytes command = FromHexText(text);
    if (command.size() != 41) return std::nullopt;
    return command;
}

TBytes BoxChangeStartCommand() {
    return FromHexText("1B1D1E 1005 1B1D1F");
}

TBytes BoxChangeExecuteCommand(std::string_view variant) {
    const bool seven = variant == "ChangeboxA" || variant == "ChangeboxB";
    return {0x1B, 0x1D, 0x1E, 0x10, static_cast<std::uint8_t>(seven ? 0x07 : 0x05),
            0x1B, 0x1D, 0x1F};
}

TBytes BoxChangeAbortCommand() {
    return {0x1B, 0x1D, 0x1E, 0x10, 0x08, 0x1B, 0x1D, 0x1F};
}

TChangeStart StartChange(const TInkTarget& target, const TChangeVariant& variant,
                         std::string_view commandSet, const std::function<void()>& askSerialNumber,
                         bool& sentStart) {
    sentStart = false;
    if (variant.kind == TChangeKind::Head && AsksHeadSerialNumber(commandSet)) {
        if (askSerialNumber) askSerialNumber();
        if (!HeadSerialNumberValid(g_HeadSN)) {
            Tell(target, g_GlobalString.HeadSNError, TMessageIcon::Error);
            return TChangeStart::SerialRefused;
        }
    }
    TBytes command;
    if (variant.start == TChangeStartCommand::Head) command = HeadChangeStartCommand();
    if (variant.start == TChangeStartCommand::Box) command = BoxChangeStartCommand();
    if (command.empty()) return TChangeStart::Started;
    if (!SendInkCommand(command)) {
        Tell(target, g_GlobalString.SetPrinterFail, TMessageIcon::Warning);
        return TChangeStart::StartFailed;
    }
    sentStart = true;
    return TChangeStart::Started;
}

TInkActionEnd ExecuteHeadChange(const TInkTarget& target, std::string_view commandSet,
                                bool started) {
    if (!Confirmed(target)) return AbortChange(target, TChangeKind::Head);
    TBytes command = HeadChangeExecuteCommand();
    if (SendsHeadSerialNumber(commandSet)) {
        const std::optional<TBytes> withSerial = HeadChangeExecuteCommand(g_HeadSN);
        if (!withSerial) {
            Tell(target, g_GlobalString.HeadSNError, TMessageIcon::Error);
            if (started) LeaveChangeMode(TChangeKind::Head);
            return TInkActionEnd::Close;
        }
        command = *withSerial;
    }
    return Execute(target, command, kStatusHeadChange, TChangeKind::Head, started);
}

TInkActionEnd ExecuteBoxChange(const TInkTarget& target, std::string_view variant, bool started) {
    if (!Confirmed(target)) {
        const bool abortable = variant == "ChangeboxA" || variant == "ChangeboxB";
        // A change the printer was put in is never left open.
        if (abortable || started) return AbortChange(target, TChangeKind::Box);
        return TInkActionEnd::Close;
    }
    return Execute(target, BoxChangeExecuteCommand(variant), kStatusInkBoxChange, TChangeKind::Box,
                   started);
}

TInkActionEnd AbortChange(const TInkTarget& target, TChangeKind kind) {
    SendAbort(target, kind);
    return TInkActionEnd::Close;
}

bool AbortChangeOfUnusablePrinter(const TInkTarget& target, TChangeKind kind) {
    if (!Platform().Spooler().Open(g_PrinterName, TPrinterAccess::Full)) return false;
    return SendAbort(target, kind);
}

TStatusWait WaitForChange(const TInkTarget& target, std::uint8_t status) {
    TWaitingWindowGuard waiting(g_PrinterName);
    PumpedSleep(kChangeWaitLeadMs);
    return WaitWhileStatus(target.usbPort, target.portName, status);
}

}  // namespace ps
