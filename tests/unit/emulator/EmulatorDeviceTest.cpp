// SPDX-License-Identifier: MIT
// Device functions: counters, drying time, alignment, feed precision, ink adjustment, clock,
// locks and firmware, with replies laid out as the dialogs read them.
#include <gtest/gtest.h>

#include "EmulatorTestSupport.h"

namespace ps::emu {
namespace {

using test::Exchange;
using test::TManualClock;

constexpr const char* kCommit = " 1B 1D 1E 10 00 01 1B 1D 1F";

class EmulatorDevice : public ::testing::Test {
protected:
    std::unique_ptr<TEmulatedDevice> Make(std::map<std::string, std::string> extra = {},
                                          std::filesystem::path scheme = {}) {
        TDeviceConfig config = test::TestConfig();
        config.extra = std::move(extra);
        if (!scheme.empty()) config.schemeFile = scheme;
        return std::make_unique<TEmulatedDevice>(config, StateDir(), m_Clock);
    }
    std::filesystem::path StateDir() const { return m_Dir.Path() / "state"; }
    ps::test::TTempDir m_Dir;
    TManualClock m_Clock;
};

TEST_F(EmulatorDevice, PageCountersCountJobsAndFormFeeds) {
    auto device = Make({{"TotalPages", "12345"}});
    const char* total = "1B 1D 1E 12 07 05 1B 1D 1F";
    EXPECT_EQ(Exchange(*device, "monitor", total), "1B 1D 1E 12 07 05 39 30 00 00 1B 1D 1F");
    device->Receive("job Print test", test::Hex("1B 40 41 42 43 0C"));  // one printed job
    Exchange(*device, "monitor", "1B 1D 1E 10 09 81 1B 1D 1F");         // nozzle check ...
    Exchange(*device, "monitor", "0C");                                 // ... and its form feed
    device->Receive("job Printer setting job", test::Hex("1B 1D 1E 10 01 1B 1D 1F"));  // no page
    EXPECT_EQ(Exchange(*device, "monitor", total), "1B 1D 1E 12 07 05 3B 30 00 00 1B 1D 1F");
    EXPECT_EQ(Exchange(*device, "monitor", "1B 1D 1E 12 07 02 1B 1D 1F"),
              "1B 1D 1E 12 07 02 02 00 00 00 1B 1D 1F");
}

TEST_F(EmulatorDevice, RegisterWritesWaitForTheirCommit) {
    auto device = Make();
    const char* drying = "1B 1D 1E 12 09 1B 1D 1F";
    Exchange(*device, "monitor", "1B 1D 1E 11 1D 96 00 1B 1D 1F");
    EXPECT_EQ(Exchange(*device, "monitor", drying), "1B 1D 1E 12 09 00 00 1B 1D 1F");
    Exchange(*device, "monitor", std::string("1B 1D 1E 11 1D 96 00 1B 1D 1F") + kCommit);
    EXPECT_EQ(Exchange(*device, "monitor", drying), "1B 1D 1E 12 09 96 00 1B 1D 1F");

    // Alignment: a 16-bit value, or one signed byte read by both alignment reads.
    Exchange(*device, "monitor", std::string("1B 1D 1E 11 31 00 6A FF 1B 1D 1F") + kCommit);
    EXPECT_EQ(Exchange(*device, "monitor", "1B 1D 1E 12 14 00 1B 1D 1F"),
              "1B 1D 1E 12 14 00 6A FF 1B 1D 1F");
    Exchange(*device, "monitor", std::string("1B 1D 1E 11 31 00 FD 1B 1D 1F") + kCommit);
    EXPECT_EQ(Exchange(*device, "monitor", "1B 1D 1E 12 16 00 1B 1D 1F"),
              "1B 1D 1E 12 16 00 FD 1B 1D 1F");
    EXPECT_EQ(Exchange(*device, "monitor", "1B 1D 1E 12 14 00 1B 1D 1F"),
              "1B 1D 1E 12 14 00 FD FF 1B 1D 1F");

    // Ink adjustment through the scheme's adjustment item: begin, write, commit.
    Exchange(*device, "monitor",
             std::string("1B 1D 1E 10 00 00 1B 1D 1F 1B 1D 1E 11 02 01 F6 1B 1D 1F") + kCommit);
    EXPECT_EQ(Exchange(*device, "monitor", "1B 1D 1E 12 02 01 01 1B 1D 1F"),
              "1B 1D 1E 12 02 01 01 F6 1B 1D 1F");
    EXPECT_EQ(Exchange(*device, "monitor", "1B 1D 1E 12 02 01 02 1B 1D 1F"),
              "1B 1D 1E 12 02 01 02 00 1B 1D 1F");
}

TEST_F(EmulatorDevice, FeedPrecisionModesOfCommandSet6B22) {
    std::string scheme = test::ReadText(test::DataFile("test-scheme.ini"));
    scheme.replace(scheme.find("SettingCommand=6A3C"), 19, "SettingCommand=6B22");
    auto device = Make({}, m_Dir.Write("6b22.ini", scheme));
    Exchange(*device, "monitor", std::string("1B 1D 1E 11 31 00 02 07 1B 1D 1F") + kCommit);
    EXPECT_EQ(Exchange(*device, "monitor", "1B 1D 1E 12 16 00 02 1B 1D 1F"),
              "1B 1D 1E 12 16 00 02 07 1B 1D 1F");
    EXPECT_EQ(Exchange(*device, "monitor", "1B 1D 1E 12 16 00 01 1B 1D 1F"),
              "1B 1D 1E 12 16 00 01 00 1B 1D 1F");
    EXPECT_EQ(Exchange(*device, "monitor", "1B 1D 1E 12 14 00 1B 1D 1F"),
              "1B 1D 1E 12 14 00 00 00 1B 1D 1F");
}

TEST_F(EmulatorDevice, ClockLocksAndFirmware) {
    {
        auto device = Make({{"ClockSeconds", "86400"},
                            {"FirmwareVersion", "V0203.0004"},
                            {"FirmwareDate", "2024-12-31"}});
        const char* clock = "1B 1D 1E 12 0E 1B 1D 1F";
        EXPECT_EQ(Exchange(*device, "monitor", clock), "1B 1D 1E 12 0E 80 51 01 00 1B 1D 1F");
        m_Clock.Advance(5000);
        EXPECT_EQ(Exchange(*device, "monitor", clock), "1B 1D 1E 12 0E 85 51 01 00 1B 1D 1F");
        // The value alone does not set the clock; with 11 01 it does.
        Exchange(*device, "monitor", "1B 1D 1E 10 1D 00 00 00 10 1B 1D 1F");
        EXPECT_EQ(Exchange(*device, "monitor", clock), "1B 1D 1E 12 0E 85 51 01 00 1B 1D 1F");
        Exchange(*device, "monitor", "1B 1D 1E 10 1D 1B 1D 1F 10 1B 1D 1F 1B 1D 1E 11 01 1B 1D 1F");
        EXPECT_EQ(Exchange(*device, "monitor", clock), "1B 1D 1E 12 0E 1B 1D 1F 10 1B 1D 1F");

        Exchange(*device, "monitor", "1B 1D 1E 10 38 02 05 1E 1B 1D 1F");
        Exchange(*device, "monitor", "1B 1D 1E 10 38 01 03 1B 1D 1F");
        EXPECT_EQ(Exchange(*device, "monitor", "1B 1D 1E 12 01 1B 1D 1F"),
                  "04 00 03 02 31 12 24 20");
    }
    const std::string state = test::ReadText(StateDir() / "state.ini");
    EXPECT_NE(state.find("ScreenLocked=0"), std::string::npos) << state;
    EXPECT_NE(state.find("PaperBoxLocked=1"), std::string::npos) << state;
    // The clock goes on from where the last run left it.
    auto again = Make();
    EXPECT_EQ(Exchange(*again, "monitor", "1B 1D 1E 12 0E 1B 1D 1F"),
              "1B 1D 1E 12 0E 1B 1D 1F 10 1B 1D 1F");
    EXPECT_EQ(Exchange(*again, "monitor", "1B 1D 1E 12 01 1B 1D 1F"), "01 00 02 01 27 07 23 20");
}

TEST_F(EmulatorDevice, PresetRegistersCountersBeyond31BitsAndConfiguredAnswers) {
    {
        auto device = Make({{"TotalPages", "4000000000"},
                            {"DryingTime", "100"},
                            {"AlignmentByte", "-3"},
                            {"InkAdjust", "1:-10 2:0x14"},
                            {"FeedModes", "2:7"},
                            {"Answer.1077", "1B 1D 1E 05 01 00 AB 0C"},
                            {"Answer.120705", "1B 1D 1E 12 07 05 39"}});
        // The answer comes before the printer's own reply.
        EXPECT_EQ(Exchange(*device, "monitor", "1B 1D 1E 12 07 05 1B 1D 1F"),
                  "1B 1D 1E 12 07 05 39");
        EXPECT_EQ(Exchange(*device, "usb", "1B 1D 1E 10 77 1B 1D 1F"), "1B 1D 1E 05 01 00 AB 0C");
        EXPECT_EQ(Exchange(*device, "monitor", "1B 1D 1E 12 09 1B 1D 1F"),
                  "1B 1D 1E 12 09 64 00 1B 1D 1F");
        EXPECT_EQ(Exchange(*device, "monitor", "1B 1D 1E 12 16 00 1B 1D 1F"),
                  "1B 1D 1E 12 16 00 FD 1B 1D 1F");
        EXPECT_EQ(Exchange(*device, "monitor", "1B 1D 1E 12 02 01 01 1B 1D 1F"),
                  "1B 1D 1E 12 02 01 01 F6 1B 1D 1F");
        EXPECT_EQ(Exchange(*device, "monitor", "1B 1D 1E 12 02 01 02 1B 1D 1F"),
                  "1B 1D 1E 12 02 01 02 14 1B 1D 1F");
        EXPECT_EQ(Exchange(*device, "monitor", "1B 1D 1E 12 16 00 02 1B 1D 1F"),
                  "1B 1D 1E 12 16 00 02 07 1B 1D 1F");
        Exchange(*device, "monitor", std::string("1B 1D 1E 11 1D 03 00 1B 1D 1F") + kCommit);
    }
    // What the printer holds now wins over the presets, the large count included.
    auto again = Make({{"TotalPages", "5"}, {"DryingTime", "100"}});
    EXPECT_EQ(Exchange(*again, "monitor", "1B 1D 1E 12 07 05 1B 1D 1F"),
              "1B 1D 1E 12 07 05 00 28 6B EE 1B 1D 1F");
    EXPECT_EQ(Exchange(*again, "monitor", "1B 1D 1E 12 09 1B 1D 1F"),
              "1B 1D 1E 12 09 03 00 1B 1D 1F");
}

}  // namespace
}  // namespace ps::emu
