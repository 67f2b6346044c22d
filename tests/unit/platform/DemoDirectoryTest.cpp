// SPDX-License-Identifier: MIT
// The demo emulation directory: every printer has its own model's scheme, its port and a
// printer that answers from that scheme.
#include <gtest/gtest.h>

#include "base/Lib_String.h"
#include "platform/Platform.h"
#include "printer/UtilPrinter.h"
#include "support/EmulatedPlatformSupport.h"
#include "support/TestSupport.h"
#include "transport/TVPCOMM.h"
#include "transport/UtilDataSend.h"

namespace ps {
namespace {

class DemoDirectoryTest : public ::testing::Test {
protected:
    DemoDirectoryTest() {
        // A copy with the same layout, so the demo's relative paths hold and the source tree
        // stays clean.
        auto resources = test::SourceDir() / "resources";
        auto copy = m_Dir.Path() / "resources";
        std::filesystem::create_directories(copy / "emulation");
        std::filesystem::copy(resources / "emulation" / "demo", copy / "emulation" / "demo",
                              std::filesystem::copy_options::recursive);
        std::filesystem::copy(resources / "Scheme", copy / "Scheme",
                              std::filesystem::copy_options::recursive);
        m_Demo = copy / "emulation" / "demo";
    }
    ~DemoDirectoryTest() override { test::InstallTestPlatform(); }

    test::TTempDir m_Dir;
    std::filesystem::path m_Demo;
};

TEST_F(DemoDirectoryTest, EveryPrinterHasItsSchemeAndAnswers) {
    auto& platform = test::InstallEmulation(m_Demo);
    EXPECT_TRUE(platform.Problems().empty());
    ASSERT_EQ(platform.Config().printers.size(), 4u);

    // Each printer's scheme is its own model's file, and its printer answers a read of item 10
    // with that model's factory value (QR-520: 1, QJ-760: 0), as the emulator takes it from
    // the scheme behind the device.
    struct TDemoPrinter {
        std::string name, port, scheme;
        std::uint8_t value;
    };
    const std::vector<TDemoPrinter> printers = {
        {"Talvenor QR-520", "USB001", "QR-520_Settings.Dat", 0x01},
        {"Talvenor QJ-760", "USB002", "QJ-760_Settings.Dat", 0x00},
        {"Talvenor QR-520 Network", "VODAV_192.168.1.20", "QR-520_Settings.Dat", 0x01},
        {"Talvenor QR-520 LPT", "LPT1", "QR-520_Settings.Dat", 0x01}};
    for (const TDemoPrinter& printer : printers) {
        SCOPED_TRACE(printer.name);
        std::string scheme;
        ASSERT_TRUE(FindDriverSchemeFile(printer.name, scheme));
        EXPECT_TRUE(std::filesystem::equivalent(
            scheme, m_Dir.Path() / "resources" / "Scheme" / printer.scheme))
            << scheme;
        std::string port;
        bool online = false;
        ASSERT_TRUE(GetPrinterPortInfo(printer.name, port, online));
        EXPECT_EQ(port, printer.port);
        EXPECT_TRUE(online);

        std::uint8_t buffer[64] = {0x1B, 0x1D, 0x1E, 0x05, 0x03, 0x01, 0x10, 0x1B, 0x1D, 0x1F};
        std::int32_t length = 64;
        ASSERT_TRUE(PortMonitorExchange(printer.name, buffer, 10, buffer, length));
        ASSERT_GE(length, 0);
        EXPECT_EQ(BytesToSpacedHex(buffer, static_cast<std::size_t>(length)),
                  "1B 1D 1E 05 03 01 10 01 " + BytesToSpacedHex(&printer.value, 1) + " 1B 1D 1F");
    }

    // The two USB printers are listed by the vendor library, with their models.
    ASSERT_EQ(USBPrintRefresh(), 2);
    char port[kUsbTextBufferSize] = {}, id[kUsbTextBufferSize] = {};
    GetUSBHWID(1, port, kUsbTextBufferSize, id, kUsbTextBufferSize);
    EXPECT_STREQ(port, "USB002");
    EXPECT_NE(std::string(id).find("MDL:QJ-760;"), std::string::npos);
}

}  // namespace
}  // namespace ps
