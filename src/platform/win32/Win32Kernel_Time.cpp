// SPDX-License-Identifier: MIT
// Local time of a Windows machine: the time zone, the clock, and the user's separators.
#include "platform/win32/Win32Kernel.h"

namespace ps::win32 {
namespace {

TLocalTime FromSystemTime(const SYSTEMTIME& time) {
    TLocalTime result;
    result.year = time.wYear;
    result.month = time.wMonth;
    result.dayOfWeek = time.wDayOfWeek;
    result.day = time.wDay;
    result.hour = time.wHour;
    result.minute = time.wMinute;
    result.second = time.wSecond;
    result.milliseconds = time.wMilliseconds;
    return result;
}

char UserSeparator(LCTYPE item, char fallback) {
    wchar_t text[8] = {};
    const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, item, text, 8);
    if (length <= 1) return fallback;
    return SingleSeparator(std::wstring_view(text, static_cast<std::size_t>(length - 1)), fallback);
}

}  // namespace

char SingleSeparator(std::wstring_view text, char fallback) {
    if (text.size() != 1) return fallback;
    const wchar_t c = text[0];
    const bool letterOrDigit =
        (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
    if (c < 0x21 || c > 0x7E || letterOrDigit) return fallback;
    return static_cast<char>(c);
}

std::int32_t TWin32Kernel::GetTimeZoneBias() {
    TIME_ZONE_INFORMATION zone{};
    if (GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID) return 0;
    return static_cast<std::int32_t>(zone.Bias);
}

std::optional<TLocalTime> TWin32Kernel::GetLocalTime() {
    SYSTEMTIME time{};
    ::GetLocalTime(&time);
    return FromSystemTime(time);
}

std::optional<TLocalTime> TWin32Kernel::GetSystemTime() {
    SYSTEMTIME time{};
    ::GetSystemTime(&time);
    return FromSystemTime(time);
}

char TWin32Kernel::GetDateSeparator() {
    return UserSeparator(LOCALE_SDATE, '/');
}

char TWin32Kernel::GetTimeSeparator() {
    return UserSeparator(LOCALE_STIME, ':');
}

}  // namespace ps::win32
