// SPDX-License-Identifier: MIT
// Values named by rule titles or numbers.
#include "batch/RuleLookup.h"

#include <string>
#include <vector>

#include "base/AsciiText.h"
#include "base/IniFile.h"
#include "scheme/Scheme3.h"

namespace ps {
namespace {

constexpr const char* kSuffixes[] = {".CN", ".CHT", ".EN", ".JP"};

bool TitleNames(const std::string& title, std::string_view text) {
    if (SameTextNoCase(TrimAscii(title), text)) return true;
    const std::size_t tab = title.find('\t');
    return tab != std::string::npos && SameTextNoCase(TrimAscii(title.substr(0, tab)), text);
}

// The item's rule in every language the menu holds: the loaded one first.
std::vector<TTagItemRuleValues> RulesOf(const TSchemeOptions2& scheme, const TItemRef& ref,
                                        const TSettingItem& item, const TIniFile* menu) {
    std::vector<TTagItemRuleValues> rules = {item.RuleValues};
    if (!menu) return rules;
    const std::string section = ItemSectionName(ref.iPage, ref.iIndex);
    for (const char* suffix : kSuffixes) {
        if (SameTextNoCase(suffix, scheme.m_strLangStrTail)) continue;
        TSettingItem other = item;
        other.RuleString = menu->ReadString(section, std::string("Rule") + suffix, "");
        if (other.RuleString.empty()) continue;
        try {
            ParseItemRule(other, section);
        } catch (const ESchemeLoadError&) {
            continue;  // a rule that cannot be expanded names nothing
        }
        rules.push_back(other.RuleValues);
    }
    return rules;
}

struct TEntry {
    std::size_t index;
    std::int32_t value;
};

std::optional<TEntry> EntryNamed(const std::vector<TTagItemRuleValues>& rules,
                                 std::string_view text) {
    for (const TTagItemRuleValues& rule : rules)
        for (std::size_t i = 0; i < rule.Count(); ++i)
            if (TitleNames(rule.Title(i), text)) return TEntry{i, rule.Value(i)};
    return std::nullopt;
}

}  // namespace

std::optional<std::int32_t> RuleValueFromText(const TSchemeOptions2& scheme, const TItemRef& ref,
                                              const TIniFile* menu, std::string_view text) {
    TSettingItem item;
    if (!scheme.GetItem(ref.iPage, ref.iIndex, item)) return std::nullopt;
    text = TrimAscii(text);
    const std::vector<TTagItemRuleValues> rules = RulesOf(scheme, ref, item, menu);

    std::optional<std::int32_t> value;
    if (item.nParameterByte == 3) {
        // Flag k of the rule is bit 23 - k of the mask.
        std::uint32_t mask = 0;
        bool all = !text.empty();
        for (std::size_t start = 0; all && start <= text.size();) {
            std::size_t plus = text.find('+', start);
            if (plus == std::string_view::npos) plus = text.size();
            const auto entry = EntryNamed(rules, TrimAscii(text.substr(start, plus - start)));
            all = entry && entry->index < 24;
            if (all) mask |= 1u << (23 - entry->index);
            start = plus + 1;
        }
        if (all) value = static_cast<std::int32_t>(mask);
    } else if (const auto entry = EntryNamed(rules, text)) {
        value = entry->value;
    }
    if (!value) value = TryStrToInt(text);
    if (!value || !ValueInRule(item, *value)) return std::nullopt;
    return value;
}

}  // namespace ps
