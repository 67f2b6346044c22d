// SPDX-License-Identifier: MIT
// Setting items on the command line: naming them, their records in the documents, and the
// readable tables of the printer verbs.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "VerbSession.h"
#include "batch/SettingCatalog.h"

namespace ps {
struct TSettingItem;
}

namespace ps::tool {

/// The setting item a text names: its Name, letter case ignored, or PAGE/INDEX (a page name or
/// code, "/", the index from 0). Throws a bad-input failure for an unknown or ambiguous name
/// and for an item that is a function rather than a setting.
TItemRef ResolveItem(const TSchemeOptions2& scheme, std::string_view text);

/// "base/3": how an item is named by place.
std::string ItemPlace(const TItemRef& ref);

/// The record of an item: page, pageCode, index, name, title, code and bytes; with a value, the
/// value, its title and whether the rule holds it; without one (nothing), value null.
json ItemRecord(const TSchemeOptions2& scheme, const TItemRef& ref,
                std::optional<std::int32_t> value);

/// The title a value shows for an item ("not in the rule" when the rule lacks it).
std::string ValueText(const TSchemeOptions2& scheme, const TItemRef& ref, std::int32_t value);

/// Writes rows as columns padded to their widest cell (East Asian characters count twice).
void WriteTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows);

}  // namespace ps::tool
