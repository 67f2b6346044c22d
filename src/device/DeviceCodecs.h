// SPDX-License-Identifier: MIT
// Value codecs of the device functions. Each function keeps its own cut between positive and
// negative bytes (ink adjustment C0, alignment 200, feed precision above 200); an encoder
// gives nothing for a value that would not read back as itself.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "device/DeviceCommandSets.h"
#include "platform/Platform.h"

namespace ps {

/// First byte that reads as negative (byte - 256), per function.
inline constexpr int kInkAdjustFirstNegative = 0xC0;
inline constexpr int kAlignmentFirstNegative = 200;
inline constexpr int kFeedFirstNegative = 201;

/// A byte read with a cut: bytes from firstNegative up are byte - 256.
std::int32_t DecodeCutByte(std::uint8_t b, int firstNegative);
/// The byte for a value that reads back through the same cut (firstNegative - 256 up to
/// firstNegative - 1); nothing outside.
std::optional<std::uint8_t> EncodeCutByte(std::int64_t value, int firstNegative);

/// Ink adjustment: the reply byte through the C0 cut, halved (toward zero) for sets that count
/// in half steps.
std::int32_t DecodeInkAdjust(std::uint8_t b, const TDeviceCommandSet& set);
/// The byte written for an adjustment value (doubled for half-step sets).
std::optional<std::uint8_t> EncodeInkAdjust(std::int64_t value, const TDeviceCommandSet& set);

/// The 16-bit alignment: two's complement, low byte first.
std::int32_t DecodeAlignment16(std::uint16_t raw);
/// Track-bar position 1..12 of an alignment value (value / 30 toward zero, + 6), and back.
std::int32_t AlignmentPosition(std::int64_t value);
std::int32_t AlignmentValue(std::int32_t position);

/// Drying time: the printer value of a track-bar position 0..4, and the position of a value.
std::int64_t DryingTimeValue(std::int32_t position, const TDeviceCommandSet& set);

/// Seconds since 1970-01-01 00:00:00 of a calendar date and time (milliseconds dropped).
std::int64_t SecondsSince1970(const TLocalTime& time);
/// The printer clock value for the computer's time: UTC seconds minus the whole time-zone bias
/// (minutes; UTC = local time + bias), so the printer counts in the computer's local time.
std::int64_t PrinterClockValue(std::int64_t utcSeconds, std::int32_t biasMinutes);
/// The printer clock value for the computer's time now, from the platform's UTC time and
/// time-zone bias; nothing when the platform cannot tell the time.
std::optional<std::int64_t> ComputerTimeForPrinter();
/// "yyyy/mm/dd hh:nn:ss" of a printer clock value.
std::string FormatPrinterClock(std::uint32_t seconds);

/// "V" + H3 H2 "." H1 H0 + " " + H7 H6 "-" H5 "-" H4 of the first eight reply bytes (two upper-case
/// hex digits each, so a binary-coded decimal date reads as a date).
std::string FormatFirmwareVersion(const std::uint8_t* reply);

}  // namespace ps
