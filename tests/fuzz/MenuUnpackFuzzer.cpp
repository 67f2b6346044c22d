// SPDX-License-Identifier: MIT
// Fuzz target: the menu-download decoders take any reply. The model name and the packed-menu
// unpacker must never read outside the reply, fail only with our own error, and a menu packed
// here must come back byte for byte.
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "FuzzSupport.h"
#include "scheme/PackedMenu.h"

using ps::fuzz::Check;

namespace {

// The packed form: header, unpacked size, eight bytes we leave zero, the zlib stream.
std::vector<std::uint8_t> Pack(const std::vector<std::uint8_t>& menu) {
    uLongf packedSize = compressBound(static_cast<uLong>(menu.size()));
    std::vector<std::uint8_t> out(16 + packedSize);
    std::copy(std::begin(ps::kPackedMenuHeader), std::end(ps::kPackedMenuHeader), out.begin());
    ps::WriteLE32(out.data() + 4, static_cast<std::uint32_t>(menu.size()));
    Check(compress(out.data() + 16, &packedSize, menu.data(), static_cast<uLong>(menu.size())) ==
          Z_OK);
    out.resize(16 + packedSize);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Exact-size copies, so a read past the end is caught.
    const std::vector<std::uint8_t> reply(data, data + size);
    if (auto name = ps::ModelNameFromReply(reply)) Check(name->size() <= 32);
    try {
        (void)ps::UnpackMenuPayload(reply);
    } catch (const ps::EMenuUnpackError&) {
    }

    // The input as a menu, packed behind some leading reply bytes (never the header's first).
    if (size == 0) return 0;
    const std::size_t lead = data[0] % 8;
    std::vector<std::uint8_t> payload(lead, 0x1B);
    const std::vector<std::uint8_t> menu(data + 1, data + size);
    const auto packed = Pack(menu);
    payload.insert(payload.end(), packed.begin(), packed.end());
    const auto unpacked = ps::UnpackMenuPayload(payload);
    Check(unpacked && *unpacked == menu);
    return 0;
}
