// SPDX-License-Identifier: MIT
// The USB printer device list and status byte requests on the emulated platform.
#include <gtest/gtest.h>

#include "support/EmulationFixture.h"
#include "transport/USBPrinterPort.h"

namespace ps {
namespace {

class USBPrinterPortTest : public test::TEmulationTest {
protected:
    emu::TEmulatedPlatform& Start() { return StartScripted(); }
};

TEST_F(USBPrinterPortTest, StatusBytesByPortName) {
    m_Builder.Device("ink", "USB001", "MFG:Talvenor;MDL:QJ-760;").Set("StatusByte", "0x2A");
    m_Builder.Device("nomodel", "USB002", "MFG:Talvenor;").Set("StatusByte", "0x39");
    m_Builder.Device("lpt").Set("StatusByte", "0x1F");  // not on USB: never listed
    m_Builder.Printer("Parallel", "LPT1").Set("Device", "lpt");
    auto& platform = Start();

    TUSBPrinterPort port(true);
    ASSERT_EQ(port.m_slPort_FileName.size(), 2u);
    EXPECT_EQ(port.m_slPort_FileName[0].substr(0, 7), "USB001=");
    EXPECT_EQ(port.m_slPort_FileName[1].substr(0, 7), "USB002=");

    std::uint8_t status = 0;
    ASSERT_TRUE(port.GetPrinterStatusByte("USB001", status));
    EXPECT_EQ(status, kStatusCleaning);
    platform.Device("ink");
    m_Devices["ink"]->SetStatus(kStatusPrinterAtWork);
    ASSERT_TRUE(port.GetPrinterStatusByte("USB001", status));
    EXPECT_EQ(status, kStatusPrinterAtWork);
    // A printer without a model is listed here, unlike in the port list.
    ASSERT_TRUE(port.GetPrinterStatusByte("USB002", status));
    EXPECT_EQ(status, kStatusNoInkBox);

    status = 0x55;
    EXPECT_FALSE(port.GetPrinterStatusByte("LPT1", status));
    EXPECT_FALSE(port.GetPrinterStatusByte("usb001", status));  // the USB test is exact
    EXPECT_FALSE(port.GetPrinterStatusByte("USB003", status));
    EXPECT_EQ(status, 0x55);
    EXPECT_EQ(platform.OpenHandleCount(), 0u);

    // The look-up ignores case once the USB test is passed; a path-less entry gives false.
    port.m_slPort_FileName = {"Usb001=" + port.m_slPort_FileName[0].substr(7), "USB004="};
    EXPECT_TRUE(port.GetPrinterStatusByte("USB001", status));
    EXPECT_FALSE(port.GetPrinterStatusByte("USB004", status));

    // Without a refresh nothing is known; a printer attached later is not seen either.
    TUSBPrinterPort unrefreshed(false);
    EXPECT_TRUE(unrefreshed.m_slPort_FileName.empty());
    EXPECT_FALSE(unrefreshed.GetPrinterStatusByte("USB001", status));
}

TEST_F(USBPrinterPortTest, NoUsbPrinterOrNoLibrary) {
    m_Builder.Printer("Parallel", "LPT1");
    Start();
    std::uint8_t status = 0;
    TUSBPrinterPort port(true);
    EXPECT_TRUE(port.m_slPort_FileName.empty());
    EXPECT_FALSE(port.GetPrinterStatusByte("USB001", status));

    m_Builder.Device("ink", "USB001", "MDL:QJ-760;");
    m_Builder.Kernel("VendorLibrary", "0");
    Start();
    TUSBPrinterPort missing(true);
    EXPECT_TRUE(missing.m_slPort_FileName.empty());
}

}  // namespace
}  // namespace ps
