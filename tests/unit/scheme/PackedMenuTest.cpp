// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>

#include "base/AtomicFile.h"
#include "scheme/PackedMenu.h"
#include "support/TestSupport.h"

namespace ps {
namespace {

TBytes Pack(const std::string& menu, std::uint32_t announced, std::uint8_t version = 1) {
    uLongf size = compressBound(static_cast<uLong>(menu.size()));
    TBytes z(size);
    compress(z.data(), &size, reinterpret_cast<const Bytef*>(menu.data()),
             static_cast<uLong>(menu.size()));
    z.resize(size);
    TBytes out = {0x51,
                  0x4B,
                  version,
                  0x00,
                  static_cast<std::uint8_t>(announced),
                  static_cast<std::uint8_t>(announced >> 8),
                  static_cast<std::uint8_t>(announced >> 16),
                  static_cast<std::uint8_t>(announced >> 24),
                  0,
                  0,
                  0,
                  0,
                  0,
                  0,
                  0,
                  0};
    out.insert(out.end(), z.begin(), z.end());
    return out;
}

TEST(PackedMenu, ChallengeCrcIsTheStandardCrc32) {
    // CRC-32 of 01..08 is 3FCA88C5 (IEEE 802.3), sent least significant byte first.
    EXPECT_EQ(ChallengeCrcBytes(), (std::array<std::uint8_t, 4>{0xC5, 0x88, 0xCA, 0x3F}));
}

TEST(PackedMenu, ModelNameIsFoundBehindTheCrcWherever) {
    TBytes reply = {0xAA, 0xBB, 0xC5, 0x88, 0xCA, 0x3F, 0, 0, 6, 'Q', 'J', '-', '7', '6', '0', 9};
    EXPECT_EQ(ModelNameFromReply(reply), "QJ-760");
    reply[8] = 0;
    EXPECT_EQ(ModelNameFromReply(reply), "");
    reply[8] = 200;  // claims more than was received: never reads past the reply
    EXPECT_EQ(ModelNameFromReply(reply), std::string("QJ-760\x09"));
    TBytes zeroEnds = {0xC5, 0x88, 0xCA, 0x3F, 0, 0, 5, 'A', 'B', 0, 'C', 'D'};
    EXPECT_EQ(ModelNameFromReply(zeroEnds), "AB");
    TBytes longName = {0xC5, 0x88, 0xCA, 0x3F, 0, 0, 40};
    longName.resize(7 + 40, 'x');
    EXPECT_EQ(ModelNameFromReply(longName)->size(), 32u);
    EXPECT_FALSE(ModelNameFromReply(TBytes{1, 2, 3, 4, 5, 6, 7, 8}).has_value());
    EXPECT_EQ(ModelNameFromReply(TBytes{0xC5, 0x88, 0xCA, 0x3F}), "");
}

TEST(PackedMenu, UnpacksExactlyTheAnnouncedSize) {
    const std::string menu = "[BaseSection]\r\nItemCount=1\r\n";
    TBytes payload = {0x01, 0x02, 0x51};  // bytes before the header are skipped
    TBytes packed = Pack(menu, static_cast<std::uint32_t>(menu.size()));
    payload.insert(payload.end(), packed.begin(), packed.end());
    auto out = UnpackMenuPayload(payload);
    ASSERT_TRUE(out.has_value());
    EXPECT_EQ(std::string(out->begin(), out->end()), menu);
    // A smaller announced size cuts the menu there.
    auto cut = UnpackMenuPayload(Pack(menu, 5));
    EXPECT_EQ(std::string(cut->begin(), cut->end()), "[Base");
}

TEST(PackedMenu, RejectsWrongHeadersAndBrokenStreams) {
    const std::string menu = "[s]\r\nk=v\r\n";
    EXPECT_FALSE(UnpackMenuPayload(Pack(menu, 10, 2)).has_value());     // version 2
    EXPECT_THROW(UnpackMenuPayload(Pack(menu, 11)), EMenuUnpackError);  // fewer bytes than S
    TBytes damaged = Pack(menu, 10);
    damaged[17] ^= 0xFF;
    EXPECT_THROW(UnpackMenuPayload(damaged), EMenuUnpackError);
    TBytes truncated = Pack(menu, 10);
    truncated.resize(truncated.size() - 6);
    EXPECT_THROW(UnpackMenuPayload(truncated), EMenuUnpackError);
    EXPECT_THROW(UnpackMenuPayload(TBytes{0x51, 0x4B, 1, 0, 1}), EMenuUnpackError);
    EXPECT_THROW(UnpackMenuPayload(Pack(menu, 0xFFFFFFFF)), EMenuUnpackError);
}

std::string UnpackError(const TBytes& payload) {
    try {
        (void)UnpackMenuPayload(payload);
    } catch (const EMenuUnpackError& e) {
        return e.what();
    }
    return "unpacked";
}

TEST(PackedMenu, AnnouncedSizeIsBoundedBeforeAnythingIsAllocated) {
    // A bare 16-byte header announcing 64 MiB: refused by the cap.
    TBytes header = Pack("", 0);
    header.resize(16);
    header[7] = 0x04;  // 0x04000000 bytes
    EXPECT_EQ(UnpackError(header),
              "packed menu announces 67108864 bytes, more than the 4194304 bytes a menu may have");
    // Within the cap but far beyond what the compressed bytes can inflate to.
    TBytes small = Pack("[s]\r\nk=v\r\n", 0x100000);
    EXPECT_EQ(UnpackError(small), "packed menu announces 1048576 bytes from " +
                                      std::to_string(small.size() - 16) +
                                      " compressed bytes, more than they can inflate to");
    header[7] = 0;
    EXPECT_EQ(UnpackError(header), "unpacked");  // nothing announced, nothing to inflate

    // A menu of exactly the cap, compressed about 1000:1, still unpacks; one byte more does not.
    const std::string biggest(kMaxUnpackedMenu, ';');
    TBytes packed = Pack(biggest, kMaxUnpackedMenu);
    ASSERT_LE(kMaxUnpackedMenu, (packed.size() - 16) * kMaxInflateRatio);
    auto out = UnpackMenuPayload(packed);
    ASSERT_TRUE(out.has_value());
    EXPECT_EQ(out->size(), kMaxUnpackedMenu);
    EXPECT_NE(UnpackError(Pack(biggest + ";", kMaxUnpackedMenu + 1)), "unpacked");
}

}  // namespace
}  // namespace ps
