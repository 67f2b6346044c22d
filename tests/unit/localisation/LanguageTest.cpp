// SPDX-License-Identifier: MIT
// Language choice, key suffixes and the line-break escape.
#include <gtest/gtest.h>

#include "localisation/Scheme.h"

namespace ps {
namespace {

TEST(Language, FollowsTheSystemLanguageIdentifier) {
    EXPECT_EQ(LanguageFromLangId(0x0804), plCN);
    EXPECT_EQ(LanguageFromLangId(0x1004), plCN);
    EXPECT_EQ(LanguageFromLangId(0x0404), plCHT);
    EXPECT_EQ(LanguageFromLangId(0x0C04), plCHT);
    EXPECT_EQ(LanguageFromLangId(0x1404), plCHT);
    EXPECT_EQ(LanguageFromLangId(0x0411), plJP);
    // Everything else, other Chinese variants and neighbours included, is English.
    for (std::uint16_t other : {0x0409, 0x0412, 0x0407, 0x0004, 0x7C04, 0x0811, 0x0000, 0xFFFF})
        EXPECT_EQ(LanguageFromLangId(other), plEN) << std::hex << other;
}

TEST(Language, SuffixesFollowTheRunningLanguage) {
    EXPECT_EQ(LanguageSuffix(plCN), "CN");
    EXPECT_EQ(LanguageSuffix(plCHT), "CHT");
    EXPECT_EQ(LanguageSuffix(plEN), "EN");
    EXPECT_EQ(LanguageSuffix(plJP), "JP");
    EXPECT_EQ(LanguageSuffix(static_cast<TProgramLanguage>(4)), "");

    const TProgramLanguage saved = g_GlobalString.Language;
    g_GlobalString.Language = plCHT;
    EXPECT_EQ(AddLanguageSuffix("Title."), "Title.CHT");
    g_GlobalString.Language = static_cast<TProgramLanguage>(9);
    EXPECT_EQ(AddLanguageSuffix("Title."), "Title.");
    g_GlobalString.Language = saved;
}

TEST(Language, ExpandLineBreaksTurnsEveryEscapeIntoCrLf) {
    EXPECT_EQ(ExpandLineBreaks(""), "");
    EXPECT_EQ(ExpandLineBreaks("one line"), "one line");
    EXPECT_EQ(ExpandLineBreaks(R"(a\r\nb \r\n c\r\n)"), "a\r\nb \r\n c\r\n");
    EXPECT_EQ(ExpandLineBreaks(R"(\r\n\r\n)"), "\r\n\r\n");
    // Only the complete four-character escape counts.
    EXPECT_EQ(ExpandLineBreaks(R"(\r \n \n\r \\rn)"), R"(\r \n \n\r \\rn)");
    EXPECT_EQ(ExpandLineBreaks(R"(x\r\r\n)"), "x\\r\r\n");
    EXPECT_EQ(ExpandLineBreaks(R"(%s\r\n%d)"), "%s\r\n%d");
}

}  // namespace
}  // namespace ps
