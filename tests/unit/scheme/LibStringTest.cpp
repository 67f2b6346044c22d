// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "base/Lib_String.h"

namespace ps {
namespace {

const TBytes kEnter = {0x1B, 0x1D, 0x1E, 0x05, 0x01, 0x1B, 0x1D, 0x1F};

TBytes Bytes(const std::string& s) {
    return TBytes(s.begin(), s.end());
}

TEST(HexText, SeparatorsPerConversion) {
    for (const char* text : {"1B 1D 1E 05 01 1B 1D 1F", "1B\t1D\t1E\t05\t01\t1B\t1D\t1F",
                             "1B1D1E05011B1D1F", "1b 1d 1e 05 01 1b 1d 1f"}) {
        EXPECT_EQ(HexTextToBytes(text), kEnter) << text;
        EXPECT_EQ(Bytes(HexString2AnsiString(text, false)), kEnter) << text;
    }
    for (const char* text :
         {"1B 1D 1E 05 01 1B 1D 1F", "1B,1D,1E,05,01,1B,1D,1F", "1B\t1D\t1E\t05\t01\t1B\t1D\t1F"})
        EXPECT_EQ(SpacedHexToBytes(text), kEnter) << text;
    // Without separators the pairs start at every third character: 0, 3, 6, 9, 12, 15.
    EXPECT_EQ(SpacedHexToBytes("1B1D1E05011B1D1F"), (TBytes{0x1B, 0xD1, 0x05, 0x11, 0x1D, 0x0F}));
    EXPECT_THROW(SpacedHexToBytes("1B  1D"), EConvertError);
    std::uint8_t buf[8] = {};
    EXPECT_EQ(HexTextToBuffer("1B 1D 1E 05 01 1B 1D 1F", buf, 8), 8);
    EXPECT_EQ(TBytes(buf, buf + 8), kEnter);
    EXPECT_THROW(HexTextToBuffer("1B\t1D", buf, 8), EConvertError);
}

TEST(HexText, OddDigitsAndInvalidPairs) {
    EXPECT_EQ(HexTextToBytes("1B 1"), TBytes{0x1B});
    EXPECT_EQ(SpacedHexToBytes("1B 1"), (TBytes{0x1B, 0x01}));
    EXPECT_EQ(HexTextToBytes("1G 05"), (TBytes{0x00, 0x05}));
    EXPECT_EQ(Bytes(HexString2AnsiString("1G 05", false)), TBytes{0x05});
    std::uint8_t buf[4] = {};
    EXPECT_THROW(HexTextToBuffer("1G", buf, 4), EConvertError);
    EXPECT_THROW(SpacedHexToBytes("1G"), EConvertError);
    EXPECT_THROW(SpacedHexToBytes(""), EConvertError);  // one empty pair
    EXPECT_TRUE(HexTextToBytes("").empty());
    EXPECT_TRUE(HexString2AnsiString("7", false).empty());
    EXPECT_THROW(SpacedHexToBytes("+1 02"), EConvertError);
    EXPECT_EQ(HexTextToBytes("-1 02"), (TBytes{0x00, 0x02}));
}

TEST(HexText, VisibleConversionAndCapacity) {
    EXPECT_EQ(HexString2AnsiString("41 1F 7E 7F 20", true), "A.~. ");
    std::uint8_t buf[4] = {9, 9, 9, 9};
    EXPECT_EQ(HexTextToBuffer("01 02 03 04 05", buf, 4), -5);
    EXPECT_EQ(TBytes(buf, buf + 4), (TBytes{9, 9, 9, 9}));
    // The capacity check comes first: an invalid pair in a too-long text raises nothing.
    EXPECT_EQ(HexTextToBuffer("01 02 03 04 ZZ", buf, 4), -5);
}

TEST(HexText, BytesToText) {
    EXPECT_EQ(BytesToHexText(TBytes{0x1B, 0x0a, 0xFF}), "1B0AFF");
    EXPECT_EQ(BytesToSpacedHex(TBytes{0x1B, 0x0a, 0xFF}), "1B 0A FF");
    EXPECT_EQ(HexTextToBytes(BytesToHexText(kEnter)), kEnter);
    EXPECT_EQ(TextToHexText("AB1"), "414231");
    EXPECT_EQ(TextToHexText("\xE4\xB8\xAD"), "4E2D");  // one character above FF: four digits
    EXPECT_EQ(TextToHexText("\n"), "0A");
}

TEST(HexText, FindMem) {
    TBytes mem(50, 0);
    const TBytes header = {0x51, 0x4B, 0x01, 0x00};
    std::copy(header.begin(), header.end(), mem.begin() + 3);
    std::copy(header.begin(), header.end(), mem.begin() + 40);
    EXPECT_EQ(FindMem(header.data(), mem.data(), 4, 50), 3);
    EXPECT_EQ(FindMem(header.data(), mem.data() + 10, 4, 40), 30);
    EXPECT_EQ(FindMem(header.data(), mem.data() + 40, 4, 4), 0);
    EXPECT_EQ(FindMem(header.data(), mem.data() + 40, 4, 3), -1);  // never reads past size2
    EXPECT_EQ(FindMem(mem.data(), header.data(), 50, 4), -1);
    EXPECT_EQ(FindMem(header.data(), mem.data(), 4, 0), -1);
}

}  // namespace
}  // namespace ps
