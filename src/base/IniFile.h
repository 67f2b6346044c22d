// SPDX-License-Identifier: MIT
// An INI (profile) file read the way the Windows private-profile functions read it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/PathText.h"

namespace ps {

/// Longest value (in UTF-16 code units) a lookup returns; longer values are cut.
inline constexpr std::size_t kMaxIniValueLength = 2047;

/// Largest file the reader takes (a scheme or unpacked menu is a few megabytes at most); a
/// larger one reads as empty, as does anything that is not a regular file.
inline constexpr std::size_t kMaxIniFileBytes = 16u << 20;
/// How long reading one file may take before it reads as empty.
inline constexpr std::uint32_t kIniReadTimeoutMs = 10000;

/// Whether a file is read through a symbolic link in the last part of its path.
enum class TIniLinks { Follow, RefuseFinalLink };

/// Parses an integer as the scheme readers do: optional sign, then decimal, "$" hex or
/// "0x"/"0X" hex. Hex may use all 32 bits; anything else, or out of range, gives nothing.
std::optional<std::int32_t> TryStrToInt(std::string_view text);

/// Decodes file bytes to UTF-8: UTF-16LE/BE or UTF-8 by byte-order mark; otherwise UTF-8 when
/// valid, else the legacy code page of the given language.
std::string DecodeIniBytes(std::string_view bytes, std::uint16_t langId);

class TIniFile {
public:
    /// An empty file: every lookup gives its default.
    TIniFile() = default;

    /// Parses text that is already UTF-8. The file keeps one copy of the text; its keys and
    /// values are places in that copy.
    static TIniFile FromText(std::string_view utf8);
    /// The same for text the file may keep as it is (no copy).
    static TIniFile FromOwnedText(std::string&& utf8);

    /// Reads a file; a missing or unreadable file reads as empty, and so does one that is no
    /// regular file (a FIFO or device is never waited on), is larger than kMaxIniFileBytes or
    /// takes longer than kIniReadTimeoutMs. 8-bit text without a byte-order mark is decoded for
    /// the system language (see DecodeLegacyText).
    static TIniFile FromFile(const TFileName& path);
    static TIniFile FromFile(const TFileName& path, std::uint16_t langId,
                             TIniLinks links = TIniLinks::Follow);

    /// The value of a key, or the default when the section or key is missing.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t defaultValue) const;
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    bool SectionExists(std::string_view section) const;

    /// The keys of one section, found once, for readers that read many keys of it. Reads as
    /// TIniFile's do; a missing section gives every default. Valid while its file lives.
    class TSectionReader {
    public:
        explicit operator bool() const { return m_pSection != nullptr; }
        std::string ReadString(std::string_view key, std::string_view defaultValue) const;
        std::int32_t ReadInteger(std::string_view key, std::int32_t defaultValue) const;

    private:
        friend class TIniFile;
        TSectionReader(const TIniFile* ini, const void* section)
            : m_pIni(ini), m_pSection(section) {}
        const TIniFile* m_pIni;
        const void* m_pSection;  // a TSection of m_pIni, or null
    };
    TSectionReader Section(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;

    /// Length of the text the file was parsed from, in bytes (UTF-8).
    std::size_t TextBytes() const { return m_Text.size(); }

    /// Section names in file order (duplicates included), for tools.
    std::vector<std::string> SectionNames() const;
    /// Key names of the first matching section in file order (duplicates included).
    std::vector<std::string> KeyNames(std::string_view section) const;
    /// Keys and their values (as ReadString gives them) of the first matching section, in file
    /// order with duplicates, for readers that check every key.
    std::vector<std::pair<std::string, std::string>> Entries(std::string_view section) const;

private:
    // A stretch of m_Text.
    struct TSpan {
        std::size_t pos = 0;
        std::size_t size = 0;
    };
    struct TEntry {
        TSpan key;    // trimmed
        TSpan value;  // as written after the "=", trimmed and unquoted when read
    };
    struct TSection {
        TSpan name;
        std::size_t firstEntry = 0;  // the section's keys are contiguous in m_Entries
        std::size_t entryCount = 0;
    };
    // One slot of an open-addressing index: the name's hash and its position + 1 (0 = free).
    struct TSlot {
        std::uint32_t hash = 0;
        std::uint32_t position = 0;
    };

    void Parse();
    void BuildIndex();
    std::string_view Text(TSpan span) const { return {m_Text.data() + span.pos, span.size}; }
    const TSection* FindSection(std::string_view section) const;
    const TEntry* FindEntry(std::string_view section, std::string_view key) const;
    const TEntry* FindEntryIn(const TSection& section, std::string_view key) const;

    std::vector<TSection> m_Sections;  // [0] holds the keys before the first header
    std::vector<TEntry> m_Entries;
    // First section of each name (m_Sections positions), and first key of each name within
    // each reachable section (m_Entries positions); names are compared case-folded.
    std::vector<TSlot> m_SectionIndex;
    std::vector<TSlot> m_KeyIndex;
    std::string m_Text;
};

}  // namespace ps
