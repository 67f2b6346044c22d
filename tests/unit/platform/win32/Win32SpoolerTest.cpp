// SPDX-License-Identifier: MIT
// The program's spooler calls against the machine's own spooler (Wine's under CI): opening
// printers and its failures, raw jobs, printer data, driver and port queries, and the monitor
// exchange through a real printer handle, with a printer whose name is Chinese.
#include <gtest/gtest.h>
#include <winsock2.h>

#include <cstdlib>
#include <fstream>
#include <thread>

#include "base/PathText.h"
#include "base/TextCodec.h"
#include "base/os/Win32Text.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Kernel.h"
#include "platform/win32/Win32Spooler.h"
#include "printer/UtilPrinter.h"
#include "support/TestSupport.h"
#include "transport/RawJob.h"
#include "transport/UtilDataSend.h"

namespace ps::win32 {
namespace {

// "测试打印机 QR-520": a printer name outside every ANSI code page but the Chinese ones.
const std::string kTestPrinter =
    "\xE6\xB5\x8B\xE8\xAF\x95\xE6\x89\x93\xE5\x8D\xB0\xE6\x9C\xBA QR-520";
const std::wstring kTestDriver = L"Printer Settings Test Driver";

// The machine's kernel and spooler; the monitor's ports as the test says.
class TWin32TestPlatform : public TPlatform {
public:
    explicit TWin32TestPlatform(TWin32Spooler::TFactsOfPort facts = SpoolerFactsOfPort)
        : m_Spooler(m_Monitor, std::move(facts)) {}
    TKernel& Kernel() override { return m_Kernel; }
    TClock& Clock() override { return m_Clock; }
    TSpooler& Spooler() override { return m_Spooler; }

private:
    TScaledClock m_Clock;
    TWin32Kernel m_Kernel{m_Clock, MakeUsbPrintSystem(m_Clock)};
    TWin32PortMonitor m_Monitor{m_Kernel, m_Kernel.UsbPrint(), m_Clock};
    TWin32Spooler m_Spooler;
};

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A printer to work with: the one PS_TEST_PRINTER names, or (PS_TEST_INSTALL_PRINTER=1, for a
// private Wine prefix) one installed for the run on a file port, whose output the tests read.
class Win32SpoolerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (const char* name = std::getenv("PS_TEST_PRINTER"); name && *name) {
            s_Printer = name;
            return;
        }
        const char* install = std::getenv("PS_TEST_INSTALL_PRINTER");
        if (!install || std::string(install) != "1") return;
        s_Folder = std::make_unique<test::TTempDir>();
        // "输出": the port's file lies in a folder with a Chinese name too.
        const std::filesystem::path folder =
            s_Folder->Path() / PathFromUtf8("\xE8\xBE\x93\xE5\x87\xBA");
        std::filesystem::create_directories(folder);
        s_PortFile = folder / "port.prn";
        const std::filesystem::path scheme = s_Folder->Path() / "QR-520_Settings.Dat";
        std::ofstream(scheme) << "[GlobalSettings]\r\n";
        std::wstring dependent = scheme.wstring();
        dependent.push_back(L'\0');  // the list ends with an empty text
        DRIVER_INFO_3W driver{};
        driver.cVersion = 3;
        driver.pName = const_cast<wchar_t*>(kTestDriver.c_str());
        driver.pDriverPath = const_cast<wchar_t*>(L"wineps.drv");
        driver.pDataFile = const_cast<wchar_t*>(L"wineps.drv");
        driver.pConfigFile = const_cast<wchar_t*>(L"wineps.drv");
        driver.pDependentFiles = dependent.data();
        if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES))
            return;
        std::wstring name = Widen(kTestPrinter);
        std::wstring port = s_PortFile.wstring();
        PRINTER_INFO_2W printer{};
        printer.pPrinterName = name.data();
        printer.pPortName = port.data();
        printer.pDriverName = const_cast<wchar_t*>(kTestDriver.c_str());
        printer.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
        printer.pDatatype = const_cast<wchar_t*>(L"RAW");
        TPrinter added(AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&printer)));
        if (added) s_Printer = kTestPrinter;
        s_bInstalled = static_cast<bool>(added);
        // The spooler copies a driver's files into its own folder and lists them there.
        wchar_t driverFolder[MAX_PATH] = {};
        DWORD needed = 0;
        if (s_bInstalled &&
            GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(driverFolder),
                                       sizeof driverFolder, &needed))
            s_SchemeFile = Narrow(driverFolder) + "\\3\\QR-520_Settings.Dat";
    }

    static void TearDownTestSuite() {
        if (s_bInstalled) {
            std::wstring name = Widen(kTestPrinter);
            PRINTER_DEFAULTSW full{nullptr, nullptr, PRINTER_ALL_ACCESS};
            HANDLE handle = nullptr;
            if (OpenPrinterW(name.data(), &handle, &full)) {
                DeletePrinter(handle);
                ClosePrinter(handle);
            }
            DeletePrinterDriverW(nullptr, nullptr, const_cast<wchar_t*>(kTestDriver.c_str()));
        }
        s_Folder.reset();
    }

    void SetUp() override { InstallPlatform(std::make_unique<TWin32TestPlatform>()); }
    void TearDown() override { test::InstallTestPlatform(); }

    // Skips the test with a line that says why, where the machine has no printer to use.
    bool HavePrinter() {
        if (!s_Printer.empty()) return true;
        std::cout
            << "[  SKIPPED ] no printer in this spooler: set PS_TEST_PRINTER to one, or "
               "PS_TEST_INSTALL_PRINTER=1 to install a test printer (a private Wine prefix)\n";
        return false;
    }

    static inline std::string s_Printer;
    static inline std::string s_SchemeFile;
    static inline std::filesystem::path s_PortFile;
    static inline std::unique_ptr<test::TTempDir> s_Folder;
    static inline bool s_bInstalled = false;
};

