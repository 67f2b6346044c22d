// SPDX-License-Identifier: MIT
// The ink maintenance commands and the "TimeData" record of the last deep cleaning: its
// counter, the texts a cleaning and a deep cleaning write back, and the date they carry.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/Lib_String.h"

namespace ps {

/// Commands of the maintenance page; each goes through the port monitor without a reply.
inline const TBytes kHeadCleaningCommand = {0x1B, 0x1D, 0x1E, 0x10, 0x01, 0x1B, 0x1D, 0x1F};
inline const TBytes kDeepCleaningCommand = {0x1B, 0x1D, 0x1E, 0x10, 0x02, 0x1B, 0x1D, 0x1F};
inline const TBytes kRollerCleaningCommand = {0x1B, 0x1D, 0x1E, 0x10, 0x06, 0x1B, 0x1D, 0x1F};
inline const TBytes kNozzleCheckCommand = {0x1B, 0x1D, 0x1E, 0x10, 0x09, 0x81, 0x1B, 0x1D, 0x1F};
inline const TBytes kNozzleCheckCommand6B22 = {0x1B, 0x1D, 0x1E, 0x10, 0x09,
                                               0x00, 0x1B, 0x1D, 0x1F};
inline const TBytes kFormFeedCommand = {0x0C};

/// Sends a command to g_PrinterName through the port monitor, wanting no reply. True when the
/// monitor took the whole command.
bool SendInkCommand(const TBytes& command);

/// Where the record keeps its counter: the 21st character, after the 19 characters of the date
/// and time and one blank.
inline constexpr std::size_t kTimeDataCounterAt = 20;
inline constexpr std::size_t kTimeDataDateLength = 19;

/// The counter of a record: its 21st character as a digit, 0 when the text is shorter. Throws
/// EConvertError when that character is not a digit.
int TimeDataCounter(std::u16string_view record);

/// After a head cleaning: the record's first 19 characters, a blank, counter + 1.
std::u16string TimeDataAfterCleaning(std::u16string_view record, int counter);

/// After a deep cleaning: the date and time of `now`, a blank, counter + 2.
std::u16string TimeDataAfterDeepCleaning(std::string_view now, int counter);

/// The local date and time as "yyyy/mm/dd hh:nn:ss" (24-hour clock) with the user's date and
/// time separators; a separator that is not one printable character other than a digit or a
/// blank is written as "/" or ":", so the text always has 19 characters and the counter stays
/// at the 21st character of the record.
std::string TimeDataDateNow();

/// Stores the record of g_PrinterName (its UTF-16 bytes, twice the character count).
bool WriteTimeData(std::u16string_view record);

}  // namespace ps
