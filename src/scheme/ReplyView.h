// SPDX-License-Identifier: MIT
// A bounds-checked view over the bytes a printer actually returned: fixed reply offsets are
// read only when the reply reaches them, so a short reply never yields stale buffer bytes.
#pragma once

#include <cstdint>
#include <optional>

namespace ps {

class TReplyView {
public:
    /// `length` bytes of `data`; a negative length or a null buffer is an empty reply.
    TReplyView(const std::uint8_t* data, std::int32_t length)
        : m_pData(data), m_nSize(data && length > 0 ? length : 0) {}

    std::int32_t Size() const { return m_nSize; }
    /// True when the bytes offset ... offset + count - 1 were returned.
    bool Has(std::int32_t offset, std::int32_t count) const {
        return offset >= 0 && count >= 0 && offset <= m_nSize - count;
    }
    std::optional<std::uint8_t> Byte(std::int32_t offset) const;
    /// Low byte at offset, high byte after it.
    std::optional<std::uint16_t> LE16(std::int32_t offset) const;
    /// A 16-bit sign-and-magnitude number, low byte first (bit 15 set: minus bits 0-14).
    std::optional<std::int32_t> SignMagnitude16(std::int32_t offset) const;
    /// An item value whose length byte is at lengthOffset and whose value bytes follow at
    /// valueOffset; nothing when the length is not 1, 2 or 3 or the bytes were not returned.
    std::optional<std::int32_t> ItemValue(std::int32_t lengthOffset, std::int32_t valueOffset,
                                          std::uint32_t nParameterByte) const;

private:
    const std::uint8_t* m_pData;
    std::int32_t m_nSize;
};

}  // namespace ps
