// SPDX-License-Identifier: MIT
// The document "import" reads: the members it uses, each checked for the type the format gives
// it, before anything is sent.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ps::tool {

/// One item of the document.
struct TSourceItem {
    std::string page;  // page name as the document gives it
    std::string name;
    std::string code;
    std::optional<std::int32_t> value;
};

/// The document's source printer, model and items.
struct TSourceDocument {
    std::string printer;
    std::string model;
    std::vector<TSourceItem> items;
};

/// Reads an exported document; `file` names it in messages. Throws a bad-input EVerbFailure for
/// malformed JSON, another format, a member of the wrong type and a value outside the 32-bit
/// range.
TSourceDocument ParseImportDocument(std::string_view text, const std::string& file);

}  // namespace ps::tool
