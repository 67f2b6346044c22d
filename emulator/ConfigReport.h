// SPDX-License-Identifier: MIT
// Mistakes in emulation.ini, one line each, and the typed section reads that find them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ps {
class TIniFile;
}

namespace ps::emu {

/// What a configuration file holds that cannot be understood. Each line names the file, the
/// section, the key and its text, what is wrong and what is done instead:
/// "emulation.ini: [Printer:X] Mute=yes: not a flag (0 or 1); keeps 0".
class TConfigReport {
public:
    explicit TConfigReport(std::string fileName = "emulation.ini");

    void Key(std::string_view section, std::string_view key, std::string_view text,
             std::string_view what);
    /// One entry of a key that holds a list ("[Device:X] Values entry "4A-3": ...").
    void Entry(std::string_view section, std::string_view key, std::string_view entry,
               std::string_view what);
    void Section(std::string_view section, std::string_view what);
    /// A line of its own (after the file name).
    void Add(std::string_view text);

    const std::vector<std::string>& Lines() const { return m_Lines; }
    bool Empty() const { return m_Lines.empty(); }

private:
    std::string m_sFileName;
    std::vector<std::string> m_Lines;
};

/// Reads the keys of one section by type. Text that cannot be understood is reported (when
/// there is a report) and the default is kept. Finish() reports the keys nobody asked for and
/// repeated keys (the first one counts, as everywhere in INI files).
class TSectionReader {
public:
    using TEntries = std::vector<std::pair<std::string, std::string>>;

    TSectionReader(std::string section, TEntries entries, TConfigReport* report);
    TSectionReader(const TIniFile& ini, std::string section, TConfigReport* report);

    const std::string& Section() const { return m_sSection; }

    /// The text of a key (the first when repeated); nothing when absent. Names ignore case.
    std::optional<std::string> Find(std::string_view key);
    std::string Text(std::string_view key);
    /// An integer, decimal, "$" or "0x" hex, from `min` to `max`.
    std::optional<std::int64_t> Integer(std::string_view key, std::int64_t min, std::int64_t max,
                                        std::string_view keeps);
    template <typename T>
    void Integer(std::string_view key, T& out, std::int64_t min, std::int64_t max) {
        if (auto n = Integer(key, min, max, "keeps " + std::to_string(out)))
            out = static_cast<T>(*n);
    }
    /// 0 off, any other integer on.
    void Flag(std::string_view key, bool& out);
    /// The keys starting with `prefix` (first occurrences), now counted as read.
    TEntries WithPrefix(std::string_view prefix);
    /// The keys not read so far (first occurrences), now counted as read: for another reader.
    TEntries TakeUnread();

    void Problem(std::string_view key, std::string_view text, std::string_view what);
    void EntryProblem(std::string_view key, std::string_view entry, std::string_view what);

    /// Reports the keys not read and the repeated ones.
    void Finish();

private:
    struct TEntry {
        std::string key;
        std::string text;
        bool bRead = false;
    };
    const TEntry* First(std::string_view key) const;
    void MarkRead(std::string_view key);

    std::string m_sSection;
    std::vector<TEntry> m_Entries;
    TConfigReport* m_pReport;
};

/// ASCII comparison without regard to letter case.
bool SameNameNoCase(std::string_view a, std::string_view b);

}  // namespace ps::emu
