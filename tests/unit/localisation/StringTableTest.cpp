// SPDX-License-Identifier: MIT
// The string table as carried: encoding, line ends, one row per key and language, escapes.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <regex>

#include "LocalisationTestSupport.h"
#include "base/IniFile.h"
#include "base/TextCodec.h"
#include "localisation/EmbeddedResource.h"
#include "support/TestSupport.h"

namespace ps {
namespace {

const char* const kSuffixes[] = {"CN", "CHT", "EN", "JP"};

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string EmbeddedTable() {
    auto bytes = FindEmbeddedResource("RESSTRING");
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::vector<std::string> AllKeys() {
    std::vector<std::string> keys;
    for (const auto& [key, text] : test::TextsByKey(TGlobalString{})) keys.push_back(key);
    return keys;
}

TEST(StringTable, IsUtf16WithCrLfAndMatchesItsWorkingCopy) {
    const std::string bytes = EmbeddedTable();
    const auto strings = test::SourceDir() / "resources" / "strings";
    EXPECT_EQ(bytes, ReadBytes(strings / "RESSTRING.ini"));
    ASSERT_GE(bytes.size(), 2u);
    ASSERT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    ASSERT_EQ(bytes.size() % 2, 0u);
    const std::string text = Utf16ToUtf8(bytes.substr(2));
    for (std::size_t pos = 0; (pos = text.find_first_of("\r\n", pos)) != std::string::npos;
         pos += 2)
        ASSERT_EQ(text.substr(pos, 2), "\r\n") << "line end at " << pos;

    // Regenerate with tools/strings/make-string-table.sh when this fails.
    std::string workingCopy;
    for (char c : ReadBytes(strings / "RESSTRING.utf8.txt")) {
        if (c == '\r') continue;
        if (c == '\n') workingCopy += '\r';
        workingCopy += c;
    }
    EXPECT_EQ(text, workingCopy);
}

TEST(StringTable, HasOneRowPerKeyAndLanguageExceptTheKnownGaps) {
    const TIniFile ini = TIniFile::FromText(DecodeIniBytes(EmbeddedTable(), 0x0409));
    EXPECT_EQ(ini.SectionNames(), std::vector<std::string>{"Infos"});

    const std::vector<std::string> keys = AllKeys();
    for (const std::string& key : keys) {
        for (const std::string suffix : kSuffixes) {
            const bool gap = key == "CanSelectMultiItem" ||
                             (suffix == "JP" && test::kKeysWithoutJapanese.count(key));
            const std::string name = key + "." + suffix;
            EXPECT_EQ(ini.ValueExists("Infos", name), !gap) << name;
            if (!gap) {
                EXPECT_NE(ini.ReadString("Infos", name, ""), "") << name;
            }
        }
    }

    // Every row names a known key and language, and only the Japanese cancel text repeats a key.
    const std::regex rowName(R"((\w+)\.(CN|CHT|EN|JP))");
    std::map<std::string, int> seen;
    for (const std::string& name : ini.KeyNames("Infos")) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(name, match, rowName)) << name;
        EXPECT_NE(std::find(keys.begin(), keys.end(), match[1].str()), keys.end()) << name;
        if (++seen[name] > 1) {
            EXPECT_EQ(name, "btnInkCancel.EN");
        }
    }
    EXPECT_EQ(seen["btnInkCancel.EN"], 2);
}

TEST(StringTable, TranslationsKeepPlaceholdersAndLineBreaks) {
    const TIniFile ini = TIniFile::FromText(DecodeIniBytes(EmbeddedTable(), 0x0409));
    auto count = [](const std::string& text, std::string_view what) {
        int n = 0;
        for (auto pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1))
            ++n;
        return n;
    };
    for (const std::string& key : AllKeys()) {
        const std::string english = ini.ReadString("Infos", key + ".EN", "");
        for (const std::string suffix : kSuffixes) {
            if (!ini.ValueExists("Infos", key + "." + suffix)) continue;
            const std::string text = ini.ReadString("Infos", key + "." + suffix, "");
            for (std::string_view what : {"\\r\\n", "%d", "%s", "%"})
                EXPECT_EQ(count(text, what), count(english, what)) << key << "." << suffix;
        }
    }
}

}  // namespace
}  // namespace ps
