// SPDX-License-Identifier: MIT
// The command sets of the device function dialogs, one row per scheme SettingCommand: how a
// printer model numbers its print modes, scales its adjustment, reads its counters, counts its
// drying time and feed precision. A new command set is a new row.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace ps {

/// Ink adjustment modes 1 to 6: 1 draft, 2 normal, 3 quality, 4 (no control selects it),
/// 5 horizontal and 6 vertical fine adjustment.
inline constexpr int kInkModeCount = 6;
inline constexpr int kInkModeDraft = 1;
inline constexpr int kInkModeNormal = 2;
inline constexpr int kInkModeQuality = 3;
inline constexpr int kInkModeHorizontalFine = 5;
inline constexpr int kInkModeVerticalFine = 6;

/// A byte per ink adjustment mode, mode 1 first.
using TInkModeBytes = std::array<std::uint8_t, kInkModeCount>;
/// The mode code of the write text per mode ("" where the set has none), mode 1 first.
using TInkModeCodes = std::array<std::string_view, kInkModeCount>;

/// How the ink adjustment dialog offers its modes.
enum class TInkAdjustLayout {
    ThreeModes,  // draft, normal, quality on a -10..10 scale
    TwoModes,    // draft and letter quality ("LQ") on a -10..10 scale
    FiveModes,   // a drop-down list of five modes, scales 0..12 and 0..16, a result print
};

struct TDeviceCommandSet {
    std::string_view code;  // SettingCommand; empty for every set without a row
    TInkAdjustLayout inkLayout = TInkAdjustLayout::ThreeModes;
    TInkModeBytes inkReadMode{};      // p of the adjustment read 12 02 01 p
    TInkModeBytes inkPrintMode{};     // p of the check pattern 10 10 01 p
    TInkModeBytes inkResultMode{};    // b of the result pattern 10 10 02 b (FiveModes only)
    TInkModeCodes inkWriteCode{};     // mode code in the adjustment write
    bool bInkAdjustHalved = false;    // the printer counts the adjustment in half steps
    bool bInkScaleIsValue = false;    // the track-bar position is the value (else value + 10)
    bool bTotalPagesOnly = false;     // the counters dialog reads only the total pages
    bool bDryingTimeInSteps = false;  // drying time 0..4 as is (else 50 per step)
    bool bFeedPerMode = false;        // four feed distance modes of 0..12 (else one of -5..5)
};

/// The row of a SettingCommand (exact text); the row of "every other set" when none matches.
const TDeviceCommandSet& DeviceCommandSet(std::string_view settingCommand);

/// The mode byte of `mode` (1..6) in a per-mode table; 0 for a mode outside 1..6.
std::uint8_t ModeByte(const TInkModeBytes& table, int mode);
/// The write text's mode code of `mode`; empty for a mode outside 1..6.
std::string_view ModeCode(const TInkModeCodes& table, int mode);

}  // namespace ps
