// SPDX-License-Identifier: MIT
// The in-process port monitor against printers on loopback TCP and on a fake usblp device.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "FakeUsblpSystem.h"
#include "base/TextCodec.h"
#include "platform/ExchangeFailure.h"
#include "platform/MonitorBlock.h"
#include "platform/linux/LinuxKernel.h"
#include "platform/linux/LinuxPortMonitor.h"

namespace ps {
namespace {

constexpr const char* kBlockName = "Session\\7\\DOZIV_EDI1";

// One loopback printer: accepts one connection, reads the command, then does `behave`.
class TLoopbackPrinter {
public:
    explicit TLoopbackPrinter(std::function<void(int client, const std::string& command)> behave) {
        m_Listen = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        EXPECT_EQ(::bind(m_Listen, reinterpret_cast<sockaddr*>(&address), length), 0);
        ::listen(m_Listen, 1);
        ::getsockname(m_Listen, reinterpret_cast<sockaddr*>(&address), &length);
        m_iPort = ntohs(address.sin_port);
        m_Thread = std::thread([this, behave] {
            pollfd waiting{m_Listen, POLLIN, 0};
            if (::poll(&waiting, 1, 5000) <= 0) return;  // nobody came
            const int client = ::accept(m_Listen, nullptr, nullptr);
            if (client < 0) return;
            char buffer[4096];
            const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
            command = std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
            behave(client, command);
            ::close(client);
        });
    }
    ~TLoopbackPrinter() { Join(); }
    // Waits for the printer to finish its one connection.
    void Join() {
        if (!m_Thread.joinable()) return;
        m_Thread.join();
        ::close(m_Listen);
    }
    std::string Uri() const { return "socket://127.0.0.1:" + std::to_string(m_iPort); }
    std::string command;

private:
    int m_Listen = -1;
    int m_iPort = 0;
    std::thread m_Thread;
};

// What the monitor left in the block.
struct TResult {
    TSysError error;
    std::uint32_t answer;
    std::int32_t stored;
    std::string reply;
    std::string reason;  // noted for a failed exchange
};

// Fills the block as the program does and asks the monitor for queue Talvenor_QR-520.
TResult Exchange(TLinuxKernel& kernel, TLinuxPortMonitor& monitor, const std::string& uri,
                 const std::string& command, std::int32_t wanted,
                 const std::string& blockPrinter = "Talvenor_QR-520",
                 const std::string& channel = "") {
    auto memory = kernel.CreateSharedMemory(kBlockName, 65536);
    auto view = memory->Map();
    auto block = view->Bytes();
    auto put = [&](std::size_t offset, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) block[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    put(0, 65536);
    put(4, static_cast<std::uint32_t>(command.size()));
    put(8, static_cast<std::uint32_t>(wanted));
    const std::string name = Utf16ToBytesLE(Utf8ToUtf16(blockPrinter));
    std::copy(name.begin(), name.end(), block.begin() + 64);
    std::copy(command.begin(), command.end(), block.begin() + 128);
    std::uint8_t answer[4] = {};
    std::uint32_t type = 0, needed = 0;
    TResult result{};
    ClearExchangeFailure();
    result.error =
        monitor.Answer("Talvenor_QR-520", uri, channel, kBlockName, type, answer, needed);
    result.reason = TakeExchangeFailure();
    result.answer = answer[0];
    result.stored =
        static_cast<std::int32_t>(block[8] | block[9] << 8 | block[10] << 16 | block[11] << 24);
    result.reply.assign(block.begin() + 128, block.begin() + 128 + std::max(result.stored, 0));
    return result;
}

class LinuxPortMonitorTest : public ::testing::Test {
protected:
    TScaledClock m_Clock;
    TLinuxKernel m_Kernel{&m_Clock};
    TLinuxPortMonitor m_Monitor{m_Kernel, m_Kernel.Usblp(), TUsblpFolders{}, m_Clock,
                                TPortMonitorTimeouts{1000, 1000, 400, 50}};

    TResult Exchange(const std::string& uri, const std::string& command, std::int32_t wanted,
                     const std::string& blockPrinter = "Talvenor_QR-520",
                     const std::string& channel = "") {
        return ps::Exchange(m_Kernel, m_Monitor, uri, command, wanted, blockPrinter, channel);
    }
};

TEST_F(LinuxPortMonitorTest, ExchangesOverTcpAndWritesWantNoReply) {
    TLoopbackPrinter printer([](int client, const std::string&) {
        ::send(client, "\x1B\x1D\x1E\x05\x03\x01", 6, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ::send(client, "\x10\x01\x01", 3, 0);  // the rest of the reply, a moment later
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    });
    auto result = Exchange(printer.Uri(), "\x1B\x1D\x1E\x05\x03\x01\x10\x1B\x1D\x1F", 64);
    EXPECT_EQ(result.error, kErrorSuccess);
    EXPECT_EQ(result.answer, 1u);
    EXPECT_EQ(result.reply, std::string("\x1B\x1D\x1E\x05\x03\x01\x10\x01\x01", 9));

    TLoopbackPrinter writeOnly([](int, const std::string&) {});
    result = Exchange(writeOnly.Uri(), "\x1B\x1D\x1E\x05\x01\x1B\x1D\x1F", 0);
    EXPECT_EQ(result.answer, 1u);
    EXPECT_EQ(result.stored, 0);
    writeOnly.Join();
    EXPECT_EQ(writeOnly.command, "\x1B\x1D\x1E\x05\x01\x1B\x1D\x1F");
}

TEST_F(LinuxPortMonitorTest, EndlessAndMissingRepliesAreCutOffInTime) {
    std::atomic<bool> stop{false};
    std::atomic<std::size_t> sent{0};
    TLoopbackPrinter flood([&](int client, const std::string&) {
        const std::string chunk(4096, 'x');
        while (!stop && ::send(client, chunk.data(), chunk.size(), MSG_NOSIGNAL) > 0)
            sent += chunk.size();
    });
    const auto start = std::chrono::steady_clock::now();
    auto result = Exchange(flood.Uri(), "\x1B\x1D\x1E\x12\x01\x1B\x1D\x1F", 64);
    stop = true;
    EXPECT_EQ(result.answer, 1u);
    EXPECT_EQ(result.stored, 64);  // the buffer the caller passed, not what the printer sent
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

    TLoopbackPrinter mute([](int, const std::string&) {
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
    });
    const auto muteStart = std::chrono::steady_clock::now();
    result = Exchange(mute.Uri(), "\x1B\x1D\x1E\x12\x01\x1B\x1D\x1F", 64);
    const auto waited = std::chrono::steady_clock::now() - muteStart;
    EXPECT_EQ(result.error, kErrorSuccess);
    EXPECT_EQ(result.answer, 0u);
    EXPECT_EQ(result.stored, 0);
    EXPECT_GE(waited, std::chrono::milliseconds(380));
    EXPECT_LT(waited, std::chrono::milliseconds(690));
}

TEST_F(LinuxPortMonitorTest, RefusesWhatIsNotItsToDo) {
    TLoopbackPrinter printer([](int client, const std::string&) { ::send(client, "ok", 2, 0); });
    // A block naming another printer: nothing is sent.
    auto result = Exchange(printer.Uri(), "\x1B\x1D\x1E\x05\x01\x1B\x1D\x1F", 8, "Other");
    EXPECT_EQ(result.answer, 0u);
    // No printer listening, a scheme without a link, no block.
    EXPECT_EQ(Exchange("socket://127.0.0.1:1", "x", 8).answer, 0u);
    EXPECT_EQ(Exchange("file:///dev/null", "x", 8).answer, 0u);
    std::uint8_t answer[4];
    std::uint32_t type = 0, needed = 0;
    EXPECT_EQ(
        m_Monitor.Answer("Q", printer.Uri(), "", "Session\\9\\DOZIV_EDI1", type, answer, needed),
        kErrorFileNotFound);
    EXPECT_TRUE(IsMonitorTrigger("Session\\1\\DOZIV_EDI1"));
    EXPECT_FALSE(IsMonitorTrigger("TimeData"));
    Exchange(printer.Uri(), "x", 0);  // its one connection, so it need not wait for one
}

TEST_F(LinuxPortMonitorTest, PrintServerQueuesGetBytesOnlyOverTheChannelTheyName) {
    // An ipp: queue names a server: without a named channel nothing is sent, and the reason
    // says how to name one.
    const std::string ipp = "ipp://127.0.0.1:631/printers/Talvenor_QR-520";
    auto result = Exchange(ipp, "\x1B\x1D\x1E\x05\x01\x1B\x1D\x1F", 0);
    EXPECT_EQ(result.answer, 0u);
    EXPECT_NE(result.reason.find("the command channel of queue \"Talvenor_QR-520\" is not known"),
              std::string::npos)
        << result.reason;
    EXPECT_NE(result.reason.find("lpadmin -p Talvenor_QR-520 -o "
                                 "printer-settings-channel-default=socket://HOST:9100"),
              std::string::npos);
    result = Exchange(ipp, "x", 0, "Talvenor_QR-520", "socket://127.0.0.1:9100;rm -rf /");
    EXPECT_NE(result.reason.find("is not socket://HOST[:PORT]"), std::string::npos)
        << result.reason;

    // Named, the channel carries the exchange.
    TLoopbackPrinter printer([](int client, const std::string&) { ::send(client, "ok", 2, 0); });
    const std::string channel = printer.Uri() + "/";
    result = Exchange(ipp, "\x1B\x1D\x1E\x12\x01\x1B\x1D\x1F", 8, "Talvenor_QR-520", channel);
    EXPECT_EQ(result.answer, 1u);
    EXPECT_EQ(result.reply, "ok");
    printer.Join();
    EXPECT_EQ(printer.command, "\x1B\x1D\x1E\x12\x01\x1B\x1D\x1F");

    // A refused connection is said with its address.
    result = Exchange("socket://127.0.0.1:1", "x", 8);
    EXPECT_NE(result.reason.find("connection refused at 127.0.0.1:1"), std::string::npos)
        << result.reason;
}

// USB printers on the fake kernel, in virtual time.
class LinuxPortMonitorUsbTest : public ::testing::Test {
protected:
    TVirtualClock m_Clock;
    test::TFakeUsblpSystem m_Usb{m_Clock};
    TLinuxKernel m_Kernel{&m_Clock};
    TLinuxPortMonitor m_Monitor{m_Kernel, m_Usb, TUsblpFolders{}, m_Clock};

    TResult Exchange(const std::string& uri, const std::string& command, std::int32_t wanted) {
        return ps::Exchange(m_Kernel, m_Monitor, uri, command, wanted);
    }
};

const std::string kRead09 = "\x1B\x1D\x1E\x05\x03\x01\x09\x1B\x1D\x1F";
const std::string kReply09 = "\x1B\x1D\x1E\x05\x03\x01\x09\x01\x2C\x1B\x1D\x1F";
const std::string kEnterSetSave =
    "\x1B\x1D\x1E\x05\x01\x1B\x1D\x1F\x1B\x1D\x1E\x00\x0B\x02\x1B\x1D\x1F\x1B\x1D\x1E\x05\x02\x1B"
    "\x1D\x1F";

TEST_F(LinuxPortMonitorUsbTest, AWriteCountsOnceThePrinterHasTakenIt) {
    // The enter/set/save bracket of a setting: usblp takes it and sends it over time. Closing
    // the node at once would cancel the transfer while the exchange reported success.
    auto& printer = m_Usb.Plug(0, "MFG:Talvenor;MDL:QR-520;SN:77;");
    printer.drainMs = 60;
    auto result = Exchange("usb://Talvenor/QR-520?serial=77", kEnterSetSave, 0);
    EXPECT_EQ(result.answer, 1u);
    EXPECT_EQ(printer.received, kEnterSetSave);
    EXPECT_GE(m_Clock.NowMs(), 60u);
    EXPECT_EQ(m_Usb.OpenCount(), 0);

    // A printer that does not take it within the send time: a failed write.
    printer.received.clear();
    printer.drainMs = 0;
    result = Exchange("usb://Talvenor/QR-520?serial=77", kEnterSetSave, 0);
    EXPECT_EQ(result.answer, 0u);
    EXPECT_EQ(GetThreadLastError(), kErrorTimeout);
    EXPECT_EQ(printer.received, "");
}

TEST_F(LinuxPortMonitorUsbTest, InputLeftFromAnEarlierReplyIsNotTakenForTheReply) {
    // The end of a reply that an earlier exchange cut off is still in the printer.
    auto& printer = m_Usb.Plug(0, "MFG:Talvenor;MDL:QR-520;", "77");
    printer.input = "\x01\x0A\x01\x05\x1B\x1D\x1F";
    printer.answers = {kReply09};
    auto result = Exchange("usb://Talvenor/QR-520?serial=77", kRead09, 64);
    EXPECT_EQ(result.answer, 1u);
    EXPECT_EQ(result.reply, kReply09);
    EXPECT_EQ(printer.received, kRead09);

    // A write wants no reply: nothing is read, so nothing is lost either.
    printer.input = "late";
    EXPECT_EQ(Exchange("usb://Talvenor/QR-520?serial=77", kEnterSetSave, 0).answer, 1u);
    EXPECT_EQ(printer.input, "late");
}

TEST_F(LinuxPortMonitorUsbTest, IdenticalPrintersAreToldApartByTheirUsbSerialNumbers) {
    // Two QR-520 whose device IDs carry no serial number: CUPS took it from the USB device.
    auto& first = m_Usb.Plug(0, "MFG:Talvenor;MDL:QR-520;", "A1");
    auto& second = m_Usb.Plug(1, "MFG:Talvenor;MDL:QR-520;", "B2");
    first.answers = {kReply09};
    second.answers = {kReply09};
    EXPECT_EQ(Exchange("usb://Talvenor/QR-520?serial=B2", kRead09, 64).answer, 1u);
    EXPECT_EQ(second.received, kRead09);
    EXPECT_EQ(first.received, "");

    // A queue that could be either, or neither: refused with the candidates, nothing sent.
    for (const std::string uri : {"usb://Talvenor/QR-520", "usb://Talvenor/QR-520?serial=C3"}) {
        EXPECT_EQ(Exchange(uri, kRead09, 64).answer, 0u) << uri;
        const std::string text = ThreadLastErrorText();
        EXPECT_NE(text.find("queue \"Talvenor_QR-520\""), std::string::npos) << text;
        EXPECT_NE(text.find("USB001 (serial number A1), USB002 (serial number B2)"),
                  std::string::npos)
            << text;
    }
    EXPECT_EQ(first.received, "");
    EXPECT_EQ(second.received, kRead09);

    // Identical serial numbers in the device IDs tell nothing apart either.
    m_Usb.Plug(0, "MFG:Talvenor;MDL:QR-520;SN:0000;", "A1");
    m_Usb.Plug(1, "MFG:Talvenor;MDL:QR-520;SN:0000;", "B2");
    EXPECT_EQ(Exchange("usb://Talvenor/QR-520?serial=0000", kRead09, 64).answer, 0u);
    EXPECT_NE(ThreadLastErrorText().find("matches several USB printers"), std::string::npos);
}

TEST_F(LinuxPortMonitorUsbTest, ABusyOrMissingPrinterSaysSo) {
    m_Usb.Plug(0, "MFG:Talvenor;MDL:QR-520;", "77").heldElsewhere = true;
    EXPECT_EQ(Exchange("usb://Talvenor/QR-520?serial=77", kRead09, 64).answer, 0u);
    EXPECT_EQ(GetThreadLastError(), kErrorBusy);
    EXPECT_NE(ThreadLastErrorText().find("in use by another program"), std::string::npos);

    m_Usb.Unplug(0);
    EXPECT_EQ(Exchange("usb://Talvenor/QR-520?serial=77", kRead09, 64).answer, 0u);
    EXPECT_EQ(GetThreadLastError(), kErrorFileNotFound);
    EXPECT_NE(ThreadLastErrorText().find("is not attached: plug it in"), std::string::npos)
        << ThreadLastErrorText();
}

}  // namespace
}  // namespace ps
