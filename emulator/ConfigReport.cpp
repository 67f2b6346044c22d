// SPDX-License-Identifier: MIT
// Reporting what a configuration file holds that cannot be understood.
#include "ConfigReport.h"

#include "base/IniFile.h"

namespace ps::emu {
namespace {

// Long texts (hex noise, firmware bytes) are cut so that a report line stays one short line.
constexpr std::size_t kShownText = 60;

std::string Shown(std::string_view text) {
    if (text.size() <= kShownText) return std::string(text);
    return std::string(text.substr(0, kShownText)) + "...";
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool SameNameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

TConfigReport::TConfigReport(std::string fileName) : m_sFileName(std::move(fileName)) {}

void TConfigReport::Key(std::string_view section, std::string_view key, std::string_view text,
                        std::string_view what) {
    std::string line = "[" + std::string(section) + "] " + std::string(key) + "=" + Shown(text);
    if (section.empty()) line = std::string(key) + "=" + Shown(text) + " (before any section)";
    Add(line + ": " + std::string(what));
}

void TConfigReport::Entry(std::string_view section, std::string_view key, std::string_view entry,
                          std::string_view what) {
    Add("[" + std::string(section) + "] " + std::string(key) + " entry \"" + Shown(entry) +
        "\": " + std::string(what));
}

void TConfigReport::Section(std::string_view section, std::string_view what) {
    Add("[" + std::string(section) + "]: " + std::string(what));
}

void TConfigReport::Add(std::string_view text) {
    m_Lines.push_back(m_sFileName + ": " + std::string(text));
}

TSectionReader::TSectionReader(std::string section, TEntries entries, TConfigReport* report)
    : m_sSection(std::move(section)), m_pReport(report) {
    for (auto& [key, text] : entries) m_Entries.push_back({std::move(key), std::move(text)});
}

TSectionReader::TSectionReader(const TIniFile& ini, std::string section, TConfigReport* report)
    : TSectionReader(section, ini.Entries(section), report) {}

const TSectionReader::TEntry* TSectionReader::First(std::string_view key) const {
    for (const TEntry& entry : m_Entries)
        if (SameNameNoCase(entry.key, key)) return &entry;
    return nullptr;
}

void TSectionReader::MarkRead(std::string_view key) {
    for (TEntry& entry : m_Entries)
        if (SameNameNoCase(entry.key, key)) entry.bRead = true;
}

std::optional<std::string> TSectionReader::Find(std::string_view key) {
    const TEntry* entry = First(key);
    if (!entry) return std::nullopt;
    std::string text = entry->text;
    MarkRead(key);
    return text;
}

std::string TSectionReader::Text(std::string_view key) {
    return Find(key).value_or(std::string());
}

std::optional<std::int64_t> TSectionReader::Integer(std::string_view key, std::int64_t min,
                                                    std::int64_t max, std::string_view keeps) {
    auto text = Find(key);
    if (!text) return std::nullopt;
    auto n = TryStrToInt(*text);
    if (!n) {
        Problem(key, *text, "not a number; " + std::string(keeps));
        return std::nullopt;
    }
    if (*n < min || *n > max) {
        Problem(key, *text,
                "not from " + std::to_string(min) + " to " + std::to_string(max) + "; " +
                    std::string(keeps));
        return std::nullopt;
    }
    return *n;
}

void TSectionReader::Flag(std::string_view key, bool& out) {
    auto text = Find(key);
    if (!text) return;
    if (auto n = TryStrToInt(*text))
        out = *n != 0;
    else
        Problem(key, *text, std::string("not a flag (0 or 1); keeps ") + (out ? "1" : "0"));
}

TSectionReader::TEntries TSectionReader::WithPrefix(std::string_view prefix) {
    TEntries found;
    for (const TEntry& entry : m_Entries) {
        if (entry.key.size() < prefix.size() ||
            !SameNameNoCase(std::string_view(entry.key).substr(0, prefix.size()), prefix))
            continue;
        if (First(entry.key) == &entry) found.emplace_back(entry.key, entry.text);
    }
    for (const auto& [key, text] : found) MarkRead(key);
    return found;
}

TSectionReader::TEntries TSectionReader::TakeUnread() {
    TEntries found;
    for (const TEntry& entry : m_Entries)
        if (!entry.bRead && First(entry.key) == &entry) found.emplace_back(entry.key, entry.text);
    for (const auto& [key, text] : found) MarkRead(key);
    return found;
}

void TSectionReader::Problem(std::string_view key, std::string_view text, std::string_view what) {
    if (m_pReport) m_pReport->Key(m_sSection, key, text, what);
}

void TSectionReader::EntryProblem(std::string_view key, std::string_view entry,
                                  std::string_view what) {
    if (m_pReport) m_pReport->Entry(m_sSection, key, entry, what);
}

void TSectionReader::Finish() {
    for (const TEntry& entry : m_Entries) {
        if (First(entry.key) != &entry)
            Problem(entry.key, entry.text,
                    "repeated key; the first " + First(entry.key)->key + " counts");
        else if (!entry.bRead)
            Problem(entry.key, entry.text, "unknown key; ignored");
    }
}

}  // namespace ps::emu