TEST_F(Win32SpoolerTest, APrinterThatIsNotThereFailsWithTheSpoolersError) {
    for (TPrinterAccess access : {TPrinterAccess::Default, TPrinterAccess::Full}) {
        SetThreadLastError(0);
        EXPECT_FALSE(Platform().Spooler().Open("No Such Printer", access));
        EXPECT_EQ(GetThreadLastError(), kErrorInvalidPrinterName);
        EXPECT_EQ(ThreadLastErrorText(), Win32ErrorText(ERROR_INVALID_PRINTER_NAME));
    }
    std::string port = "unchanged";
    bool online = true;
    EXPECT_FALSE(GetPrinterPortInfo("No Such Printer", port, online));
    EXPECT_EQ(port, "unchanged");
    std::uint8_t buffer[16] = {0x1B};
    std::int32_t length = 16;
    EXPECT_FALSE(PortMonitorExchange("No Such Printer", buffer, 1, buffer, length));
    EXPECT_EQ(GetThreadLastError(), kErrorInvalidPrinterName);
    EXPECT_FALSE(SendRawDocument("No Such Printer", "Printer setting job", buffer));
    // The empty name is the print server: it opens, and has no printer details.
    auto server = Platform().Spooler().Open("", TPrinterAccess::Default);
    ASSERT_TRUE(server);
    EXPECT_FALSE(server->GetInfo2());
}

TEST_F(Win32SpoolerTest, RawJobsReachThePrinterWhole) {
    if (!HavePrinter()) GTEST_SKIP();
    std::string job;
    for (int round = 0; round < 40; ++round)
        for (int byte = 0; byte < 256; ++byte) job += static_cast<char>(byte);  // NUL bytes too
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(job.data()), job.size());
    std::error_code ec;
    std::filesystem::remove(s_PortFile, ec);  // a file port is written over, not cut short
    EXPECT_TRUE(SendRawDocument(s_Printer, "Printer setting job", bytes));
    if (!s_PortFile.empty()) {
        EXPECT_EQ(ReadAll(s_PortFile), job);
    }
    std::filesystem::remove(s_PortFile, ec);
    EXPECT_TRUE(SendTestPrintJob(s_Printer, bytes.data(), 3));
    if (!s_PortFile.empty()) {
        EXPECT_EQ(ReadAll(s_PortFile), job.substr(0, 3));
    }
}

