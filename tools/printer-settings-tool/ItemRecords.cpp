// SPDX-License-Identifier: MIT
// Naming, records and tables of setting items.
#include "ItemRecords.h"

#include <algorithm>
#include <ostream>

#include "base/AsciiText.h"
#include "base/IniFile.h"
#include "base/TextCodec.h"
#include "scheme/Scheme3.h"

namespace ps::tool {
namespace {

// Columns a character takes on a terminal: two for the wide East Asian ranges.
std::size_t DisplayWidth(std::string_view utf8) {
    std::size_t width = 0;
    for (char16_t c : Utf8ToUtf16(utf8)) {
        if (c >= 0xDC00 && c <= 0xDFFF) continue;  // second half of a pair
        const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                          (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                          (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                          (c >= 0xFFE0 && c <= 0xFFE6);
        width += wide ? 2 : 1;
    }
    return width;
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

}  // namespace

TItemRef ResolveItem(const TSchemeOptions2& scheme, std::string_view text) {
    std::vector<TItemRef> found;
    TSettingItem item;
    const std::size_t slash = text.find('/');
    if (slash != std::string_view::npos) {
        const auto page = PageFromText(text.substr(0, slash));
        const std::string_view index = text.substr(slash + 1);
        bool digits = !index.empty() && index.size() <= 6;
        for (char c : index) digits = digits && c >= '0' && c <= '9';
        const auto number = digits ? TryStrToInt(index) : std::nullopt;
        if (!page || !number || !scheme.GetItem(*page, *number, item))
            throw EVerbFailure(kVerbBadInput, "no item " + Quoted(text) +
                                                  " (PAGE/INDEX: a page name or code and the "
                                                  "index from 0)");
        found.push_back({*page, *number});
    } else {
        for (std::uint8_t page : SettingPages()) {
            const ArrSettingItems* items = scheme.PageItems(page);
            for (std::size_t i = 0; items && i < items->size(); ++i)
                if (SameTextNoCase((*items)[i].Name, text))
                    found.push_back({page, static_cast<std::int32_t>(i)});
        }
        if (found.empty())
            throw EVerbFailure(kVerbBadInput, "no item named " + Quoted(text));
        if (found.size() > 1) {
            std::string places;
            for (const TItemRef& ref : found) places += " " + ItemPlace(ref);
            throw EVerbFailure(kVerbBadInput, Quoted(text) + " names several items; give one "
                                                             "of" + places);
        }
        scheme.GetItem(found[0].iPage, found[0].iIndex, item);
    }
    if (!IsSettingItem(item))
        throw EVerbFailure(kVerbBadInput,
                           Quoted(text) + " (" + ItemPlace(found[0]) + ") is " +
                               (IsFunctionItem(item) ? "a printer function" : "no value setting") +
                               ", not an item whose value can be read and set");
    return found[0];
}

std::string ItemPlace(const TItemRef& ref) {
    return PageName(ref.iPage) + "/" + std::to_string(ref.iIndex);
}

std::string ValueText(const TSchemeOptions2& scheme, const TItemRef& ref, std::int32_t value) {
    TSettingItem item;
    scheme.GetItem(ref.iPage, ref.iIndex, item);
    if (!ValueInRule(item, value)) return "not in the rule";
    std::string title;
    scheme.GetTitleFromValue(ref.iPage, ref.iIndex, title, value);
    return title;
}

json ItemRecord(const TSchemeOptions2& scheme, const TItemRef& ref,
                std::optional<std::int32_t> value) {
    TSettingItem item;
    scheme.GetItem(ref.iPage, ref.iIndex, item);
    json record{{"page", PageName(ref.iPage)},
                {"pageCode", ref.iPage},
                {"index", ref.iIndex},
                {"name", item.Name},
                {"title", item.Title},
                {"code", AsciiUpper(item.GetInstruction)},
                {"bytes", item.nParameterByte}};
    if (!value) {
        record["value"] = nullptr;
        record["valueTitle"] = nullptr;
        record["inRule"] = false;
        return record;
    }
    record["value"] = *value;
    const bool inRule = ValueInRule(item, *value);
    record["valueTitle"] = inRule ? json(ValueText(scheme, ref, *value)) : json(nullptr);
    record["inRule"] = inRule;
    return record;
}

void WriteTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (widths.size() <= c) widths.push_back(0);
            widths[c] = std::max(widths[c], DisplayWidth(row[c]));
        }
    for (const auto& row : rows) {
        std::string line;
        // A title's tab (before its millimetres) would break the columns.
        for (std::size_t c = 0; c < row.size(); ++c) {
            std::string cell = row[c];
            std::replace(cell.begin(), cell.end(), '\t', ' ');
            line += cell;
            if (c + 1 < row.size()) line += std::string(widths[c] - DisplayWidth(row[c]) + 2, ' ');
        }
        out << line << "\n";
    }
}

}  // namespace ps::tool
