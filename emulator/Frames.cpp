// SPDX-License-Identifier: MIT
// The frame splitter.
#include "Frames.h"

#include <algorithm>
#include <cstring>

namespace ps::emu {
namespace {

const TBytes kDefaultTail = {0x1B, 0x1D, 0x1F};

bool EqualAt(std::span<const std::uint8_t> buf, std::size_t pos,
             std::span<const std::uint8_t> pat) {
    return pos <= buf.size() && pat.size() <= buf.size() - pos &&
           std::equal(pat.begin(), pat.end(), buf.begin() + static_cast<std::ptrdiff_t>(pos));
}

}  // namespace

TFrameParser::TFrameParser(TBytes tail, TLengthOracle oracle, std::size_t maxBody)
    : m_Tail(tail.empty() ? kDefaultTail : std::move(tail)),
      m_Oracle(std::move(oracle)),
      m_MaxBody(std::max<std::size_t>(maxBody, 1)) {}

TFrameParser::TMatch TFrameParser::MatchAt(std::span<const std::uint8_t> buf, std::size_t start,
                                           bool bFinal, std::size_t& frameLength) const {
    const std::size_t bodyStart = start + sizeof(kFrameStart);
    const std::size_t available = buf.size() - bodyStart;
    const std::size_t limit = std::min(available, m_MaxBody + m_Tail.size());
    auto body = buf.subspan(bodyStart, limit);

    bool bWaitForKnown = false;
    if (m_Oracle) {
        std::vector<std::size_t> lengths;
        m_Oracle(body, lengths);
        for (std::size_t len : lengths) {
            if (len > m_MaxBody) continue;
            if (len + m_Tail.size() > available) {
                bWaitForKnown = true;
                continue;
            }
            if (EqualAt(buf, bodyStart + len, m_Tail)) {
                frameLength = sizeof(kFrameStart) + len + m_Tail.size();
                return TMatch::Frame;
            }
        }
    }
    // Otherwise the first tail ends the frame, unless another frame starts before it: then
    // this start was a stray one (a frame without its tail, or data that looked like one).
    auto next =
        std::search(body.begin(), body.end(), std::begin(kFrameStart), std::end(kFrameStart));
    auto it = std::search(body.begin(), next, m_Tail.begin(), m_Tail.end());
    if (it != next) {
        // A stream does not wait for a longer known length once a tail has come: a command
        // that is complete is obeyed now.
        frameLength =
            sizeof(kFrameStart) + static_cast<std::size_t>(it - body.begin()) + m_Tail.size();
        return TMatch::Frame;
    }
    if (next != body.end()) return bWaitForKnown && !bFinal ? TMatch::NeedMore : TMatch::NotFrame;
    if (!bFinal && available < m_MaxBody + m_Tail.size()) return TMatch::NeedMore;
    return TMatch::NotFrame;
}

std::vector<TSegment> TFrameParser::Feed(std::span<const std::uint8_t> data, bool bFinal) {
    m_Pending.insert(m_Pending.end(), data.begin(), data.end());
    std::span<const std::uint8_t> buf(m_Pending);
    std::vector<TSegment> out;
    TBytes loose;
    auto flushLoose = [&] {
        if (!loose.empty()) out.push_back({false, std::move(loose)});
        loose.clear();
    };

    std::size_t pos = 0;
    std::size_t keepFrom = buf.size();
    while (pos < buf.size()) {
        auto it = std::search(buf.begin() + static_cast<std::ptrdiff_t>(pos), buf.end(),
                              std::begin(kFrameStart), std::end(kFrameStart));
        const std::size_t start = static_cast<std::size_t>(it - buf.begin());
        if (start >= buf.size()) {
            // No frame start: everything is loose, except a tail end that may begin one.
            std::size_t end = buf.size();
            if (!bFinal) {
                std::size_t keep = 0;
                for (std::size_t k = std::min<std::size_t>(2, end - pos); k > 0; --k)
                    if (std::equal(buf.end() - static_cast<std::ptrdiff_t>(k), buf.end(),
                                   std::begin(kFrameStart))) {
                        keep = k;
                        break;
                    }
                end -= keep;
            }
            loose.insert(loose.end(), buf.begin() + static_cast<std::ptrdiff_t>(pos),
                         buf.begin() + static_cast<std::ptrdiff_t>(end));
            keepFrom = end;
            pos = buf.size();
            break;
        }
        loose.insert(loose.end(), buf.begin() + static_cast<std::ptrdiff_t>(pos),
                     buf.begin() + static_cast<std::ptrdiff_t>(start));
        std::size_t length = 0;
        switch (MatchAt(buf, start, bFinal, length)) {
            case TMatch::Frame:
                flushLoose();
                out.push_back(
                    {true, TBytes(buf.begin() + static_cast<std::ptrdiff_t>(start),
                                  buf.begin() + static_cast<std::ptrdiff_t>(start + length))});
                pos = start + length;
                break;
            case TMatch::NotFrame:
                loose.push_back(buf[start]);
                pos = start + 1;
                break;
            case TMatch::NeedMore:
                keepFrom = start;
                pos = buf.size();
                break;
        }
    }
    flushLoose();
    m_Pending.erase(m_Pending.begin(), m_Pending.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                               keepFrom, m_Pending.size())));
    if (bFinal) m_Pending.clear();
    return out;
}

}  // namespace ps::emu