TEST_F(Win32SpoolerTest, TimeDataIsKeptWithThePrinter) {
    if (!HavePrinter()) GTEST_SKIP();
    const std::u16string seed = u"2017/08/09 10:10:33 0";
    ASSERT_TRUE(SetTimeData(s_Printer, seed, static_cast<std::uint32_t>(seed.size() * 2)));
    std::uint8_t buffer[64] = {};
    ASSERT_TRUE(GetTimeData(s_Printer, buffer, sizeof buffer));
    EXPECT_EQ(Utf16ToUtf8(std::string_view(reinterpret_cast<char*>(buffer), seed.size() * 2)),
              "2017/08/09 10:10:33 0");
    // The value's size counts: a buffer too small gets nothing.
    std::uint8_t small[8] = {};
    EXPECT_FALSE(GetTimeData(s_Printer, small, sizeof small));
}

TEST_F(Win32SpoolerTest, TheDriversSchemeAndThePrintersPort) {
    if (!HavePrinter() || s_SchemeFile.empty()) GTEST_SKIP();
    std::string scheme;
    ASSERT_TRUE(FindDriverSchemeFile(s_Printer, scheme));
    EXPECT_EQ(scheme, s_SchemeFile);  // exactly as the driver lists it
    std::string port;
    bool online = false;
    ASSERT_TRUE(GetPrinterPortInfo(s_Printer, port, online));
    EXPECT_EQ(port, PathToUtf8(s_PortFile));
    EXPECT_TRUE(online);
    const auto names = Platform().Spooler().EnumPrinterNames();
    ASSERT_TRUE(names);
    EXPECT_NE(std::find(names->begin(), names->end(), s_Printer), names->end());
}

TEST_F(Win32SpoolerTest, TheMonitorExchangeGoesThroughThePrinterAndTheSessionsBlock) {
    if (!HavePrinter()) GTEST_SKIP();
    // A printer not on a standard port: its own monitor answers the trigger. Wine's has none.
    std::uint8_t buffer[64] = {0x1B, 0x1D, 0x1E, 0x05, 0x01, 0x1B, 0x1D, 0x1F};
    std::int32_t length = 64;
    EXPECT_FALSE(PortMonitorExchange(s_Printer, buffer, 8, buffer, length));
    EXPECT_EQ(GetThreadLastError(), kErrorFileNotFound);

    // The same printer as if on a raw TCP/IP port: the in-process monitor answers, through the
    // session's named block, which a printer-side look finds filled as the program filled it.
    WSADATA data{};
    WSAStartup(MAKEWORD(2, 2), &data);
    const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), size), 0);
    listen(listener, 1);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    const int port = ntohs(address.sin_port);
    InstallPlatform(std::make_unique<TWin32TestPlatform>([port](const std::string&) {
        return TPortFacts{kTcpPortMonitor, TStandardTcpPort{"127.0.0.1", port, true}};
    }));
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    const std::wstring blockName = L"Session\\" + std::to_wstring(session) + L"\\DOZIV_EDI1";
    std::string nameInBlock;
    std::string command;
    std::thread printer([&] {
        const SOCKET client = accept(listener, nullptr, nullptr);
        char received[64];
        const int n = recv(client, received, sizeof received, 0);
        command.assign(received, n > 0 ? static_cast<std::size_t>(n) : 0);
        if (TKernelHandle block{OpenFileMappingW(FILE_MAP_READ, FALSE, blockName.c_str())}) {
            TView view(MapViewOfFile(block.Get(), FILE_MAP_READ, 0, 0, 0));
            if (view) nameInBlock = NarrowField(static_cast<const wchar_t*>(view.Get()) + 32, 32);
        }
        send(client, "\x1B\x1D\x1E\x05\x01\x02\x1B\x1D\x1F", 9, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        closesocket(client);
    });
    length = 64;
    EXPECT_TRUE(PortMonitorExchange(s_Printer, buffer, 8, buffer, length)) << ThreadLastErrorText();
    printer.join();
    closesocket(listener);
    EXPECT_EQ(command, "\x1B\x1D\x1E\x05\x01\x1B\x1D\x1F");
    EXPECT_EQ(nameInBlock, s_Printer);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), static_cast<std::size_t>(length)),
              "\x1B\x1D\x1E\x05\x01\x02\x1B\x1D\x1F");
}

}  // namespace
}  // namespace ps::win32
