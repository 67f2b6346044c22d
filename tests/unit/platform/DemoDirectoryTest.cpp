// SPDX-License-Identifier: MIT
// The demo emulation directory: every printer has its scheme, its port and a printer that
// answers.
#include <gtest/gtest.h>

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

    const std::vector<std::pair<std::string, std::string>> printers = {
        {"Talvenor QR-520", "USB001"},
        {"Talvenor QJ-760", "USB002"},
        {"Talvenor QR-520 Network", "VODAV_192.168.1.20"},
        {"Talvenor QR-520 LPT", "LPT1"}};
    for (const auto& [name, expectedPort] : printers) {
        std::string scheme;
        ASSERT_TRUE(FindDriverSchemeFile(name, scheme)) << name;
        EXPECT_TRUE(std::filesystem::is_regular_file(scheme)) << scheme;
        std::string port;
        bool online = false;
        ASSERT_TRUE(GetPrinterPortInfo(name, port, online)) << name;
        EXPECT_EQ(port, expectedPort);
        EXPECT_TRUE(online);

        // A single-item read through the port monitor gets a framed reply.
        std::uint8_t buffer[64] = {0x1B, 0x1D, 0x1E, 0x05, 0x03, 0x01, 0x10, 0x1B, 0x1D, 0x1F};
        std::int32_t length = 64;
        EXPECT_TRUE(PortMonitorExchange(name, buffer, 10, buffer, length)) << name;
        EXPECT_GE(length, 8) << name;
        EXPECT_EQ(buffer[0], 0x1B);
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
