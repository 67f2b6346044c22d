// SPDX-License-Identifier: MIT
// The emulated kernel, vendor USB library and desktop services.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>

#include "base/PathText.h"
#include "platform/Platform.h"
#include "platform/emulated/EmulatedKernel.h"
#include "support/EmulationFixture.h"

namespace ps {
namespace {

using test::TTestBytes;

class EmulatedKernelTest : public test::TEmulationTest {
protected:
    emu::TEmulatedPlatform& Start() { return StartScripted(); }
    TKernel& Kernel() { return Platform().Kernel(); }
};

TEST_F(EmulatedKernelTest, AnswersFromTheKernelSection) {
    m_Builder.Kernel("LangId", "0x0411")
        .Kernel("SessionId", "3")
        .Kernel("TimeZoneBias", "-480")
        .Kernel("TempDir", "tmp\\user")
        .Kernel("ProgramPath", "bin/PrinterSettings.exe");
    Start();
    EXPECT_EQ(Kernel().GetSystemDefaultLangID(), 0x0411);
    EXPECT_EQ(Kernel().GetSessionId(), 3u);
    EXPECT_EQ(Kernel().GetTimeZoneBias(), -480);
    std::string temp = Kernel().GetTempPath();
    EXPECT_EQ(temp, PathToUtf8(m_Dir.Path() / "tmp" / "user") + kPathDelimiter);
    EXPECT_TRUE(std::filesystem::is_directory(temp));
    EXPECT_EQ(Kernel().GetProgramPath(), PathToUtf8(m_Dir.Path() / "bin" / "PrinterSettings.exe"));

    // The virtual clock moves only when someone sleeps.
    EXPECT_EQ(Platform().Clock().NowMs(), 0u);
    Platform().Clock().Sleep(8000);
    EXPECT_EQ(Platform().Clock().NowMs(), 8000u);

    // Defaults: session 1, a temp folder inside the directory.
    m_Builder.Section("Kernel") = test::TEmulationDirBuilder::TSection("Kernel");
    Start();
    EXPECT_EQ(Kernel().GetSessionId(), 1u);
    EXPECT_EQ(Kernel().GetTempPath(), PathToUtf8(m_Dir.Path() / "temp") + kPathDelimiter);
}

TEST_F(EmulatedKernelTest, SharedMemoryIsNamedAndLivesWhileHeld) {
    Start();
    SetThreadLastError(0);
    EXPECT_FALSE(Kernel().OpenSharedMemory("Session\\1\\X"));
    EXPECT_EQ(GetThreadLastError(), kErrorFileNotFound);

    auto created = Kernel().CreateSharedMemory("Session\\1\\X", 256);
    ASSERT_TRUE(created);
    auto view = created->Map();
    ASSERT_TRUE(view);
    ASSERT_EQ(view->Bytes().size(), 256u);
    EXPECT_EQ(view->Bytes()[255], 0);
    view->Bytes()[10] = 0xA5;

    // Another handle on the same name sees the same bytes, whatever size it asks for.
    auto opened = Kernel().OpenSharedMemory("Session\\1\\X");
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->Map()->Bytes()[10], 0xA5);
    EXPECT_EQ(Kernel().CreateSharedMemory("Session\\1\\X", 16)->Map()->Bytes().size(), 256u);
    // Names are exact.
    EXPECT_FALSE(Kernel().OpenSharedMemory("session\\1\\x"));

