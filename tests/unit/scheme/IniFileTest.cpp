// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "base/IniFile.h"
#include "support/TestSupport.h"

namespace ps {
namespace {

using namespace std::string_literals;

TEST(IniFile, LinesSectionsAndComments) {
    auto ini = TIniFile::FromText(
        "top=before\r"
        "  ; comment=no\n"
        "#hash=yes\r\n"
        "[ Main ] junk ] tail\n"
        "//slash = kept\n"
        "noequals\n"
        "Value = a ; not a comment \n"
        "[unterminated\n"
        "late=1\n"
        "[]\n"
        "hidden=1\n"
        "[main]\n"
        "value=second section ignored\n"
        "last=no line end");
    EXPECT_EQ(ini.ReadString("", "top", "d"), "before");
    EXPECT_EQ(ini.ReadString("", "; comment", "d"), "d");
    EXPECT_EQ(ini.ReadString("", "#hash", "d"), "yes");
    // The header name runs to the last ']' and is trimmed.
    EXPECT_EQ(ini.ReadString("Main ] junk", "//slash", "d"), "kept");
    EXPECT_EQ(ini.ReadString("MAIN ] JUNK", "VALUE", "d"), "a ; not a comment");
    EXPECT_EQ(ini.ReadString("main ] junk", "noequals", "d"), "d");
    EXPECT_EQ(ini.ReadString("main ] junk", "late", "d"), "1");  // "[unterminated" is no header
    EXPECT_EQ(ini.ReadString("", "hidden", "d"), "d");
    EXPECT_EQ(ini.ReadString("main", "value", "d"), "second section ignored");
    EXPECT_EQ(ini.ReadString("  main  ", "last", "d"), "no line end");
    EXPECT_EQ(ini.ReadString("absent", "x", "dflt"), "dflt");
}

TEST(IniFile, DuplicatesQuotesAndLength) {
    std::string longValue(3000, 'x');
    using namespace std::string_literals;
    auto ini = TIniFile::FromText(
        "[s]\n"
        "empty=\n"
        "empty=later\n"
        "k=first\n"
        "K=second\n"
        "q1=\"quoted value\"\n"
        "q2='single'\n"
        "q3=\"mismatch'\n"
        "q4=\"\n"
        "q5=\"a\"b\"\n"
        "q6=  \" padded \"  \n"
        "q7=\xE2\x80\x9Csmart\xE2\x80\x9D\n"
        "\"key\"=v\n"
        "=emptykey\n"
        "nul=ab\0cd\n"
        "after=ok\n"
        "long="s +
        longValue + "\n");
    EXPECT_EQ(ini.ReadString("s", "empty", "d"), "");
    EXPECT_EQ(ini.ReadString("s", "k", "d"), "first");
    EXPECT_EQ(ini.ReadString("s", "q1", "d"), "quoted value");
    EXPECT_EQ(ini.ReadString("s", "q2", "d"), "single");
    EXPECT_EQ(ini.ReadString("s", "q3", "d"), "\"mismatch'");
    EXPECT_EQ(ini.ReadString("s", "q4", "d"), "\"");
    EXPECT_EQ(ini.ReadString("s", "q5", "d"), "a\"b");
    EXPECT_EQ(ini.ReadString("s", "q6", "d"), " padded ");
    EXPECT_EQ(ini.ReadString("s", "q7", "d"), "\xE2\x80\x9Csmart\xE2\x80\x9D");
    EXPECT_EQ(ini.ReadString("s", "\"key\"", "d"), "v");
    EXPECT_EQ(ini.ReadString("s", "key", "d"), "d");
    EXPECT_EQ(ini.ReadString("s", "", "d"), "emptykey");
    EXPECT_EQ(ini.ReadString("s", "nul", "d"), "ab");
    EXPECT_EQ(ini.ReadString("s", "after", "d"), "ok");
    EXPECT_EQ(ini.ReadString("s", "long", "d"), std::string(kMaxIniValueLength, 'x'));
}

TEST(IniFile, EndOfFileMarkEndsAValue) {
    // Old editors leave Ctrl-Z after the last value; the lines after it still count.
    const std::string z = "\x1A";
    auto ini = TIniFile::FromText("[s]\r\nplain=x" + z + "\r\npadded=y " + z + "\t\r\ntwice=z" + z +
                                  z + "\nquoted=\"q r\"" + z + "\nnumber=0x20" + z + "\ninner=a" +
                                  z + "b\nleading=" + z + "c\n" + z + "\nafter=still read" + z);
    EXPECT_EQ(ini.ReadString("s", "plain", "d"), "x");
    EXPECT_EQ(ini.ReadString("s", "padded", "d"), "y");
    EXPECT_EQ(ini.ReadString("s", "twice", "d"), "z");
    EXPECT_EQ(ini.ReadString("s", "quoted", "d"), "q r");
    EXPECT_EQ(ini.ReadInteger("s", "number", 0), 32);
    EXPECT_EQ(ini.ReadString("s", "inner", "d"), "a" + z + "b");
    EXPECT_EQ(ini.ReadString("s", "leading", "d"), "c");  // a blank at either end
    // The profile functions trim it, VT and FF from lines and names as well.
    auto names = TIniFile::FromText("\v[" + z + "vt\f]" + z + "\n" + z + "key=1\n\f;c=2\n");
    EXPECT_EQ(names.ReadString("vt", "key", "d"), "1");
    EXPECT_EQ(names.ReadString("vt", ";c", "d"), "d");  // a comment after the blanks
    EXPECT_EQ(ini.ReadString("s", "after", "d"), "still read");
    const auto entries = ini.Entries("s");
    ASSERT_EQ(entries.size(), 8u);
    EXPECT_EQ(entries.front(), std::make_pair(std::string("plain"), std::string("x")));
    EXPECT_EQ(entries.back().second, "still read");
}

TEST(IniFile, CaseFoldsOnlyAsciiLetters) {
    auto ini = TIniFile::FromText("[\xC3\x84rger]\nKey=1\n");
    EXPECT_EQ(ini.ReadString("\xC3\x84RGER", "key", "d"), "1");
    EXPECT_EQ(ini.ReadString("\xC3\xA4rger", "key", "d"), "d");
}

TEST(IniFile, IndexKeepsFirstWinsAcrossManySections) {
    // Each section twice (the second in other letter case and with other values), keys
    // repeated in other letter case inside each, and one key of its own per section.
    std::string text = "top=unnamed\n[]\ntop=hidden\nonlyhidden=1\n";
    const int kSections = 1000;
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < kSections; ++i) {
            const std::string n = std::to_string(i);
            text += (pass == 0 ? (i % 2 ? "[Sec" : "[ SEC") : "[sec") + n + "]\n";
            if (pass == 0)
                text += "key=first " + n + "\nKEY=dup\nEmpty=\nempty=late\nKey" + n + "=own\n";
            else
                text += "key=second\nonly=x\n";
        }
    }
    const TIniFile ini = TIniFile::FromText(text);
    for (int i = 0; i < kSections; ++i) {
        const std::string n = std::to_string(i);
        const std::string name = "sEc" + n;
        EXPECT_EQ(ini.ReadString(name, "KEY", "d"), "first " + n);
        EXPECT_EQ(ini.ReadString("  " + name + "\t", " key ", "d"), "first " + n);
        EXPECT_EQ(ini.ReadString(name, "EMPTY", "d"), "");
        EXPECT_EQ(ini.ReadString(name, "only", "d"), "d");  // only in the later duplicate
        EXPECT_EQ(ini.ReadString(name, "key" + n, "d"), "own");
        EXPECT_EQ(ini.ReadString(name, "key" + std::to_string(i + 1), "d"), "d");
        EXPECT_TRUE(ini.ValueExists(name, "empty"));
        EXPECT_FALSE(ini.ValueExists(name, "Key"s + "x"));
    }
    EXPECT_EQ(ini.KeyNames("SEC7"),
              (std::vector<std::string>{"key", "KEY", "Empty", "empty", "Key7"}));
    EXPECT_EQ(ini.SectionNames().size(), 2u * kSections + 1);
    EXPECT_EQ(ini.ReadString("", "top", "d"), "unnamed");
    EXPECT_EQ(ini.ReadString("", "onlyhidden", "d"), "d");
    EXPECT_EQ(ini.ReadString("[]", "top", "d"), "d");
    EXPECT_FALSE(ini.SectionExists("sec1000"));
    EXPECT_FALSE(TIniFile().SectionExists(""));
    EXPECT_EQ(TIniFile().ReadString("", "k", "d"), "d");

