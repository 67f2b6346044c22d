// SPDX-License-Identifier: MIT
// Device function value codecs.
#include "device/DeviceCodecs.h"

#include <chrono>
#include <cstdio>

namespace ps {

std::int32_t DecodeCutByte(std::uint8_t b, int firstNegative) {
    return b >= firstNegative ? b - 256 : b;
}

std::optional<std::uint8_t> EncodeCutByte(std::int64_t value, int firstNegative) {
    if (value < firstNegative - 256 || value >= firstNegative) return std::nullopt;
    return static_cast<std::uint8_t>(value < 0 ? value + 256 : value);
}

std::int32_t DecodeInkAdjust(std::uint8_t b, const TDeviceCommandSet& set) {
    const std::int32_t value = DecodeCutByte(b, kInkAdjustFirstNegative);
    return set.bInkAdjustHalved ? value / 2 : value;
}

std::optional<std::uint8_t> EncodeInkAdjust(std::int64_t value, const TDeviceCommandSet& set) {
    return EncodeCutByte(set.bInkAdjustHalved ? value * 2 : value, kInkAdjustFirstNegative);
}

std::int32_t DecodeAlignment16(std::uint16_t raw) {
    return raw >= 0x8000 ? static_cast<std::int32_t>(raw) - 0x10000 : raw;
}

std::int32_t AlignmentPosition(std::int64_t value) {
    return static_cast<std::int32_t>(value / 30 + 6);
}

std::int32_t AlignmentValue(std::int32_t position) {
    return (position - 6) * 30;
}

std::int64_t DryingTimeValue(std::int32_t position, const TDeviceCommandSet& set) {
    return set.bDryingTimeInSteps ? position : std::int64_t{position} * 50;
}

std::int64_t SecondsSince1970(const TLocalTime& time) {
    using namespace std::chrono;
    const year_month_day date{year{time.year}, month{time.month}, day{time.day}};
    const std::int64_t days = sys_days{date}.time_since_epoch().count();
    return days * 86400 + time.hour * 3600 + time.minute * 60 + time.second;
}

std::int64_t PrinterClockValue(std::int64_t utcSeconds, std::int32_t biasMinutes) {
    return utcSeconds - std::int64_t{biasMinutes} * 60;
}

std::optional<std::int64_t> ComputerTimeForPrinter() {
    TKernel& kernel = Platform().Kernel();
    const auto utc = kernel.GetSystemTime();
    if (!utc) return std::nullopt;
    return PrinterClockValue(SecondsSince1970(*utc), kernel.GetTimeZoneBias());
}

std::string FormatPrinterClock(std::uint32_t seconds) {
    using namespace std::chrono;
    const sys_seconds point{std::chrono::seconds{seconds}};
    const sys_days day = floor<days>(point);
    const year_month_day date{day};
    const hh_mm_ss<std::chrono::seconds> time{point - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02u/%02u %02d:%02d:%02d", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

std::string FormatFirmwareVersion(const std::uint8_t* r) {
    char text[32];
    std::snprintf(text, sizeof text, "V%02X%02X.%02X%02X %02X%02X-%02X-%02X", r[3], r[2], r[1],
                  r[0], r[7], r[6], r[5], r[4]);
    return text;
}

}  // namespace ps
