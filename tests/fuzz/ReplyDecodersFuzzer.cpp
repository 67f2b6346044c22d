// SPDX-License-Identifier: MIT
// Fuzz target: the value reply decoders, the device function decoders and the worker's reply
// copy take any bytes. Nothing may be read beyond the reply or written beyond the caller's
// buffer, and the decoded entries must agree with the bytes they came from.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "device/DeviceCodecs.h"
#include "device/DeviceCommandSets.h"
#include "device/DeviceCommands.h"
#include "device/DirectOption.h"
#include "scheme/ValueCodec.h"
#include "transport/ThreadRWPrinter.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void FuzzPageReply(const std::uint8_t* data, std::size_t size) {
    // The first byte chooses the page's parameter counts, the rest is the reply.
    std::vector<std::uint32_t> params;
    for (int i = 0; i < 8; ++i) params.push_back((data[0] >> (i % 4)) & 3);
    std::vector<std::uint8_t> reply(data + 1, data + size);  // exact size: overreads are caught
    const auto entries = ps::DecodePageReply(reply.data(), static_cast<int>(reply.size()), params);
    if (reply.size() <= 6) {
        Check(entries.empty());
        return;
    }
    Check(entries.size() <= reply[5]);
    std::size_t pos = 6;
    for (std::size_t k = 0; k < entries.size(); ++k) {
        Check(pos + 1 < reply.size());
        Check(entries[k].code == reply[pos]);
        const int L = reply[pos + 1];
        Check(L >= 1 && L <= 3 && pos + 2 + L <= reply.size());
        auto value = ps::DecodeItemValue(&reply[pos + 2], L, k < params.size() ? params[k] : 0);
        Check(value && *value == entries[k].value);
        pos += 2 + static_cast<std::size_t>(L);
    }
    for (const auto& entry : entries) {
        char name[3];
        std::snprintf(name, sizeof name, "%02x", entry.code);
        auto found = ps::FindReplyValue(entries, name);
        Check(found.has_value());
    }
}

void FuzzGetData(const std::uint8_t* data, std::size_t size) {
    if (size < 8) return;
    static ps::TRWPrinter worker;  // the 32 KB buffer lives in the object: make it once
    std::int32_t capacity = static_cast<std::int32_t>((data[0] | data[1] << 8) % 40000) - 1;
    std::int32_t lastRead = static_cast<std::int32_t>(data[2] | data[3] << 8);
    const bool frame = data[4] & 1;
    data += 8;
    size -= 8;
    const std::size_t n = size < ps::kRWPrinterBufferSize ? size : ps::kRWPrinterBufferSize;
    std::memcpy(worker.m_Buf.data(), data, n);
    worker.m_nRet = static_cast<std::int32_t>(n);
    worker.m_iLastRead = lastRead;
    std::vector<std::uint8_t> destination(static_cast<std::size_t>(capacity + 1));
    std::int32_t length = -5;
    if (worker.GetData(destination.data(), capacity, length, frame)) {
        Check(length >= 0 && length <= capacity + 1);
        Check(length == 0 ||
              std::memcmp(destination.data(), worker.m_Buf.data() + (n - length), length) == 0);
    } else {
        Check(length == 0 || length == -5);
    }
}

// Every device read decodes any reply, taking only bytes that came back: a reply shorter than
// the read asks for may fail, but never reads past its end.
void FuzzDeviceReplies(const std::uint8_t* data, std::size_t size) {
    static const char* const kSets[] = {"6A3C", "6B21", "6B22", "6B58", "7D05",
                                        "7E40", "4E17", "5C90", ""};
    const ps::TDeviceCommandSet& set = ps::DeviceCommandSet(kSets[data[0] % 9]);
    const int mode = data[0] >> 4;
    const std::vector<std::uint8_t> reply(data + 1, data + size);
    const ps::TReplyView view(reply.data(), static_cast<std::int32_t>(reply.size()));
    const ps::TDeviceRead reads[] = {
        ps::InkAdjustRead(set, mode % 6 + 1),
        ps::CounterRead(ps::kCounterTotalPages, 10),
        ps::DryingTimeRead(set),
        ps::AlignmentRead(data[0] & 1),
        ps::ClockRead(),
        ps::FeedPrecisionRead(set, mode % 4),
    };
    for (const auto& read : reads) {
        const auto value = read.decode(view);
        if (reply.empty()) Check(!value);
    }
    if (reply.size() >= 8) Check(ps::FormatFirmwareVersion(reply.data()).size() == 21);
    // The direct option answer at offsets taken from the first bytes.
    if (reply.size() >= 2) {
        const ps::TAnswerBytes bytes{static_cast<std::int8_t>(reply[0]),
                                     static_cast<std::int8_t>(reply[1])};
        if (const auto text = ps::AnswerText(view, bytes))
            Check(text->size() ==
                  (bytes.count > 0 ? 3 * static_cast<std::size_t>(bytes.count) : 0));
    }
    for (int b = 0; b < 256; b += 37) {
        const auto byte = static_cast<std::uint8_t>(b ^ data[0]);
        for (int cut :
             {ps::kInkAdjustFirstNegative, ps::kAlignmentFirstNegative, ps::kFeedFirstNegative}) {
            const auto encoded = ps::EncodeCutByte(ps::DecodeCutByte(byte, cut), cut);
            Check(encoded && *encoded == byte);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    FuzzPageReply(data, size);
    FuzzGetData(data, size);
    FuzzDeviceReplies(data, size);
    return 0;
}
