// SPDX-License-Identifier: MIT
// Command framing into a memory stream.
#include "ui/main/uPrintInst.h"

#include <cstring>
#include <string>

#include "base/Lib_String.h"

namespace ps {

TMemoryStream g_InstStream;

void TMemoryStream::Write(const std::uint8_t* data, std::size_t size) {
    if (m_Position + size > m_Data.size()) m_Data.resize(m_Position + size);
    if (size) std::memcpy(m_Data.data() + m_Position, data, size);
    m_Position += size;
}

void TPrintInstInk::DURedovavUvid(TMemoryStream& st, std::string_view InstContext, bool CleanBuf) {
    static constexpr std::uint8_t kFrameStart[] = {0x1B, 0x1D, 0x1E};
    static constexpr std::uint8_t kFrameEnd[] = {0x1B, 0x1D, 0x1F};
    if (CleanBuf) st.Clear();
    st.Write(kFrameStart, sizeof kFrameStart);
    std::string text;
    for (char c : InstContext)
        if (c != ' ') text += c;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        // One pair at a time, so a bad pair leaves the bytes before it in the stream.
        std::uint8_t byte = 0;
        HexTextToBuffer(std::string_view(text).substr(i, 2), &byte, 1);
        st.Write(&byte, 1);
    }
    st.Write(kFrameEnd, sizeof kFrameEnd);
}

}  // namespace ps
