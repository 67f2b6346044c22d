// SPDX-License-Identifier: MIT
// Local time of a Linux machine: the C library's time zone and the user's LC_TIME separators.
#include <langinfo.h>
#include <locale.h>

#include <chrono>
#include <cstdlib>
#include <ctime>

#include "platform/linux/LinuxKernel.h"

namespace ps {
namespace {

// The user's LC_TIME locale as the environment names it, without touching the process's own
// locale; the C locale when it is not installed.
char LocaleSeparator(nl_item item, char fallback) {
    locale_t locale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) return fallback;
    const char* format = nl_langinfo_l(item, locale);
    const char separator = SeparatorOfFormat(format ? format : "", fallback);
    freelocale(locale);
    return separator;
}

// Now as a calendar date and time, in the local zone or in UTC.
std::optional<TLocalTime> CalendarNow(bool utc) {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm parts{};
    if (!(utc ? gmtime_r(&seconds, &parts) : localtime_r(&seconds, &parts))) {
        SetThreadLastError(kErrorGenFailure);
        return std::nullopt;
    }
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    TLocalTime time;
    time.year = static_cast<std::uint16_t>(parts.tm_year + 1900);
    time.month = static_cast<std::uint16_t>(parts.tm_mon + 1);
    time.dayOfWeek = static_cast<std::uint16_t>(parts.tm_wday);
    time.day = static_cast<std::uint16_t>(parts.tm_mday);
    time.hour = static_cast<std::uint16_t>(parts.tm_hour);
    time.minute = static_cast<std::uint16_t>(parts.tm_min);
    time.second = static_cast<std::uint16_t>(parts.tm_sec > 59 ? 59 : parts.tm_sec);
    time.milliseconds = static_cast<std::uint16_t>(ms < 0 ? 0 : ms);
    return time;
}

}  // namespace

char SeparatorOfFormat(std::string_view format, char fallback) {
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%') {
            ++i;  // the conversion letter (and a flag such as %-d) is no separator
            while (i < format.size() && (format[i] == '-' || format[i] == '_' || format[i] == '0' ||
                                         format[i] == 'E' || format[i] == 'O'))
                ++i;
            continue;
        }
        const auto c = static_cast<unsigned char>(format[i]);
        if (c >= 0x21 && c < 0x7F && (c < '0' || c > '9')) return static_cast<char>(c);
        return fallback;  // a blank or a letter of another script: no one-character separator
    }
    return fallback;
}

std::int32_t TLinuxKernel::GetTimeZoneBias() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return 0;
    // Standard time only, as the Win32 Bias member: undo daylight saving.
    long offset = local.tm_gmtoff - (local.tm_isdst > 0 ? 3600 : 0);
    return static_cast<std::int32_t>(-offset / 60);
}

std::optional<TLocalTime> TLinuxKernel::GetLocalTime() {
    return CalendarNow(false);
}

std::optional<TLocalTime> TLinuxKernel::GetSystemTime() {
    return CalendarNow(true);
}

char TLinuxKernel::GetDateSeparator() {
    return LocaleSeparator(D_FMT, '/');
}

char TLinuxKernel::GetTimeSeparator() {
    return LocaleSeparator(T_FMT, ':');
}

}  // namespace ps
