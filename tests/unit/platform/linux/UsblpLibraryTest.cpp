// SPDX-License-Identifier: MIT
// The vendor USB library's contract on usblp, against a scripted fake kernel.
#include <gtest/gtest.h>

#include "FakeUsblpSystem.h"
#include "platform/DeviceId.h"
#include "platform/linux/UsblpLibrary.h"

namespace ps {
namespace {

using test::IoctlReply;

class UsblpLibraryTest : public ::testing::Test {
protected:
    test::TFakeUsblpSystem m_System;
    TVirtualClock m_Clock;
    TUsblpLibrary m_Library{m_System, m_Clock, TUsblpFolders{"/dev/usb", "/sys/usbmisc"}};

    std::string FileName(int index, std::uint32_t size = 1024) {
        std::vector<char> buffer(1024, '\0');
        m_Library.GetUSBPrintFileName(index, buffer.data(), size);
        return buffer.data();
    }
    std::pair<std::string, std::string> HardwareId(int index, std::uint32_t idSize = 1024) {
        std::vector<char> port(1024, '\0'), id(1024, '\0');
        m_Library.GetUSBHWID(index, port.data(), 1024, id.data(), idSize);
        return {port.data(), id.data()};
    }
    TIoHandle OpenFirst() {
        m_System.Node("/dev/usb/lp0").ioctlReply = IoctlReply("MFG:Talvenor;MDL:QR-520;");
        EXPECT_EQ(m_Library.USBPrintRefresh(), 1);
        return m_Library.OpenPrinterUSBPort(1);
    }
};

TEST_F(UsblpLibraryTest, EnumeratesNodesInOrderWithTheirDeviceIds) {
    m_System.Node("/dev/usb/lp0").ioctlReply = IoctlReply("MFG:Talvenor;MDL:QR-520;SN:A1;");
    // lp1 is absent; lp2 is held by another program, so its ID comes from sysfs.
    m_System.Node("/dev/usb/lp2").openErrno = EBUSY;
    m_System.Node("/sys/usbmisc/lp2/device/ieee1284_id").file = "MFG:Talvenor;MDL:QJ-760;\n";
    // lp3 has no model field: listed all the same (the port list leaves it out).
    m_System.Node("/dev/usb/lp3").ioctlReply = IoctlReply("MFG:Talvenor;CMD:ESC;");

    ASSERT_EQ(m_Library.USBPrintRefresh(), 3);
    EXPECT_EQ(FileName(0), "/dev/usb/lp0");
    EXPECT_EQ(FileName(1), "/dev/usb/lp2");
    EXPECT_EQ(HardwareId(0),
              std::make_pair(std::string("USB001"), std::string("MFG:Talvenor;MDL:QR-520;SN:A1;")));
    EXPECT_EQ(HardwareId(1),
              std::make_pair(std::string("USB002"), std::string("MFG:Talvenor;MDL:QJ-760;")));
    EXPECT_EQ(HardwareId(2).first, "USB003");
    EXPECT_EQ(DeviceIdModel(HardwareId(2).second), "");
    EXPECT_EQ(m_System.OpenCount(), 0);  // enumeration leaves nothing open

    // A buffer too small for the path: untouched, and told the size needed.
    std::uint32_t size = 5;
    EXPECT_EQ(FileName(0, size), "");
    size = 5;
    char small[5] = {};
    m_Library.GetUSBPrintFileName(0, small, size);
    EXPECT_EQ(size, 13u);
    // IDs are cut to fit; indexes outside the enumeration touch nothing.
    EXPECT_EQ(HardwareId(0, 9).second, "MFG:Talv");
    EXPECT_EQ(HardwareId(7), std::make_pair(std::string(), std::string()));
}

TEST_F(UsblpLibraryTest, PrinterSuppliedDeviceIdsAreBoundedAndNeverNameAPath) {
    // A length field larger than the reply, control bytes, a NUL and a model that looks like
    // a path.
    std::string id = "MFG:Tal\x01venor;MDL:../../etc/passwd;";
    std::string reply = "\xFF\xFF" + id + std::string(1, '\0') + "SN:hidden;";
    m_System.Node("/dev/usb/lp0").ioctlReply = reply;
    m_System.Node("/dev/usb/lp1").ioctlReply = IoctlReply(std::string(5000, 'M'));
    ASSERT_EQ(m_Library.USBPrintRefresh(), 2);
    EXPECT_EQ(HardwareId(0).second, "MFG:Talvenor;MDL:../../etc/passwd;");
    EXPECT_EQ(FileName(0), "/dev/usb/lp0");  // the path is the node's, whatever the ID says
    EXPECT_EQ(HardwareId(0).first, "USB001");
    EXPECT_LE(HardwareId(1).second.size(), kMaxDeviceIdLength);

    // Fields: bounded, keys without regard to case, long names for the same field.
    EXPECT_EQ(DeviceIdField("mfg:Talvenor;Mdl:QR-520", {"MDL"}), "QR-520");
    EXPECT_EQ(DeviceIdMaker("MANUFACTURER:Talvenor;MODEL:QR-520;"), "Talvenor");
    EXPECT_EQ(DeviceIdSerial("SERIALNUMBER: 0042 ;"), "0042");
    EXPECT_EQ(DeviceIdField("MDL:" + std::string(400, 'x') + ";", {"MDL"}).size(),
              kMaxDeviceIdFieldLength);
    EXPECT_EQ(DeviceIdFromIoctlReply("\x00"), "");
}

TEST_F(UsblpLibraryTest, DeviceGoneBetweenEnumerationAndOpen) {
    m_System.Node("/dev/usb/lp0").ioctlReply = IoctlReply("MFG:Talvenor;MDL:QR-520;");
    ASSERT_EQ(m_Library.USBPrintRefresh(), 1);
    m_System.Remove("/dev/usb/lp0");
    SetThreadLastError(0);
    EXPECT_EQ(m_Library.OpenPrinterUSBPort(1), kInvalidIoHandle);
    EXPECT_EQ(GetThreadLastError(), kErrorFileNotFound);
    EXPECT_EQ(m_Library.OpenPrinterUSBPort(0), kInvalidIoHandle);  // port numbers start at 1
    EXPECT_EQ(m_Library.OpenPrinterUSBPort(2), kInvalidIoHandle);

    // A node the user may not open: access denied, the failure the port-list caller reports.
    m_System.Node("/dev/usb/lp0").openErrno = EACCES;
    EXPECT_EQ(m_Library.OpenPrinterUSBPort(1), kInvalidIoHandle);
    EXPECT_EQ(GetThreadLastError(), kErrorAccessDenied);
}

TEST_F(UsblpLibraryTest, ReadsTimeOutWithNothingReadAndStopAtTheCallersBuffer) {
    const TIoHandle handle = OpenFirst();
    ASSERT_NE(handle, kInvalidIoHandle);
    std::uint8_t buffer[8] = {};

    const std::uint64_t start = m_Clock.NowMs();
    SetThreadLastError(0);
    EXPECT_EQ(m_Library.ReadPort(handle, buffer, 8, 500), 0);
    EXPECT_EQ(GetThreadLastError(), kErrorTimeout);
    EXPECT_GE(m_Clock.NowMs() - start, 500u);
    EXPECT_LT(m_Clock.NowMs() - start, 600u);

    m_System.Node("/dev/usb/lp0").replies = {"0123456789AB"};
    SetThreadLastError(kErrorTimeout);
    EXPECT_EQ(m_Library.ReadPort(handle, buffer, 8, 500), 8);
    EXPECT_EQ(GetThreadLastError(), kErrorSuccess);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 8), "01234567");
    EXPECT_EQ(m_Library.ReadPort(handle, buffer, 8, 500), 4);  // the rest stays for the next