    // Copies answer the same as the original.
    const TIniFile copy = ini;
    EXPECT_EQ(copy.ReadString("SEC999", "key", "d"), "first 999");
}

TEST(IniFile, IntegersAndBooleans) {
    auto ini = TIniFile::FromText(
        "[n]\ndec=3500\nneg=-12\nplus=+7\ndollar=$0DAC\nhex=0x0DAC\nHEX=0X0dac\n"
        "bad=abc\ntrail=12abc\nempty=\nbig=2147483648\nmin=-2147483648\nallbits=$FFFFFFFF\n"
        "toolong=0x100000000\ntwo=2\nzero=0\nquoted=\"42\"\nspaced= 42 \n");
    EXPECT_EQ(ini.ReadInteger("n", "dec", 0), 3500);
    EXPECT_EQ(ini.ReadInteger("n", "neg", 0), -12);
    EXPECT_EQ(ini.ReadInteger("n", "plus", 0), 7);
    EXPECT_EQ(ini.ReadInteger("n", "dollar", 0), 3500);
    EXPECT_EQ(ini.ReadInteger("n", "hex", 0), 3500);
    EXPECT_EQ(ini.ReadInteger("n", "HEX", 0), 3500);
    EXPECT_EQ(ini.ReadInteger("n", "bad", 3500), 3500);
    EXPECT_EQ(ini.ReadInteger("n", "trail", 9), 9);
    EXPECT_EQ(ini.ReadInteger("n", "empty", 9), 9);
    EXPECT_EQ(ini.ReadInteger("n", "big", 9), 9);
    EXPECT_EQ(ini.ReadInteger("n", "min", 9), INT32_MIN);
    EXPECT_EQ(ini.ReadInteger("n", "allbits", 9), -1);
    EXPECT_EQ(ini.ReadInteger("n", "toolong", 9), 9);
    EXPECT_EQ(ini.ReadInteger("n", "quoted", 9), 42);
    EXPECT_EQ(ini.ReadInteger("n", "spaced", 9), 42);
    EXPECT_TRUE(ini.ReadBool("n", "two", false));
    EXPECT_FALSE(ini.ReadBool("n", "zero", true));
    EXPECT_TRUE(ini.ReadBool("n", "bad", true));
    EXPECT_TRUE(ini.ReadBool("n", "missing", true));
}

