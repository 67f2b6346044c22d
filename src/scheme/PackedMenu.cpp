// SPDX-License-Identifier: MIT
// Model-name and packed-menu decoding with zlib.
#include "scheme/PackedMenu.h"

#include <zlib.h>

#include <algorithm>

namespace ps {

std::array<std::uint8_t, 4> ChallengeCrcBytes() {
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, kModelChallenge, sizeof kModelChallenge);
    return {static_cast<std::uint8_t>(crc), static_cast<std::uint8_t>(crc >> 8),
            static_cast<std::uint8_t>(crc >> 16), static_cast<std::uint8_t>(crc >> 24)};
}

std::optional<std::string> ModelNameFromReply(std::span<const std::uint8_t> reply) {
    const auto crc = ChallengeCrcBytes();
    const int c = FindMem(crc.data(), reply.data(), 4, static_cast<int>(reply.size()));
    if (c < 0) return std::nullopt;
    const std::size_t at = static_cast<std::size_t>(c);
    if (at + 6 >= reply.size()) return std::string();  // length byte not received
    std::size_t length = std::min<std::size_t>(reply[at + 6], 32);
    length = std::min(length, reply.size() - (at + 7));
    std::string name;
    for (std::size_t i = 0; i < length && reply[at + 7 + i] != 0; ++i)
        name += static_cast<char>(reply[at + 7 + i]);
    return name;
}

std::optional<TBytes> UnpackMenuPayload(std::span<const std::uint8_t> payload) {
    const int h = FindMem(kPackedMenuHeader, payload.data(), 4, static_cast<int>(payload.size()));
    if (h < 0) return std::nullopt;
    auto packed = payload.subspan(static_cast<std::size_t>(h));
    if (packed.size() < 16) throw EMenuUnpackError("packed menu is shorter than its header");
    const std::uint32_t size = ReadLE32(packed.data() + 4);
    if (size > kMaxUnpackedMenu)
        throw EMenuUnpackError("packed menu announces " + std::to_string(size) +
                               " bytes, more than the " + std::to_string(kMaxUnpackedMenu) +
                               " bytes a menu may have");
    const std::size_t compressed = packed.size() - 16;
    if (size > compressed * kMaxInflateRatio)
        throw EMenuUnpackError("packed menu announces " + std::to_string(size) + " bytes from " +
                               std::to_string(compressed) +
                               " compressed bytes, more than they can inflate to");
    TBytes menu(size);
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) throw EMenuUnpackError("zlib cannot start");
    zs.next_in = const_cast<Bytef*>(packed.data() + 16);
    zs.avail_in = static_cast<uInt>(packed.size() - 16);
    zs.next_out = menu.data();
    zs.avail_out = size;
    int rc = Z_OK;
    while (zs.avail_out > 0 && rc == Z_OK) rc = inflate(&zs, Z_NO_FLUSH);
    const uLong produced = zs.total_out;
    const char* message = zs.msg;
    inflateEnd(&zs);
    // Z_BUF_ERROR means the input ran out: a short stream, reported below.
    if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR)
        throw EMenuUnpackError(std::string("menu data is damaged: ") +
                               (message ? message : zError(rc)));
    if (produced < size)
        throw EMenuUnpackError("menu data ends after " + std::to_string(produced) + " of " +
                               std::to_string(size) + " bytes");
    return menu;
}

}  // namespace ps
