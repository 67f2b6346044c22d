// SPDX-License-Identifier: MIT
// Item rules: ENUM and SERIAL rule texts expanded into value/title lists, and value titles.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "base/AsciiText.h"
#include "base/IniFile.h"
#include "platform/UserInterface.h"
#include "scheme/Scheme3.h"

namespace ps {
namespace {

constexpr const char* kRuleCaption = "Rule parse error";

// Three-byte values carry one flag per entry, most significant bit first.
constexpr std::size_t kFlagBits = 24;

bool IsSeparatorChar(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

// Literal "\r" becomes a line break, leading blanks and controls go, and blanks and tabs are
// masked as '^' and '`' so that only commas and line breaks separate entries.
std::string PrepareRuleText(std::string_view rule) {
    std::string text;
    text.reserve(rule.size());
    for (std::size_t i = 0; i < rule.size(); ++i) {
        if (rule[i] == '\\' && i + 1 < rule.size() && rule[i + 1] == 'r') {
            text += "\r\n";
            ++i;
        } else {
            text += rule[i];
        }
    }
    std::size_t start = 0;
    while (start < text.size() && IsSeparatorChar(text[start])) ++start;
    text.erase(0, start);
    std::replace(text.begin(), text.end(), '\t', '`');
    std::replace(text.begin(), text.end(), ' ', '^');
    return text;
}

// Comma/line separated entries; an entry opened by a double quote runs to its closing quote
// (a doubled quote inside stands for one) and may hold commas.
std::vector<std::string> SplitEntries(const std::string& text) {
    std::vector<std::string> entries;
    const std::size_t n = text.size();
    std::size_t p = 0;
    while (p < n && IsSeparatorChar(text[p])) ++p;
    while (p < n) {
        std::string entry;
        if (text[p] == '"') {
            ++p;
            while (p < n) {
                if (text[p] == '"') {
                    if (p + 1 < n && text[p + 1] == '"') {
                        entry += '"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                entry += text[p++];
            }
        } else {
            const std::size_t start = p;
            while (p < n && !IsSeparatorChar(text[p]) && text[p] != ',') ++p;
            entry.assign(text, start, p - start);
        }
        entries.push_back(std::move(entry));
        while (p < n && IsSeparatorChar(text[p])) ++p;
        if (p < n && text[p] == ',') {
            if (p + 1 == n) entries.emplace_back();
            do ++p;
            while (p < n && IsSeparatorChar(text[p]));
        }
    }
    return entries;
}

std::string Unmask(std::string_view masked) {
    std::string text(masked);
    std::replace(text.begin(), text.end(), '^', ' ');
    std::replace(text.begin(), text.end(), '`', '\t');
    std::size_t first = 0, last = text.size();
    while (first < last && IsSeparatorChar(text[first])) ++first;
    while (last > first && IsSeparatorChar(text[last - 1])) --last;
    return text.substr(first, last - first);
}

void ShowRuleMessage(const std::string& text) {
    ShowMessage(nullptr, kRuleCaption, text, TMessageIcon::Error);
}

std::string ItemForError(const TSettingItem& item, std::string_view section) {
    std::string where = "item \"" + item.Title + "\"";
    if (!section.empty()) where += " in [" + std::string(section) + "]";
    return where;
}

void ParseEnumRule(const std::vector<std::string>& entries, TSettingItem& item) {
    std::vector<std::int32_t> values(entries.size(), 0);
    std::vector<std::string> titles(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string& entry = entries[i];
        const std::size_t eq = entry.find('=');
        const std::string name =
            eq == std::string::npos ? std::string() : Unmask(entry.substr(0, eq));
        if (auto value = TryStrToInt(name))
            values[i] = *value;
        else
            ShowRuleMessage("while parseing Enum rule\"" + item.Title + "\"(" + std::to_string(i) +
                            ")Exception !");
        titles[i] = eq == std::string::npos ? std::string() : Unmask(entry.substr(eq + 1));
    }
    item.RuleValues = TTagItemRuleValues(std::move(values), std::move(titles));
    item.nRuleValueCount = static_cast<std::uint32_t>(entries.size());
}

std::string_view SkipLeadingBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    return text;
}

// A decimal number with "." as the decimal separator (the separator of all four program
// languages), optional sign and exponent; blanks around it are allowed.
std::optional<double> TryStrToFloat(std::string_view text) {
    text = SkipLeadingBlanks(text);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() ||
        !(std::isdigit(static_cast<unsigned char>(text.front())) || text.front() == '.'))
        return std::nullopt;
    double value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

// Two decimals with "." whatever the C locale is; a value that rounds to zero shows no sign.
std::string FormatTwoDecimals(double value) {
    // Halves round away from zero (0.125 shows 0.13), as printed values are expected to.
    if (std::isfinite(value) && std::fabs(value) < 1e15) {
        const long long cents = std::llround(value * 100.0);
        const unsigned long long magnitude = cents < 0
                                                 ? 0ull - static_cast<unsigned long long>(cents)
                                                 : static_cast<unsigned long long>(cents);
        return (cents < 0 ? "-" : "") + std::to_string(magnitude / 100) + "." +
               (magnitude % 100 < 10 ? "0" : "") + std::to_string(magnitude % 100);
    }
    char buffer[400];
    auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    if (ec != std::errc()) return "0.00";
    return std::string(buffer, end);
}

void ParseSerialRule(std::vector<std::string> entries, TSettingItem& item,
                     std::string_view section) {
    for (auto& entry : entries) entry = Unmask(entry);
    if (entries.size() < 4)
        ShowRuleMessage("while parseing Serial rule\"" + item.Title +
                        "\"Exception !\r\nMay be leak to write a key word");

    auto keyword = [&](std::string_view key) -> std::optional<std::string> {
        for (const auto& entry : entries) {
            const std::size_t eq = entry.find('=');
            if (eq != std::string::npos &&
                SameTextNoCase(std::string_view(entry).substr(0, eq), key))
                return entry.substr(eq + 1);
        }
        return std::nullopt;
    };
    auto integer = [&](std::string_view key) -> std::int64_t {
        const std::string text = keyword(key).value_or("");
        if (auto value = TryStrToInt(SkipLeadingBlanks(text))) return *value;
        throw ESchemeLoadError("'" + text + "' is not a valid integer value (" + std::string(key) +
                               " of the SERIAL rule of " + ItemForError(item, section) + ")");
    };

    std::int64_t minimum = integer("Min");
    std::int64_t maximum = integer("Max");
    const std::int64_t step = integer("Step");
    const std::int64_t displayAdd = integer("DisplayAdd");
    const double multiply = TryStrToFloat(keyword("mmMultiply").value_or("")).value_or(0.0);
    const std::string unit = keyword("Title").value_or("");

    if (minimum > maximum) std::swap(minimum, maximum);
    const std::int64_t s = step < 0 ? -step : step;
    if (s == 0)
        throw ESchemeLoadError("Step=0 in the SERIAL rule of " + ItemForError(item, section) +
                               ": a zero step lists no values");
    const std::int64_t count = (maximum - minimum + s) / s;
    if (count > kMaxSerialRuleValues)
        throw ESchemeLoadError("the SERIAL rule of " + ItemForError(item, section) + " lists " +
                               std::to_string(count) + " values (Min=" + std::to_string(minimum) +
                               ", Max=" + std::to_string(maximum) + ", Step=" + std::to_string(s) +
                               "), more than the limit of " + std::to_string(kMaxSerialRuleValues));

    TSerialRange range;
    range.Min = minimum;
    range.Step = s;
    range.Count = static_cast<std::size_t>(count);
    range.DisplayAdd = displayAdd;
    range.Unit = unit;
    range.mmMultiply = multiply;
    item.RuleValues = TTagItemRuleValues(std::move(range));
    item.nRuleValueCount = static_cast<std::uint32_t>(count);
}

}  // namespace

std::int32_t TSerialRange::ValueAt(std::size_t i) const {
    return static_cast<std::int32_t>(Min + static_cast<std::int64_t>(i) * Step);
}

std::string TSerialRange::TitleAt(std::size_t i) const {
    const std::int64_t v = Min + static_cast<std::int64_t>(i) * Step;
    std::string title = std::to_string(v + DisplayAdd) + Unit;
    // The length uses the value itself, not the displayed number.
    if (mmMultiply > 0.001 || mmMultiply < -0.001)
        title += "\t ( " + FormatTwoDecimals(static_cast<double>(v) * mmMultiply) + "mm )";
    return title;
}

std::optional<std::size_t> TSerialRange::IndexOf(std::int32_t value) const {
    const std::int64_t offset = static_cast<std::int64_t>(value) - Min;
    if (offset < 0 || Step <= 0 || offset % Step != 0) return std::nullopt;
    const auto i = static_cast<std::uint64_t>(offset / Step);
    if (i >= Count) return std::nullopt;
    return static_cast<std::size_t>(i);
}

TTagItemRuleValues::TTagItemRuleValues(std::vector<std::int32_t> values,
                                       std::vector<std::string> titles)
    : RuleValue(std::move(values)), RuleTitle(std::move(titles)) {}

TTagItemRuleValues::TTagItemRuleValues(TSerialRange range) {
    auto shared = std::make_shared<const TSerialRange>(std::move(range));
    RuleValue = TRuleList<std::int32_t>(shared);
    RuleTitle = TRuleList<std::string>(std::move(shared));
}

std::optional<std::size_t> TTagItemRuleValues::LastIndexOf(std::int32_t value) const {
    if (const TSerialRange* range = Serial()) return range->IndexOf(value);  // no duplicates
    for (std::size_t i = RuleValue.size(); i-- > 0;)
        if (RuleValue[i] == value) return i;
    return std::nullopt;
}

std::size_t TTagItemRuleValues::TitleBytesAtMost() const {
    if (const TSerialRange* range = Serial()) {
        if (range->Count == 0) return 0;
        // Values and lengths run monotonically, so the longest title is at one of the ends.
        const std::size_t longest =
            std::max(range->TitleAt(0).size(), range->TitleAt(range->Count - 1).size());
        return longest * range->Count;
    }
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < RuleTitle.size(); ++i) bytes += RuleTitle[i].size();
    return bytes;
}

void ParseItemRule(TSettingItem& item, std::string_view section) {
    item.RuleValues = {};
    item.nRuleValueCount = 0;
    const std::string type = AsciiUpper(item.RuleType);
    if (type != "ENUM" && type != "SERIAL") return;
    std::vector<std::string> entries = SplitEntries(PrepareRuleText(item.RuleString));
    if (type == "ENUM")
        ParseEnumRule(entries, item);
    else
        ParseSerialRule(std::move(entries), item, section);
}

void TSchemeOptions2::GetTitleFromValue(std::uint8_t iPage, std::int32_t iIndex, std::string& title,
                                        std::int32_t key) const {
    title.clear();
    const ArrSettingItems* items = PageItems(iPage);
    if (!items || iIndex < 0 || static_cast<std::size_t>(iIndex) >= items->size()) return;
    const TSettingItem& item = (*items)[static_cast<std::size_t>(iIndex)];
    const TTagItemRuleValues& rule = item.RuleValues;
    switch (item.nParameterByte) {
        case 1:
        case 2:
            if (auto i = rule.LastIndexOf(key)) title = rule.Title(*i);
            break;
        case 3: {
            if (key == 0) {
                title = g_GlobalString.NO;
                break;
            }
            // Entries beyond the 24th name no bit of a three-byte value and are ignored.
            const auto bits = static_cast<std::uint32_t>(key);
            const std::size_t flags = std::min(rule.Count(), kFlagBits);
            for (std::size_t k = 0; k < flags; ++k) {
                if ((bits >> (kFlagBits - 1 - k)) & 1u) {
                    if (!title.empty()) title += ", ";
                    title += std::to_string(k + 1);
                }
            }
            if (title.empty()) title = g_GlobalString.NO;
            break;
        }
        default:
            break;
    }
}

}  // namespace ps
