// SPDX-License-Identifier: MIT
// Instruction hex text: printer commands written as two-digit hex pairs ("1B 1D 1E 05 01").
// Each conversion has its own separator, invalid-pair and capacity rules; callers pick one.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ps {

using TBytes = std::vector<std::uint8_t>;

/// A text that should have been a number was not (strict hex pairs, SERIAL rule numbers).
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Blanks and tabs removed; (length div 2) bytes; an invalid pair gives 00; odd digit ignored.
TBytes HexTextToBytes(std::string_view text);

/// Blanks and tabs removed; invalid pairs are left out. With bVisibleConv every byte outside
/// 20..7E becomes '.'. Returns the bytes as an 8-bit string.
std::string HexString2AnsiString(std::string_view strHexString, bool bVisibleConv);

/// Blanks removed (tabs stay and spoil their pair); n = length div 2. Returns -n and writes
/// nothing when capacity < n; throws EConvertError on an invalid pair; else writes n bytes.
int HexTextToBuffer(std::string_view text, std::uint8_t* buffer, int capacity);

/// One byte per three characters (rounding up): byte i from characters 3i and 3i+1, the third
/// character skipped whatever it is. Throws EConvertError on an invalid pair.
TBytes SpacedHexToBytes(std::string_view text);

/// Two upper-case hex digits per byte, no separators.
std::string BytesToHexText(const std::uint8_t* data, std::size_t size);
inline std::string BytesToHexText(const TBytes& bytes) {
    return BytesToHexText(bytes.data(), bytes.size());
}

/// Upper-case hex pairs separated by single blanks ("1B 1D 1E"), for logs and dumps.
std::string BytesToSpacedHex(const std::uint8_t* data, std::size_t size);
inline std::string BytesToSpacedHex(const TBytes& bytes) {
    return BytesToSpacedHex(bytes.data(), bytes.size());
}

/// Every character's code in upper-case hex, at least two digits, no separators.
std::string TextToHexText(std::string_view text);

/// The 32-bit little-endian number at p (four bytes, least significant first).
inline std::uint32_t ReadLE32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

/// Writes value at p as four bytes, least significant first.
inline void WriteLE32(std::uint8_t* p, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

/// First position i (0 <= i <= size2 - size1) where pSub matches pMem, or -1.
int FindMem(const void* pSub, const void* pMem, int size1, int size2);

}  // namespace ps
