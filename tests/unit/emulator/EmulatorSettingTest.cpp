// SPDX-License-Identifier: MIT
// Setting mode: value replies, writes between enter and save, the card-type group and the
// state that a later device instance starts from.
#include <gtest/gtest.h>

#include "EmulatorTestSupport.h"
#include "emulator/ItemTable.h"

namespace ps::emu {
namespace {

using test::Exchange;
using test::TManualClock;

constexpr const char* kEnter = "1B 1D 1E 05 01 1B 1D 1F ";
constexpr const char* kSave = " 1B 1D 1E 05 02 1B 1D 1F";

class EmulatorSetting : public ::testing::Test {
protected:
    std::unique_ptr<TEmulatedDevice> Make(TDeviceConfig config = test::TestConfig()) {
        return std::make_unique<TEmulatedDevice>(std::move(config), m_Dir.Path() / "state",
                                                 m_Clock);
    }
    ps::test::TTempDir m_Dir;
    TManualClock m_Clock;
};

TEST_F(EmulatorSetting, ReadsAnswerInTheValueReplyLayout) {
    auto device = Make();
    EXPECT_EQ(Exchange(*device, "monitor", "1B 1D 1E 05 03 01 0A 1B 1D 1F"),
              "1B 1D 1E 05 03 01 0A 01 02 1B 1D 1F");
    // A page: one entry per known code in the order asked, the unknown 99 left out; two-byte
    // values in sign and magnitude, three-byte values big-endian.
    EXPECT_EQ(Exchange(*device, "usb", "1B 1D 1E 05 03 05 0A 21 2E 99 14 1B 1D 1F"),
              "1B 1D 1E 05 03 04 0A 01 02 21 02 05 80 2E 03 FC 00 00 14 01 01 1B 1D 1F");
    // Items of the menu file the printer carries are known as well.
    TDeviceConfig config = test::TestConfig();
    config.menuFile = test::DataFile("test-menu.ini");
    auto withMenu = Make(config);
    EXPECT_EQ(Exchange(*withMenu, "usb", "1B 1D 1E 05 03 02 40 0A 1B 1D 1F"),
              "1B 1D 1E 05 03 02 40 01 03 0A 01 02 1B 1D 1F");
    EXPECT_EQ(Exchange(*device, "usb", "1B 1D 1E 05 03 01 77 1B 1D 1F"),
              "1B 1D 1E 05 03 00 1B 1D 1F");
}

TEST_F(EmulatorSetting, WritesTakeEffectOnlyWhenSaved) {
    auto device = Make();
    const char* read = "1B 1D 1E 05 03 02 0A 21 1B 1D 1F";
    // Without enter the printer ignores the write.
    Exchange(*device, "monitor", "1B 1D 1E 00 0B C8 1B 1D 1F");
    EXPECT_EQ(Exchange(*device, "monitor", read),
              "1B 1D 1E 05 03 02 0A 01 02 21 02 05 80 1B 1D 1F");
    // Entered and written, not yet saved.
    Exchange(*device, "monitor",
             std::string(kEnter) + "1B 1D 1E 00 0B C8 1B 1D 1F 1B 1D 1E 00 22 03 80 1B 1D 1F");
    EXPECT_EQ(Exchange(*device, "monitor", read),
              "1B 1D 1E 05 03 02 0A 01 02 21 02 05 80 1B 1D 1F");
    Exchange(*device, "monitor", "1B 1D 1E 05 02 1B 1D 1F");
    EXPECT_EQ(Exchange(*device, "monitor", read),
              "1B 1D 1E 05 03 02 0A 01 C8 21 02 03 80 1B 1D 1F");
    // A write with the wrong number of value bytes is not a write of the item.
    Exchange(*device, "monitor", std::string(kEnter) + "1B 1D 1E 00 0B 05 06 1B 1D 1F" + kSave);
    EXPECT_EQ(Exchange(*device, "monitor", "1B 1D 1E 05 03 01 0A 1B 1D 1F"),
              "1B 1D 1E 05 03 01 0A 01 C8 1B 1D 1F");
}

TEST_F(EmulatorSetting, CardTypeGroupAndPassbookMeasurement) {
    TDeviceConfig config = test::TestConfig();
    config.extra["PassbookHeight"] = "0x00C9";
    config.extra["MeasureMs"] = "3000";
    auto device = Make(config);
    // The card dialog's fixed commands, all in one piece.
    Exchange(*device, "usb",
             std::string(kEnter) +
                 "1B 1D 1E 04 13 05 80 1B 1D 1F 1B 1D 1E 00 1A C9 00 1B 1D 1F "
                 "1B 1D 1E 00 0B 03 1B 1D 1F 1B 1D 1E 00 10 00 1B 1D 1F" +
                 kSave);
    const auto reply =
        test::Hex(Exchange(*device, "usb", "1B 1D 1E 05 03 04 4B 0A 0F 4D 1B 1D 1F"));
    ASSERT_EQ(reply.size(), 23u);
    EXPECT_EQ(reply[8], 0x05);   // top margin, low byte
    EXPECT_EQ(reply[9], 0x80);   // sign bit: -5
    EXPECT_EQ(reply[12], 0x03);  // left margin
    EXPECT_EQ(reply[15], 0x00);  // copy capability
    EXPECT_EQ(reply[18], 0xC9);  // page height
    EXPECT_EQ(reply[19], 0x00);

    const char* measured = "1B 1D 1E 05 03 01 4E 1B 1D 1F";
    EXPECT_EQ(Exchange(*device, "usb", measured), "1B 1D 1E 05 03 01 4E 02 00 00 1B 1D 1F");
    Exchange(*device, "usb", "1B 1D 1E 00 1B 00 00 1B 1D 1F");
    m_Clock.Advance(2999);
    EXPECT_EQ(Exchange(*device, "usb", measured), "1B 1D 1E 05 03 01 4E 02 00 00 1B 1D 1F");
    m_Clock.Advance(1);
    EXPECT_EQ(Exchange(*device, "usb", measured), "1B 1D 1E 05 03 01 4E 02 C9 00 1B 1D 1F");
}

TEST_F(EmulatorSetting, LaterInstancesStartFromTheSavedState) {
    TDeviceConfig config = test::TestConfig();
    config.values = {{0x0A, 7}, {0x14, 3}};
    {
        auto first = Make(config);
        EXPECT_EQ(Exchange(*first, "monitor", "1B 1D 1E 05 03 02 0A 14 1B 1D 1F"),
                  "1B 1D 1E 05 03 02 0A 01 07 14 01 03 1B 1D 1F");
        Exchange(*first, "monitor", std::string(kEnter) + "1B 1D 1E 00 0B 09 1B 1D 1F" + kSave);
    }
    const std::string state = test::ReadText(m_Dir.Path() / "state" / "state.ini");
    EXPECT_NE(state.find("[Values]\r\n0A=9\r\n"), std::string::npos) << state;

    // The saved value wins over the configured one; others keep theirs.
    auto second = Make(config);
    EXPECT_EQ(Exchange(*second, "monitor", "1B 1D 1E 05 03 03 0A 14 21 1B 1D 1F"),
              "1B 1D 1E 05 03 03 0A 01 09 14 01 03 21 02 05 80 1B 1D 1F");
}

TEST_F(EmulatorSetting, InstancesOfOnePrinterStoreOnlyWhatEachChanged) {
    const std::filesystem::path file = m_Dir.Path() / "state" / "state.ini";
    {
        // Reading, asking the status and closing change nothing, so nothing is written.
        auto reader = Make();
        Exchange(*reader, "usb", "1B 1D 1E 05 03 02 0A 14 1B 1D 1F");
        reader->StatusByte();
    }
    EXPECT_FALSE(std::filesystem::exists(file));

    // Two programs on one printer at once, both started before either wrote.
    auto first = Make();
    auto second = Make();
    Exchange(*first, "monitor", std::string(kEnter) + "1B 1D 1E 00 0B 09 1B 1D 1F" + kSave);
    Exchange(*second, "monitor", std::string(kEnter) + "1B 1D 1E 05 04 14 05 1B 1D 1F" + kSave);
    const std::string clean = "1B 1D 1E 10 01 1B 1D 1F";
    Exchange(*first, "monitor", clean);
    Exchange(*second, "monitor", clean);
    Exchange(*first, "monitor", "1B 1D 1E 10 38 01 03 1B 1D 1F");  // paper box lock
    Exchange(*first, "monitor", "1B 1D 1E 10 1D 10 00 00 00 1B 1D 1F 1B 1D 1E 11 01 1B 1D 1F");
    m_Clock.Advance(3000);
    Exchange(*second, "monitor", "1B 1D 1E 10 38 02 05 1E 1B 1D 1F");  // screen unlock
    second.reset();
    first.reset();

    // Each one's key is kept, both cleanings are counted, and the clock keeps the reading of
    // the one that set it (the other's clock merely ran on).
    const std::string state = test::ReadText(file);
    for (const char* line : {"0A=9\r\n", "14=5\r\n", "HeadCleanings=2\r\n", "ScreenLocked=0\r\n",
                             "PaperBoxLocked=1\r\n", "ClockSeconds=16\r\n"})
        EXPECT_NE(state.find(line), std::string::npos) << line << " in\n" << state;
    auto next = Make();
    EXPECT_EQ(Exchange(*next, "monitor", "1B 1D 1E 05 03 02 0A 14 1B 1D 1F"),
              "1B 1D 1E 05 03 02 0A 01 09 14 01 05 1B 1D 1F");
}

TEST(EmulatorItemTable, ValueBytesAndReplyHead) {
    for (int b = 0; b < 256; ++b) {
        const std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(b)};
        EXPECT_EQ(EncodeItemValue(*DecodeItemValueBytes(bytes), 1), bytes);
    }
    EXPECT_EQ(test::Spaced(EncodeItemValue(-5, 2)), "05 80");
    EXPECT_EQ(*DecodeItemValueBytes(test::Hex("05 80")), -5);
    EXPECT_EQ(*DecodeItemValueBytes(test::Hex("C8")), -56);
    EXPECT_EQ(test::Spaced(EncodeItemValue(0x010203, 3)), "01 02 03");
    EXPECT_FALSE(DecodeItemValueBytes(test::Hex("01 02 03 04")));

    // The count stays at offset 5 whatever the prefix: a short prefix is completed from the
    // read class, a long one is cut.
    EXPECT_EQ(test::Spaced(BuildReplyHead(test::Hex("1B 1D 1E"), test::Hex("1B 1D 1E 05 04"))),
              "1B 1D 1E 05 04");
    EXPECT_EQ(test::Spaced(BuildReplyHead(test::Hex("1B 1D 1E 05 03 01"), {})), "1B 1D 1E 05 03");
    EXPECT_EQ(test::Spaced(BuildReplyHead({}, {})), "1B 1D 1E 05 03");
}

}  // namespace
}  // namespace ps::emu
