// SPDX-License-Identifier: MIT
// The vendor USB library's contract on usblp, against a fake kernel that behaves as the
// driver does.
#include <gtest/gtest.h>

#include "FakeUsblpSystem.h"
#include "platform/DeviceId.h"
#include "platform/linux/UsblpLibrary.h"

namespace ps {
namespace {

class UsblpLibraryTest : public ::testing::Test {
protected:
    TVirtualClock m_Clock;
    test::TFakeUsblpSystem m_System{m_Clock};
    TUsblpLibrary m_Library{m_System, m_Clock};

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
    std::vector<std::string> Ports() {
        std::vector<std::string> ports;
        const int count = m_Library.USBPrintRefresh();
        for (int i = 0; i < count; ++i) ports.push_back(HardwareId(i).first);
        return ports;
    }
    test::TFakeUsblpSystem::TPrinter& PlugFirst() {
        return m_System.Plug(0, "MFG:Talvenor;MDL:QR-520;", "A1");
    }
    TIoHandle OpenFirst() {
        EXPECT_EQ(m_Library.USBPrintRefresh(), 1);
        return m_Library.OpenPrinterUSBPort(1);
    }
    std::string Data(std::size_t size) {
        std::string data(size, '\0');
        for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<char>(i * 13);
        return data;
    }
    std::int32_t Write(TIoHandle handle, const std::string& data, std::int32_t timeoutMs = 2000) {
        return m_Library.WritePort(handle, reinterpret_cast<const std::uint8_t*>(data.data()),
                                   static_cast<std::int32_t>(data.size()), timeoutMs);
    }
};

TEST_F(UsblpLibraryTest, ListsPrintersFromSysfsUnderNamesThatStayWithThem) {
    m_System.Plug(0, "MFG:Talvenor;MDL:QR-520;SN:A1;");
    // Another program holds lp2 (CUPS printing, say): listing must not take it from it.
    m_System.Plug(2, "MFG:Talvenor;MDL:QJ-760;").heldElsewhere = true;
    // lp3 has no model field: listed all the same (the port list leaves it out).
    m_System.Plug(3, "MFG:Talvenor;CMD:ESC;");

    EXPECT_EQ(Ports(), (std::vector<std::string>{"USB001", "USB003", "USB004"}));
    EXPECT_EQ(FileName(0), "/dev/usb/lp0");
    EXPECT_EQ(FileName(1), "/dev/usb/lp2");
    EXPECT_EQ(HardwareId(0).second, "MFG:Talvenor;MDL:QR-520;SN:A1;");
    EXPECT_EQ(HardwareId(1).second, "MFG:Talvenor;MDL:QJ-760;");
    EXPECT_EQ(DeviceIdModel(HardwareId(2).second), "");
    for (unsigned minor : {0u, 2u, 3u}) EXPECT_EQ(m_System.Printer(minor).opens, 0) << minor;

    // Unplugging one printer leaves the others their names; one plugged in meanwhile shows
    // at the next refresh under the name of its own node.
    m_System.Unplug(0);
    EXPECT_EQ(Ports(), (std::vector<std::string>{"USB003", "USB004"}));
    EXPECT_EQ(HardwareId(0).second, "MFG:Talvenor;MDL:QJ-760;");
    m_System.Plug(1, "MFG:Talvenor;MDL:QR-520;SN:B2;");
    EXPECT_EQ(Ports(), (std::vector<std::string>{"USB002", "USB003", "USB004"}));
    EXPECT_EQ(FileName(0), "/dev/usb/lp1");

    // A buffer too small for the path: untouched, and told the size needed.
    std::uint32_t size = 5;
    char small[5] = {};
    m_Library.GetUSBPrintFileName(0, small, size);
    EXPECT_EQ(small[0], '\0');
    EXPECT_EQ(size, 13u);
    // IDs are cut to fit; indexes outside the enumeration touch nothing.
    EXPECT_EQ(HardwareId(0, 9).second, "MFG:Talv");
    EXPECT_EQ(HardwareId(7), std::make_pair(std::string(), std::string()));
}

TEST_F(UsblpLibraryTest, PrinterSuppliedTextIsBoundedAndNeverNamesAPath) {
    // Control bytes, a NUL and a model that looks like a path; an endless ID and serial.
    m_System.Plug(0, std::string("MFG:Tal\x01venor;MDL:../../etc/passwd;\0SN:hidden;", 45),
                  "S\x1B"
                  "1\r\n");
    m_System.Plug(1, std::string(5000, 'M'), std::string(400, 's'));
    ASSERT_EQ(m_Library.USBPrintRefresh(), 2);
    EXPECT_EQ(HardwareId(0).second, "MFG:Talvenor;MDL:../../etc/passwd;");
    EXPECT_EQ(FileName(0), "/dev/usb/lp0");  // the path is the node's, whatever the ID says
    EXPECT_EQ(HardwareId(0).first, "USB001");
    EXPECT_LE(HardwareId(1).second.size(), kMaxDeviceIdLength);
    const auto listed = m_Library.Listed(0);
    ASSERT_TRUE(listed);
    EXPECT_EQ(listed->usbSerial, "S1");
    EXPECT_EQ(m_Library.Listed(1)->usbSerial.size(), kMaxDeviceIdFieldLength);

    // Fields: bounded, keys without regard to case, long names for the same field.
    EXPECT_EQ(DeviceIdField("mfg:Talvenor;Mdl:QR-520", {"MDL"}), "QR-520");
    EXPECT_EQ(DeviceIdMaker("MANUFACTURER:Talvenor;MODEL:QR-520;"), "Talvenor");
    EXPECT_EQ(DeviceIdSerial("SERIALNUMBER: 0042 ;"), "0042");
    EXPECT_EQ(DeviceIdField("MDL:" + std::string(400, 'x') + ";", {"MDL"}).size(),
              kMaxDeviceIdFieldLength);
    EXPECT_EQ(DeviceIdFromIoctlReply("\xFF\xFF"
                                     "MFG:T;"),
              "MFG:T;");
    EXPECT_EQ(DeviceIdFromIoctlReply("\x00"), "");
}

TEST_F(UsblpLibraryTest, OpenReachesOnlyTheListedPrinterAndSaysWhyNot) {
    PlugFirst();
    ASSERT_EQ(m_Library.USBPrintRefresh(), 1);
    EXPECT_EQ(m_Library.OpenPrinterUSBPort(0), kInvalidIoHandle);  // port numbers start at 1
    EXPECT_EQ(m_Library.OpenPrinterUSBPort(2), kInvalidIoHandle);

    // Busy: another program has the node open.
    m_System.Printer(0).heldElsewhere = true;
    EXPECT_EQ(m_Library.OpenPrinterUSBPort(1), kInvalidIoHandle);
    EXPECT_EQ(GetThreadLastError(), kErrorBusy);
    EXPECT_NE(ThreadLastErrorText().find("USB001 (/dev/usb/lp0) is in use by another program"),
              std::string::npos)
        << ThreadLastErrorText();

    // No right to open it: what to do.
    m_System.Printer(0).heldElsewhere = false;
    m_System.Printer(0).openErrno = EACCES;
    EXPECT_EQ(m_Library.OpenPrinterUSBPort(1), kInvalidIoHandle);
    EXPECT_EQ(GetThreadLastError(), kErrorAccessDenied);
    EXPECT_NE(ThreadLastErrorText().find("udev rule"), std::string::npos);
    EXPECT_NE(ThreadLastErrorText().find("adduser "), std::string::npos);

    // Unplugged after listing, and another printer on its node: neither is reached.
    m_System.Unplug(0);
    EXPECT_EQ(m_Library.OpenPrinterUSBPort(1), kInvalidIoHandle);
    EXPECT_EQ(GetThreadLastError(), kErrorFileNotFound);
    EXPECT_NE(ThreadLastErrorText().find("not attached"), std::string::npos);
    m_System.Plug(0, "MFG:Talvenor;MDL:QR-520;", "B2");
    EXPECT_EQ(m_Library.OpenPrinterUSBPort(1), kInvalidIoHandle);
    EXPECT_NE(ThreadLastErrorText().find("not the one listed"), std::string::npos);
    EXPECT_EQ(m_System.OpenCount(), 0);
    EXPECT_EQ(m_System.Printer(0).received, "");

    // Listed again, it is reached; a status field that changed since does not matter.
    ASSERT_EQ(m_Library.USBPrintRefresh(), 1);
    m_System.Printer(0).deviceId = "MFG:Talvenor;MDL:QR-520;S:0804;";
    const TIoHandle handle = m_Library.OpenPrinterUSBPort(1);
    EXPECT_NE(handle, kInvalidIoHandle);
    m_Library.CloseUSBPort(handle);
}

TEST_F(UsblpLibraryTest, ReadsTimeOutWithNothingReadAndStopAtTheCallersBuffer) {
    auto& printer = PlugFirst();
    const TIoHandle handle = OpenFirst();
    ASSERT_NE(handle, kInvalidIoHandle);
    std::uint8_t buffer[8] = {};

    const std::uint64_t start = m_Clock.NowMs();
    SetThreadLastError(0);
    EXPECT_EQ(m_Library.ReadPort(handle, buffer, 8, 500), 0);
    EXPECT_EQ(GetThreadLastError(), kErrorTimeout);
    EXPECT_GE(m_Clock.NowMs() - start, 500u);
    EXPECT_LT(m_Clock.NowMs() - start, 600u);

    printer.input = "0123456789AB";
    SetThreadLastError(kErrorTimeout);
    EXPECT_EQ(m_Library.ReadPort(handle, buffer, 8, 500), 8);
    EXPECT_EQ(GetThreadLastError(), kErrorSuccess);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 8), "01234567");
    EXPECT_EQ(m_Library.ReadPort(handle, buffer, 8, 500), 4);  // the rest stays for the next

