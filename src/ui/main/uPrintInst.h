// SPDX-License-Identifier: MIT
// Framing instruction hex text into a command stream, and the shared stream the feed
// precision dialog builds its commands in.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace ps {

/// A growable byte stream with a position, like an in-memory file.
class TMemoryStream {
public:
    /// Writes at the position (overwriting, then extending) and advances the position.
    void Write(const std::uint8_t* data, std::size_t size);
    void Clear() {
        m_Data.clear();
        m_Position = 0;
    }
    std::size_t Size() const { return m_Data.size(); }
    std::size_t Position() const { return m_Position; }
    void Seek(std::size_t position) { m_Position = position; }
    const std::vector<std::uint8_t>& Data() const { return m_Data; }

private:
    std::vector<std::uint8_t> m_Data;
    std::size_t m_Position = 0;
};

class TPrintInstInk {
public:
    /// Appends 1B 1D 1E, the bytes of InstContext (blanks removed, pairs read as hex, an odd
    /// last digit ignored) and 1B 1D 1F to st; CleanBuf empties st first. A pair that is not
    /// hex throws EConvertError, leaving what was written so far.
    static void DURedovavUvid(TMemoryStream& st, std::string_view InstContext, bool CleanBuf);
};

/// The shared command stream; lives as long as the process.
extern TMemoryStream g_InstStream;

}  // namespace ps
