// SPDX-License-Identifier: MIT
// The "TimeData" record of the last deep cleaning: read with its outcome, and seeded when the
// printer has none.
#pragma once

#include <string>

namespace ps {

/// The text the main window seeds a missing or too short record with.
inline constexpr const char16_t* kTimeDataSeed = u"2017/08/09 10:10:33 0";
/// Records shorter than this many characters count as none.
inline constexpr std::size_t kTimeDataMinLength = 21;
/// Buffer the record is read into.
inline constexpr std::uint32_t kTimeDataBufferSize = 100;

enum class TTimeDataState {
    Present,  // read; `text` holds it
    Missing,  // the printer has no such value
    TooLong,  // longer than the buffer: nothing of it was read (`text` is empty)
    Failed    // could not be asked (printer not opened, no full access, spooler error)
};

struct TTimeDataRecord {
    TTimeDataState state = TTimeDataState::Failed;
    std::u16string text;  // up to the first zero character, within the bytes returned
};

/// Reads "TimeData" of a printer into a 100-byte buffer.
TTimeDataRecord ReadTimeDataRecord(const std::string& printerName);

/// Writes kTimeDataSeed when the record is missing or shorter than 21 characters. A failed
/// read seeds nothing: the record may hold the only date of the last deep cleaning. True when
/// it wrote.
bool SeedTimeDataRecord(const std::string& printerName);

}  // namespace ps
