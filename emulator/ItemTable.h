// SPDX-License-Identifier: MIT
// What the emulated printer knows from the scheme it carries: the protocol instructions and
// its setting items (code, set command, value width, factory value).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "Frames.h"

namespace ps {
class TIniFile;
}

namespace ps::emu {

/// One setting item as the printer implements it.
struct TSchemeItem {
    std::string section;               // where it came from, for messages
    std::string name;                  // "Name"
    std::string icon;                  // "Icon"
    std::optional<std::uint8_t> code;  // "GetInstruction" when it is exactly one byte
    TBytes setHead;                    // "SetInstruction" as bytes (the frame up to the value)
    int width = 1;                     // "ParameterCount", 1..3
    std::int32_t defaultValue = 0;     // "Default"
};

/// The protocol settings and the items of a scheme (and of the menu it serves).
struct TSchemeTable {
    TBytes enter;                // "EnterInstruction"
    TBytes save;                 // "SaveInstruction"
    TBytes readClass;            // "GetInstructionClass"
    TBytes tail;                 // "InstructionTail"
    TBytes replyHead;            // five bytes every value reply starts with (see BuildReplyHead)
    std::string settingCommand;  // "SettingCommand"
    std::string printerName;     // "PrinterName"
    std::vector<TSchemeItem> items;

    /// The first item with this code.
    const TSchemeItem* FindByCode(std::uint8_t code) const;
    /// Items whose code is known, first of each code only, in scheme order.
    std::vector<const TSchemeItem*> CodedItems() const;
};

/// Reads the global settings of `scheme` and the item pages of `scheme` and `menu` (either may
/// be null). Missing instructions take the protocol's defaults.
TSchemeTable LoadSchemeTable(const TIniFile* scheme, const TIniFile* menu);

/// The five bytes a value reply starts with: the scheme's reply prefix, completed from the
/// read class when shorter (the count byte always sits at offset 5).
TBytes BuildReplyHead(const TBytes& returnPrefix, const TBytes& readClass);

/// Value bytes of an item of `width` bytes: one byte (negative + 256), two bytes (sign and
/// magnitude, low byte first) or a 24-bit mask (high byte first).
TBytes EncodeItemValue(std::int32_t value, int width);

/// The value a printer stores for written value bytes (the inverse of EncodeItemValue; one
/// byte C0..FF reads as -64..-1). Nothing for an empty or over-long span.
std::optional<std::int32_t> DecodeItemValueBytes(std::span<const std::uint8_t> bytes);

}  // namespace ps::emu
