// SPDX-License-Identifier: MIT
// The bounds-checked reply view.
#include "scheme/ReplyView.h"

#include "scheme/ValueCodec.h"

namespace ps {

std::optional<std::uint8_t> TReplyView::Byte(std::int32_t offset) const {
    if (!Has(offset, 1)) return std::nullopt;
    return m_pData[offset];
}

std::optional<std::uint16_t> TReplyView::LE16(std::int32_t offset) const {
    if (!Has(offset, 2)) return std::nullopt;
    return static_cast<std::uint16_t>(m_pData[offset] | (m_pData[offset + 1] << 8));
}

std::optional<std::int32_t> TReplyView::SignMagnitude16(std::int32_t offset) const {
    const auto raw = LE16(offset);
    if (!raw) return std::nullopt;
    const std::int32_t magnitude = *raw & 0x7FFF;
    return (*raw & 0x8000) ? -magnitude : magnitude;
}

std::optional<std::int32_t> TReplyView::ItemValue(std::int32_t lengthOffset,
                                                  std::int32_t valueOffset,
                                                  std::uint32_t nParameterByte) const {
    const auto length = Byte(lengthOffset);
    if (!length || *length < 1 || *length > 3 || !Has(valueOffset, *length)) return std::nullopt;
    return DecodeItemValue(m_pData + valueOffset, *length, nParameterByte);
}

}  // namespace ps
