// SPDX-License-Identifier: MIT
// The device function codecs and commands: each function's own negative cut, the half-step
// sets, the command-set rows, the clock value and text, the firmware text, the bounds of the
// counter and answer reads, and the values refused before sending.
#include <gtest/gtest.h>

#include "device/DeviceCodecs.h"
#include "device/DeviceCommands.h"
#include "device/DirectOption.h"
#include "scheme/Scheme3.h"

namespace ps {
namespace {

TEST(DeviceCodecs, EachFunctionCutsItsOwnNegativeBytes) {
    // Ink adjustment C0, alignment 200, feed precision above 200.
    EXPECT_EQ(DecodeCutByte(0xBF, kInkAdjustFirstNegative), 191);
    EXPECT_EQ(DecodeCutByte(0xC0, kInkAdjustFirstNegative), -64);
    EXPECT_EQ(DecodeCutByte(0xC8, kAlignmentFirstNegative), -56);
    EXPECT_EQ(DecodeCutByte(0xC7, kAlignmentFirstNegative), 199);
    EXPECT_EQ(DecodeCutByte(0xC8, kFeedFirstNegative), 200);
    EXPECT_EQ(DecodeCutByte(0xC9, kFeedFirstNegative), -55);
    EXPECT_EQ(DecodeCutByte(0xFB, kFeedFirstNegative), -5);
    // A value is written only when it reads back as itself.
    EXPECT_EQ(EncodeCutByte(-56, kAlignmentFirstNegative), 0xC8);
    EXPECT_EQ(EncodeCutByte(-57, kAlignmentFirstNegative), std::nullopt);
    EXPECT_EQ(EncodeCutByte(200, kAlignmentFirstNegative), std::nullopt);
    EXPECT_EQ(EncodeCutByte(200, kFeedFirstNegative), 0xC8);
    EXPECT_EQ(EncodeCutByte(-56, kFeedFirstNegative), std::nullopt);

    const TDeviceCommandSet& halved = DeviceCommandSet("7E40");
    const TDeviceCommandSet& plain = DeviceCommandSet("6A3C");
    EXPECT_EQ(DecodeInkAdjust(0xEC, halved), -10);
    EXPECT_EQ(DecodeInkAdjust(0xF5, halved), -5);  // -11 halved toward zero
    EXPECT_EQ(DecodeInkAdjust(0xF6, plain), -10);
    EXPECT_EQ(EncodeInkAdjust(-10, halved), 0xEC);
    EXPECT_EQ(EncodeInkAdjust(-10, plain), 0xF6);
    EXPECT_EQ(EncodeInkAdjust(-33, halved), std::nullopt);
    EXPECT_EQ(DeviceCommandSet("7D05").bInkAdjustHalved, true);
}

TEST(DeviceCodecs, CommandSetRows) {
    for (const char* set : {"6B21", "5C90", "7E40"})
        EXPECT_TRUE(DeviceCommandSet(set).bTotalPagesOnly);
    for (const char* set : {"6A3C", "6B22", "7D05", "6b21", ""})
        EXPECT_FALSE(DeviceCommandSet(set).bTotalPagesOnly) << set;
    // 6B58 prints as the 6A3C family and reads as the others.
    const TDeviceCommandSet& s6B58 = DeviceCommandSet("6B58");
    EXPECT_EQ(InkCheckPattern(s6B58, kInkModeDraft), Framed({0x10, 0x10, 0x01, 0x00}));
    EXPECT_EQ(InkAdjustRead(s6B58, kInkModeDraft).command, Framed({0x12, 0x02, 0x01, 0x03}));
    // 6B22 prints the vertical fine adjustment's pattern with 5, its result with 6.
    const TDeviceCommandSet& s6B22 = DeviceCommandSet("6B22");
    EXPECT_EQ(InkCheckPattern(s6B22, kInkModeVerticalFine), Framed({0x10, 0x10, 0x01, 0x05}));
    EXPECT_EQ(InkResultPattern(s6B22, kInkModeVerticalFine), Framed({0x10, 0x10, 0x02, 0x06}));
    EXPECT_EQ(DeviceCommandSet("ZZZZ").code, "");
    EXPECT_EQ(DeviceCommandSet("4E17").inkLayout, TInkAdjustLayout::TwoModes);

    TSettingItem item;
    item.SetInstruction = " 1B 1D 1E 11 02 ";
    EXPECT_EQ(
        BytesToSpacedHex(InkAdjustWrite(item, s6B22, kInkModeHorizontalFine, 3, "1B 1D 1F")),
        "1B 1D 1E 10 00 00 1B 1D 1F 1B 1D 1E 11 02 05 03 1B 1D 1F 1B 1D 1E 10 00 01 1B 1D 1F");
    EXPECT_THROW(
        InkAdjustWrite(item, DeviceCommandSet("6A3C"), kInkModeHorizontalFine, 3, "1B 1D 1F"),
        EConvertError);  // no mode code: nothing to send
    EXPECT_THROW(InkAdjustWrite(item, DeviceCommandSet("6A3C"), kInkModeNormal, 192, "1B 1D 1F"),
                 EConvertError);
}

TEST(DeviceCodecs, ClockValueAndText) {
    const TLocalTime utc{2024, 5, 3, 1, 0, 0, 0, 0};
    const std::int64_t seconds = SecondsSince1970(utc);
    EXPECT_EQ(seconds, 1714521600);
    EXPECT_EQ(PrinterClockValue(seconds, -480), seconds + 28800);
    EXPECT_EQ(PrinterClockValue(seconds, -330), seconds + 19800);  // the half hour stays
    EXPECT_EQ(PrinterClockValue(seconds, 300), seconds - 18000);
    EXPECT_EQ(FormatPrinterClock(0), "1970/01/01 00:00:00");
    EXPECT_EQ(FormatPrinterClock(86400), "1970/01/02 00:00:00");
    EXPECT_EQ(FormatPrinterClock(0xFFFFFFFFu), "2106/02/07 06:28:15");
    EXPECT_EQ(BytesToSpacedHex(ClockWrite(86400)),
              "1B 1D 1E 10 1D 80 51 01 00 1B 1D 1F 1B 1D 1E 11 01 1B 1D 1F");
    EXPECT_THROW(ClockWrite(-1), EConvertError);
    EXPECT_THROW(ClockWrite(0x100000000LL), EConvertError);
}

TEST(DeviceCodecs, ReadsTakeOnlyBytesThatCameBack) {
    const std::uint8_t counter[] = {0x1B, 0x1D, 0x1E, 0x12, 0x07, 0x05, 0x00, 0x28, 0x6B, 0xEE};
    const TDeviceRead total = CounterRead(kCounterTotalPages, 14);
    EXPECT_EQ(total.decode(TReplyView(counter, 10)), 4000000000LL);  // unsigned
    EXPECT_EQ(total.decode(TReplyView(counter, 9)), std::nullopt);
    const std::uint8_t firmware[] = {0x01, 0x00, 0x02, 0x01, 0x27, 0x07, 0x23, 0x20};
    EXPECT_EQ(FormatFirmwareVersion(firmware), "V0102.0001 2023-07-27");
    const std::uint8_t drying[] = {0x1B, 0x1D, 0x1E, 0x12, 0x09, 0x64, 0x00};
    EXPECT_EQ(DryingTimeRead(DeviceCommandSet("6A3C")).decode(TReplyView(drying, 7)), 2);
    EXPECT_EQ(DryingTimeRead(DeviceCommandSet("6A3C")).decode(TReplyView(drying, 6)), std::nullopt);
    EXPECT_EQ(DryingTimeRead(DeviceCommandSet("6B22")).decode(TReplyView(drying, 6)), 100);
    EXPECT_EQ(BytesToSpacedHex(DryingTimeWrite(DeviceCommandSet("6A3C"), 3)),
              "1B 1D 1E 11 1D 96 00 1B 1D 1F 1B 1D 1E 10 00 01 1B 1D 1F");
    EXPECT_EQ(BytesToSpacedHex(AlignmentWrite(false, 1)),
              "1B 1D 1E 11 31 00 6A FF 1B 1D 1F 1B 1D 1E 10 00 01 1B 1D 1F");
    EXPECT_THROW(AlignmentWrite(true, -57), EConvertError);
    EXPECT_THROW(FeedPrecisionWrite(DeviceCommandSet("6A3C"), 0, -56), EConvertError);

    // The direct option's answer: offsets from the rule titles, checked against the reply.
    const std::uint8_t answer[] = {0x1B, 0x1D, 0x1E, 0x05, 0x01, 0x00, 0xAB, 0x0C};
    EXPECT_EQ(AnswerText(TReplyView(answer, 8), {6, 2}), "AB 0C ");
    EXPECT_EQ(AnswerText(TReplyView(answer, 8), {6, 3}), std::nullopt);
    EXPECT_EQ(AnswerText(TReplyView(answer, 8), {-1, 2}), std::nullopt);
    EXPECT_EQ(AnswerText(TReplyView(answer, 8), {40, 0}), "");
    TSettingItem item;
    item.RuleValues = TTagItemRuleValues({0, 1}, {"6", " 2 "});
    ASSERT_TRUE(AnswerBytesOf(item));
    EXPECT_EQ(AnswerBytesOf(item)->count, 2);
    item.RuleValues = TTagItemRuleValues({0, 1}, {"6", "2x"});
    EXPECT_FALSE(AnswerBytesOf(item));
    item.RuleValues = TTagItemRuleValues({0}, {"6"});
    EXPECT_FALSE(AnswerBytesOf(item));
}

}  // namespace
}  // namespace ps
