// SPDX-License-Identifier: MIT
// The commands of the device function dialogs: each read as the command, the reply length it
// asks for and how the value is taken from the reply; each write as its bytes. A write whose
// value the printer could not carry throws EConvertError before anything is sent.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "base/Lib_String.h"
#include "device/DeviceCommandSets.h"
#include "scheme/ReplyView.h"

namespace ps {

struct TSettingItem;

/// One read: command, wanted reply length, and the value from the reply (nothing when the
/// reply does not hold the bytes the value is made of).
struct TDeviceRead {
    TBytes command;
    std::int32_t replyLength = 0;
    std::function<std::optional<std::int64_t>(const TReplyView&)> decode;
};

/// 1B 1D 1E body 1B 1D 1F.
TBytes Framed(std::initializer_list<std::uint8_t> body);

// Ink adjustment (mode 1..6).
TDeviceRead InkAdjustRead(const TDeviceCommandSet& set, int mode);
TBytes InkCheckPattern(const TDeviceCommandSet& set, int mode);
TBytes InkResultPattern(const TDeviceCommandSet& set, int mode);
/// "1B 1D 1E 10 00 00 1B 1D 1F SetInstruction MODE VV Tail 1B 1D 1E 10 00 01 1B 1D 1F" as
/// bytes; the value goes through the set's encoding. Throws for a value out of range or a
/// mode the set has no code for.
TBytes InkAdjustWrite(const TSettingItem& item, const TDeviceCommandSet& set, int mode,
                      std::int64_t value, const std::string& instructionTail);

// Counters: sub 02 the black ink box pages, 05 the total pages; bytes 6-9 unsigned.
inline constexpr std::uint8_t kCounterInkBoxPages = 0x02;
inline constexpr std::uint8_t kCounterTotalPages = 0x05;
TDeviceRead CounterRead(std::uint8_t sub, std::int32_t replyLength);

// Drying time (track-bar position 0..4).
TDeviceRead DryingTimeRead(const TDeviceCommandSet& set);
TBytes DryingTimeWrite(const TDeviceCommandSet& set, std::int32_t position);

// Alignment: the byte variant (position -5..4) or the 16-bit one (position 1..12; the read
// gives the position).
TDeviceRead AlignmentRead(bool byteVariant);
TBytes AlignmentWrite(bool byteVariant, std::int32_t position);
TBytes AlignmentTestPage();

// Locks.
enum class TLockCommand { ScreenUnlock, PaperBoxUnlock, PaperBoxLock };
TBytes LockCommand(TLockCommand which);

// Printer clock.
TDeviceRead ClockRead();
/// Sets and applies the clock; throws for a value outside 0..FFFFFFFF.
TBytes ClockWrite(std::int64_t seconds);

// Feed precision: mode 0..3 of the 6B22 set, else the single correction -5..5.
TDeviceRead FeedPrecisionRead(const TDeviceCommandSet& set, int mode);
TBytes FeedPrecisionWrite(const TDeviceCommandSet& set, int mode, std::int32_t position);
TBytes FeedCheckPattern(const TDeviceCommandSet& set, int mode);

// Firmware version: the eight reply bytes of version and date.
inline constexpr std::int32_t kFirmwareReplyWanted = 64;
inline constexpr std::int32_t kFirmwareReplyBytes = 8;
TBytes FirmwareVersionCommand();

}  // namespace ps
