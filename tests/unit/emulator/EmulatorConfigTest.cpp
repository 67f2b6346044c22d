// SPDX-License-Identifier: MIT
// Reading a device section: first values in both forms, and every mistake reported once.
#include <gtest/gtest.h>

#include "EmulatorTestSupport.h"
#include "emulator/ConfigReport.h"
#include "emulator/EmulatorOptions.h"
#include "base/IniFile.h"

namespace ps::emu {
namespace {

using TValues = std::map<int, std::int32_t>;

TEST(EmulatorConfig, FirstValuesInEitherForm) {
    EXPECT_EQ(ParseDeviceValues("11:1,23:6,0C:0,2E:-300,4A:-56,5C:11534337,61:7"),
              (TValues{{0x11, 1},
                       {0x23, 6},
                       {0x0C, 0},
                       {0x2E, -300},
                       {0x4A, -56},
                       {0x5C, 11534337},
                       {0x61, 7}}));
    EXPECT_EQ(ParseDeviceValues("10=2, 11=0"), (TValues{{0x10, 2}, {0x11, 0}}));
    // Both forms in one list, "0x" codes, one-digit codes, blanks and semicolons between.
    EXPECT_EQ(ParseDeviceValues("0x0A:1 0b=-5;7:+3\t0XFF=$10"),
              (TValues{{0x0A, 1}, {0x0B, -5}, {0x07, 3}, {0xFF, 16}}));
    EXPECT_TRUE(ParseDeviceValues("").empty());
}

TEST(EmulatorConfig, ValuesEntriesOfNeitherFormAreReportedOneByOne) {
    TConfigReport report;
    TSectionReader reader("Device:pb", {}, &report);
    const TValues values =
        ParseDeviceValues("11:1,123:4,G1:2,11-1,12:,:5,13:1.5,0x:2,14:x,15::1,16=2", &reader);
    EXPECT_EQ(values, (TValues{{0x11, 1}, {0x16, 2}}));
    std::vector<std::string> bad;
    for (const std::string& line : report.Lines()) {
        const std::size_t open = line.find('"');
        bad.push_back(line.substr(open + 1, line.find('"', open + 1) - open - 1));
    }
    EXPECT_EQ(bad, (std::vector<std::string>{"123:4", "G1:2", "11-1", "12:", ":5", "13:1.5", "0x:2",
                                             "14:x", "15::1"}));
    EXPECT_EQ(report.Lines().front(),
              "emulation.ini: [Device:pb] Values entry \"123:4\": neither CODE:VALUE nor "
              "CODE=VALUE (hex code, decimal value); skipped");
}

TEST(EmulatorConfig, DeviceSectionMistakesKeepTheirDefaults) {
    ps::test::TTempDir dir;
    dir.Write("scheme.dat", "[GlobalSettings]\r\n");
    const TIniFile ini = TIniFile::FromText(
        "[Device:pb]\n"
        "UsbPort=USB001\n"
        "Scheme=scheme.dat\n"
        "Menu=nowhere.dat\n"
        "Values=10:1\n"
        "ReplyDelayMs=5O\n"
        "Mute=yes\n"
        "StatusByte=-1\n"
        "ShortWrite=3\n"
        "UsbWriteFails=1\n"
        "busy=1\n"
        "CleanMs=soon\n"
        "HeadSerial=ABCDEFGHIJKLMNOPQ\n"
        "FirmwareHex=12 3\n"
        "Colour=red\n"
        "USBPORT=USB009\n");
    TConfigReport report;
    const TDeviceConfig config = LoadDeviceConfig(ini, "pb", dir.Path(), &report);
    EXPECT_EQ(config.usbPort, "USB001");
    EXPECT_EQ(config.values, (TValues{{0x10, 1}}));
    EXPECT_EQ(config.replyDelayMs, 0u);
    EXPECT_FALSE(config.mute);
    EXPECT_EQ(config.statusByte, 0u);
    EXPECT_EQ(config.shortWrite, 3u);
    EXPECT_TRUE(config.usbWriteFails);
    // The emulator's own keys stay for the device, with the names as written.
    EXPECT_EQ(config.extra.count("busy"), 1u);
    EXPECT_EQ(config.extra.count("CleanMs"), 1u);
    EXPECT_EQ(config.extra.count("ShortWrite"), 0u);

    const std::string s = "emulation.ini: [Device:pb] ";
    EXPECT_EQ(report.Lines(),
              (std::vector<std::string>{
                  s + "ReplyDelayMs=5O: not a number; keeps 0",
                  s + "Mute=yes: not a flag (0 or 1); keeps 0",
                  s + "StatusByte=-1: not from 0 to 255; keeps 0",
                  s + "Menu=nowhere.dat: no such file; no menu is served",
                  s + "CleanMs=soon: not a number; keeps 8000",
                  s + "HeadSerial=ABCDEFGHIJKLMNOPQ: longer than 16 characters; cut",
                  s + "FirmwareHex=12 3: not hex bytes; ignored",
                  s + "Colour=red: unknown key; ignored",
                  s + "USBPORT=USB009: repeated key; the first UsbPort counts",
              }));

    // Without a report the same configuration is read, silently.
    const TDeviceConfig quiet = LoadDeviceConfig(ini, "pb", dir.Path());
    EXPECT_EQ(quiet.values, config.values);
    EXPECT_EQ(quiet.extra, config.extra);
}

TEST(EmulatorConfig, EmulatorKeysGivenDirectly) {
    TConfigReport report;
    const TEmulatorOptions options =
        ParseEmulatorOptions({{"Busy", "1"},
                              {"MeasureMs", "0x10"},
                              {"NoiseHex", std::string(2 * 16385, 'A')},
                              {"PassbookHeight", "65536"},
                              {"Frobnicate", "1"}},
                             &report, "Device:TP1");
    EXPECT_TRUE(options.busy);
    EXPECT_EQ(options.measureMs, 16u);
    EXPECT_EQ(options.noise.size(), 16384u);  // cut, not dropped
    EXPECT_EQ(options.passbookHeight, 201u);
    ASSERT_EQ(report.Lines().size(), 3u);
    EXPECT_EQ(report.Lines()[0],
              "emulation.ini: [Device:TP1] PassbookHeight=65536: not from 0 to 65535; keeps 201");
    // The long text is shown cut.
    EXPECT_EQ(report.Lines()[1], "emulation.ini: [Device:TP1] NoiseHex=" + std::string(60, 'A') +
                                     "...: more than 16384 bytes; cut");
    EXPECT_EQ(report.Lines()[2], "emulation.ini: [Device:TP1] Frobnicate=1: unknown key; ignored");
}

TEST(EmulatorConfig, DeviceFunctionKeysAndTheirMistakes) {
    TConfigReport report;
    const TEmulatorOptions options = ParseEmulatorOptions({{"TotalPages", "$EE6B2800"},
                                                           {"InkBoxPages", "4294967296"},
                                                           {"InkAdjust", "1:-10,2:300,x"},
                                                           {"Answer.12 07", "00"},
                                                           {"Answer.1209", "ZZ"}},
                                                          &report, "Device:TP1");
    EXPECT_EQ(options.totalPages, 4000000000u);
    EXPECT_FALSE(options.inkBoxPages);
    EXPECT_EQ(options.inkAdjust, (std::map<int, std::uint8_t>{{1, 0xF6}}));
    EXPECT_TRUE(options.answers.empty());
    ASSERT_EQ(report.Lines().size(), 5u);
    EXPECT_EQ(report.Lines()[0],
              "emulation.ini: [Device:TP1] InkBoxPages=4294967296: not a "
              "number from 0 to 4294967295; keeps 0");
    EXPECT_EQ(report.Lines()[1],
              "emulation.ini: [Device:TP1] InkAdjust entry \"2:300\": not "
              "MODE:VALUE (value -128 to 255); skipped");
}

}  // namespace
}  // namespace ps::emu
