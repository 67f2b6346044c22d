// SPDX-License-Identifier: MIT
// The in-process port monitor on Windows: the session's real named block, printers on the
// standard TCP/IP port (a loopback printer through Winsock) and on the standard USB port (the
// scripted USB printing class), and which ports it serves at all.
#include <gtest/gtest.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <functional>
#include <thread>

#include "FakeUsbPrintSystem.h"
#include "base/TextCodec.h"
#include "platform/MonitorBlock.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Kernel.h"
#include "platform/win32/Win32PortMonitor.h"
#include "platform/win32/Win32Spooler.h"

namespace ps::win32 {
namespace {

// One loopback printer: accepts one connection, reads the command, then does `behave`.
class TLoopbackPrinter {
public:
    explicit TLoopbackPrinter(std::function<void(SOCKET client)> behave) {
        WSADATA data{};
        WSAStartup(MAKEWORD(2, 2), &data);
        m_Listen = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof address;
        EXPECT_EQ(bind(m_Listen, reinterpret_cast<sockaddr*>(&address), length), 0);
        listen(m_Listen, 1);
        getsockname(m_Listen, reinterpret_cast<sockaddr*>(&address), &length);
        m_iPort = ntohs(address.sin_port);
        m_Thread = std::thread([this, behave] {
            fd_set waiting;
            FD_ZERO(&waiting);
            FD_SET(m_Listen, &waiting);
            timeval limit{5, 0};
            if (select(0, &waiting, nullptr, nullptr, &limit) <= 0) return;  // nobody came
            const SOCKET client = accept(m_Listen, nullptr, nullptr);
            if (client == INVALID_SOCKET) return;
            char buffer[4096];
            const int n = recv(client, buffer, sizeof buffer, 0);
            command = std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
            behave(client);
            closesocket(client);
        });
    }
    ~TLoopbackPrinter() { Join(); }
    void Join() {
        if (!m_Thread.joinable()) return;
        m_Thread.join();
        closesocket(m_Listen);
    }
    std::string Target() const { return "tcp:127.0.0.1:" + std::to_string(m_iPort); }
    std::string command;

private:
    SOCKET m_Listen = INVALID_SOCKET;
    int m_iPort = 0;
    std::thread m_Thread;
};

class Win32PortMonitorTest : public ::testing::Test {
protected:
    TScaledClock m_Clock;
    TWin32Kernel m_Kernel{m_Clock, MakeUsbPrintSystem(m_Clock)};
    test::TFakeUsbPrintSystem m_Usb{m_Clock};
    TWin32PortMonitor m_Monitor{m_Kernel, m_Usb, m_Clock,
                                TPortMonitorTimeouts{1000, 1000, 400, 50}};
    const std::string m_BlockName =
        "Session\\" + std::to_string(m_Kernel.GetSessionId()) + "\\DOZIV_EDI1";

