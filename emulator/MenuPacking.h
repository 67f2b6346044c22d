// SPDX-License-Identifier: MIT
// The printer's side of the menu download: the model answer and the packed menu.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "Frames.h"

namespace ps::emu {

/// Answer to the model query: frame head 04 0F, the CRC-32 of the challenge (least
/// significant byte first), two zero bytes, the name length and the name (at most 255 bytes).
TBytes ModelQueryReply(std::span<const std::uint8_t> challenge, std::string_view modelName);

/// The packed menu file: 51 4B 01 00, the unpacked size, the CRC-32 of the menu and the packed
/// size (eight bytes the reader skips), then the zlib stream.
TBytes PackMenu(std::span<const std::uint8_t> menu);

/// Head of the menu reply: 1B 1D 1E 06 03, the transfer length T and two zero bytes.
TBytes MenuReplyHead(std::uint32_t transferLength);

/// The byte that ends an inline menu reply (the reader drops the reply's last byte).
inline constexpr std::uint8_t kMenuReplyEnd = 0x00;

}  // namespace ps::emu
