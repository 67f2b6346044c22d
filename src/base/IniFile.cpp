// SPDX-License-Identifier: MIT
// INI parsing with profile-function semantics: first section and first key win, trimmed and
// unquoted values, case-insensitive ASCII names, any line end, UTF-16 or 8-bit text. Sections
// and keys are indexed by their case-folded names, so a lookup does not scan the file.
#include "base/IniFile.h"

#include <algorithm>
#include <cstring>

#include "base/AsciiText.h"
#include "base/FileSystem.h"
#include "base/TextCodec.h"

namespace ps {
namespace {

// What the profile functions trim from lines, names and values: blanks, tabs, VT, FF (and the
// line ends), and the end-of-file mark (Ctrl-Z) old editors leave behind.
bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A';
}

std::string_view Trim(std::string_view s, bool (*blank)(char)) {
    return TrimAscii(s, blank);
}

bool SameName(std::string_view a, std::string_view b) {
    return SameTextNoCase(a, b);
}

// FNV-1a over the case-folded name, so names that SameName matches hash alike.
constexpr std::uint32_t kHashStart = 2166136261u;
std::uint32_t HashName(std::uint32_t hash, std::string_view name) {
    for (char c : name) {
        hash ^= static_cast<unsigned char>(AsciiLower(c));
        hash *= 16777619u;
    }
    return hash;
}
std::uint32_t KeyHash(std::size_t section, std::string_view key) {
    std::uint32_t hash = kHashStart;
    for (int shift = 0; shift < 32; shift += 8) {
        hash ^= static_cast<std::uint32_t>(section >> shift) & 0xFFu;
        hash *= 16777619u;
    }
    return HashName(hash, key);
}

// A power of two with room for twice the names, so probe runs stay short.
std::size_t IndexCapacity(std::size_t names) {
    std::size_t capacity = 8;
    while (capacity < 2 * names) capacity *= 2;
    return capacity;
}

// Cuts UTF-8 text to at most `units` UTF-16 code units, never inside a character.
std::string CutToUtf16Units(std::string_view s, std::size_t units) {
    std::size_t count = 0, i = 0;
    while (i < s.size()) {
        auto lead = static_cast<unsigned char>(s[i]);
        std::size_t len = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        std::size_t need = len == 4 ? 2 : 1;
        if (count + need > units) break;
        count += need;
        i += len;
    }
    return std::string(s.substr(0, i));
}

// The position of the next `c` from `from` on, or the text's size.
std::size_t NextOf(std::string_view text, char c, std::size_t from) {
    const void* found = std::memchr(text.data() + from, c, text.size() - from);
    return found ? static_cast<std::size_t>(static_cast<const char*>(found) - text.data())
                 : text.size();
}

std::string FinishValue(std::string_view raw) {
    std::string_view v = Trim(raw, IsBlank);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return CutToUtf16Units(v, kMaxIniValueLength);
}

}  // namespace

std::optional<std::int32_t> TryStrToInt(std::string_view text) {
    std::string_view s = text;
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (!s.empty() && s.front() == '$') {
        base = 16;
        s.remove_prefix(1);
    } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : s) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    if (base == 10) {
        if (negative ? value > 0x80000000ull : value > 0x7FFFFFFFull) return std::nullopt;
        auto v = static_cast<std::int64_t>(value);
        return static_cast<std::int32_t>(negative ? -v : v);
    }
    // Hex spans all 32 bits, as "$FFFFFFFF" is -1.
    auto bits = static_cast<std::uint32_t>(value);
    if (negative) bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
}

std::string DecodeIniBytes(std::string_view bytes, std::uint16_t langId) {
    auto starts = [&](std::string_view bom) { return bytes.substr(0, bom.size()) == bom; };
    if (starts("\xFF\xFE")) return Utf16ToUtf8(bytes.substr(2), /*bigEndian=*/false);
    if (starts("\xFE\xFF")) return Utf16ToUtf8(bytes.substr(2), /*bigEndian=*/true);
    if (starts("\xEF\xBB\xBF")) return std::string(bytes.substr(3));
    if (IsValidUtf8(bytes)) return std::string(bytes);
    if (auto text = DecodeLegacyText(bytes, langId)) return *text;
    return Latin1ToUtf8(bytes);
}

TIniFile TIniFile::FromText(std::string_view text) {
    return FromOwnedText(std::string(text));
}

TIniFile TIniFile::FromOwnedText(std::string&& text) {
    TIniFile ini;
    ini.m_Text = std::move(text);
    ini.Parse();
    ini.BuildIndex();
    return ini;
}

