// SPDX-License-Identifier: MIT
// Loading the emulated printer's item table from scheme and menu files; value bytes.
#include "ItemTable.h"

#include <cstdio>
#include <set>

#include "base/IniFile.h"
#include "base/Lib_String.h"

namespace ps::emu {
namespace {

constexpr const char* kGlobal = "GlobalSettings";

struct TPage {
    const char* countSection;
    const char* itemFormat;
};
constexpr TPage kPages[] = {
    {"BaseSection", "BaseItem%.2d"},
    {"AdvanceSection", "AdvanceItem%.2d"},
    {"MaintenanceSection", "MaintenanceItem%.2d"},
    {"SubGroup01", "SubGroup01Item%.2d"},
    {"SubGroup02", "SubGroup02Item%.2d"},
    {"SubGroup64", "SubGroup64Item%.2d"},
};
// A page count beyond this is a broken file, not a menu.
constexpr int kMaxItemsPerPage = 1000;

TBytes Hex(std::string_view text) {
    std::string s = HexString2AnsiString(text, false);
    return TBytes(s.begin(), s.end());
}

TBytes HexKey(const TIniFile* ini, const char* key, const char* def) {
    if (!ini) return Hex(def);
    return Hex(ini->ReadString(kGlobal, key, def));
}

void LoadItems(const TIniFile& ini, std::vector<TSchemeItem>& items) {
    for (const TPage& page : kPages) {
        int count = ini.ReadInteger(page.countSection, "ItemCount", 0);
        if (count > kMaxItemsPerPage) count = kMaxItemsPerPage;
        for (int i = 1; i <= count; ++i) {
            char section[64];
            std::snprintf(section, sizeof section, page.itemFormat, i);
            TSchemeItem item;
            item.section = section;
            item.name = ini.ReadString(section, "Name", "");
            item.icon = ini.ReadString(section, "Icon", "");
            TBytes get = Hex(ini.ReadString(section, "GetInstruction", ""));
            if (get.size() == 1) item.code = get[0];
            item.setHead = Hex(ini.ReadString(section, "SetInstruction", ""));
            int width = ini.ReadInteger(section, "ParameterCount", 1);
            item.width = width < 1 ? 1 : (width > 3 ? 3 : width);
            item.defaultValue = ini.ReadInteger(section, "Default", 0);
            if (item.code || !item.setHead.empty() || !item.icon.empty())
                items.push_back(std::move(item));
        }
    }
}

}  // namespace

const TSchemeItem* TSchemeTable::FindByCode(std::uint8_t code) const {
    for (const TSchemeItem& item : items)
        if (item.code == code) return &item;
    return nullptr;
}

std::vector<const TSchemeItem*> TSchemeTable::CodedItems() const {
    std::vector<const TSchemeItem*> out;
    std::set<std::uint8_t> seen;
    for (const TSchemeItem& item : items)
        if (item.code && seen.insert(*item.code).second) out.push_back(&item);
    return out;
}

TBytes BuildReplyHead(const TBytes& returnPrefix, const TBytes& readClass) {
    static const TBytes kDefault = {0x1B, 0x1D, 0x1E, 0x05, 0x03};
    TBytes head(returnPrefix.begin(),
                returnPrefix.begin() +
                    static_cast<std::ptrdiff_t>(std::min<std::size_t>(returnPrefix.size(), 5)));
    const TBytes& fill = readClass.size() >= 5 ? readClass : kDefault;
    while (head.size() < 5) head.push_back(fill[head.size()]);
    return head;
}

TSchemeTable LoadSchemeTable(const TIniFile* scheme, const TIniFile* menu) {
    TSchemeTable table;
    table.enter = HexKey(scheme, "EnterInstruction", "1B 1D 1E 05 01 1B 1D 1F");
    table.save = HexKey(scheme, "SaveInstruction", "1B 1D 1E 05 02 1B 1D 1F");
    table.readClass = HexKey(scheme, "GetInstructionClass", "1B 1D 1E 05 03");
    table.tail = HexKey(scheme, "InstructionTail", "1B 1D 1F");
    if (table.tail.empty()) table.tail = {0x1B, 0x1D, 0x1F};
    table.replyHead =
        BuildReplyHead(HexKey(scheme, "ReturnPrefix", "1B 1D 1E 05 03"), table.readClass);
    if (scheme) {
        table.settingCommand = scheme->ReadString(kGlobal, "SettingCommand", "6A3C");
        table.printerName = scheme->ReadString(kGlobal, "PrinterName", "");
        LoadItems(*scheme, table.items);
    } else {
        table.settingCommand = "6A3C";
    }
    if (menu) LoadItems(*menu, table.items);
    return table;
}

TBytes EncodeItemValue(std::int32_t value, int width) {
    const auto v = static_cast<std::uint32_t>(value);
    switch (width) {
        case 1:
            return {static_cast<std::uint8_t>(v & 0xFF)};
        case 2: {
            std::uint32_t raw = v & 0xFFFF;
            if (value < 0) {
                const std::uint32_t magnitude =
                    value == INT32_MIN ? 0x7FFF : static_cast<std::uint32_t>(-value);
                raw = (magnitude & 0x7FFF) | 0x8000;
            }
            return {static_cast<std::uint8_t>(raw & 0xFF), static_cast<std::uint8_t>(raw >> 8)};
        }
        case 3:
            return {static_cast<std::uint8_t>((v >> 16) & 0xFF),
                    static_cast<std::uint8_t>((v >> 8) & 0xFF),
                    static_cast<std::uint8_t>(v & 0xFF)};
        default:
            return {};
    }
}

std::optional<std::int32_t> DecodeItemValueBytes(std::span<const std::uint8_t> b) {
    switch (b.size()) {
        case 1:
            return b[0] < 0xC0 ? b[0] : b[0] - 256;
        case 2: {
            const int raw = b[0] | (b[1] << 8);
            return raw < 0x8000 ? raw : 0x8000 - raw;
        }
        case 3:
            return (b[0] << 16) | (b[1] << 8) | b[2];
        default:
            return std::nullopt;
    }
}

}  // namespace ps::emu
