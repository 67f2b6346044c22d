// SPDX-License-Identifier: MIT
// The bounds-checked reply view and the value ranges and comparisons of setting writes.
#include <gtest/gtest.h>

#include <vector>

#include "scheme/ReplyView.h"
#include "scheme/SettingWrite.h"

namespace ps {
namespace {

TEST(ReplyViewTest, ReadsOnlyTheBytesReturned) {
    const std::vector<std::uint8_t> reply = {0x1B, 0x1D, 0x1E, 0x05, 0x03, 0x01,
                                             0x0A, 0x02, 0x05, 0x80, 0x1B, 0x1D};
    const TReplyView full(reply.data(), static_cast<std::int32_t>(reply.size()));
    EXPECT_EQ(full.ItemValue(7, 8, 2), -5);
    EXPECT_EQ(full.ItemValue(7, 8, 1), 128);
    EXPECT_EQ(full.SignMagnitude16(8), -5);
    EXPECT_EQ(full.LE16(8), 0x8005);
    EXPECT_EQ(full.Byte(11), 0x1D);
    EXPECT_EQ(full.Byte(12), std::nullopt);
    EXPECT_EQ(full.LE16(11), std::nullopt);

    // The buffer holds more, but the reply ended inside the value.
    const TReplyView cut(reply.data(), 9);
    EXPECT_EQ(cut.ItemValue(7, 8, 2), std::nullopt);
    EXPECT_EQ(cut.Byte(8), 0x05);
    // No length byte at all, and a negative length.
    EXPECT_EQ(TReplyView(reply.data(), 7).ItemValue(7, 8, 1), std::nullopt);
    EXPECT_EQ(TReplyView(reply.data(), -4).Size(), 0);
    EXPECT_FALSE(TReplyView(nullptr, 12).Has(0, 1));
    // A length other than 1, 2 or 3 is no value.
    const std::vector<std::uint8_t> odd = {0, 0, 0, 0, 0, 1, 0x0A, 0x04, 1, 2, 3, 4};
    EXPECT_EQ(TReplyView(odd.data(), 12).ItemValue(7, 8, 1), std::nullopt);
    EXPECT_FALSE(full.Has(-1, 1));
    EXPECT_FALSE(full.Has(0, -1));
}

TEST(SettingWriteTest, ValueRangesByWidth) {
    EXPECT_TRUE(ValueFitsWidth(1, -128));
    EXPECT_TRUE(ValueFitsWidth(1, 255));
    EXPECT_FALSE(ValueFitsWidth(1, 256));
    EXPECT_FALSE(ValueFitsWidth(1, -129));
    EXPECT_TRUE(ValueFitsWidth(2, -0x7FFF));
    EXPECT_TRUE(ValueFitsWidth(2, 0x7FFF));
    EXPECT_FALSE(ValueFitsWidth(2, 0x8000));
    EXPECT_FALSE(ValueFitsWidth(2, -0x8000));
    EXPECT_TRUE(ValueFitsWidth(3, 0xFFFFFF));
    EXPECT_FALSE(ValueFitsWidth(3, 0x1000000));
    EXPECT_FALSE(ValueFitsWidth(3, -1));
    EXPECT_FALSE(ValueFitsWidth(0, 0));
    EXPECT_FALSE(ValueFitsWidth(4, 0));
    EXPECT_THROW(CheckValueFitsWidth(1, 300), EConvertError);
    EXPECT_NO_THROW(CheckValueFitsWidth(2, -5));
}

TEST(SettingWriteTest, ReadBackComparesTheBytesWritten) {
    // 200 is written as C8, which reads back as -56.
    EXPECT_TRUE(SameValueBytes(1, 200, -56));
    EXPECT_TRUE(SameValueBytes(1, -1, 255));
    EXPECT_FALSE(SameValueBytes(1, 2, 3));
    EXPECT_TRUE(SameValueBytes(2, -5, -5));
    EXPECT_FALSE(SameValueBytes(2, -5, 5));
    EXPECT_TRUE(SameValueBytes(3, 0x800001, 0x800001));
}

}  // namespace
}  // namespace ps