    // The device goes away while open: a failure that is not a time-out.
    m_System.Remove("/dev/usb/lp0");
    EXPECT_EQ(m_Library.ReadPort(handle, buffer, 8, 500), 0);
    EXPECT_EQ(GetThreadLastError(), kErrorFileNotFound);
    m_Library.CloseUSBPort(handle);
    EXPECT_EQ(m_System.OpenCount(), 0);
}

TEST_F(UsblpLibraryTest, ShortAndFailedWrites) {
    const TIoHandle handle = OpenFirst();
    ASSERT_NE(handle, kInvalidIoHandle);
    auto& node = m_System.Node("/dev/usb/lp0");
    const std::uint8_t data[] = {0x1B, 0x1D, 0x1E, 0x05, 0x01, 0x1B, 0x1D, 0x1F};

    // Taken in pieces: all of it arrives.
    node.accepts = {3, 2, 3};
    EXPECT_EQ(m_Library.WritePort(handle, data, 8, 2000), 8);
    EXPECT_EQ(node.written.size(), 8u);

    // A printer that stops taking bytes: the count so far, after the time-out.
    node.accepts = {5, 0};
    const std::uint64_t start = m_Clock.NowMs();
    EXPECT_EQ(m_Library.WritePort(handle, data, 8, 2000), 5);
    EXPECT_EQ(GetThreadLastError(), kErrorTimeout);
    EXPECT_GE(m_Clock.NowMs() - start, 2000u);

    // A write that fails outright: -2.
    node.accepts = {-1};
    EXPECT_EQ(m_Library.WritePort(handle, data, 8, 2000), -2);
    EXPECT_EQ(GetThreadLastError(), kErrorGenFailure);
    m_Library.CloseUSBPort(handle);
}

}  // namespace
}  // namespace ps
