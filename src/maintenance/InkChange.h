// SPDX-License-Identifier: MIT
// The guided print head and ink box change: its variants (steps, texts, pictures), commands,
// the head serial number, and the start, execute and abort sequences.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Lib_String.h"
#include "localisation/Scheme.h"
#include "maintenance/InkActions.h"

namespace ps {

enum class TChangeKind { Head, Box };
enum class TChangeStartCommand { None, Head, Box };

/// One change sequence, chosen by the item's Name ("Ink_" + variant).
struct TChangeVariant {
    const char* name;  // the variant: the item Name without "Ink_"
    TChangeKind kind;
    TChangeStartCommand start;
    std::vector<std::string TGlobalString::*> stepTexts;  // one per step
    bool bSerialAtLastStep;  // the serial number is checked again at the last step
    bool bBackShowsText;     // going back shows the step text (else the label is emptied)

    int Steps() const { return static_cast<int>(stepTexts.size()); }
    /// The step text of step 1 ... Steps() in the running language.
    const std::string& StepText(int step) const;
    /// The picture of a step: variant + step number ("ChangeheadA3").
    std::string StepPicture(int step) const;
};

/// The wizard variant of an item Name, or nullptr (a plain picture page). Names compare
/// exactly, except Changehead_QP7 in any letter case.
const TChangeVariant* FindChangeVariant(std::string_view itemName);
/// Every wizard variant.
const std::vector<TChangeVariant>& ChangeVariants();

/// Capacity of a command converted from its hex text.
inline constexpr int kChangeCommandCapacity = 65;
/// The head serial number: 7 to 16 characters, sent blank-padded to 16.
inline constexpr std::size_t kHeadSerialShortest = 7;
inline constexpr std::size_t kHeadSerialLength = 16;

/// Command sets that ask for the head serial number when the head change starts.
bool AsksHeadSerialNumber(std::string_view commandSet);
/// Command sets that send it with the final command.
bool SendsHeadSerialNumber(std::string_view commandSet);
/// 7 to 16 characters, each a printable ASCII character (a number that can be sent as is).
bool HeadSerialNumberValid(std::string_view serial);

TBytes HeadChangeStartCommand();
TBytes HeadChangeExecuteCommand();
TBytes HeadChangeAbortCommand();
/// The 41-byte execute with the serial number padded with blanks to 16; nothing for a number
/// that is not valid, so the command never holds more or less than 16 characters.
std::optional<TBytes> HeadChangeExecuteCommand(std::string_view serial);
TBytes BoxChangeStartCommand();
/// 10 07 for ChangeboxA and ChangeboxB, 10 05 for the others.
TBytes BoxChangeExecuteCommand(std::string_view variant);
TBytes BoxChangeAbortCommand();

enum class TChangeStart {
    Started,        // the start command was accepted (or the variant has none)
    SerialRefused,  // HeadSNError shown; nothing sent
    StartFailed     // SetPrinterFail shown; the printer is not in change mode
};

/// The first press of Start: asks for the serial number where the command set wants it
/// (`askSerialNumber` shows the serial number dialog, which leaves its result in g_HeadSN),
/// then sends the variant's start command. `sentStart` tells whether a start command was
/// accepted (Changebox has none).
TChangeStart StartChange(const TInkTarget& target, const TChangeVariant& variant,
                         std::string_view commandSet, const std::function<void()>& askSerialNumber,
                         bool& sentStart);

/// OK on the last step of a head change (or on a plain head page): confirmation, then the
/// execute with or without the serial number, the waiting on 0x2C and the box. `started`:
/// a start command was accepted, so a refusal aborts the change mode.
TInkActionEnd ExecuteHeadChange(const TInkTarget& target, std::string_view commandSet,
                                bool started);
/// OK of an ink box change: confirmation, the execute of `variant`, the waiting on 0x2E.
TInkActionEnd ExecuteBoxChange(const TInkTarget& target, std::string_view variant, bool started);
/// Sends the abort command of `kind`; SetPrinterFail when it is not accepted. The dialog closes.
TInkActionEnd AbortChange(const TInkTarget& target, TChangeKind kind);
/// The abort of a started change when the spooler does not find the printer usable (held
/// off-line, for example). The port monitor makes no off-line test, so the abort is sent
/// whenever the printer opens with the full access the channel needs (SetPrinterFail when it
/// is not accepted); to a printer that does not open so nothing could be sent. True when the
/// abort was accepted.
bool AbortChangeOfUnusablePrinter(const TInkTarget& target, TChangeKind kind);

/// The waiting after an accepted execute: the waiting window, 2 s, then the status wait.
TStatusWait WaitForChange(const TInkTarget& target, std::uint8_t status);

}  // namespace ps
