// SPDX-License-Identifier: MIT
// The status byte over time: cleanings, head and ink box changes, and the busy and no-ink-box
// faults.
#include <gtest/gtest.h>

#include "EmulatorTestSupport.h"

namespace ps::emu {
namespace {

using test::Exchange;
using test::TManualClock;

class EmulatorTimeline : public ::testing::Test {
protected:
    std::unique_ptr<TEmulatedDevice> Make(std::map<std::string, std::string> extra = {},
                                          TClock* clock = nullptr) {
        TDeviceConfig config = test::TestConfig();
        config.statusByte = 0x08;
        config.extra = {{"CleanMs", "5000"},
                        {"DeepCleanMs", "9000"},
                        {"HeadChangeMs", "20000"},
                        {"BoxChangeMs", "7000"}};
        for (const auto& [key, value] : extra) config.extra[key] = value;
        return std::make_unique<TEmulatedDevice>(config, m_Dir.Path() / std::to_string(m_iMade++),
                                                 clock ? *clock : m_Clock);
    }
    ps::test::TTempDir m_Dir;
    TManualClock m_Clock;
    int m_iMade = 0;
};

TEST_F(EmulatorTimeline, CleaningsReportTheirStatusForTheirDuration) {
    auto device = Make();
    EXPECT_EQ(device->StatusByte(), 0x08);
    Exchange(*device, "monitor", "1B 1D 1E 10 01 1B 1D 1F");
    EXPECT_EQ(device->StatusByte(), 0x2A);
    m_Clock.Advance(4999);
    EXPECT_EQ(device->StatusByte(), 0x2A);
    m_Clock.Advance(1);
    EXPECT_EQ(device->StatusByte(), 0x08);

    Exchange(*device, "monitor", "1B 1D 1E 10 02 1B 1D 1F");
    m_Clock.Advance(8999);
    EXPECT_EQ(device->StatusByte(), 0x2A);
    m_Clock.Advance(1);
    EXPECT_EQ(device->StatusByte(), 0x08);
}

TEST_F(EmulatorTimeline, HeadAndInkBoxChanges) {
    auto device = Make({{"InkBoxPages", "12"}});
    // Head: prepared and started, then performed with the serial number.
    Exchange(*device, "monitor", "1B 1D 1E 11 13 00 1B 1D 1F 1B 1D 1E 10 03 1B 1D 1F");
    EXPECT_EQ(device->StatusByte(), 0x08);
    Exchange(*device, "monitor",
             "1B 1D 1E 11 33 04 53 4E 31 32 33 34 35 36 37 20 20 20 20 20 20 20 "
             "00 00 00 00 00 00 00 00 1B 1D 1F 1B 1D 1E 10 07 1B 1D 1F");
    EXPECT_EQ(device->StatusByte(), 0x2C);
    m_Clock.Advance(20000);
    EXPECT_EQ(device->StatusByte(), 0x08);
    EXPECT_EQ(Exchange(*device, "usb", "1B 1D 1E 12 33 04 1B 1D 1F"),
              "1B 1D 1E 12 33 04 53 4E 31 32 33 34 35 36 37 20 20 20 20 20 20 20 1B 1D 1F");

    // An execute without a started change does nothing.
    Exchange(*device, "monitor", "1B 1D 1E 10 07 1B 1D 1F");
    EXPECT_EQ(device->StatusByte(), 0x08);

    // Ink box: started, aborted at once; then started and performed. The finished change
    // starts the new box's page count.
    Exchange(*device, "monitor", "1B 1D 1E 10 05 1B 1D 1F");
    EXPECT_EQ(device->StatusByte(), 0x2E);
    Exchange(*device, "monitor", "1B 1D 1E 10 08 1B 1D 1F");
    EXPECT_EQ(device->StatusByte(), 0x08);
    const char* boxPages = "1B 1D 1E 12 07 02 1B 1D 1F";
    EXPECT_EQ(Exchange(*device, "monitor", boxPages), "1B 1D 1E 12 07 02 0C 00 00 00 1B 1D 1F");
    Exchange(*device, "monitor", "1B 1D 1E 10 05 1B 1D 1F");
    Exchange(*device, "monitor", "1B 1D 1E 10 07 1B 1D 1F");
    m_Clock.Advance(6999);
    EXPECT_EQ(device->StatusByte(), 0x2E);
    m_Clock.Advance(1);
    EXPECT_EQ(device->StatusByte(), 0x08);
    EXPECT_EQ(Exchange(*device, "monitor", boxPages), "1B 1D 1E 12 07 02 00 00 00 00 1B 1D 1F");
}

TEST_F(EmulatorTimeline, BusyAndNoInkBoxOnDemand) {
    auto busy = Make({{"Busy", "1"}});
    EXPECT_EQ(busy->StatusByte(), 0x1F);
    Exchange(*busy, "monitor", "1B 1D 1E 10 01 1B 1D 1F");
    EXPECT_EQ(busy->StatusByte(), 0x1F);

    // Without an ink box the idle status is 0x39; a running change still shows its own.
    auto noBox = Make({{"NoInkBox", "1"}});
    EXPECT_EQ(noBox->StatusByte(), 0x39);
    Exchange(*noBox, "monitor", "1B 1D 1E 11 13 00 1B 1D 1F 1B 1D 1E 10 03 1B 1D 1F");
    Exchange(*noBox, "monitor", "1B 1D 1E 10 07 1B 1D 1F");
    EXPECT_EQ(noBox->StatusByte(), 0x2C);
    m_Clock.Advance(20000);
    EXPECT_EQ(noBox->StatusByte(), 0x39);
}

TEST_F(EmulatorTimeline, ChangeModeIsKeptUntilPerformedOrAborted) {
    const std::filesystem::path dir = m_Dir.Path() / "0";
    auto mode = [&] {
        const std::string state = test::ReadText(dir / "state.ini");
        const auto at = state.find("ChangeMode=");
        return at == std::string::npos ? std::string("?")
                                       : state.substr(at + 11, state.find('\r', at) - at - 11);
    };
    {
        auto device = Make({{"NoInkBoxAfterChange", "1"}});
        Exchange(*device, "monitor", "1B 1D 1E 11 13 00 1B 1D 1F 1B 1D 1E 10 03 1B 1D 1F");
        EXPECT_EQ(mode(), "Head");
        // The abort leaves it at once; a box change started next is its own mode.
        Exchange(*device, "monitor", "1B 1D 1E 10 08 1B 1D 1F 1B 1D 1E 11 13 01 1B 1D 1F");
        EXPECT_EQ(mode(), "None");
        Exchange(*device, "monitor", "1B 1D 1E 10 05 1B 1D 1F");
        EXPECT_EQ(mode(), "Box");
    }
    {
        // A printer left in change mode is still in it when the program comes back.
        auto again = std::make_unique<TEmulatedDevice>(test::TestConfig(), dir, m_Clock);
        EXPECT_EQ(mode(), "Box");
        Exchange(*again, "monitor", "1B 1D 1E 10 07 1B 1D 1F");
        EXPECT_EQ(mode(), "None");
        const std::string events = test::ReadText(dir / "events.log");
        EXPECT_NE(events.find("change mode head"), std::string::npos);
        EXPECT_NE(events.find("change mode box"), std::string::npos);
        EXPECT_NE(events.find("change mode left"), std::string::npos);
    }
    // Without an ink box seated after the change, the printer says so once the change is over.
    auto device = Make({{"NoInkBoxAfterChange", "1"}});
    EXPECT_EQ(device->StatusByte(), 0x08);
    Exchange(*device, "monitor", "1B 1D 1E 11 13 00 1B 1D 1F 1B 1D 1E 10 03 1B 1D 1F");
    Exchange(*device, "monitor", "1B 1D 1E 10 07 1B 1D 1F");
    EXPECT_EQ(device->StatusByte(), 0x2C);
    m_Clock.Advance(20000);
    EXPECT_EQ(device->StatusByte(), 0x39);
}

TEST_F(EmulatorTimeline, ScaledClockEndsACleaning) {
    // A 20-second cleaning on a clock 1000 times faster ends while the caller polls as the
    // cleaning dialog does (one clock second per pass, at most 901 passes).
    TScaledClock fast(1000);
    auto device = Make({{"CleanMs", "20000"}}, &fast);
    Exchange(*device, "monitor", "1B 1D 1E 10 01 1B 1D 1F");
    int passes = 0;
    while (device->StatusByte() == 0x2A && passes < 901) {
        fast.Sleep(1000);
        ++passes;
    }
    EXPECT_EQ(device->StatusByte(), 0x08);
    std::printf("cleaning of 20 s ended after %d passes of the scaled clock\n", passes);
}

}  // namespace
}  // namespace ps::emu