    // A view keeps the memory; when every handle and view is gone, so is the memory.
    created.reset();
    opened.reset();
    EXPECT_TRUE(Kernel().OpenSharedMemory("Session\\1\\X"));
    view.reset();
    EXPECT_FALSE(Kernel().OpenSharedMemory("Session\\1\\X"));
    EXPECT_EQ(Kernel().CreateSharedMemory("Session\\1\\X", 8)->Map()->Bytes()[0], 0);
}

TEST_F(EmulatedKernelTest, ASharedBlockSmallerThanAskedForIsRefused) {
    Start();
    auto small = Kernel().CreateSharedMemory("Session\\1\\DOZIV_EDI1", 16);
    ASSERT_TRUE(small);
    SetThreadLastError(0);
    EXPECT_FALSE(Kernel().CreateSharedMemory("Session\\1\\DOZIV_EDI1", 65536));
    EXPECT_EQ(GetThreadLastError(), kErrorInsufficientBuffer);
    EXPECT_NE(ThreadLastErrorText().find("16 bytes"), std::string::npos) << ThreadLastErrorText();
    // Opening still gives the block as it is, and its view is no larger than it.
    EXPECT_EQ(Kernel().OpenSharedMemory("Session\\1\\DOZIV_EDI1")->Map()->Bytes().size(), 16u);
    SetThreadLastError(0);
    EXPECT_FALSE(Kernel().CreateSharedMemory("", 16));
    EXPECT_EQ(GetThreadLastError(), kErrorInvalidParameter);
    EXPECT_FALSE(Kernel().CreateSharedMemory("Session\\1\\Y", 0));
}

TEST_F(EmulatedKernelTest, LocalTimeFollowsTheEmulationClock) {
    m_Builder.Section("Clock")
        .Set("LocalTime", "2024-02-28 23:59:58")
        .Set("DateSeparator", "-")
        .Set("TimeSeparator", ".");
    Start();
    auto time = Kernel().GetLocalTime();
    ASSERT_TRUE(time);
    EXPECT_EQ(*time, (TLocalTime{2024, 2, 3, 28, 23, 59, 58, 0}));  // a Wednesday
    // Two and a half seconds later it is the leap day, a Thursday.
    Platform().Clock().Sleep(2500);
    time = Kernel().GetLocalTime();
    ASSERT_TRUE(time);
    EXPECT_EQ(*time, (TLocalTime{2024, 2, 4, 29, 0, 0, 0, 500}));
    EXPECT_EQ(Kernel().GetDateSeparator(), '-');
    EXPECT_EQ(Kernel().GetTimeSeparator(), '.');
}

TEST_F(EmulatedKernelTest, LocalTimeOfAConfiguredZoneAndItsDefaults) {
    // A half-hour zone: local time is UTC plus 5:30, and the bias keeps the half hour.
    m_Builder.Kernel("TimeZoneBias", "-330");
    Start();
    EXPECT_EQ(Kernel().GetTimeZoneBias(), -330);
    const std::time_t utc = std::time(nullptr) + 5 * 3600 + 30 * 60;
    std::tm expected{};
#ifdef _WIN32
    gmtime_s(&expected, &utc);
#else
    gmtime_r(&utc, &expected);
#endif
    auto time = Kernel().GetLocalTime();
    ASSERT_TRUE(time);
    const int got = time->hour * 60 + time->minute;
    const int want = expected.tm_hour * 60 + expected.tm_min;
    EXPECT_LE(std::abs(got - want) % (24 * 60 - 1), 1) << got << " vs " << want;
    EXPECT_EQ(Kernel().GetDateSeparator(), '/');
    EXPECT_EQ(Kernel().GetTimeSeparator(), ':');
}

TEST_F(EmulatedKernelTest, ClockKeysThatCannotBeUnderstoodKeepTheirDefaults) {
    for (const char* bad : {"2024-02-30 10:00:00", "2024-05-01 24:00:00", "2024-05-01x",
                            "yesterday", "2024-05-01 10:00"}) {
        std::vector<std::string> problems;
        m_Builder.Section("Clock").Set("LocalTime", bad).Set("DateSeparator", "--");
        m_Builder.Write();
        auto config = emu::LoadEmulationConfig(m_Dir.Path(), &problems);
        EXPECT_FALSE(config.localTime) << bad;
        EXPECT_EQ(config.dateSeparator, '/');
        EXPECT_EQ(problems.size(), 2u) << bad;
    }
    m_Builder.Section("Clock").Set("LocalTime", "1970-01-02").Set("DateSeparator", "7");
    m_Builder.Write();
    std::vector<std::string> problems;
    auto config = emu::LoadEmulationConfig(m_Dir.Path(), &problems);
    EXPECT_EQ(config.localTime, 86400);
    EXPECT_EQ(config.dateSeparator, '/');  // a digit is no separator
    EXPECT_EQ(problems.size(), 1u);
}

TEST_F(EmulatedKernelTest, PortDevicesFilesAndUsbStatus) {
    m_Builder.Printer("Passbook", "USB001").Set("Device", "pb");
    m_Builder.Printer("Receipt", "LPT1").Set("Device", "pb");
    m_Builder.Printer("Nothing", "LPT2");
    m_Builder.Device("pb", "USB001").Set("StatusByte", "0x1F");
    auto& platform = Start();

    // A port with a device behind it takes writes (route "port").
    TScopedIoHandle port(
        Kernel().OpenFileHandle("\\\\?\\LPT1", true, true, TFileCreation::OpenExisting));
    ASSERT_TRUE(port.Valid());
    std::uint32_t written = 0;
    const TTestBytes data = {0x1B, 0x1D, 0x1E, 0x05};
    EXPECT_TRUE(Kernel().WriteHandle(port.Get(), data, written));
    EXPECT_EQ(written, 4u);
    ASSERT_EQ(m_Devices["pb"]->Received().size(), 1u);
    EXPECT_EQ(m_Devices["pb"]->Received()[0].first, "port");
    // Port handles have no USB status.
    std::uint8_t status = 0;
    EXPECT_FALSE(Kernel().UsbPrintGetLptStatus(port.Get(), status));

    // A port with nothing behind it, or an unknown device, cannot be opened.
    for (const char* path : {"\\\\?\\LPT2", "\\\\.\\COM7", "LPT2", "\\\\?\\USB#EMULATED#nope"}) {
        SetThreadLastError(0);
        EXPECT_EQ(Kernel().OpenFileHandle(path, true, true, TFileCreation::OpenExisting),
                  kInvalidIoHandle)
            << path;
        EXPECT_EQ(GetThreadLastError(), kErrorFileNotFound) << path;
    }

    // The USB device path of the vendor library answers the status request.
    TScopedIoHandle usb(
        Kernel().OpenFileHandle(emu::UsbDevicePath("pb"), true, true, TFileCreation::OpenExisting));
    ASSERT_TRUE(usb.Valid());
    ASSERT_TRUE(Kernel().UsbPrintGetLptStatus(usb.Get(), status));
    EXPECT_EQ(status, 0x1F);
    m_Devices["pb"]->SetStatus(0x2A);
    ASSERT_TRUE(Kernel().UsbPrintGetLptStatus(usb.Get(), status));
    EXPECT_EQ(status, 0x2A);

    // Drive paths land inside the emulation directory; their folders must exist, as on a drive.
    EXPECT_EQ(Kernel().OpenFileHandle("\\\\?\\C:\\temp\\out.prn", true, true,
                                      TFileCreation::CreateAlways),
              kInvalidIoHandle);
    std::filesystem::create_directories(m_Dir.Path() / "drives" / "C" / "temp");
    TScopedIoHandle file(Kernel().OpenFileHandle("\\\\?\\C:\\temp\\out.prn", true, true,
                                                 TFileCreation::CreateAlways));
    ASSERT_TRUE(file.Valid());
    EXPECT_TRUE(Kernel().WriteHandle(file.Get(), data, written));
    file.Reset();
    EXPECT_EQ(test::ReadFileBytes(m_Dir.Path() / "drives" / "C" / "temp" / "out.prn"),
              std::string(data.begin(), data.end()));
    EXPECT_EQ(
        Kernel().OpenFileHandle("C:\\temp\\missing.prn", true, false, TFileCreation::OpenExisting),
        kInvalidIoHandle);

    port.Reset();
    usb.Reset();
    EXPECT_EQ(platform.OpenHandleCount(), 0u);
    EXPECT_FALSE(Kernel().CloseHandle(static_cast<TIoHandle>(0x100)));
    EXPECT_EQ(GetThreadLastError(), kErrorInvalidHandle);
}

TEST_F(EmulatedKernelTest, VendorLibraryListsUsbDevicesAndExchanges) {
    m_Builder.Device("a", "USB001", "MFG:Talvenor;MDL:QR-520;");
    m_Builder.Device("lpt");  // no USB port: not listed
    m_Builder.Device("b", "USB002", "MFG:Talvenor;CMD:ESC;").Set("ReplyDelayMs", "300");
    auto& platform = Start();
    TVendorUsbLibrary* library = Kernel().LoadVendorUsbLibrary();
    ASSERT_TRUE(library);
    ASSERT_EQ(library->USBPrintRefresh(), 2);

    char path[64] = {};
    std::uint32_t size = sizeof path;
    library->GetUSBPrintFileName(1, path, size);
    EXPECT_STREQ(path, emu::UsbDevicePath("b").c_str());
    EXPECT_EQ(size, sizeof path);
    // Too small: nothing stored, the size needed reported.
    char small[8] = "xxxxxxx";
    std::uint32_t smallSize = sizeof small;
    library->GetUSBPrintFileName(0, small, smallSize);
    EXPECT_STREQ(small, "xxxxxxx");
    EXPECT_EQ(smallSize, emu::UsbDevicePath("a").size() + 1);

    char port[8] = {}, id[10] = {};
    library->GetUSBHWID(0, port, sizeof port, id, sizeof id);
    EXPECT_STREQ(port, "USB001");
    EXPECT_STREQ(id, "MFG:Talve");  // cut to the buffer with its terminator
    char untouched[4] = "abc";
    library->GetUSBHWID(2, untouched, 4, untouched, 4);
    EXPECT_STREQ(untouched, "abc");
    // Listing reads the devices' keys; it makes no device (no scheme, menu or state is read).
    EXPECT_EQ(m_Devices["a"], nullptr);
    EXPECT_EQ(m_Devices["b"], nullptr);

    EXPECT_EQ(library->OpenPrinterUSBPort(0), kInvalidIoHandle);
    EXPECT_EQ(library->OpenPrinterUSBPort(3), kInvalidIoHandle);
    TIoHandle handle = library->OpenPrinterUSBPort(2);
    ASSERT_NE(handle, kInvalidIoHandle);
    platform.Device("b");
    m_Devices["b"]->Answer({0x10, 0x04}, {0xAA, 0xBB, 0xCC});

    const std::uint8_t command[] = {0x10, 0x04};
    EXPECT_EQ(library->WritePort(handle, command, 2, 2000), 2);
    std::uint8_t buffer[8] = {};
    // The reply is ready 300 ms after the command: a 100 ms read times out...
    SetThreadLastError(0);
    EXPECT_EQ(library->ReadPort(handle, buffer, 8, 100), 0);
    EXPECT_EQ(GetThreadLastError(), kErrorTimeout);
    // ...a longer one gets it, at most the asked length at a time.
    EXPECT_EQ(library->ReadPort(handle, buffer, 2, 1000), 2);
    EXPECT_EQ(GetThreadLastError(), kErrorSuccess);
    EXPECT_EQ(library->ReadPort(handle, buffer + 2, 8, 100), 1);
    EXPECT_EQ(TTestBytes(buffer, buffer + 3), (TTestBytes{0xAA, 0xBB, 0xCC}));
    EXPECT_EQ(library->ReadPort(handle, buffer, 8, 100), 0);
    EXPECT_EQ(GetThreadLastError(), kErrorTimeout);

    // The handle is a kernel handle: CancelIo accepts it, CloseHandle closes it.
    EXPECT_TRUE(Kernel().CancelIo(handle));
    EXPECT_TRUE(Kernel().CloseHandle(handle));
    EXPECT_EQ(library->WritePort(handle, command, 2, 2000), -2);
    EXPECT_EQ(library->ReadPort(handle, buffer, 8, 10), 0);
    EXPECT_EQ(GetThreadLastError(), kErrorInvalidHandle);
    EXPECT_EQ(m_Devices["b"]->Received().size(), 1u);
    EXPECT_EQ(m_Devices["b"]->Received()[0].first, "usb");
    EXPECT_EQ(platform.OpenHandleCount(), 0u);
}

TEST_F(EmulatedKernelTest, VendorLibraryFaults) {
    m_Builder.Device("mute", "USB001").Set("Mute", "1");
    m_Builder.Device("short", "USB002").Set("ShortWrite", "3");
    m_Builder.Device("broken", "USB003").Set("UsbWriteFails", "1");
    auto& platform = Start();
    for (const char* id : {"mute", "short", "broken"}) platform.Device(id);
    TVendorUsbLibrary* library = Kernel().LoadVendorUsbLibrary();
    ASSERT_TRUE(library);
    // Opening without a refresh enumerates first.
    TScopedIoHandle mute(library->OpenPrinterUSBPort(1));
    TScopedIoHandle shortWrite(library->OpenPrinterUSBPort(2));
    TScopedIoHandle broken(library->OpenPrinterUSBPort(3));
    const std::uint8_t data[5] = {1, 2, 3, 4, 5};
    std::uint8_t buffer[8];

    m_Devices["mute"]->AnswerAny({0x01});
    EXPECT_EQ(library->WritePort(mute.Get(), data, 5, 2000), 5);
    EXPECT_EQ(library->ReadPort(mute.Get(), buffer, 8, 500), 0);
    EXPECT_EQ(GetThreadLastError(), kErrorTimeout);

    EXPECT_EQ(library->WritePort(shortWrite.Get(), data, 5, 2000), 2);
    EXPECT_EQ(m_Devices["short"]->Received()[0].second, (TTestBytes{1, 2}));
    EXPECT_EQ(library->WritePort(shortWrite.Get(), data, 2, 2000), 0);

    EXPECT_EQ(library->WritePort(broken.Get(), data, 5, 2000), -2);
    EXPECT_TRUE(m_Devices["broken"]->Received().empty());

    // A machine without the library.
    m_Builder.Kernel("VendorLibrary", "0");
    Start();
    SetThreadLastError(0);
    EXPECT_EQ(Kernel().LoadVendorUsbLibrary(), nullptr);
    EXPECT_EQ(GetThreadLastError(), kErrorModNotFound);
}

TEST_F(EmulatedKernelTest, ShellAndSingleInstance) {
    Start();
    EXPECT_TRUE(Platform().Shell().OpenUrl("http://www.example.com/"));
    EXPECT_EQ(test::ReadFileBytes(m_Dir.Path() / "shell.log"), "http://www.example.com/\n");

    auto& single = Platform().SingleInstance();
    EXPECT_FALSE(single.FindWindowClass("TfrmMainView2"));
    {
        auto registration = single.RegisterWindowClass("TfrmMainView2");
        EXPECT_TRUE(single.FindWindowClass("TfrmMainView2"));
        EXPECT_FALSE(single.FindWindowClass("TfrmSetItem"));
    }
    EXPECT_FALSE(single.FindWindowClass("TfrmMainView2"));

    // A class file left by a process that has ended does not count.
    std::filesystem::create_directories(m_Dir.Path() / "windows");
    std::ofstream(m_Dir.Path() / "windows" / "TfrmMainView2.pid") << "2147483646\n";
    EXPECT_FALSE(single.FindWindowClass("TfrmMainView2"));
}

}  // namespace
}  // namespace ps
