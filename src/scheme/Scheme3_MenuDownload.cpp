// SPDX-License-Identifier: MIT
// Downloading the item menu from the printer: model query, menu request, unpacking.
#include <filesystem>
#include <system_error>
#include <vector>

#include "base/AtomicFile.h"
#include "base/IniWriter.h"
#include "base/PathText.h"
#include "base/TextCodec.h"
#include "localisation/WaitingTexts.h"
#include "platform/Platform.h"
#include "printer/Globals.h"
#include "scheme/PackedMenu.h"
#include "scheme/Scheme3.h"

namespace ps {
namespace {

constexpr const char* kModelQuery = "1B 1D 1E 04 0F 08 01 02 03 04 05 06 07 08 1B 1D 1F";
constexpr const char* kMenuRequest = "1B 1D 1E 06 03 1B 1D 1F";
constexpr std::int32_t kMenuBufferSize = 32768;

// The model name is 8-bit text in the system code page. It goes into the per-printer options
// file as one value: the printer's CR, LF and other control characters are dropped, so they
// cannot start lines of their own there.
std::string DecodeModelName(const std::string& bytes) {
    std::string text = bytes;
    if (!IsValidUtf8(bytes)) {
        auto decoded = Platform().Kernel().DecodeLegacyText(bytes, SystemLanguageId());
        text = decoded ? *decoded : Latin1ToUtf8(bytes);
    }
    std::erase_if(text, [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
    return text;
}

}  // namespace

bool TSchemeOptions2::GetPrinterMenuResources() {
    const std::filesystem::path menuFile = PathFromUtf8(g_PrinterCacheBase + ".DAT");
    std::error_code ec;
    std::filesystem::remove(menuFile, ec);  // a stale menu never survives a download attempt

    TWaitingWindowGuard waiting(g_PrinterName);
    std::vector<std::uint8_t> buffer(kMenuBufferSize + 1, 0);

    // Model query: the reply carries the CRC-32 of the challenge and the model name.
    std::int32_t nRead = kMenuBufferSize;
    if (!DoWriteAndReadPrinter(g_PrinterName, kModelQuery, buffer.data(), kMenuBufferSize - 1,
                               nRead, true, m_Sections.ClearBeforeReadMenu,
                               m_Sections.WriteReadDelay, false))
        return false;
    auto modelName = ModelNameFromReply({buffer.data(), static_cast<std::size_t>(nRead)});
    if (!modelName) return false;
    WriteIniString(g_PrinterIniFile, "PrinterInfo", "PrinterName", DecodeModelName(*modelName));

    // Menu request: a header with the transfer length T, the payload inline or separate.
    std::fill(buffer.begin(), buffer.end(), 0);
    nRead = kMenuBufferSize;
    if (!DoWriteAndReadPrinter(g_PrinterName, kMenuRequest, buffer.data(), kMenuBufferSize - 1,
                               nRead, true, false, m_Sections.ReadMenuDelay, false) ||
        nRead < 8)
        return false;
    const int h = FindMem(kMenuReplyHead, buffer.data(), 5, nRead);
    if (h < 0) return false;
    // A reply that ends inside T leaves the missing bytes as the zeros of the cleared buffer.
    std::uint8_t length[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4 && h + 5 + i < nRead; ++i) length[i] = buffer[h + 5 + i];
    const std::uint32_t transfer = ReadLE32(length);

    std::vector<std::uint8_t> payload;
    if (static_cast<std::uint32_t>(nRead) < transfer) {
        if (transfer > static_cast<std::uint32_t>(kMenuBufferSize)) return false;
        std::fill(buffer.begin(), buffer.end(), 0);
        std::int32_t nPayload = static_cast<std::int32_t>(transfer);
        if (!DoWriteAndReadPrinter(g_PrinterName, "", buffer.data(), kMenuBufferSize - 1, nPayload,
                                   true, false, 10, false))
            return false;
        if (nPayload != static_cast<std::int32_t>(transfer)) return false;
        payload.assign(buffer.begin(), buffer.begin() + nPayload);
    } else {
        if (transfer == 0) return false;  // the printer holds no menu
        if (nRead < h + 12) return false;
        payload.assign(buffer.begin() + h + 11, buffer.begin() + nRead - 1);
    }

    // A damaged or short stream is a failed download like any other: no menu file.
    std::optional<TBytes> menu;
    try {
        menu = UnpackMenuPayload(payload);
    } catch (const EMenuUnpackError&) {
        return false;
    }
    if (!menu) return false;
    return WriteFileAtomically(
        menuFile, std::string_view(reinterpret_cast<const char*>(menu->data()), menu->size()));
}

}  // namespace ps
