// SPDX-License-Identifier: MIT
// The setting protocol's command texts and value bytes: read and write commands as instruction
// hex text, value bytes of a write, and decoding of value replies.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ps {

/// Offsets of a value reply after alignment: entry count, then entries of code, length, value.
inline constexpr int kReplyCountOffset = 5;
inline constexpr int kReplyEntriesOffset = 6;
/// A single-item reply holds its value length at 7 and its value bytes from 8.
inline constexpr int kSingleReplyLengthOffset = 7;
inline constexpr int kSingleReplyValueOffset = 8;

/// Decodes the value bytes of one reply entry of value length L (1, 2 or 3). One byte: 00-BF
/// are 0..191, C0-FF are -64..-1. Two bytes: little-endian sign and magnitude, except that an
/// item of one parameter byte takes the second byte alone as a one-byte value. Three bytes:
/// big-endian unsigned. Nothing for any other length.
std::optional<std::int32_t> DecodeItemValue(const std::uint8_t* bytes, int L,
                                            std::uint32_t nParameterByte);

/// The value bytes a write carries for an item of nParameterByte bytes: one byte (negative
/// values + 256), two bytes (sign in bit 15, magnitude below; low byte first) or the 24-bit
/// mask (high byte first). Each byte keeps only its own 8 bits. No bytes for other counts.
std::vector<std::uint8_t> ValueToBytes(std::uint32_t nParameterByte, std::int32_t value);

/// "ClassHex 01 GetInstruction Tail": the read command of one item.
std::string SingleReadCommand(std::string_view getValueClass, std::string_view getInstruction,
                              std::string_view tail);

/// "ClassHex nn code code ... Tail" with the count in lower-case hex: the read command of a
/// whole page. Meant for at most 255 items (the count is one byte).
std::string PageReadCommand(std::string_view getValueClass,
                            const std::vector<std::string>& getInstructions, std::string_view tail);

/// "SetInstruction XX..": one item's write without its tail, the set command without the
/// blanks around it followed by the value bytes.
std::string ItemWriteText(std::string_view setInstruction, std::uint32_t nParameterByte,
                          std::int32_t value);

/// "Enter SetInstruction XX.. Tail Save": one framed item write with its value bytes.
std::string WriteCommand(std::string_view enter, std::string_view setInstruction,
                         std::uint32_t nParameterByte, std::int32_t value, std::string_view tail,
                         std::string_view save);

/// One decoded entry of a page reply.
struct TReplyEntry {
    std::uint8_t code = 0;
    std::int32_t value = 0;
};

/// Decodes a page reply that starts at the reply prefix (offsets 5 and 6 fixed). The k-th entry
/// decodes its two-byte value by nParameterBytes[k] when the page has that item. Decoding stops
/// after the announced count, when the entries reach the last five bytes, at an entry whose
/// value length is not 1, 2 or 3, and before any entry that would run past `length`. Nothing
/// for a reply of six bytes or fewer.
std::vector<TReplyEntry> DecodePageReply(const std::uint8_t* reply, int length,
                                         const std::vector<std::uint32_t>& nParameterBytes);

/// The value an item with the given GetInstruction receives from a page reply: the first entry
/// whose code written as two upper-case hex digits equals the text (letter case ignored).
std::optional<std::int32_t> FindReplyValue(const std::vector<TReplyEntry>& entries,
                                           std::string_view getInstruction);

}  // namespace ps
