// SPDX-License-Identifier: MIT
// Model answer and menu packing with zlib.
#include "MenuPacking.h"

#include <zlib.h>

#include <stdexcept>

namespace ps::emu {
namespace {

void PutLe32(TBytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
    uLong crc = crc32(0L, Z_NULL, 0);
    // zlib takes lengths as uInt; feed large inputs in pieces.
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const auto n = static_cast<uInt>(std::min<std::size_t>(bytes.size() - pos, 1u << 30));
        crc = crc32(crc, bytes.data() + pos, n);
        pos += n;
    }
    return static_cast<std::uint32_t>(crc);
}

}  // namespace

TBytes ModelQueryReply(std::span<const std::uint8_t> challenge, std::string_view modelName) {
    TBytes reply = {0x1B, 0x1D, 0x1E, 0x04, 0x0F};
    PutLe32(reply, Crc32(challenge));
    reply.push_back(0x00);
    reply.push_back(0x00);
    const std::size_t n = std::min<std::size_t>(modelName.size(), 255);
    reply.push_back(static_cast<std::uint8_t>(n));
    reply.insert(reply.end(), modelName.begin(),
                 modelName.begin() + static_cast<std::ptrdiff_t>(n));
    reply.insert(reply.end(), {0x1B, 0x1D, 0x1F});
    return reply;
}

TBytes PackMenu(std::span<const std::uint8_t> menu) {
    if (menu.size() > 0xFFFFFFFFu) throw std::length_error("menu too large to pack");
    uLongf packedSize = compressBound(static_cast<uLong>(menu.size()));
    TBytes packed(packedSize);
    if (compress2(packed.data(), &packedSize, menu.data(), static_cast<uLong>(menu.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        throw std::runtime_error("menu compression failed");
    packed.resize(packedSize);

    TBytes file = {0x51, 0x4B, 0x01, 0x00};
    PutLe32(file, static_cast<std::uint32_t>(menu.size()));
    PutLe32(file, Crc32(menu));
    PutLe32(file, static_cast<std::uint32_t>(packed.size()));
    file.insert(file.end(), packed.begin(), packed.end());
    return file;
}

TBytes MenuReplyHead(std::uint32_t transferLength) {
    TBytes head = {0x1B, 0x1D, 0x1E, 0x06, 0x03};
    PutLe32(head, transferLength);
    head.push_back(0x00);
    head.push_back(0x00);
    return head;
}

}  // namespace ps::emu
