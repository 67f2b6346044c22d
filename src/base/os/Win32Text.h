// SPDX-License-Identifier: MIT
// Text at the Win32 edge: the one pair of conversions between the program's UTF-8 and the
// UTF-16 of the "W" functions, and the system's own words for an error code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ps {

/// UTF-8 to UTF-16; invalid sequences become U+FFFD.
std::wstring Widen(std::string_view utf8);

/// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string Narrow(std::wstring_view wide);

/// UTF-16 up to its first terminator within `units` code units (a fixed-size field).
std::string NarrowField(const wchar_t* text, std::size_t units);

/// The system's message for a Win32 error code (FormatMessageW, the user's language), without
/// the line end; "system error N" when the system has none.
std::string Win32ErrorText(std::uint32_t code);

}  // namespace ps
