// SPDX-License-Identifier: MIT
// Streaming JSON output, written in pieces of about 64 KB.
#include "JsonStream.h"

namespace ps::tool {
namespace {

constexpr std::size_t kFlushAt = 64 * 1024;

}  // namespace

void TJsonStream::NewLineAndIndent(std::size_t depth) {
    m_strBuffer += '\n';
    m_strBuffer.append(2 * depth, ' ');
}

void TJsonStream::BeforeValue() {
    if (m_bAfterKey) {
        m_bAfterKey = false;
        return;
    }
    if (m_Levels.empty()) return;
    TLevel& level = m_Levels.back();
    if (!level.bEmpty) m_strBuffer += ',';
    level.bEmpty = false;
    NewLineAndIndent(m_Levels.size());
}

void TJsonStream::Open(char bracket, bool object) {
    BeforeValue();
    m_strBuffer += bracket;
    m_Levels.push_back({object, true});
}

void TJsonStream::Close(char bracket) {
    const bool empty = m_Levels.back().bEmpty;
    m_Levels.pop_back();
    if (!empty) NewLineAndIndent(m_Levels.size());
    m_strBuffer += bracket;
    MaybeFlush();
}

void TJsonStream::BeginObject() {
    Open('{', true);
}
void TJsonStream::EndObject() {
    Close('}');
}
void TJsonStream::BeginArray() {
    Open('[', false);
}
void TJsonStream::EndArray() {
    Close(']');
}

void TJsonStream::Key(std::string_view name) {
    TLevel& level = m_Levels.back();
    if (!level.bEmpty) m_strBuffer += ',';
    level.bEmpty = false;
    NewLineAndIndent(m_Levels.size());
    Escaped(name);
    m_strBuffer += ": ";
    m_bAfterKey = true;
}

void TJsonStream::Escaped(std::string_view text) {
    // nlohmann's own serializer, so escapes and the replacement of invalid UTF-8 match.
    m_strBuffer += nlohmann::ordered_json(std::string(text))
                       .dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

void TJsonStream::String(std::string_view text) {
    BeforeValue();
    Escaped(text);
    MaybeFlush();
}

void TJsonStream::Integer(std::int64_t value) {
    BeforeValue();
    m_strBuffer += std::to_string(value);
    MaybeFlush();
}

void TJsonStream::Bool(bool value) {
    BeforeValue();
    m_strBuffer += value ? "true" : "false";
}

void TJsonStream::Value(const nlohmann::ordered_json& value) {
    if (value.is_object()) {
        BeginObject();
        for (const auto& member : value.items()) {
            Key(member.key());
            Value(member.value());
        }
        EndObject();
    } else if (value.is_array()) {
        BeginArray();
        for (const auto& element : value) Value(element);
        EndArray();
    } else if (value.is_string()) {
        String(value.get_ref<const std::string&>());
    } else {
        BeforeValue();  // numbers, Booleans and null as nlohmann prints them
        m_strBuffer += value.dump();
    }
}

void TJsonStream::MaybeFlush() {
    if (m_strBuffer.size() >= kFlushAt) Flush();
}

void TJsonStream::Flush() {
    m_Out.write(m_strBuffer.data(), static_cast<std::streamsize>(m_strBuffer.size()));
    m_strBuffer.clear();
}

}  // namespace ps::tool