    // The printer goes away while open: a failure that is not a time-out.
    m_System.Unplug(0);
    EXPECT_EQ(m_Library.ReadPort(handle, buffer, 8, 500), 0);
    EXPECT_EQ(GetThreadLastError(), kErrorFileNotFound);
    m_Library.CloseUSBPort(handle);
    EXPECT_EQ(m_System.OpenCount(), 0);
}

TEST_F(UsblpLibraryTest, AWriteCountsOnlyWhatThePrinterTookBeforeTheNodeCloses) {
    auto& printer = PlugFirst();
    printer.drainMs = 40;
    TIoHandle handle = OpenFirst();
    ASSERT_NE(handle, kInvalidIoHandle);

    // More than the driver's buffer: three transfers, each waited for; closing right after
    // the write cancels nothing.
    const std::string job = Data(20000);
    const std::uint64_t start = m_Clock.NowMs();
    EXPECT_EQ(Write(handle, job), 20000);
    EXPECT_GE(m_Clock.NowMs() - start, 120u);
    m_Library.CloseUSBPort(handle);
    EXPECT_EQ(printer.received, job);

    // A printer that takes a piece at a time gets all of it.
    handle = m_Library.OpenPrinterUSBPort(1);
    printer.received.clear();
    printer.accepts = {3, 2};
    EXPECT_EQ(Write(handle, Data(8)), 8);
    EXPECT_EQ(printer.received, Data(8));

    // A printer whose transfer never ends: the write fails at its deadline, the bytes still
    // in flight uncounted.
    printer.drainMs = 0;
    SetThreadLastError(0);
    EXPECT_EQ(Write(handle, Data(8), 2000), 0);
    EXPECT_EQ(GetThreadLastError(), kErrorTimeout);
    EXPECT_NE(ThreadLastErrorText().find("took 0 of 8 bytes"), std::string::npos);
    m_Library.CloseUSBPort(handle);
    EXPECT_EQ(printer.received, Data(8));  // the stuck transfer was cancelled at close

    // A write that fails outright: -2.
    handle = m_Library.OpenPrinterUSBPort(1);
    printer.drainMs = 5;
    printer.accepts = {-1};
    EXPECT_EQ(Write(handle, Data(8)), -2);
    EXPECT_EQ(GetThreadLastError(), kErrorGenFailure);
    m_Library.CloseUSBPort(handle);
}

}  // namespace
}  // namespace ps
