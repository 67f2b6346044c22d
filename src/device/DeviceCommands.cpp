// SPDX-License-Identifier: MIT
// Device function commands.
#include "device/DeviceCommands.h"

#include <cstdio>

#include "device/DeviceCodecs.h"
#include "scheme/Scheme3.h"

namespace ps {
namespace {

constexpr std::int32_t kInkAdjustReplyWanted = 11;
constexpr std::int32_t kDryingTimeReplyWanted = 10;
constexpr std::int32_t kAlignmentByteReplyWanted = 10;
constexpr std::int32_t kAlignment16ReplyWanted = 11;
constexpr std::int32_t kClockReplyWanted = 10;
constexpr std::int32_t kFeedReplyWanted = 64;

// The commit that makes register writes take effect.
const TBytes kCommit = {0x1B, 0x1D, 0x1E, 0x10, 0x00, 0x01, 0x1B, 0x1D, 0x1F};

[[noreturn]] void OutOfRange(const std::string& what, std::int64_t value, std::int64_t low,
                             std::int64_t high) {
    throw EConvertError("The " + what + " " + std::to_string(value) +
                        " cannot be sent to the printer: it takes " + std::to_string(low) + " to " +
                        std::to_string(high) + ".");
}

std::uint8_t Byte(std::int64_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

TBytes WithCommit(TBytes write) {
    write.insert(write.end(), kCommit.begin(), kCommit.end());
    return write;
}

std::string Hex2(unsigned value) {
    char text[4];
    std::snprintf(text, sizeof text, "%.2X", value & 0xFFu);
    return text;
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

TBytes Framed(std::initializer_list<std::uint8_t> body) {
    TBytes bytes = {0x1B, 0x1D, 0x1E};
    bytes.insert(bytes.end(), body.begin(), body.end());
    bytes.insert(bytes.end(), {0x1B, 0x1D, 0x1F});
    return bytes;
}

TDeviceRead InkAdjustRead(const TDeviceCommandSet& set, int mode) {
    return {Framed({0x12, 0x02, 0x01, ModeByte(set.inkReadMode, mode)}), kInkAdjustReplyWanted,
            [set](const TReplyView& reply) -> std::optional<std::int64_t> {
                const auto b = reply.Byte(7);
                if (!b) return std::nullopt;
                return DecodeInkAdjust(*b, set);
            }};
}

TBytes InkCheckPattern(const TDeviceCommandSet& set, int mode) {
    return Framed({0x10, 0x10, 0x01, ModeByte(set.inkPrintMode, mode)});
}

TBytes InkResultPattern(const TDeviceCommandSet& set, int mode) {
    return Framed({0x10, 0x10, 0x02, ModeByte(set.inkResultMode, mode)});
}

TBytes InkAdjustWrite(const TSettingItem& item, const TDeviceCommandSet& set, int mode,
                      std::int64_t value, const std::string& instructionTail) {
    const std::string_view code = ModeCode(set.inkWriteCode, mode);
    if (code.empty())
        throw EConvertError("The print mode " + std::to_string(mode) +
                            " has no adjustment command on this printer.");
    const auto b = EncodeInkAdjust(value, set);
    if (!b) {
        const std::int64_t low = kInkAdjustFirstNegative - 256, high = kInkAdjustFirstNegative - 1;
        if (set.bInkAdjustHalved) OutOfRange("adjustment value", value, low / 2, high / 2);
        OutOfRange("adjustment value", value, low, high);
    }
    const std::string text = "1B 1D 1E 10 00 00 1B 1D 1F " + Trimmed(item.SetInstruction) + " " +
                             std::string(code) + " " + Hex2(*b) + " " + instructionTail + " " +
                             "1B 1D 1E 10 00 01 1B 1D 1F";
    return SpacedHexToBytes(text);
}

TDeviceRead CounterRead(std::uint8_t sub, std::int32_t replyLength) {
    return {Framed({0x12, 0x07, sub}), replyLength,
            [](const TReplyView& reply) -> std::optional<std::int64_t> {
                const auto low = reply.LE16(6), high = reply.LE16(8);
                if (!low || !high) return std::nullopt;
                return std::int64_t{*low} | std::int64_t{*high} << 16;
            }};
}

TDeviceRead DryingTimeRead(const TDeviceCommandSet& set) {
    const bool steps = set.bDryingTimeInSteps;
    return {Framed({0x12, 0x09}), kDryingTimeReplyWanted,
            [steps](const TReplyView& reply) -> std::optional<std::int64_t> {
                if (steps) {
                    const auto b = reply.Byte(5);
                    if (!b) return std::nullopt;
                    return *b;
                }
                const auto raw = reply.LE16(5);
                if (!raw) return std::nullopt;
                return *raw / 50;
            }};
}

TBytes DryingTimeWrite(const TDeviceCommandSet& set, std::int32_t position) {
    const std::int64_t value = DryingTimeValue(position, set);
    if (value < 0 || value > 0xFFFF) OutOfRange("drying time", value, 0, 0xFFFF);
    return WithCommit(Framed({0x11, 0x1D, Byte(value), Byte(value >> 8)}));
}

TDeviceRead AlignmentRead(bool byteVariant) {
    if (byteVariant)
        return {Framed({0x12, 0x16, 0x00}), kAlignmentByteReplyWanted,
                [](const TReplyView& reply) -> std::optional<std::int64_t> {
                    const auto b = reply.Byte(6);
                    if (!b) return std::nullopt;
                    return DecodeCutByte(*b, kAlignmentFirstNegative);
                }};
    return {Framed({0x12, 0x14, 0x00}), kAlignment16ReplyWanted,
            [](const TReplyView& reply) -> std::optional<std::int64_t> {
                const auto raw = reply.LE16(6);
                if (!raw) return std::nullopt;
                return DecodeAlignment16(*raw);
            }};
}

TBytes AlignmentWrite(bool byteVariant, std::int32_t position) {
    if (byteVariant) {
        const auto b = EncodeCutByte(position, kAlignmentFirstNegative);
        if (!b)
            OutOfRange("alignment value", position, kAlignmentFirstNegative - 256,
                       kAlignmentFirstNegative - 1);
        return WithCommit(Framed({0x11, 0x31, 0x00, *b}));
    }
    const std::int64_t value = AlignmentValue(position);
    if (value < -0x8000 || value > 0x7FFF) OutOfRange("alignment value", value, -0x8000, 0x7FFF);
    return WithCommit(Framed({0x11, 0x31, 0x00, Byte(value), Byte(value >> 8)}));
}

TBytes AlignmentTestPage() {
    return Framed({0x10, 0x25, 0x00});
}

TBytes LockCommand(TLockCommand which) {
    switch (which) {
        case TLockCommand::ScreenUnlock:
            return Framed({0x10, 0x38, 0x02, 0x05, 0x1E});
        case TLockCommand::PaperBoxUnlock:
            return Framed({0x10, 0x38, 0x01, 0x04});
        case TLockCommand::PaperBoxLock:
            break;
    }
    return Framed({0x10, 0x38, 0x01, 0x03});
}

TDeviceRead ClockRead() {
    return {Framed({0x12, 0x0E}), kClockReplyWanted,
            [](const TReplyView& reply) -> std::optional<std::int64_t> {
                const auto low = reply.LE16(5), high = reply.LE16(7);
                if (!low || !high) return std::nullopt;
                return std::int64_t{*low} | std::int64_t{*high} << 16;
            }};
}

TBytes ClockWrite(std::int64_t seconds) {
    if (seconds < 0 || seconds > 0xFFFFFFFFLL) OutOfRange("clock value", seconds, 0, 0xFFFFFFFFLL);
    TBytes write = Framed(
        {0x10, 0x1D, Byte(seconds), Byte(seconds >> 8), Byte(seconds >> 16), Byte(seconds >> 24)});
    const TBytes apply = Framed({0x11, 0x01});
    write.insert(write.end(), apply.begin(), apply.end());
    return write;
}

TDeviceRead FeedPrecisionRead(const TDeviceCommandSet& set, int mode) {
    if (set.bFeedPerMode)
        return {Framed({0x12, 0x16, 0x00, Byte(mode)}), kFeedReplyWanted,
                [](const TReplyView& reply) -> std::optional<std::int64_t> {
                    const auto b = reply.Byte(7);
                    if (!b) return std::nullopt;
                    return *b;
                }};
    return {Framed({0x12, 0x14, 0x00}), kFeedReplyWanted,
            [](const TReplyView& reply) -> std::optional<std::int64_t> {
                const auto b = reply.Byte(6);
                if (!b) return std::nullopt;
                return DecodeCutByte(*b, kFeedFirstNegative);
            }};
}

TBytes FeedPrecisionWrite(const TDeviceCommandSet& set, int mode, std::int32_t position) {
    if (set.bFeedPerMode) {
        if (position < 0 || position > 0xFF) OutOfRange("feed precision", position, 0, 0xFF);
        return WithCommit(Framed({0x11, 0x31, 0x00, Byte(mode), Byte(position)}));
    }
    const auto b = EncodeCutByte(position, kFeedFirstNegative);
    if (!b)
        OutOfRange("feed precision", position, kFeedFirstNegative - 256, kFeedFirstNegative - 1);
    return WithCommit(Framed({0x11, 0x31, 0x00, *b}));
}

TBytes FeedCheckPattern(const TDeviceCommandSet& set, int mode) {
    if (set.bFeedPerMode) return Framed({0x10, 0x25, 0x00, Byte(mode)});
    return Framed({0x10, 0x25, 0x00});
}

TBytes FirmwareVersionCommand() {
    return Framed({0x12, 0x01});
}

}  // namespace ps
