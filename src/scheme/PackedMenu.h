// SPDX-License-Identifier: MIT
// Decoding of the menu-download replies: the model name behind the challenge CRC and the
// zlib-packed menu file.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>

#include "base/Lib_String.h"

namespace ps {

/// The eight challenge bytes of the model query.
inline constexpr std::uint8_t kModelChallenge[8] = {1, 2, 3, 4, 5, 6, 7, 8};
/// Header of a packed menu file: "QK" and format version 1.
inline constexpr std::uint8_t kPackedMenuHeader[4] = {0x51, 0x4B, 0x01, 0x00};
/// Start of the menu reply.
inline constexpr std::uint8_t kMenuReplyHead[5] = {0x1B, 0x1D, 0x1E, 0x06, 0x03};
/// Largest unpacked menu accepted. A menu of six full pages (255 items each, four languages of
/// titles, notes and rules at about 1 KB an item) is under 2 MiB; real menus are below 100 KB.
inline constexpr std::uint32_t kMaxUnpackedMenu = 4u * 1024 * 1024;
/// Most bytes deflate can produce from one compressed byte (258-byte matches coded in 2 bits).
inline constexpr std::uint64_t kMaxInflateRatio = 1032;

/// The packed menu could not be inflated to its announced size.
class EMenuUnpackError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// The standard CRC-32 (zlib's) of the challenge, least significant byte first.
std::array<std::uint8_t, 4> ChallengeCrcBytes();

/// The model name from a model query reply: found behind the first occurrence of the
/// challenge CRC (length at +6, name at +7, at most 32 bytes, ends at a zero byte). Nothing
/// when the CRC is missing. Never reads past the reply.
std::optional<std::string> ModelNameFromReply(std::span<const std::uint8_t> reply);

/// Unpacks a payload: skips bytes before the header, reads the size S and inflates exactly S
/// bytes. Nothing when there is no header; EMenuUnpackError when the stream is broken, yields
/// fewer than S bytes, or S is beyond kMaxUnpackedMenu or beyond what the compressed bytes can
/// inflate to; both bounds are checked before anything is allocated.
std::optional<TBytes> UnpackMenuPayload(std::span<const std::uint8_t> payload);

}  // namespace ps
