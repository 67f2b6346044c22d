// SPDX-License-Identifier: MIT
// A JSON writer that streams pretty-printed text in the layout of nlohmann's dump(2).
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace ps::tool {

/// Writes one JSON value as it is described, member by member, without holding it whole:
/// two-space indentation, "key": value, empty containers as {} and [], strings escaped as
/// nlohmann escapes them (UTF-8 kept, invalid bytes replaced).
class TJsonStream {
public:
    explicit TJsonStream(std::ostream& out) : m_Out(out) {}
    TJsonStream(const TJsonStream&) = delete;
    TJsonStream& operator=(const TJsonStream&) = delete;
    ~TJsonStream() { Flush(); }

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    /// The name of the next member of the current object.
    void Key(std::string_view name);
    void String(std::string_view text);
    void Integer(std::int64_t value);
    void Bool(bool value);
    /// Writes a value held by nlohmann, streamed the same way.
    void Value(const nlohmann::ordered_json& value);
    void Flush();

private:
    struct TLevel {
        bool bObject;
        bool bEmpty;
    };
    void BeforeValue();
    void Open(char bracket, bool object);
    void Close(char bracket);
    void NewLineAndIndent(std::size_t depth);
    void Escaped(std::string_view text);
    void MaybeFlush();

    std::ostream& m_Out;
    std::string m_strBuffer;
    std::vector<TLevel> m_Levels;
    bool m_bAfterKey = false;
};

}  // namespace ps::tool
