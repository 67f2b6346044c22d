// SPDX-License-Identifier: MIT
// Value bytes, command texts and reply decoding of the setting protocol.
#include <gtest/gtest.h>

#include "base/Lib_String.h"
#include "scheme/ValueCodec.h"

namespace ps {
namespace {

std::optional<std::int32_t> Decode(std::vector<std::uint8_t> bytes, std::uint32_t params) {
    return DecodeItemValue(bytes.data(), static_cast<int>(bytes.size()), params);
}

TEST(ValueCodec, DecodesEveryWidthAndSignRule) {
    EXPECT_EQ(Decode({0xC8}, 1), -56);
    EXPECT_EQ(Decode({0x7F}, 1), 127);
    EXPECT_EQ(Decode({0xBF}, 1), 191);
    EXPECT_EQ(Decode({0xC0}, 1), -64);
    EXPECT_EQ(Decode({0xFF}, 3), -1);  // one byte ignores the item's count
    EXPECT_EQ(Decode({0x05, 0x80}, 2), -5);
    EXPECT_EQ(Decode({0x05, 0x80}, 3), -5);
    EXPECT_EQ(Decode({0x05, 0x80}, 1), 128);  // the second byte alone
    EXPECT_EQ(Decode({0x00, 0xC1}, 1), -63);
    EXPECT_EQ(Decode({0x34, 0x12}, 2), 0x1234);
    EXPECT_EQ(Decode({0xFF, 0x7F}, 2), 32767);
    EXPECT_EQ(Decode({0x00, 0x80}, 2), 0);
    EXPECT_EQ(Decode({0xFF, 0xFF}, 2), -32767);
    EXPECT_EQ(Decode({0x01, 0x02, 0x03}, 3), 1 * 65536 + 2 * 256 + 3);
    EXPECT_EQ(Decode({0xFF, 0xFF, 0xFF}, 1), 0xFFFFFF);
    std::uint8_t four[4] = {1, 2, 3, 4};
    EXPECT_FALSE(DecodeItemValue(four, 0, 1));
    EXPECT_FALSE(DecodeItemValue(four, 4, 1));
}

TEST(ValueCodec, WriteBytesRoundTripThroughTheDecoder) {
    EXPECT_EQ(ValueToBytes(1, 2), (std::vector<std::uint8_t>{0x02}));
    EXPECT_EQ(ValueToBytes(1, -56), (std::vector<std::uint8_t>{0xC8}));
    EXPECT_EQ(ValueToBytes(1, 300), (std::vector<std::uint8_t>{0x2C}));  // never three digits
    EXPECT_EQ(ValueToBytes(2, -5), (std::vector<std::uint8_t>{0x05, 0x80}));
    EXPECT_EQ(ValueToBytes(2, 0x1234), (std::vector<std::uint8_t>{0x34, 0x12}));
    EXPECT_EQ(ValueToBytes(3, 0x0A0B0C), (std::vector<std::uint8_t>{0x0A, 0x0B, 0x0C}));
    EXPECT_TRUE(ValueToBytes(0, 5).empty());
    EXPECT_TRUE(ValueToBytes(4, 5).empty());
    for (std::int32_t v : {-64, -1, 0, 1, 191}) EXPECT_EQ(Decode(ValueToBytes(1, v), 1), v) << v;
    for (std::int32_t v : {-32767, -5, 0, 7, 32767})
        EXPECT_EQ(Decode(ValueToBytes(2, v), 2), v) << v;
    for (std::int32_t v : {0, 5, 0x800001, 0xFFFFFF})
        EXPECT_EQ(Decode(ValueToBytes(3, v), 3), v) << v;
}

TEST(ValueCodec, CommandTexts) {
    EXPECT_EQ(SingleReadCommand("1B 1D 1E 05 03", "0A", "1B 1D 1F"),
              "1B 1D 1E 05 03 01 0A 1B 1D 1F");
    EXPECT_EQ(PageReadCommand("1B 1D 1E 05 03", {"01", "02", "03"}, "1B 1D 1F"),
              "1B 1D 1E 05 03 03 01 02 03 1B 1D 1F");
    std::vector<std::string> many(26, "0a");
    std::string page = PageReadCommand("1B 1D 1E 05 03", many, "1B 1D 1F");
    EXPECT_EQ(page.substr(0, 21), "1B 1D 1E 05 03 1a 0a ");
    EXPECT_EQ(SpacedHexToBytes(page).size(), 5u + 1 + 26 + 3);
    EXPECT_EQ(WriteCommand("1B 1D 1E 05 01 1B 1D 1F", " 1B 1D 1E 00 0B ", 1, 2, "1B 1D 1F",
                           "1B 1D 1E 05 02 1B 1D 1F"),
              "1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 00 0B 02 1B 1D 1F 1B 1D 1E 05 02 1B 1D 1F");
    EXPECT_EQ(WriteCommand("E", "1B 1D 1E 00 0C", 2, -5, "T", "S"), "E 1B 1D 1E 00 0C 05 80 T S");
    EXPECT_EQ(WriteCommand("E", "1B 1D 1E 00 0D", 3, 0x050001, "T", "S"),
              "E 1B 1D 1E 00 0D 05 00 01 T S");
}

TEST(ValueCodec, PageReplyDecoding) {
    // Two entries: 0A one byte C8, 0B two bytes 05 80.
    std::vector<std::uint8_t> reply = {0x1B, 0x1D, 0x1E, 0x05, 0x03, 0x02, 0x0A, 0x01,
                                       0xC8, 0x0B, 0x02, 0x05, 0x80, 0x1B, 0x1D, 0x1F};
    auto entries = DecodePageReply(reply.data(), static_cast<int>(reply.size()), {1, 2});
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].code, 0x0A);
    EXPECT_EQ(entries[0].value, -56);
    EXPECT_EQ(entries[1].value, -5);
    // The two-byte rule follows the page's item at the same position.
    entries = DecodePageReply(reply.data(), static_cast<int>(reply.size()), {2, 1});
    EXPECT_EQ(entries[1].value, 128);
    // Beyond the page's last item the one-byte rule does not apply.
    entries = DecodePageReply(reply.data(), static_cast<int>(reply.size()), {1});
    EXPECT_EQ(entries[1].value, -5);

    EXPECT_EQ(FindReplyValue(entries, "0a"), -56);
    EXPECT_EQ(FindReplyValue(entries, "0B"), -5);
    EXPECT_FALSE(FindReplyValue(entries, "0C"));
    EXPECT_FALSE(FindReplyValue(entries, " 0A"));

    EXPECT_TRUE(DecodePageReply(reply.data(), 6, {1, 2}).empty());
    // A count larger than the entries present stops at the tail; a short reply never reads on.
    reply[5] = 9;
    EXPECT_EQ(DecodePageReply(reply.data(), static_cast<int>(reply.size()), {}).size(), 2u);
    EXPECT_EQ(DecodePageReply(reply.data(), 12, {}).size(), 1u);
    // An unknown value length ends the decoding.
    reply[10] = 4;
    EXPECT_EQ(DecodePageReply(reply.data(), static_cast<int>(reply.size()), {}).size(), 1u);
    // The first matching pair counts.
    std::vector<TReplyEntry> twice = {{0x0A, 1}, {0x0A, 2}};
    EXPECT_EQ(FindReplyValue(twice, "0A"), 1);
}

}  // namespace
}  // namespace ps