TEST(IniFile, EncodingsByByteOrderMarkAndLanguage) {
    test::InstallTestPlatform(0x0804);
    test::TTempDir dir;
    const std::string text = "[s]\r\nTitle.CN=\xE6\x89\x93\xE5\x8D\xB0\xE6\x9C\xBA\r\n";
    auto utf16 = dir.Write("u16.ini", test::Utf16LeWithBom(text));
    EXPECT_EQ(TIniFile::FromFile(utf16).ReadString("s", "Title.CN", ""),
              "\xE6\x89\x93\xE5\x8D\xB0\xE6\x9C\xBA");
    std::string be = "\xFE\xFF";
    for (char c : std::string("[s]\nk=v\n")) be += std::string{'\0', c};
    EXPECT_EQ(TIniFile::FromFile(dir.Write("be.ini", be)).ReadString("s", "k", ""), "v");
    auto utf8 = dir.Write("u8.ini", "\xEF\xBB\xBF" + text);
    EXPECT_EQ(TIniFile::FromFile(utf8).ReadString("s", "Title.CN", ""),
              "\xE6\x89\x93\xE5\x8D\xB0\xE6\x9C\xBA");
    // GB18030 bytes of the same word: not valid UTF-8, decoded in the system's code page.
    auto gb = dir.Write("gb.ini", "[s]\r\nTitle.CN=\xB4\xF2\xD3\xA1\xBB\xFA\r\n");
    EXPECT_EQ(TIniFile::FromFile(gb).ReadString("s", "Title.CN", ""),
              "\xE6\x89\x93\xE5\x8D\xB0\xE6\x9C\xBA");
    // The same bytes read on a Western system come out as Windows-1252 characters.
    EXPECT_EQ(TIniFile::FromFile(gb, 0x0409).ReadString("s", "Title.CN", ""),
              "\xC2\xB4\xC3\xB2\xC3\x93\xC2\xA1\xC2\xBB\xC3\xBA");
    EXPECT_EQ(TIniFile::FromFile(dir.Path() / "missing.ini").ReadString("s", "k", "d"), "d");
}

TEST(IniFile, ValueLengthCountsUtf16Units) {
    // 2046 ASCII characters then one character outside the BMP (two UTF-16 units): cut before it.
    std::string value(2046, 'a');
    value += "\xF0\x9F\x98\x80";
    auto ini = TIniFile::FromText("[s]\nk=" + value + "\n");
    EXPECT_EQ(ini.ReadString("s", "k", ""), std::string(2046, 'a'));
}

}  // namespace
}  // namespace ps
