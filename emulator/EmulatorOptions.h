// SPDX-License-Identifier: MIT
// The emulator's own device keys (durations, faults, registers' first values), parsed once.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ps::emu {

/// Largest reply the emulator produces unless AllowLargeReplies is set: the read-all buffer of
/// the program's USB worker.
inline constexpr std::size_t kReadAllLimit = 32768;

enum class TMenuTransfer { Inline, Separate };

/// Keys of TDeviceConfig::extra, with their defaults. docs/emulator.md lists them.
struct TEmulatorOptions {
    TMenuTransfer menuTransfer = TMenuTransfer::Inline;  // "MenuTransfer=inline|separate"
    std::uint32_t cleanMs = 8000;                        // "CleanMs="
    std::uint32_t deepCleanMs = 15000;                   // "DeepCleanMs="
    std::uint32_t rollerCleanMs = 3000;                  // "RollerCleanMs="
    std::uint32_t headChangeMs = 20000;                  // "HeadChangeMs="
    std::uint32_t boxChangeMs = 10000;                   // "BoxChangeMs="
    std::uint32_t measureMs = 3000;                      // "MeasureMs="
    bool busy = false;                                   // "Busy=1": status 0x1F
    bool noInkBox = false;                               // "NoInkBox=1": status 0x39 when idle
    bool noInkBoxAfterChange = false;  // "NoInkBoxAfterChange=1": 0x39 once a change has ended
    std::vector<std::uint8_t> noise;                     // "NoiseHex=": bytes before every reply
    bool allowLargeReplies = false;                      // "AllowLargeReplies=1"
    bool keepStaleReplies = false;                       // "KeepStaleReplies=1"
    std::optional<std::uint32_t> muteAfterReplies;       // "MuteAfterReplies=N"
    std::uint16_t passbookHeight = 201;                  // "PassbookHeight=" (1/60 inch)
    // The firmware reply: "FirmwareVersion=0102.0001" gives bytes 0-3, "FirmwareDate=2023-07-27"
    // bytes 4-7 (digits read as hex, so the dates are binary-coded decimal); "FirmwareHex="
    // replaces the whole reply.
    std::vector<std::uint8_t> firmware = {0x01, 0x00, 0x02, 0x01, 0x27, 0x07, 0x23, 0x20};
    std::optional<std::int64_t> clockSeconds;  // "ClockSeconds=": first printer time
    std::optional<std::uint32_t> totalPages;   // "TotalPages="
    std::optional<std::uint32_t> inkBoxPages;  // "InkBoxPages="
    std::string headSerial;                    // "HeadSerial=": the installed head's number
    // First register values of the device functions (what state.ini holds wins).
    std::optional<std::uint16_t> dryingTime;    // "DryingTime=" as the printer stores it
    std::optional<std::int16_t> alignment;      // "Alignment=" 16-bit alignment
    std::optional<std::uint8_t> alignmentByte;  // "AlignmentByte=" -128..255
    std::map<int, std::uint8_t> feedModes;      // "FeedModes=0:6,1:5" mode:step
    std::map<int, std::uint8_t> inkAdjust;      // "InkAdjust=1:-10,2:0" mode:value
    std::optional<bool> screenLocked;           // "ScreenLocked="
    std::optional<bool> paperBoxLocked;         // "PaperBoxLocked="
    // "Answer.BODY=REPLY": the framed command of body BODY (hex, no blanks) is answered with
    // the bytes REPLY (hex text) as they stand.
    std::map<std::vector<std::uint8_t>, std::vector<std::uint8_t>> answers;
};

class TConfigReport;
class TSectionReader;

/// Reads the emulator's keys from a device section; what cannot be understood keeps its
/// default and goes to the reader's report. Other keys are left unread.
TEmulatorOptions ParseEmulatorOptions(TSectionReader& keys);

/// The same from a device's further keys (names compared without regard to letter case);
/// mistakes and unknown keys are reported under "[section]" when `report` is given.
TEmulatorOptions ParseEmulatorOptions(const std::map<std::string, std::string>& extra,
                                      TConfigReport* report = nullptr,
                                      const std::string& section = "Device");

}  // namespace ps::emu
