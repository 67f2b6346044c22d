// SPDX-License-Identifier: MIT
// The value a person names for an item: a title of its rule in any of the scheme's languages,
// or a number the rule allows.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "batch/SettingCatalog.h"

namespace ps {

class TIniFile;
class TSchemeOptions2;

/// The value `text` names for item `ref`, checked against its rule and width:
/// - a title of the rule, letter case ignored, in the running language or, read from `menu`
///   (the file the items were loaded from), in another of the four; a millimetre suffix (the
///   part from the title's tab on) may be left out;
/// - for a three-byte item, titles joined by "+" name the mask with those flags set;
/// - otherwise a number (decimal, "$" or "0x" hex) that the rule allows (a three-byte item's
///   mask).
/// Titles win over numbers. Nothing when the text names no value the item may take.
std::optional<std::int32_t> RuleValueFromText(const TSchemeOptions2& scheme, const TItemRef& ref,
                                              const TIniFile* menu, std::string_view text);

}  // namespace ps
