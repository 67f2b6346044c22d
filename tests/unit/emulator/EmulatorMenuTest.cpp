// SPDX-License-Identifier: MIT
// Menu download from the printer's side: the model answer behind the challenge CRC-32 and the
// packed menu inline or as a separate transfer.
#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

#include "EmulatorTestSupport.h"
#include "emulator/EmulatorOptions.h"

namespace ps::emu {
namespace {

using test::Hex;
using test::TManualClock;

constexpr const char* kMenuRequest = "1B 1D 1E 06 03 1B 1D 1F";

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

// The unpacked menu of a packed menu file, checked against the sizes it announces.
std::string Unpack(const std::vector<std::uint8_t>& packed) {
    EXPECT_GE(packed.size(), 16u);
    if (packed.size() < 16) return {};
    EXPECT_EQ(test::Spaced({packed.begin(), packed.begin() + 4}), "51 4B 01 00");
    std::string out(Le32(packed, 4), '\0');
    uLongf size = static_cast<uLongf>(out.size());
    EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &size, packed.data() + 16,
                         static_cast<uLong>(packed.size() - 16)),
              Z_OK);
    EXPECT_EQ(size, out.size());
    return out;
}

class EmulatorMenu : public ::testing::Test {
protected:
    std::unique_ptr<TEmulatedDevice> Make(const std::string& transfer, bool bMenu = true) {
        TDeviceConfig config = test::TestConfig();
        if (bMenu) config.menuFile = test::DataFile("test-menu.ini");
        config.extra["MenuTransfer"] = transfer;
        return std::make_unique<TEmulatedDevice>(config, m_Dir.Path() / transfer, m_Clock);
    }
    ps::test::TTempDir m_Dir;
    TManualClock m_Clock;
};

TEST_F(EmulatorMenu, ModelQueryAnswersTheChallengeCrc) {
    auto device = Make("inline");
    const auto reply =
        Hex(test::Exchange(*device, "usb", "1B 1D 1E 04 0F 08 01 02 03 04 05 06 07 08 1B 1D 1F"));
    const std::uint8_t challenge[] = {1, 2, 3, 4, 5, 6, 7, 8};
    const auto crc = static_cast<std::uint32_t>(crc32(0, challenge, sizeof challenge));
    ASSERT_EQ(reply.size(), 5u + 4 + 2 + 1 + 4 + 3);
    EXPECT_EQ(Le32(reply, 5), crc);
    EXPECT_EQ(reply[11], 4);
    EXPECT_EQ(std::string(reply.begin() + 12, reply.begin() + 16), "TP-1");

    // Another challenge, and the scheme's printer name when no model name is configured.
    TDeviceConfig config = test::TestConfig();
    config.modelName.clear();
    TEmulatedDevice unnamed(config, m_Dir.Path() / "unnamed", m_Clock);
    const auto other = Hex(test::Exchange(unnamed, "usb", "1B 1D 1E 04 0F 02 AA BB 1B 1D 1F"));
    const std::uint8_t aabb[] = {0xAA, 0xBB};
    ASSERT_GE(other.size(), 12u);
    EXPECT_EQ(Le32(other, 5), static_cast<std::uint32_t>(crc32(0, aabb, 2)));
    EXPECT_EQ(std::string(other.begin() + 12, other.begin() + 12 + other[11]), "Test Printer TP-1");
}

TEST_F(EmulatorMenu, InlineAndSeparateTransfersCarryTheSameMenu) {
    const std::string menuFile = test::ReadText(test::DataFile("test-menu.ini"));

    auto inlined = Make("inline");
    const auto reply = Hex(test::Exchange(*inlined, "usb", kMenuRequest));
    ASSERT_GT(reply.size(), 12u);
    EXPECT_EQ(test::Spaced({reply.begin(), reply.begin() + 5}), "1B 1D 1E 06 03");
    const std::uint32_t t = Le32(reply, 5);
    ASSERT_EQ(reply.size(), 11u + t + 1);  // head, payload, one closing byte
    const std::vector<std::uint8_t> payload(reply.begin() + 11, reply.end() - 1);
    EXPECT_EQ(Unpack(payload), menuFile);

    // Separate: a read gets the head alone, the next read the payload.
    auto separate = Make("separate");
    separate->Receive("usb", Hex(kMenuRequest));
    const auto head = separate->TakeReply(32768);
    ASSERT_EQ(head.size(), 11u);
    EXPECT_EQ(Le32(head, 5), t);
    const auto transfer = separate->TakeReply(t);
    EXPECT_EQ(transfer, payload);
    EXPECT_FALSE(separate->ReplyPending());
}

TEST_F(EmulatorMenu, NoMenuAndMenusBeyondTheReadBuffer) {
    auto none = Make("inline", false);
    EXPECT_EQ(test::Exchange(*none, "usb", kMenuRequest), "1B 1D 1E 06 03 00 00 00 00 00 00 00");

    // A menu that packs to more than the read buffer: the head tells its length, nothing more
    // is sent (the reader cannot take it).
    std::mt19937 random(7);
    std::string noise(48 * 1024, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    ps::test::TTempDir dir;
    TDeviceConfig config = test::TestConfig();
    config.menuFile = dir.Write("big.ini", noise);
    TEmulatedDevice big(config, dir.Path() / "state", m_Clock);
    big.Receive("usb", Hex(kMenuRequest));
    const auto head = big.TakeReply(32768);
    ASSERT_EQ(head.size(), 11u);
    EXPECT_GT(Le32(head, 5), kReadAllLimit);
    EXPECT_FALSE(big.ReplyPending());
}

}  // namespace
}  // namespace ps::emu
