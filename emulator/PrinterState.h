// SPDX-License-Identifier: MIT
// What the emulated printer remembers between runs, and its state.ini form.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace ps::emu {

/// Registers written by the device function commands (committed together).
struct TDeviceRegisters {
    std::uint16_t dryingTime = 0;           // read 12 09, written 11 1D lo hi
    std::int16_t alignment = 0;             // read 12 14 00, written 11 31 00 lo hi
    std::uint8_t alignmentByte = 0;         // read 12 16 00, written 11 31 00 b
    std::map<int, std::uint8_t> feedModes;  // read 12 16 00 k, written 11 31 00 k p (6B22)
    std::map<int, std::uint8_t> inkAdjust;  // read 12 02 01 p, written by the adjust item
    bool operator==(const TDeviceRegisters&) const = default;
};

/// The change the printer was put into and not yet performed or aborted.
enum class TChangeMode { None, Head, Box };

/// The whole remembered state.
struct TPrinterState {
    std::map<int, std::int32_t> values;  // committed item values by code
    TDeviceRegisters registers;
    std::uint32_t totalPages = 0;
    std::uint32_t inkBoxPages = 0;   // pages since the last ink box change
    std::uint32_t clockSeconds = 0;  // printer clock when saved
    bool bClockKnown = false;        // false: never set or saved
    bool bScreenLocked = true;
    bool bPaperBoxLocked = false;
    std::string headSerial;  // last serial number received with a head change
    TChangeMode changeMode = TChangeMode::None;  // kept until performed or aborted
    std::map<std::string, std::uint32_t> counters;  // actions performed, by name
};

/// state.ini text: [Values] CODE=VALUE (codes as two upper-case hex digits), [Registers],
/// [Device], [Counters].
std::string FormatStateIni(const TPrinterState& state);

/// Reads state.ini text; what is missing keeps the value already in `state`.
void ParseStateIni(std::string_view text, TPrinterState& state);

/// Puts one process's changes into the state another process may have stored meanwhile.
/// `base` is what this process's printer held when it last loaded or stored the file, `ours`
/// what it holds now, `disk` the file as it is now, read over a copy of `base` (so that a key the
/// file lacks counts as unchanged by others). Each key is merged apart: a key this process changed
/// takes its value, any other keeps the file's; counters (page counts, actions performed) add this
/// process's increase to the file's. The printer clock runs by itself, so its reading is only
/// stored when `bClockSet` (the clock was set) or when no other process stored a reading since
/// `base`.
void MergeState(const TPrinterState& base, const TPrinterState& ours, bool bClockSet,
                TPrinterState& disk);

/// "None", "Head" or "Box", as state.ini writes the change mode.
const char* ChangeModeName(TChangeMode mode);

}  // namespace ps::emu
