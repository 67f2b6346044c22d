// SPDX-License-Identifier: MIT
// The ground of the device dialog tests: an inkjet printer "Talvenor Jet" whose maintenance
// page holds one item per device dialog, behind the emulated device "jet".
#pragma once

#include <QApplication>
#include <QSlider>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "localisation/Scheme.h"
#include "printer/Globals.h"
#include "scheme/Scheme3.h"
#include "support/TestScheme.h"
#include "support/UiTestSupport.h"

namespace ps::test {

/// What the tests vary in the printer's scheme.
struct TDeviceSchemeParts {
    std::string settingCommand = "6A3C";
    std::string adjustRule{};  // default: -10..10, one value per position
    std::string horizontalName = "Ink_Horizontal2";
    std::string normalSetInstruction = "1B 1D 1E 10 77 1B 1D 1F";
    std::string normalSetRule = "0=6,1=2";
    int normalSetPage = 99;
};

/// A port-monitor transmission as commands.log shows it.
inline std::string Monitor(const std::string& hex) {
    return "monitor " + hex;
}

class DeviceDialogTest : public TUiFixture {
protected:
    // The texts the expected boxes name, before the program loads them.
    void SetUp() override {
        InstallTestPlatform();
        LoadGlobalStrings("RESSTRING", 0x0409);
    }

    static constexpr const char* kPrinter = "Talvenor Jet";
    // The maintenance page, in this order.
    enum TSlot {
        kAdjust,
        kInquiry,
        kInquiry2,
        kDry,
        kHorizontal,
        kTimer,
        kLock,
        kNormalSet,
        kFeed,
        kFirmware,
        kSlotCount
    };

    using TSchemeParts = TDeviceSchemeParts;

    static std::vector<TTestItem> Items(const TSchemeParts& parts) {
        auto item = [](const char* icon, const char* title, const char* code) {
            TTestItem it{icon, title, code, "0=Read", 1, std::string(title) + " heading"};
            it.explain = std::string(title) + " explained";
            return it;
        };
        std::vector<TTestItem> items = {item("Ink_Adjust", "Adjustment", "66"),
                                        item("Ink_Inquiry", "Counters", "67"),
                                        item("Ink_Inquiry2", "Total pages", "70"),
                                        item("Ink_Dry", "Drying time", "68"),
                                        item("Ink_Horizontal", "Alignment", "69"),
                                        item("Ink_Timer", "Clock", "6A"),
                                        item("Ink_Lock", "Locks", "6B"),
                                        item("NormalSet", "Direct option", "6C"),
                                        item("InkJet_FeedPrecision", "Feed precision", "6D"),
                                        item("Ink_FirewareVersion", "Firmware", "6E")};
        items[kAdjust].rule = parts.adjustRule;
        if (parts.adjustRule.empty()) {
            items[kAdjust].rule = "Min=-10,Max=10,Step=1,DisplayAdd=0";
            items[kAdjust].ruleType = "SERIAL";
        }
        items[kAdjust].setInstruction = "1B 1D 1E 11 02";
        items[kHorizontal].name = parts.horizontalName;
        items[kNormalSet].setInstruction = parts.normalSetInstruction;
        items[kNormalSet].rule = parts.normalSetRule;
        items[kFeed].defaultValue = 6;
        return items;
    }

    /// The printer on `port` (a "USB..." port is listed by the vendor library).
    TEmulationDirBuilder::TSection& Printer(const TSchemeParts& parts = TSchemeParts(),
                                            const std::string& port = "USB001") {
        TTestScheme scheme;
        scheme.Global("SettingCommand", parts.settingCommand).Global("PrinterName", "Talvenor Jet");
        scheme.Index(99, "99_MAINTENANCE", "Maintenance").Index(100, "100_SETTINGS", "Basic");
        std::vector<TTestItem> items = Items(parts);
        if (parts.normalSetPage == kPageBase) {
            scheme.Page(100, {items[kNormalSet]});
        } else {
            scheme.Page(100, TTestScheme::NumberedItems(1, 0x50));
        }
        scheme.Page(99, items);
        m_Dir.Write("schemes/jet_Settings.Dat", scheme.Text());
        m_Builder
            .Device("jet", port.find("USB") == 0 ? port : std::string(), "MFG:Talvenor;MDL:Jet;")
            .Set("Scheme", "schemes/jet_Settings.Dat");
        return m_Builder.Printer(kPrinter, port)
            .Set("DriverName", "Talvenor Jet")
            .Set("DependentFiles", "drivers/3/UI.DLL|schemes/jet_Settings.Dat")
            .Set("Device", "jet");
    }
    TEmulationDirBuilder::TSection& Device() { return m_Builder.Device("jet"); }
    /// The printer's section with another port.
    TEmulationDirBuilder::TSection& MovePrinter(const std::string& port) {
        return m_Builder.Printer(kPrinter, port);
    }

    /// Starts the program again on the emulation as the builder now describes it (the
    /// printer keeps its state.ini, as between two runs) with an empty command log.
    void Restart() {
        DestroyMainWindow();  // the maintenance run mode ends with a values report
        Install();
        std::filesystem::remove(m_Builder.DeviceDir("jet") / "commands.log");
    }

    /// Starts on the maintenance page (once) and opens the dialog of a slot as the main window
    /// does.
    template <typename TDialog>
    std::unique_ptr<TDialog> Open(int slot, std::uint8_t page = kPageMaintenance) {
        if (!MainWindow()) {
            EXPECT_EQ(StartUp({kPrinter, "99"}), 0);
        }
        g_CurrentPage = page;
        g_CurrentItem = slot;
        auto dialog = std::make_unique<TDialog>();
        dialog->show();
        QApplication::processEvents();
        return dialog;
    }

    /// The transmissions the printer received, "route HEX HEX ...".
    std::vector<std::string> Sent() const { return Commands("jet"); }
    std::string LastSent() const {
        const auto lines = Sent();
        return lines.empty() ? std::string() : lines.back();
    }

    /// Moves a track bar as a user does with the keyboard.
    static void Key(QSlider* slider, Qt::Key key, int times = 1) {
        for (int i = 0; i < times; ++i) QTest::keyClick(slider, key);
    }

    void ExpectBox(const std::string& caption, const std::string& text, TMessageIcon icon,
                   TMessageResult answer = TMessageResult::Ok) {
        m_Boxes.Expect(caption, text, icon, answer);
    }
};

}  // namespace ps::test
