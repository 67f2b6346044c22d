// SPDX-License-Identifier: MIT
// Single-key INI updates that keep the rest of the file as it was.
#include "base/IniWriter.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "base/AsciiText.h"
#include "base/AtomicFile.h"
#include "base/TextCodec.h"

namespace ps {
namespace {

bool IsNameBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsValueBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s, bool (*blank)(char)) {
    return TrimAscii(s, blank);
}

bool SameName(std::string_view a, std::string_view b) {
    return SameTextNoCase(a, b);
}

struct TLine {
    std::string_view body;
    std::string_view eol;
};

std::vector<TLine> SplitLines(std::string_view text) {
    std::vector<TLine> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            lines.push_back({text.substr(pos), {}});
            break;
        }
        std::size_t eolLen =
            (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;
        lines.push_back({text.substr(pos, end - pos), text.substr(end, eolLen)});
        pos = end + eolLen;
    }
    return lines;
}

// The section name of a header line, or nothing when the line is no header.
bool HeaderName(std::string_view line, std::string_view& name) {
    if (auto nul = line.find('\0'); nul != std::string_view::npos) line = line.substr(0, nul);
    std::string_view body = Trim(line, IsNameBlank);
    if (body.empty() || body.front() != '[') return false;
    auto close = body.rfind(']');
    if (close == std::string_view::npos) return false;
    name = Trim(body.substr(1, close - 1), IsNameBlank);
    return true;
}

// The key of an entry line, or nothing for blank lines, comments and lines without '='.
bool EntryKey(std::string_view line, std::string_view& key) {
    if (auto nul = line.find('\0'); nul != std::string_view::npos) line = line.substr(0, nul);
    std::string_view body = Trim(line, IsNameBlank);
    if (body.empty() || body.front() == ';') return false;
    auto eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    key = Trim(line.substr(0, eq), IsValueBlank);
    return true;
}

}  // namespace

std::string SetIniValueInText(std::string_view text, std::string_view section, std::string_view key,
                              std::string_view value) {
    std::vector<TLine> lines = SplitLines(text);
    std::string_view newline = "\r\n";
    for (const TLine& l : lines)
        if (!l.eol.empty()) {
            newline = l.eol;
            break;
        }
    section = Trim(section, IsNameBlank);
    key = Trim(key, IsValueBlank);

    // Range [first, last) of the section's lines; the unnamed section precedes every header.
    std::size_t first = lines.size(), last = lines.size();
    bool found = false;
    if (section.empty()) {
        first = 0;
        found = true;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view name;
        if (!HeaderName(lines[i].body, name)) continue;
        if (found) {
            last = i;
            break;
        }
        if (SameName(name, section)) {
            first = i + 1;
            found = true;
        }
    }

    std::string entry = std::string(key) + "=" + std::string(value);
    std::string out;
    out.reserve(text.size() + entry.size() + section.size() + 8);
    auto append = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            out += lines[i].body;
            out += lines[i].eol;
        }
    };
    auto endLine = [&] {
        if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += newline;
    };

    if (!found) {
        append(0, lines.size());
        endLine();
        out += "[" + std::string(section) + "]";
        out += newline;
        out += entry;
        out += newline;
        return out;
    }
    std::size_t insertAfter = first;  // after the header when the section has no entries
    for (std::size_t i = first; i < last; ++i) {
        std::string_view k;
        if (!EntryKey(lines[i].body, k)) {
            if (!Trim(lines[i].body, IsNameBlank).empty()) insertAfter = i + 1;
            continue;
        }
        if (SameName(k, key)) {
            append(0, i);
            out += std::string(k) + "=" + std::string(value);
            out += lines[i].eol.empty() ? std::string_view{} : lines[i].eol;
            append(i + 1, lines.size());
            return out;
        }
        insertAfter = i + 1;
    }
    append(0, insertAfter);
    endLine();
    out += entry;
    out += newline;
    append(insertAfter, lines.size());
    return out;
}

bool WriteIniString(const TFileName& path, std::string_view section, std::string_view key,
                    std::string_view value) {
    return WriteIniStrings(path, section, {{std::string(key), std::string(value)}});
}

bool WriteIniStrings(const TFileName& name, std::string_view section,
                     const std::vector<std::pair<std::string, std::string>>& values) {
    const std::filesystem::path& path = name.Path();
    auto setAll = [&](std::string_view text) {
        std::string result(text);
        for (const auto& [key, value] : values)
            result = SetIniValueInText(result, section, key, value);
        return result;
    };
    std::error_code ec;
    auto folder = path.parent_path();
    if (!folder.empty() && !std::filesystem::is_directory(folder, ec)) return false;
    std::string bytes;
    if (std::ifstream in{path, std::ios::binary}) {
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    auto starts = [&](std::string_view bom) { return bytes.compare(0, bom.size(), bom) == 0; };
    std::string result;
    if (starts("\xFF\xFE") || starts("\xFE\xFF")) {
        bool bigEndian = bytes[0] == '\xFE';
        std::string text = setAll(Utf16ToUtf8(std::string_view(bytes).substr(2), bigEndian));
        std::string units = Utf16ToBytesLE(Utf8ToUtf16(text));
        if (bigEndian)
            for (std::size_t i = 0; i + 1 < units.size(); i += 2) std::swap(units[i], units[i + 1]);
        result = bytes.substr(0, 2) + units;
    } else if (starts("\xEF\xBB\xBF")) {
        result = bytes.substr(0, 3) + setAll(std::string_view(bytes).substr(3));
    } else {
        result = setAll(bytes);
    }
    return WriteFileAtomically(path, result);
}

bool WriteIniInteger(const TFileName& path, std::string_view section, std::string_view key,
                     std::int32_t value) {
    return WriteIniString(path, section, key, std::to_string(value));
}

}  // namespace ps
