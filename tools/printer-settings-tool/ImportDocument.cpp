// SPDX-License-Identifier: MIT
// Reading the document of "import".
#include "ImportDocument.h"

#include <nlohmann/json.hpp>

#include "VerbSession.h"

namespace ps::tool {
namespace {

EVerbFailure BadDocument(const std::string& file, const std::string& why) {
    return EVerbFailure(kVerbBadInput, file + ": " + why + "; nothing was sent");
}

// An integer of the document within the 32-bit range, as written. A number without a sign is
// held unsigned: one above the signed 64-bit range must not be read back as a negative one.
std::optional<std::int32_t> Int32Of(const nlohmann::json& value) {
    if (value.is_number_unsigned()) {
        const auto number = value.get<std::uint64_t>();
        if (number > static_cast<std::uint64_t>(INT32_MAX)) return std::nullopt;
        return static_cast<std::int32_t>(number);
    }
    if (!value.is_number_integer()) return std::nullopt;
    const auto number = value.get<std::int64_t>();
    if (number < INT32_MIN || number > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(number);
}

}  // namespace

// The document's members this verb uses, each of the type the format gives it.
TSourceDocument ParseImportDocument(std::string_view text, const std::string& file) {
    nlohmann::json doc;
    try {
        doc = nlohmann::json::parse(text);
    } catch (const nlohmann::json::exception& e) {  // also a number beyond a double (1e999)
        throw BadDocument(file, std::string("malformed JSON (") + e.what() + ")");
    }
    if (!doc.is_object() || doc.value("format", nlohmann::json()) != kDocumentFormat)
        throw BadDocument(file, std::string("not a document of this tool (\"format\": \"") +
                                    kDocumentFormat + "\" missing)");
    const auto member = [&](const nlohmann::json& object, const char* key, bool required) {
        auto it = object.find(key);
        if (it == object.end() && !required) return std::string();
        if (it == object.end() || !it->is_string())
            throw BadDocument(file, std::string("\"") + key + "\" must be a text");
        return it->get<std::string>();
    };
    TSourceDocument source;
    source.model = member(doc, "model", true);
    source.printer = member(doc, "printer", false);
    const auto items = doc.find("items");
    if (items == doc.end() || !items->is_array())
        throw BadDocument(file, "\"items\" must be a list");
    for (const nlohmann::json& item : *items) {
        if (!item.is_object()) throw BadDocument(file, "every item must be an object");
        TSourceItem entry{member(item, "page", true), member(item, "name", true),
                          member(item, "code", false), std::nullopt};
        const auto value = item.find("value");
        if (value == item.end() || !(value->is_null() || Int32Of(*value)))
            throw BadDocument(
                file, "the value of item \"" + entry.name + "\" must be a 32-bit integer or null");
        entry.value = Int32Of(*value);
        source.items.push_back(entry);
    }
    return source;
}

}  // namespace ps::tool
