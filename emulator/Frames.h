// SPDX-License-Identifier: MIT
// Splits what a printer receives into framed commands (1B 1D 1E ... tail) and loose bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace ps::emu {

using TBytes = std::vector<std::uint8_t>;

/// Start of every framed command: ESC GS RS.
inline constexpr std::uint8_t kFrameStart[3] = {0x1B, 0x1D, 0x1E};

/// One piece of the input: a whole frame (start, body and tail) or a run of loose bytes.
struct TSegment {
    bool bFrame = false;
    TBytes bytes;
};

/// A stream splitter that never reads past its input and keeps at most one unfinished frame.
/// A frame ends at the tail. When the command's body length is known (the oracle names
/// candidate lengths) and the tail follows exactly there, that longer frame wins, so value
/// bytes that happen to look like a tail do not cut a frame that has fully arrived. A frame
/// start without a tail within `maxBody` bytes, or with another frame start before its tail,
/// is taken as loose data.
class TFrameParser {
public:
    /// Fills `lengths` with candidate body lengths for a body that begins with `body` (the
    /// bytes after the frame start that have arrived so far). Empty when unknown.
    using TLengthOracle =
        std::function<void(std::span<const std::uint8_t> body, std::vector<std::size_t>& lengths)>;

    explicit TFrameParser(TBytes tail, TLengthOracle oracle = {}, std::size_t maxBody = 4096);

    /// Adds bytes and returns the finished segments in order. Without `bFinal`, a frame that
    /// may still be completing is held back for the next call; with it, everything is flushed
    /// (an unfinished frame becomes loose bytes).
    std::vector<TSegment> Feed(std::span<const std::uint8_t> data, bool bFinal);

    /// Bytes held back for the next Feed.
    std::size_t Pending() const { return m_Pending.size(); }
    void Reset() { m_Pending.clear(); }

private:
    enum class TMatch { Frame, NotFrame, NeedMore };
    TMatch MatchAt(std::span<const std::uint8_t> buf, std::size_t start, bool bFinal,
                   std::size_t& frameLength) const;

    TBytes m_Tail;
    TLengthOracle m_Oracle;
    std::size_t m_MaxBody;
    TBytes m_Pending;
};

}  // namespace ps::emu