void TIniFile::Parse() {
    const std::string_view text = m_Text;
    auto span = [&](std::string_view part) {
        return TSpan{static_cast<std::size_t>(part.data() - text.data()), part.size()};
    };
    // Room for a typical line length, so the lists rarely grow.
    m_Entries.reserve(text.size() / 24 + 1);
    m_Sections.reserve(text.size() / 256 + 1);
    m_Sections.push_back({});  // keys before the first header
    std::size_t pos = 0;
    std::size_t nextLf = 0, nextCr = 0;
    if (!text.empty()) {
        nextLf = NextOf(text, '\n', 0);
        nextCr = NextOf(text, '\r', 0);
    }
    while (pos <= text.size()) {
        // A line ends at the first CR or LF. The next of each is found once and kept until
        // the parse passes it, so files with only one kind of line end stay linear.
        if (nextLf < pos) nextLf = NextOf(text, '\n', pos);
        if (nextCr < pos) nextCr = NextOf(text, '\r', pos);
        const std::size_t end = std::min(nextLf, nextCr);
        std::string_view line = text.substr(pos, end - pos);
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() &&
            text[end + 1] == '\n')
            pos = end + 2;
        else
            pos = end + 1;
        if (auto nul = line.find('\0'); nul != std::string_view::npos) line = line.substr(0, nul);
        std::string_view body = Trim(line, IsBlank);
        if (body.empty() || body.front() == ';') continue;
        if (body.front() == '[') {
            if (auto close = body.rfind(']'); close != std::string_view::npos) {
                m_Sections.push_back(
                    {span(Trim(body.substr(1, close - 1), IsBlank)), m_Entries.size(), 0});
                continue;
            }
        }
        auto eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        m_Entries.push_back({span(Trim(line.substr(0, eq), IsBlank)), span(line.substr(eq + 1))});
        ++m_Sections.back().entryCount;
    }
}

void TIniFile::BuildIndex() {
    // Sections: the first of each name. "[]" (an empty name after a header) is not indexed,
    // so its keys cannot be reached.
    m_SectionIndex.assign(IndexCapacity(m_Sections.size()), TSlot{});
    const std::size_t sectionMask = m_SectionIndex.size() - 1;
    std::vector<bool> reachable(m_Sections.size(), false);
    reachable[0] = true;
    for (std::size_t i = 1; i < m_Sections.size(); ++i) {
        const std::string_view name = Text(m_Sections[i].name);
        if (name.empty()) continue;
        const std::uint32_t hash = HashName(kHashStart, name);
        std::size_t slot = hash & sectionMask;
        bool seen = false;
        for (; m_SectionIndex[slot].position != 0; slot = (slot + 1) & sectionMask) {
            const TSlot& s = m_SectionIndex[slot];
            if (s.hash == hash && SameName(Text(m_Sections[s.position - 1].name), name)) {
                seen = true;
                break;
            }
        }
        if (seen) continue;  // a later duplicate is never read
        m_SectionIndex[slot] = {hash, static_cast<std::uint32_t>(i + 1)};
        reachable[i] = true;
    }

    // Keys: the first of each name within each reachable section, also when it is empty.
    std::size_t keys = 0;
    for (std::size_t i = 0; i < m_Sections.size(); ++i)
        if (reachable[i]) keys += m_Sections[i].entryCount;
    m_KeyIndex.assign(IndexCapacity(keys), TSlot{});
    const std::size_t keyMask = m_KeyIndex.size() - 1;
    for (std::size_t i = 0; i < m_Sections.size(); ++i) {
        if (!reachable[i]) continue;
        const TSection& section = m_Sections[i];
        for (std::size_t e = section.firstEntry; e < section.firstEntry + section.entryCount; ++e) {
            const std::string_view key = Text(m_Entries[e].key);
            const std::uint32_t hash = KeyHash(i, key);
            std::size_t slot = hash & keyMask;
            bool seen = false;
            for (; m_KeyIndex[slot].position != 0; slot = (slot + 1) & keyMask) {
                const TSlot& s = m_KeyIndex[slot];
                const std::size_t other = s.position - 1;
                if (s.hash == hash && other >= section.firstEntry && other < e &&
                    SameName(Text(m_Entries[other].key), key)) {
                    seen = true;
                    break;
                }
            }
            if (!seen) m_KeyIndex[slot] = {hash, static_cast<std::uint32_t>(e + 1)};
        }
    }
}

TIniFile TIniFile::FromFile(const TFileName& path) {
    return FromFile(path, kSystemLanguage);
}

TIniFile TIniFile::FromFile(const TFileName& name, std::uint16_t langId, TIniLinks links) {
    const std::filesystem::path& path = name.Path();
    std::string bytes;
    std::string error;
    const fs::TFinalLink finalLink =
        links == TIniLinks::Follow ? fs::TFinalLink::Follow : fs::TFinalLink::Refuse;
    if (fs::ReadRegularFile(path, kMaxIniFileBytes, finalLink, kIniReadTimeoutMs, bytes, error) !=
        fs::TReadFileResult::Read)
        return TIniFile();
    // Text that is UTF-8 already is taken as it is, without a copy.
    const bool utf8 = !bytes.starts_with("\xFF\xFE") && !bytes.starts_with("\xFE\xFF") &&
                      !bytes.starts_with("\xEF\xBB\xBF") && IsValidUtf8(bytes);
    return FromOwnedText(utf8 ? std::move(bytes) : DecodeIniBytes(bytes, langId));
}

