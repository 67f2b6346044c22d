// SPDX-License-Identifier: MIT
// Writing setting values and confirming them: the value ranges a write can carry, the
// write-then-read-back of one item, and the re-read of a sub group page after a group write.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "base/Lib_String.h"

namespace ps {

class TSchemeOptions2;

/// True when `value` can be written in nParameterByte bytes: 1 byte -128..255, 2 bytes a
/// magnitude up to 7FFF hex, 3 bytes a 24-bit mask (0..FFFFFF). False for other widths.
bool ValueFitsWidth(std::uint32_t nParameterByte, std::int32_t value);
/// Throws EConvertError naming the value and the width when it does not fit.
void CheckValueFitsWidth(std::uint32_t nParameterByte, std::int32_t value);
/// True when both values are written as the same bytes (-56 and 200 for one byte).
bool SameValueBytes(std::uint32_t nParameterByte, std::int32_t a, std::int32_t b);

/// Reads the current item (g_CurrentPage, g_CurrentItem) through the port monitor. Nothing
/// when the exchange failed, the reply was too short or carried no value of length 1, 2 or 3.
std::optional<std::int32_t> ReadCurrentItemValue(TSchemeOptions2& scheme);

enum class TWriteOutcome {
    SendFailed,    // the write did not reach the printer
    NotConfirmed,  // sent, but the value read back is missing or another one
    Confirmed,     // read back as written, or confirmation is switched off (AffirmReadDisable)
};

struct TItemWriteResult {
    TWriteOutcome outcome = TWriteOutcome::SendFailed;
    std::optional<std::int32_t> readBack;  // the value read after the write, when one came
};

/// Sends a framed write of the current item through the port monitor in one piece, waits the
/// scheme's SleepBeforeRead and reads the item back; confirmed when it reads `expected`.
TItemWriteResult WriteItemAndConfirm(TSchemeOptions2& scheme, const TBytes& command,
                                     std::int32_t expected, std::uint32_t nParameterByte);

/// One value a group write carried: the item index in its page and the value.
struct TWrittenValue {
    std::int32_t iIndex = 0;
    std::int32_t value = 0;
};

enum class TPageConfirm {
    Confirmed,     // every written value read back (or confirmation switched off)
    NotConfirmed,  // the page was read and a value differs
    Unreadable,    // the page could not be read
};

/// After a one-way write of a sub group page: waits SleepBeforeRead, reads the page again by
/// USB index and compares the written values with what the printer now holds.
TPageConfirm ConfirmPageValues(TSchemeOptions2& scheme, std::int32_t iUSBPrinter,
                               std::uint8_t iPage, const std::vector<TWrittenValue>& written);

}  // namespace ps
