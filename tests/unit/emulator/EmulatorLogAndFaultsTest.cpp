// SPDX-License-Identifier: MIT
// commands.log, printed jobs, reply timing and transfers, the faults on demand, and input
// the printer does not understand.
#include <gtest/gtest.h>

#include <random>

#include "EmulatorTestSupport.h"
#include "emulator/EmulatorOptions.h"

namespace ps::emu {
namespace {

using test::Exchange;
using test::Hex;
using test::TManualClock;

constexpr const char* kReadLeftMargin = "1B 1D 1E 05 03 01 0A 1B 1D 1F";
constexpr const char* kLeftMarginReply = "1B 1D 1E 05 03 01 0A 01 02 1B 1D 1F";

class EmulatorLog : public ::testing::Test {
protected:
    std::unique_ptr<TEmulatedDevice> Make(std::map<std::string, std::string> extra = {},
                                          std::uint32_t delayMs = 0, bool bMute = false) {
        TDeviceConfig config = test::TestConfig();
        config.extra = std::move(extra);
        config.replyDelayMs = delayMs;
        config.mute = bMute;
        return std::make_unique<TEmulatedDevice>(config, StateDir(), m_Clock);
    }
    std::filesystem::path StateDir() const { return m_Dir.Path() / "state"; }
    ps::test::TTempDir m_Dir;
    TManualClock m_Clock;
};

TEST_F(EmulatorLog, EveryTransmissionIsOneLogLineAndJobsArePrinted) {
    {
        auto device = Make();
        device->Receive("monitor", Hex("1B 1D 1E 10 01 1B 1D 1F"));
        device->Receive("usb", {});
        device->Receive("job Print test", Hex("1B 40 0a ff"));
        device->Receive("job a/b\nc", Hex("00"));
    }
    EXPECT_EQ(test::ReadText(StateDir() / "commands.log"),
              "monitor 1B 1D 1E 10 01 1B 1D 1F\n"
              "usb \n"
              "job Print test 1B 40 0A FF\n"
              "job a/b?c 00\n");
    EXPECT_EQ(test::ReadText(StateDir() / "printed" / "001-Print_test.bin"), "\x1B\x40\x0A\xFF");
    EXPECT_TRUE(std::filesystem::exists(StateDir() / "printed" / "002-a_b_c.bin"));
    // Numbering goes on in a later run.
    auto later = Make();
    later->Receive("job", Hex("41"));
    EXPECT_TRUE(std::filesystem::exists(StateDir() / "printed" / "003-job.bin"));
}

TEST_F(EmulatorLog, RepliesAreTransfersReadyAfterTheDelay) {
    auto device = Make({}, 250);
    device->Receive("usb", Hex(std::string(kReadLeftMargin) + " 1B 1D 1E 12 09 1B 1D 1F"));
    EXPECT_TRUE(device->ReplyPending());
    EXPECT_TRUE(device->TakeReply(64).empty());
    m_Clock.Advance(250);
    // One read takes one transfer, however much room it has.
    EXPECT_EQ(test::Spaced(device->TakeReply(64)), kLeftMarginReply);
    EXPECT_EQ(test::Spaced(device->TakeReply(4)), "1B 1D 1E 12");
    EXPECT_EQ(test::Spaced(device->TakeReply(64)), "09 00 00 1B 1D 1F");
    EXPECT_FALSE(device->ReplyPending());

    // A job's answers have no reader.
    device->Receive("job", Hex(kReadLeftMargin));
    EXPECT_FALSE(device->ReplyPending());
}

TEST_F(EmulatorLog, UnreadRepliesAndNewCommands) {
    // A new command on a request channel drops an answer nobody read ...
    auto device = Make();
    device->Receive("usb", Hex("1B 1D 1E 12 09 1B 1D 1F"));
    EXPECT_EQ(Exchange(*device, "usb", kReadLeftMargin), kLeftMarginReply);
    // ... a byte stream keeps it, as does a printer told to keep them.
    device->Receive("port", Hex("1B 1D 1E 12 09 1B 1D 1F"));
    EXPECT_EQ(Exchange(*device, "port", kReadLeftMargin),
              std::string("1B 1D 1E 12 09 00 00 1B 1D 1F ") + kLeftMarginReply);
    auto keeping = Make({{"KeepStaleReplies", "1"}});
    keeping->Receive("monitor", Hex("1B 1D 1E 12 09 1B 1D 1F"));
    EXPECT_EQ(Exchange(*keeping, "monitor", kReadLeftMargin),
              std::string("1B 1D 1E 12 09 00 00 1B 1D 1F ") + kLeftMarginReply);
}

TEST_F(EmulatorLog, NoiseAndMuteFaults) {
    auto noisy = Make({{"NoiseHex", "00 FF 1B"}});
    EXPECT_EQ(Exchange(*noisy, "usb", kReadLeftMargin),
              std::string("00 FF 1B ") + kLeftMarginReply);

    // A mute printer still obeys: the write is saved, only answers never come.
    {
        auto mute = Make({}, 0, true);
        EXPECT_EQ(Exchange(*mute, "monitor",
                           "1B 1D 1E 05 01 1B 1D 1F 1B 1D 1E 00 0B 05 1B 1D 1F 1B 1D 1E 05 02 "
                           "1B 1D 1F 1B 1D 1E 05 03 01 0A 1B 1D 1F"),
                  "");
        EXPECT_FALSE(mute->ReplyPending());
    }
    auto after = Make();
    EXPECT_EQ(Exchange(*after, "monitor", kReadLeftMargin), "1B 1D 1E 05 03 01 0A 01 05 1B 1D 1F");
}

TEST_F(EmulatorLog, AnyInputKeepsRepliesWithinTheReadBuffer) {
    auto device = Make({{"NoiseHex", std::string(40000, 'A')}});
    std::mt19937 random(1234);
    const char* routes[] = {"monitor", "usb", "port", "job fuzz"};
    const std::uint8_t pieces[][3] = {{0x1B, 0x1D, 0x1E}, {0x1B, 0x1D, 0x1F}, {0x05, 0x03, 0xFF},
                                      {0x04, 0x0F, 0x08}, {0x06, 0x03, 0x1B}, {0x10, 0x01, 0x0C}};
    for (int round = 0; round < 300; ++round) {
        std::vector<std::uint8_t> data;
        const int n = static_cast<int>(random() % 64);
        for (int i = 0; i < n; ++i) {
            if (random() % 3 == 0) {
                const auto& piece = pieces[random() % std::size(pieces)];
                data.insert(data.end(), piece, piece + 3);
            } else {
                data.push_back(static_cast<std::uint8_t>(random()));
            }
        }
        device->Receive(routes[random() % std::size(routes)], data);
        m_Clock.Advance(random() % 50);
        for (auto reply = device->TakeReply(1 << 20); !reply.empty();
             reply = device->TakeReply(1 << 20))
            ASSERT_LE(reply.size(), kReadAllLimit);
    }
    // Even a noise longer than the read buffer leaves room for the answer.
    device->Receive("usb", Hex("1B 1D 1E 12 09 1B 1D 1F"));
    const auto last = device->TakeReply(1 << 20);
    ASSERT_LE(last.size(), kReadAllLimit);
    ASSERT_GT(last.size(), 10u);
    EXPECT_EQ(last[0], 0xAA);
    EXPECT_EQ(test::Spaced({last.end() - 10, last.end() - 5}), "1B 1D 1E 12 09");
}

}  // namespace
}  // namespace ps::emu
