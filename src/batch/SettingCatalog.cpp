// SPDX-License-Identifier: MIT
// The setting items of a scheme.
#include "batch/SettingCatalog.h"

#include <algorithm>

#include "base/AsciiText.h"
#include "base/IniFile.h"
#include "scheme/Scheme3.h"
#include "scheme/SettingWrite.h"

namespace ps {
namespace {

constexpr std::array<std::uint8_t, 6> kSettingPages = {
    kPageBase, kPageAdvance, kPageMaintenance, kPageSubGroup01, kPageSubGroup02, kPageSubGroup64};

struct TPageNaming {
    std::uint8_t page;
    const char* name;
};
constexpr TPageNaming kPageNames[] = {{kPageBase, "base"},
                                      {kPageAdvance, "advanced"},
                                      {kPageMaintenance, "maintenance"},
                                      {kPageSubGroup01, "subgroup1"},
                                      {kPageSubGroup02, "subgroup2"},
                                      {kPageSubGroup64, "subgroup64"}};

std::uint8_t CanonicalPage(std::uint8_t page) {
    return page == kPageBaseItem || page == kPageBaseReport ? kPageBase : page;
}

bool IsTwoDigitCode(std::string_view text) {
    return text.size() == 2 && HexDigitValue(text[0]) >= 0 && HexDigitValue(text[1]) >= 0;
}

}  // namespace

const std::array<std::uint8_t, 6>& SettingPages() {
    return kSettingPages;
}

std::string PageName(std::uint8_t iPage) {
    for (const TPageNaming& naming : kPageNames)
        if (naming.page == CanonicalPage(iPage)) return naming.name;
    return {};
}

std::optional<std::uint8_t> PageFromText(std::string_view text) {
    for (const TPageNaming& naming : kPageNames)
        if (SameTextNoCase(text, naming.name)) return naming.page;
    bool digits = !text.empty() && text.size() <= 3;
    for (char c : text) digits = digits && c >= '0' && c <= '9';
    if (!digits) return std::nullopt;
    const auto code = TryStrToInt(text);
    if (!code || *code > 255 || !FindPageList(static_cast<std::uint8_t>(*code)))
        return std::nullopt;
    return CanonicalPage(static_cast<std::uint8_t>(*code));
}

bool IsFunctionItem(const TSettingItem& item) {
    return item.Icon.starts_with("Ink") || item.Icon == "NormalSet";
}

bool IsSettingItem(const TSettingItem& item) {
    return !IsFunctionItem(item) && IsTwoDigitCode(item.GetInstruction) &&
           !TrimAscii(item.SetInstruction).empty() && item.RuleValues.Count() > 0 &&
           item.nParameterByte >= 1 && item.nParameterByte <= 3;
}

std::vector<TItemRef> SettingItems(const TSchemeOptions2& scheme,
                                   std::optional<std::uint8_t> iPage) {
    std::vector<TItemRef> refs;
    for (std::uint8_t page : kSettingPages) {
        if (iPage && CanonicalPage(*iPage) != page) continue;
        const ArrSettingItems* items = scheme.PageItems(page);
        if (!items) continue;
        for (std::size_t i = 0; i < items->size(); ++i)
            if (IsSettingItem((*items)[i])) refs.push_back({page, static_cast<std::int32_t>(i)});
    }
    return refs;
}

bool ValueInRule(const TSettingItem& item, std::int32_t value) {
    if (!ValueFitsWidth(item.nParameterByte, value)) return false;
    if (item.nParameterByte != 3) return item.RuleValues.LastIndexOf(value).has_value();
    // Bits below the rule's last flag name no entry.
    const std::size_t flags = std::min<std::size_t>(item.RuleValues.Count(), 24);
    const std::uint32_t named = flags == 0 ? 0 : (0xFFFFFFu << (24 - flags)) & 0xFFFFFFu;
    return (static_cast<std::uint32_t>(value) & ~named) == 0;
}

}  // namespace ps