    struct TResult {
        TSysError error;
        std::uint32_t answer;
        std::int32_t stored;
        std::string reply;
    };
    // Fills the block as the program does and asks the monitor.
    TResult Exchange(const std::string& target, const std::string& command, std::int32_t wanted) {
        auto memory = m_Kernel.CreateSharedMemory(m_BlockName, 65536);
        EXPECT_TRUE(memory);
        auto view = memory->Map();
        auto block = view->Bytes();
        auto put = [&](std::size_t offset, std::uint32_t value) {
            for (int i = 0; i < 4; ++i)
                block[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
        };
        put(0, 65536);
        put(4, static_cast<std::uint32_t>(command.size()));
        put(8, static_cast<std::uint32_t>(wanted));
        const std::string name = Utf16ToBytesLE(Utf8ToUtf16("Talvenor QR-520"));
        std::copy(name.begin(), name.end(), block.begin() + 64);
        std::copy(command.begin(), command.end(), block.begin() + 128);
        std::uint8_t answer[4] = {};
        std::uint32_t type = 0, needed = 0;
        TResult result{};
        result.error =
            m_Monitor.Answer("Talvenor QR-520", target, m_BlockName, type, answer, needed);
        result.answer = answer[0];
        result.stored =
            static_cast<std::int32_t>(block[8] | block[9] << 8 | block[10] << 16 | block[11] << 24);
        result.reply.assign(block.begin() + 128, block.begin() + 128 + std::max(result.stored, 0));
        return result;
    }
};

TEST_F(Win32PortMonitorTest, ExchangesWithAPrinterOnARawTcpPort) {
    TLoopbackPrinter printer([](SOCKET client) {
        send(client, "\x1B\x1D\x1E\x05\x03\x01", 6, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        send(client, "\x10\x01\x01", 3, 0);  // the rest of the reply, a moment later
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    });
    auto result = Exchange(printer.Target(), "\x1B\x1D\x1E\x05\x03\x01\x10\x1B\x1D\x1F", 64);
    EXPECT_EQ(result.error, kErrorSuccess);
    EXPECT_EQ(result.answer, 1u);
    EXPECT_EQ(result.reply, std::string("\x1B\x1D\x1E\x05\x03\x01\x10\x01\x01", 9));
    printer.Join();
    EXPECT_EQ(printer.command, "\x1B\x1D\x1E\x05\x03\x01\x10\x1B\x1D\x1F");

    // Nobody listens there: no answer, in time.
    EXPECT_EQ(Exchange("tcp:127.0.0.1:1", "x", 8).answer, 0u);
    // No block under the name: the monitor says so.
    std::uint8_t answer[4];
    std::uint32_t type = 0, needed = 0;
    EXPECT_EQ(
        m_Monitor.Answer("Q", printer.Target(), "Session\\99\\DOZIV_EDI1", type, answer, needed),
        kErrorFileNotFound);
}

TEST_F(Win32PortMonitorTest, ExchangesWithThePrinterOnItsUsbPort) {
    m_Usb.Add("\\\\?\\usb#one", "USB001", "MFG:Talvenor;MDL:QR-520;");
    auto& second = m_Usb.Add("\\\\?\\usb#two", "USB002", "MFG:Talvenor;MDL:QR-520;");
    // What was there before the command is not its answer.
    second.replies.push_back({0, "stale", 0});
    second.replies.push_back({0, "\x1B\x1D\x1E\x12\x09\x2C\x01\x1B\x1D\x1F", 1});
    auto result = Exchange("usb:USB002", "\x1B\x1D\x1E\x12\x09\x1B\x1D\x1F", 64);
    EXPECT_EQ(result.answer, 1u);
    EXPECT_EQ(result.reply, std::string("\x1B\x1D\x1E\x12\x09\x2C\x01\x1B\x1D\x1F", 10));
    EXPECT_EQ(second.written, "\x1B\x1D\x1E\x12\x09\x1B\x1D\x1F");
    EXPECT_EQ(m_Usb.Device(0).written, "");
    EXPECT_EQ(m_Usb.OpenCount(), 0);
    // The printer of the port is not attached: nothing is sent anywhere.
    EXPECT_EQ(Exchange("usb:USB009", "x", 8).answer, 0u);
    EXPECT_EQ(m_Usb.Device(0).written, "");
}

TEST_F(Win32PortMonitorTest, OnlyTheStandardUsbAndRawTcpPortsAreServedInProcess) {
    EXPECT_EQ(InProcessLinkTarget("USB001", {"USB Monitor", std::nullopt}), "usb:USB001");
    const TStandardTcpPort raw{"printer.local", 9100, true};
    EXPECT_EQ(InProcessLinkTarget("IP_10.0.0.7", {"Standard TCP/IP Port", raw}),
              "tcp:printer.local:9100");
    // LPR takes no raw bytes back; the vendor's own monitor answers for its ports itself.
    const TStandardTcpPort lpr{"printer.local", 515, false};
    EXPECT_EQ(InProcessLinkTarget("IP_10.0.0.7", {"Standard TCP/IP Port", lpr}), std::nullopt);
    EXPECT_EQ(InProcessLinkTarget("VODAV_1", {"Talvenor Port Monitor", std::nullopt}),
              std::nullopt);
    EXPECT_EQ(InProcessLinkTarget("LPT1:", {"Local Port", std::nullopt}), std::nullopt);
}

TEST_F(Win32PortMonitorTest, TheTcpPortsPrinterIsReadFromItsMonitorsKey) {
    // The monitor's layout under a key of the test's own.
    const std::wstring base =
        L"Software\\PrinterSettingsTest\\" + std::to_wstring(GetCurrentProcessId()) + L"\\Ports";
    HKEY created = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (base + L"\\IP_10.0.0.7").c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &created, nullptr),
              ERROR_SUCCESS);
    TRegKey port(created);
    const std::wstring host = L"10.0.0.7";
    const DWORD number = 9101;
    const DWORD protocol = 1;
    RegSetValueExW(port.Get(), L"IPAddress", 0, REG_SZ, reinterpret_cast<const BYTE*>(host.c_str()),
                   static_cast<DWORD>((host.size() + 1) * sizeof(wchar_t)));
    RegSetValueExW(port.Get(), L"PortNumber", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
    RegSetValueExW(port.Get(), L"Protocol", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&protocol),
                   sizeof protocol);
    HKEY ports = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, base.c_str(), 0, KEY_READ, &ports), ERROR_SUCCESS);
    TRegKey portsKey(ports);
    const auto found = ReadStandardTcpPort(portsKey.Get(), "IP_10.0.0.7");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->host, "10.0.0.7");
    EXPECT_EQ(found->port, 9101);
    EXPECT_TRUE(found->raw);
    EXPECT_FALSE(ReadStandardTcpPort(portsKey.Get(), "IP_10.0.0.8"));
    port.Reset();
    portsKey.Reset();
    RegDeleteTreeW(
        HKEY_CURRENT_USER,
        (L"Software\\PrinterSettingsTest\\" + std::to_wstring(GetCurrentProcessId())).c_str());
}

}  // namespace
}  // namespace ps::win32
