// SPDX-License-Identifier: MIT
// The setting items of a scheme: the items whose value can be read, checked against their rule
// and written, addressed by page and index, with the page names scripts use.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ps {

struct TSettingItem;
class TSchemeOptions2;

/// An item by page code and index within the page (from 0).
struct TItemRef {
    std::uint8_t iPage = 0;
    std::int32_t iIndex = 0;
    bool operator==(const TItemRef&) const = default;
};

/// The pages in listing order: base (100), advanced (0), maintenance (99), sub groups 1, 2
/// and 64 (128, 129, 191).
const std::array<std::uint8_t, 6>& SettingPages();

/// "base", "advanced", "maintenance", "subgroup1", "subgroup2", "subgroup64"; the base page
/// answers to 1, 100 and 101. Empty for a code that names no list.
std::string PageName(std::uint8_t iPage);

/// The page a text names: one of the names above (letter case ignored) or a page code in
/// decimal (1 and 101 give 100). Nothing for anything else.
std::optional<std::uint8_t> PageFromText(std::string_view text);

/// True for an item with a function of its own (ink maintenance, device dialogs: an Icon that
/// begins with "Ink", or "NormalSet"): it holds no plain value.
bool IsFunctionItem(const TSettingItem& item);

/// True when the item's value can be read, checked and written: one two-digit read code, a
/// write command, a rule with values, one to three value bytes, and no function of its own.
bool IsSettingItem(const TSettingItem& item);

/// The setting items of one page, or of every page in listing order; in page order within a
/// page.
std::vector<TItemRef> SettingItems(const TSchemeOptions2& scheme,
                                   std::optional<std::uint8_t> iPage = std::nullopt);

/// True when the rule allows the value and the item's width can carry it. Three-byte items
/// take a mask whose set bits all name entries of the rule (entry k is bit 23 - k).
bool ValueInRule(const TSettingItem& item, std::int32_t value);

}  // namespace ps
