// SPDX-License-Identifier: MIT
// The direct option setting: an item's set instruction sent as the scheme writes it, by the
// route its port allows (port device, vendor USB library, raw spooler job), and the printer's
// answer shown as hexadecimal bytes at the offsets the item's rule titles give.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "scheme/ReplyView.h"

namespace ps {

struct TSettingItem;

/// Document name of the spooler route.
inline constexpr const char* kDirectOptionJobName = "Printer setting job";

/// Where the answer bytes lie: rule title 0 the offset, rule title 1 the count, both decimal.
struct TAnswerBytes {
    std::int32_t start = 0;
    std::int32_t count = 0;
};
/// The offsets of an item; nothing when title 0 or 1 is missing or not a decimal integer.
std::optional<TAnswerBytes> AnswerBytesOf(const TSettingItem& item);

/// "XX " per answer byte (two upper-case hex digits and a blank); empty for a count of 0 or
/// less; nothing when the bytes lie outside the reply.
std::optional<std::string> AnswerText(const TReplyView& reply, const TAnswerBytes& bytes);

/// What the dialog shows after the send.
struct TDirectOptionResult {
    bool bShowAnswer = false;  // the answer text is shown and the cancel button says Return
    std::string answer;
};

/// Sends the item's set instruction and reads the answer, with the boxes of every route.
/// `page` is the current page: on the base page the instruction goes to the port device
/// `portDevice` and no answer is read.
TDirectOptionResult SendDirectOption(const TSettingItem& item, std::uint8_t page,
                                     const std::string& portDevice);

}  // namespace ps
