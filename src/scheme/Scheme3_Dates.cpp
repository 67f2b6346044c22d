// SPDX-License-Identifier: MIT
// Date values of the scheme (LastDeepcleantime): reading the user's date formats, writing ISO.
//
// Forms accepted when reading, for the running language:
//   every language:   yyyy-m-d [h:nn[:ss]]          (ISO; "T" may separate date and time)
//   English:          m/d/yyyy [h:nn[:ss] [AM|PM]]  (the US short date of English Windows)
//   Chinese, Japanese: yyyy/m/d [h:nn[:ss]]         (the short date of those Windows locales)
// The year has four digits, the other parts one or two; a missing time is midnight. Anything
// else, or a date that does not exist (31 April), is not read.
#include <cctype>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <mutex>

#include "base/AsciiText.h"
#include "platform/Platform.h"
#include "scheme/Scheme3.h"

namespace ps {
namespace {

constexpr std::int64_t kMsPerDay = 86400000;

// Days since 1970-01-01 of a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

const std::int64_t kDayZero = DaysFromCivil(1899, 12, 30);

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// A small scanner over the text being read.
class TScanner {
public:
    explicit TScanner(std::string_view text) : m_Text(text) {}
    bool AtEnd() const { return m_iPos == m_Text.size(); }
    // 1..maxDigits decimal digits (exactly maxDigits when exact).
    bool Number(int maxDigits, int& value, bool exact = false) {
        int digits = 0;
        value = 0;
        while (m_iPos < m_Text.size() && digits < maxDigits &&
               std::isdigit(static_cast<unsigned char>(m_Text[m_iPos]))) {
            value = value * 10 + (m_Text[m_iPos++] - '0');
            ++digits;
        }
        return exact ? digits == maxDigits : digits > 0;
    }
    bool Char(char c) {
        if (m_iPos < m_Text.size() && m_Text[m_iPos] == c) {
            ++m_iPos;
            return true;
        }
        return false;
    }
    bool Blanks() {
        const std::size_t start = m_iPos;
        while (m_iPos < m_Text.size() && m_Text[m_iPos] == ' ') ++m_iPos;
        return m_iPos > start;
    }
    bool Word(std::string_view word) {
        if (m_Text.size() - m_iPos < word.size()) return false;
        if (!StartsWithNoCase(m_Text.substr(m_iPos), word)) return false;
        m_iPos += word.size();
        return true;
    }

private:
    std::string_view m_Text;
    std::size_t m_iPos = 0;
};

struct TParts {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// "h:nn[:ss]", with AM/PM when allowed.
bool ReadTime(TScanner& in, TParts& parts, bool allowAmPm) {
    if (!in.Number(2, parts.hour) || !in.Char(':') || !in.Number(2, parts.minute)) return false;
    if (in.Char(':') && !in.Number(2, parts.second)) return false;
    if (allowAmPm) {
        in.Blanks();
        const bool pm = in.Word("PM");
        if (pm || in.Word("AM")) {
            if (parts.hour < 1 || parts.hour > 12) return false;
            parts.hour = parts.hour % 12 + (pm ? 12 : 0);
        }
    }
    return true;
}

bool Valid(const TParts& p) {
    return p.year >= 1 && p.year <= 9999 && p.month >= 1 && p.month <= 12 && p.day >= 1 &&
           p.day <= DaysInMonth(p.year, p.month) && p.hour <= 23 && p.minute <= 59 &&
           p.second <= 59;
}

std::optional<TParts> ReadIso(std::string_view text) {
    TScanner in(text);
    TParts p;
    if (!in.Number(4, p.year, true) || !in.Char('-') || !in.Number(2, p.month) || !in.Char('-') ||
        !in.Number(2, p.day))
        return std::nullopt;
    if (!in.AtEnd() && !((in.Char('T') || in.Blanks()) && ReadTime(in, p, false)))
        return std::nullopt;
    in.Blanks();
    if (!in.AtEnd()) return std::nullopt;
    return p;
}

std::optional<TParts> ReadLocale(std::string_view text, TProgramLanguage language) {
    TScanner in(text);
    TParts p;
    const bool english = language == plEN;
    const bool dateRead = english
                              ? in.Number(2, p.month) && in.Char('/') && in.Number(2, p.day) &&
                                    in.Char('/') && in.Number(4, p.year, true)
                              : in.Number(4, p.year, true) && in.Char('/') &&
                                    in.Number(2, p.month) && in.Char('/') && in.Number(2, p.day);
    if (!dateRead) return std::nullopt;
    if (!in.AtEnd() && !(in.Blanks() && (in.AtEnd() || ReadTime(in, p, english))))
        return std::nullopt;
    in.Blanks();
    if (!in.AtEnd()) return std::nullopt;
    return p;
}

}  // namespace

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second) {
    const auto days = static_cast<double>(
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kDayZero);
    const double time = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    return days >= 0 ? days + time : days - time;
}

std::optional<TDateTime> TryParseLocaleDateTime(std::string_view text, TProgramLanguage language) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    auto parts = ReadIso(text);
    if (!parts) parts = ReadLocale(text, language);
    if (!parts || !Valid(*parts)) return std::nullopt;
    return EncodeDateTime(parts->year, parts->month, parts->day, parts->hour, parts->minute,
                          parts->second);
}

std::string FormatIsoDateTime(TDateTime value) {
    if (!std::isfinite(value) || std::fabs(value) > 3e6) value = 0;
    auto days = static_cast<std::int64_t>(value);  // toward zero: the day, also before day 0
    std::int64_t seconds = std::llround(std::fabs(value - static_cast<double>(days)) * 86400.0);
    if (seconds >= kMsPerDay / 1000) {
        seconds -= kMsPerDay / 1000;
        ++days;  // the next calendar day, whatever the sign
    }
    int year, month, day;
    CivilFromDays(days + kDayZero, year, month, day);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day,
                  static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                  static_cast<int>(seconds % 60));
    return text;
}

TDateTime NowAsDateTime() {
    if (PlatformInstalled()) {
        if (auto now = Platform().Kernel().GetLocalTime()) {
            return EncodeDateTime(now->year, now->month, now->day, now->hour, now->minute,
                                  now->second);
        }
    }
    static std::mutex mutex;
    const std::time_t now = std::time(nullptr);
    std::lock_guard lock(mutex);
    const std::tm* local = std::localtime(&now);
    if (!local) return 0;
    return EncodeDateTime(local->tm_year + 1900, local->tm_mon + 1, local->tm_mday, local->tm_hour,
                          local->tm_min, local->tm_sec);
}

}  // namespace ps
