// SPDX-License-Identifier: MIT
// The emulated printer carrying each shipped scheme answers page reads that the program's own
// decoder reads back, and takes every item write of the scheme.
#include <gtest/gtest.h>

#include <algorithm>

#include "EmulatorTestSupport.h"
#include "emulator/IniText.h"
#include "emulator/ItemTable.h"
#include "scheme/ValueCodec.h"

namespace ps::emu {
namespace {

using test::TManualClock;

struct TShipped {
    std::filesystem::path scheme;
    std::filesystem::path menu;  // empty: the scheme holds its items
};

std::vector<TShipped> ShippedSchemes() {
    std::vector<TShipped> out;
    const auto dir = ps::test::SourceDir() / "resources" / "Scheme";
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        const std::string name = entry.path().filename().string();
        const auto cut = name.rfind("_Settings.Dat");
        if (cut == std::string::npos) continue;
        TShipped shipped{entry.path(), {}};
        if (ReadIniFile(entry.path()).ReadInteger("GlobalSettings", "MenuVersion", 0) == 1)
            shipped.menu = dir / (name.substr(0, cut) + "_Menu.Dat");
        out.push_back(shipped);
    }
    return out;
}

// A value an item of this width can hold, other than its factory value.
std::int32_t OtherValue(const TSchemeItem& item) {
    if (item.width == 3) return item.defaultValue == 0x800000 ? 0x400000 : 0x800000;
    return item.defaultValue == 1 ? 2 : 1;
}

TEST(EmulatorShippedSchemes, PageReadsAndWritesOfEveryItem) {
    // The program ships these two; a scheme that goes missing or is no longer found (a wrong
    // folder, a renamed file) must fail here, not skip.
    const auto schemes = ShippedSchemes();
    std::vector<std::string> names;
    for (const TShipped& shipped : schemes)
        names.push_back(shipped.scheme.filename().string() + " " +
                        shipped.menu.filename().string());
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names, (std::vector<std::string>{"QJ-760_Settings.Dat QJ-760_Menu.Dat",
                                               "QR-520_Settings.Dat "}));
    for (const TShipped& shipped : schemes) {
        SCOPED_TRACE(shipped.scheme.filename().string());
        const TIniFile schemeIni = ReadIniFile(shipped.scheme);
        const TIniFile menuIni = ReadIniFile(shipped.menu.empty() ? shipped.scheme : shipped.menu);
        const TSchemeTable table = LoadSchemeTable(&schemeIni, &menuIni);
        const auto items = table.CodedItems();
        ASSERT_FALSE(items.empty());
        ASSERT_LT(items.size(), 256u);

        ps::test::TTempDir dir;
        TManualClock clock;
        TDeviceConfig config;
        config.schemeFile = shipped.scheme;
        config.menuFile = shipped.menu;
        TEmulatedDevice device(config, dir.Path(), clock);

        std::string read =
            "1B 1D 1E 05 03 " +
            BytesToSpacedHex(std::vector<std::uint8_t>{static_cast<std::uint8_t>(items.size())});
        std::string write = "1B 1D 1E 05 01 1B 1D 1F";
        std::vector<std::uint32_t> widths;
        for (const TSchemeItem* item : items) {
            read += " " + BytesToSpacedHex(std::vector<std::uint8_t>{*item->code});
            widths.push_back(static_cast<std::uint32_t>(item->width));
            // Items whose set command is a whole frame of its own take no value.
            if (item->setHead.empty() || item->icon == "NormalSet") continue;
            write += " " + BytesToSpacedHex(item->setHead) + " " +
                     BytesToSpacedHex(ValueToBytes(widths.back(), OtherValue(*item))) + " 1B 1D 1F";
        }
        read += " 1B 1D 1F";
        write += " 1B 1D 1E 05 02 1B 1D 1F";

        auto decode = [&](const std::string& reply) {
            const auto bytes = test::Hex(reply);
            return DecodePageReply(bytes.data(), static_cast<int>(bytes.size()), widths);
        };
        auto before = decode(test::Exchange(device, "usb", read));
        ASSERT_EQ(before.size(), items.size());
        for (std::size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(before[i].code, *items[i]->code);
            EXPECT_EQ(before[i].value, items[i]->defaultValue) << items[i]->section;
        }
        test::Exchange(device, "monitor", write);
        auto after = decode(test::Exchange(device, "usb", read));
        ASSERT_EQ(after.size(), items.size());
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i]->setHead.empty() || items[i]->icon == "NormalSet") continue;
            EXPECT_EQ(after[i].value, OtherValue(*items[i])) << items[i]->section;
        }
    }
}

}  // namespace
}  // namespace ps::emu
