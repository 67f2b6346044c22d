// SPDX-License-Identifier: MIT
// The ground of the ink maintenance UI tests: an inkjet printer on USB001 with the emulator
// behind it, a maintenance page of chosen ink items, and what the printer received.
#pragma once

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/StartUp.h"
#include "base/IniFile.h"
#include "base/Lib_String.h"
#include "base/TextCodec.h"
#include "localisation/Scheme.h"
#include "platform/Platform.h"
#include "printer/Globals.h"
#include "scheme/Scheme3.h"
#include "support/TestScheme.h"
#include "support/UiTestSupport.h"
#include "transport/UtilDataSend_TimeData.h"
#include "ui/common/QtUserInterface.h"
#include "ui/main/uWaiting.h"
#include "ui/setting/uSetItem.h"

namespace ps::test {

inline const char* const kInkPrinter = "Talvenor Ink";

class TInkFixture : public TUiFixture {
protected:
    static TTestItem InkItem(const std::string& icon, const std::string& name) {
        TTestItem item{icon, name + " title", "60", "0=Do", 1, name + " note"};
        item.name = name;
        item.explain = name + " explained";
        return item;
    }

    /// The printer with `items` on its maintenance page, on command set `commandSet`; returns
    /// the device section for the emulator's keys.
    TEmulationDirBuilder::TSection& Printer(std::vector<TTestItem> items,
                                            const std::string& commandSet = "6B22") {
        TTestScheme scheme;
        scheme.Global("SettingCommand", commandSet);
        scheme.Index(99, "99_MAINTENANCE", "Maintenance").Index(100, "100_SETTINGS", "Basic");
        scheme.Page(100, TTestScheme::NumberedItems(1, 0x50));
        scheme.Page(99, std::move(items));
        m_Builder.Kernel("ProgramPath", "program\\printer-settings.exe");
        AddUsbPrinter(kInkPrinter, "USB001", "ink", scheme.Text());
        return m_Builder.Device("ink");
    }

    /// Another printer on the same scheme, with a device of its own on `port`.
    TEmulationDirBuilder::TSection& OtherPrinter(const std::string& name, const std::string& port,
                                                 const std::string& device) {
        m_Builder.Device(device, port.find("USB") == 0 ? port : "", "MFG:Talvenor;MDL:ink;")
            .Set("Scheme", "schemes/ink_Settings.Dat");
        return m_Builder.Printer(name, port)
            .Set("DriverName", "Talvenor ink")
            .Set("DependentFiles", "drivers/3/UI.DLL|schemes/ink_Settings.Dat")
            .Set("Device", device);
    }

    /// A string printer data value as the emulation keeps it: type 1 and the UTF-16 bytes.
    static std::string StringData(const std::u16string& text) {
        const std::string bytes = Utf16ToBytesLE(text);
        return "1 " +
               BytesToHexText(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }

    /// The "TimeData" record the printer starts with.
    void SeedTimeData(const std::u16string& text) {
        m_Builder.Section("Printer:" + std::string(kInkPrinter))
            .Set("Data.TimeData", StringData(text));
    }

    /// The "TimeData" the program stored for `printer` (empty when it stored none), as the
    /// spooler's state keeps it.
    std::string StoredTimeData(const std::string& printer) const {
        return TIniFile::FromText(SpoolerState())
            .ReadString("Printer:" + printer, "Data.TimeData", "");
    }

    /// Starts on the maintenance page and opens item `index` as the main window does.
    std::unique_ptr<ui::TfrmSetItem> Open(int index) {
        if (!g_SchemeOptions) {
            EXPECT_EQ(StartUp({kInkPrinter, "99"}), kExitDone);
        }
        g_CurrentPage = kPageMaintenance;
        g_CurrentItem = index;
        auto dialog = std::make_unique<ui::TfrmSetItem>();
        dialog->show();
        QApplication::processEvents();
        return dialog;
    }

    /// What the printer received on every route since the last call.
    std::vector<std::string> Sent(const std::string& device = "ink") {
        const std::vector<std::string> all = Commands(device);
        std::size_t& seen = m_Seen[device];
        std::vector<std::string> fresh(all.begin() + static_cast<std::ptrdiff_t>(seen), all.end());
        seen = all.size();
        return fresh;
    }

    static std::u16string TimeData() { return ReadTimeDataRecord(kInkPrinter).text; }

    /// The emulator's state.ini of device `device` (its ChangeMode line and counters).
    std::string DeviceState(const std::string& device = "ink") const {
        return ReadFileBytes(m_Builder.DeviceDir(device) / "state.ini");
    }
    bool InChangeMode(const std::string& device = "ink") const {
        const std::string state = DeviceState(device);
        return state.find("ChangeMode=None") == std::string::npos &&
               state.find("ChangeMode=") != std::string::npos;
    }

    /// While the dialog waits, notes on every pumped pass whether the waiting window is up and
    /// the clock's time; Stop() ends the watch.
    struct TWaitWatch {
        std::uint64_t firstUp = 0, lastUp = 0;
        int upPasses = 0;
        QTimer timer;
        TWaitWatch() {
            timer.setInterval(0);
            QObject::connect(&timer, &QTimer::timeout, [this] {
                const ui::TQtUserInterface* qt = ui::TQtUserInterface::Installed();
                if (!qt || !qt->WaitingWindow() || !qt->WaitingWindow()->isVisible()) return;
                const std::uint64_t now = Platform().Clock().NowMs();
                if (upPasses++ == 0) firstUp = now;
                lastUp = now;
            });
            timer.start();
        }
        std::uint64_t UpMs() const { return lastUp - firstUp; }
    };

private:
    std::map<std::string, std::size_t> m_Seen;
};

inline const std::string kHeadCleaning = "monitor 1B 1D 1E 10 01 1B 1D 1F";
inline const std::string kDeepCleaning = "monitor 1B 1D 1E 10 02 1B 1D 1F";
inline const std::string kRollerCleaning = "monitor 1B 1D 1E 10 06 1B 1D 1F";

}  // namespace ps::test