const TIniFile::TSection* TIniFile::FindSection(std::string_view section) const {
    section = Trim(section, IsBlank);
    // Keys under "[]" cannot be reached: the unnamed section is only the one before any header.
    if (section.empty()) return m_Sections.empty() ? nullptr : &m_Sections.front();
    if (m_SectionIndex.empty()) return nullptr;
    const std::uint32_t hash = HashName(kHashStart, section);
    const std::size_t mask = m_SectionIndex.size() - 1;
    for (std::size_t slot = hash & mask; m_SectionIndex[slot].position != 0;
         slot = (slot + 1) & mask) {
        const TSlot& s = m_SectionIndex[slot];
        if (s.hash == hash && SameName(Text(m_Sections[s.position - 1].name), section))
            return &m_Sections[s.position - 1];
    }
    return nullptr;
}

const TIniFile::TEntry* TIniFile::FindEntryIn(const TSection& section, std::string_view key) const {
    if (m_KeyIndex.empty()) return nullptr;
    const auto sectionPos = static_cast<std::size_t>(&section - m_Sections.data());
    const std::uint32_t hash = KeyHash(sectionPos, key);
    const std::size_t mask = m_KeyIndex.size() - 1;
    for (std::size_t slot = hash & mask; m_KeyIndex[slot].position != 0; slot = (slot + 1) & mask) {
        const TSlot& s = m_KeyIndex[slot];
        const std::size_t e = s.position - 1;
        if (s.hash == hash && e >= section.firstEntry &&
            e < section.firstEntry + section.entryCount && SameName(Text(m_Entries[e].key), key))
            return &m_Entries[e];
    }
    return nullptr;
}

const TIniFile::TEntry* TIniFile::FindEntry(std::string_view section, std::string_view key) const {
    const TSection* s = FindSection(section);
    if (!s) return nullptr;
    return FindEntryIn(*s, Trim(key, IsBlank));
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
    if (const TEntry* e = FindEntry(section, key)) return FinishValue(Text(e->value));
    return std::string(defaultValue);
}

std::int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key,
                                   std::int32_t defaultValue) const {
    const TEntry* e = FindEntry(section, key);
    if (!e) return defaultValue;
    return TryStrToInt(FinishValue(Text(e->value))).value_or(defaultValue);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

TIniFile::TSectionReader TIniFile::Section(std::string_view section) const {
    return TSectionReader(this, FindSection(section));
}

std::string TIniFile::TSectionReader::ReadString(std::string_view key,
                                                 std::string_view defaultValue) const {
    if (m_pSection)
        if (const TEntry* e =
                m_pIni->FindEntryIn(*static_cast<const TSection*>(m_pSection), Trim(key, IsBlank)))
            return FinishValue(m_pIni->Text(e->value));
    return std::string(defaultValue);
}

std::int32_t TIniFile::TSectionReader::ReadInteger(std::string_view key,
                                                   std::int32_t defaultValue) const {
    if (m_pSection)
        if (const TEntry* e =
                m_pIni->FindEntryIn(*static_cast<const TSection*>(m_pSection), Trim(key, IsBlank)))
            return TryStrToInt(FinishValue(m_pIni->Text(e->value))).value_or(defaultValue);
    return defaultValue;
}

bool TIniFile::SectionExists(std::string_view section) const {
    return FindSection(section) != nullptr;
}

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const {
    return FindEntry(section, key) != nullptr;
}

std::vector<std::string> TIniFile::SectionNames() const {
    std::vector<std::string> names;
    for (std::size_t i = 1; i < m_Sections.size(); ++i)
        names.emplace_back(Text(m_Sections[i].name));
    return names;
}

std::vector<std::string> TIniFile::KeyNames(std::string_view section) const {
    std::vector<std::string> names;
    if (const TSection* s = FindSection(section))
        for (std::size_t e = s->firstEntry; e < s->firstEntry + s->entryCount; ++e)
            names.emplace_back(Text(m_Entries[e].key));
    return names;
}

std::vector<std::pair<std::string, std::string>> TIniFile::Entries(std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> entries;
    if (const TSection* s = FindSection(section))
        for (std::size_t e = s->firstEntry; e < s->firstEntry + s->entryCount; ++e)
            entries.emplace_back(Text(m_Entries[e].key), FinishValue(Text(m_Entries[e].value)));
    return entries;
}

}  // namespace ps
