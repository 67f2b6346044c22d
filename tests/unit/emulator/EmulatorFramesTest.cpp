// SPDX-License-Identifier: MIT
// The frame splitter: frames, loose bytes, streams cut anywhere, known lengths, stray starts.
#include <gtest/gtest.h>

#include "EmulatorTestSupport.h"
#include "emulator/Frames.h"

namespace ps::emu {
namespace {

using test::Hex;
using test::Spaced;

std::vector<std::string> Describe(const std::vector<TSegment>& segments) {
    std::vector<std::string> out;
    for (const TSegment& s : segments) out.push_back((s.bFrame ? "F " : "L ") + Spaced(s.bytes));
    return out;
}

TEST(EmulatorFrames, SplitsFramesFromLooseBytes) {
    TFrameParser parser(Hex("1B 1D 1F"));
    auto segments =
        parser.Feed(Hex("0C 1B 1D 1E 10 01 1B 1D 1F 41 42 1B 1D 1E 05 03 01 0A 1B 1D 1F"), true);
    EXPECT_EQ(Describe(segments),
              (std::vector<std::string>{"L 0C", "F 1B 1D 1E 10 01 1B 1D 1F", "L 41 42",
                                        "F 1B 1D 1E 05 03 01 0A 1B 1D 1F"}));
    EXPECT_EQ(parser.Pending(), 0u);
}

TEST(EmulatorFrames, StreamHoldsAnUnfinishedFrameUntilItCompletes) {
    TFrameParser parser(Hex("1B 1D 1F"));
    EXPECT_EQ(Describe(parser.Feed(Hex("41 1B 1D"), false)), (std::vector<std::string>{"L 41"}));
    EXPECT_TRUE(parser.Feed(Hex("1E 10 01 1B"), false).empty());
    EXPECT_EQ(Describe(parser.Feed(Hex("1D 1F 0C"), false)),
              (std::vector<std::string>{"F 1B 1D 1E 10 01 1B 1D 1F", "L 0C"}));
    // A whole transmission flushes what could not become a frame.
    EXPECT_EQ(Describe(parser.Feed(Hex("1B 1D 1E 10"), true)),
              (std::vector<std::string>{"L 1B 1D 1E 10"}));
    EXPECT_EQ(parser.Pending(), 0u);
}

TEST(EmulatorFrames, KnownLengthKeepsValueBytesThatLookLikeTheTail) {
    const auto clockWithTailBytes = Hex("1B 1D 1E 10 1D 1B 1D 1F 00 1B 1D 1F");
    TFrameParser plain(Hex("1B 1D 1F"));
    EXPECT_EQ(Describe(plain.Feed(clockWithTailBytes, true)),
              (std::vector<std::string>{"F 1B 1D 1E 10 1D 1B 1D 1F", "L 00 1B 1D 1F"}));

    TFrameParser knowing(Hex("1B 1D 1F"),
                         [](std::span<const std::uint8_t> body, std::vector<std::size_t>& lengths) {
                             if (body.size() >= 2 && body[0] == 0x10 && body[1] == 0x1D)
                                 lengths.push_back(6);
                         });
    EXPECT_EQ(Describe(knowing.Feed(clockWithTailBytes, true)),
              (std::vector<std::string>{"F 1B 1D 1E 10 1D 1B 1D 1F 00 1B 1D 1F"}));
    // A stream obeys a frame as soon as a tail has come; a known length completed in the
    // same feed still wins.
    EXPECT_EQ(Describe(knowing.Feed(Hex("1B 1D 1E 10 1D 1B 1D 1F"), false)),
              (std::vector<std::string>{"F 1B 1D 1E 10 1D 1B 1D 1F"}));
    EXPECT_EQ(Describe(knowing.Feed(Hex("1B 1D 1E 10 1D 1B 1D 1F 00 1B 1D 1F"), false)),
              (std::vector<std::string>{"F 1B 1D 1E 10 1D 1B 1D 1F 00 1B 1D 1F"}));
    // Value bytes that look like a frame start are awaited.
    EXPECT_TRUE(knowing.Feed(Hex("1B 1D 1E 10 1D 1B 1D 1E"), false).empty());
    EXPECT_EQ(Describe(knowing.Feed(Hex("00 1B 1D 1F"), false)),
              (std::vector<std::string>{"F 1B 1D 1E 10 1D 1B 1D 1E 00 1B 1D 1F"}));
}

TEST(EmulatorFrames, StrayStartsAndMissingTailsBecomeLooseBytes) {
    TFrameParser parser(Hex("1B 1D 1F"), {}, 8);
    // A start whose frame never ended does not swallow the next frame.
    EXPECT_EQ(Describe(parser.Feed(Hex("1B 1D 1E 05 01 1B 1D 1E 05 02 1B 1D 1F"), true)),
              (std::vector<std::string>{"L 1B 1D 1E 05 01", "F 1B 1D 1E 05 02 1B 1D 1F"}));
    // No tail within the longest body: data that only looked like a start.
    EXPECT_EQ(Describe(parser.Feed(Hex("1B 1D 1E 01 02 03 04 05 06 07 08 09 1B 1D 1F"), false)),
              (std::vector<std::string>{"L 1B 1D 1E 01 02 03 04 05 06 07 08 09 1B 1D 1F"}));
    EXPECT_EQ(parser.Pending(), 0u);
}

TEST(EmulatorFrames, OtherTailsEndFrames) {
    TFrameParser parser(Hex("0D 0A"));
    EXPECT_EQ(Describe(parser.Feed(Hex("1B 1D 1E 10 01 0D 0A 1B 1D 1E 10 02 1B 1D 1F"), true)),
              (std::vector<std::string>{"F 1B 1D 1E 10 01 0D 0A", "L 1B 1D 1E 10 02 1B 1D 1F"}));
}

}  // namespace
}  // namespace ps::emu
