// SPDX-License-Identifier: MIT
// The main window in local-port mode (run mode 100): local options and default scheme, the
// port box and its refresh, and the "TimeData" record seeded on show.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>

#include "localisation/Scheme.h"
#include "platform/Platform.h"
#include "printer/Globals.h"
#include "support/TestScheme.h"
#include "support/UiTestSupport.h"
#include "ui/common/ClockTimer.h"
#include "ui/main/uMain2.h"

namespace ps::test {
namespace {

using ui::TfrmMainView2;

class LocalPortMode : public TUiFixture {
protected:
    void Options(const std::string& ports) {
        TTestScheme scheme;
        scheme.Index(99, "99_MAINTENANCE", "Maintenance").Page(100, TTestScheme::NumberedItems(2));
        m_Dir.Write("program/Scheme/Local_Settings.Dat", scheme.Text());
        m_Dir.Write("program/printer-settings.ini",
                    "[Settings]\r\nLocalPorts=" + ports +
                        "\r\nDefaultScheme=Scheme\\Local_Settings.Dat\r\n");
        m_Builder.Kernel("ProgramPath", (Dir() / "program/printer-settings").string());
        TTestScheme driver;  // the driver's own scheme, replaced by the local one
        driver.Page(100, {{"18_FONT", "Driver item", "10", "0=A,1=B", 1, ""}});
        AddUsbPrinter("Talvenor Test", "USB001", "dev", driver.Text());
    }
    std::vector<std::string> Entries(const TfrmMainView2& w) {
        std::vector<std::string> entries;
        for (int i = 0; i < w.cbbPrinterPort->count(); ++i)
            entries.push_back(w.cbbPrinterPort->itemText(i).toStdString());
        return entries;
    }
};

TEST_F(LocalPortMode, LoadsTheLocalSchemeAndListsThePorts) {
    Options("LPT1  COM1  _USB");
    ASSERT_EQ(StartUp({"Talvenor Test"}), 0);
    TfrmMainView2& w = *MainWindow();
    ShowMainWindow();
    EXPECT_EQ(w.lbl[0]->text(), "Item 1");  // from the local default scheme
    EXPECT_TRUE(w.cbbPrinterPort->isVisible());
    // USB entries show the 6 characters after " - ".
    EXPECT_EQ(Entries(w), (std::vector<std::string>{"LPT1", "COM1", "USB001"}));
    EXPECT_EQ(w.cbbPrinterPort->currentIndex(), 0);
    EXPECT_EQ(g_PrinterPort, "LPT1");
    EXPECT_TRUE(w.tmrFreshPort->Active());
}

TEST_F(LocalPortMode, RefreshFallsBackToLpt1WhenThePortIsGone) {
    Options("COM1 LPT1 _USB");
    ASSERT_EQ(StartUp({"Talvenor Test", "100"}), 0);
    TfrmMainView2& w = *MainWindow();
    ShowMainWindow();
    w.cbbPrinterPort->setCurrentIndex(2);
    w.cbbPrinterPortChange();
    EXPECT_EQ(g_PrinterPort, "\\\\?\\USB#EMULATED#dev");
    // The USB printer goes away; the next refresh cannot find its port file.
    g_PrinterPort = "\\\\?\\USB#EMULATED#gone";
    w.tmrFreshPort->Start();
    Platform().Clock().Sleep(3499);
    w.tmrFreshPort->Poll();
    EXPECT_EQ(g_PrinterPort, "\\\\?\\USB#EMULATED#gone");  // not yet due
    Platform().Clock().Sleep(1);
    w.tmrFreshPort->Poll();
    EXPECT_EQ(w.cbbPrinterPort->currentText(), "LPT1");
    EXPECT_EQ(g_PrinterPort, "LPT1");
}

TEST_F(LocalPortMode, NoMatchAndNoLpt1KeepsThePort) {
    Options("COM1 COM2");
    ASSERT_EQ(StartUp({"Talvenor Test", "100"}), 0);
    TfrmMainView2& w = *MainWindow();
    g_PrinterPort = "COM7";
    w.RefreshPortList();
    EXPECT_EQ(w.cbbPrinterPort->currentIndex(), -1);
    EXPECT_EQ(g_PrinterPort, "COM7");
}

TEST_F(LocalPortMode, OtherRunModesHaveNoPortBox) {
    Options("LPT1");
    ASSERT_EQ(StartUp({"Talvenor Test", "0"}), 0);
    ShowMainWindow();
    EXPECT_FALSE(MainWindow()->cbbPrinterPort->isVisible());
    EXPECT_FALSE(MainWindow()->tmrFreshPort->Active());
}

class TimeDataRecord : public TUiFixture {
protected:
    void Data(const std::string& data) {
        TTestScheme scheme;
        scheme.Page(0, TTestScheme::NumberedItems(1));
        auto& printer = AddUsbPrinter("Talvenor Test", "USB001", "dev", scheme.Text());
        if (!data.empty()) printer.Set("Data.TimeData", data);
    }
    std::string Shown() {
        EXPECT_EQ(StartUp({"Talvenor Test", "0"}), 0);
        ShowMainWindow();
        return SpoolerState();
    }
};

// "2017/08/09 10:10:33 0" in UTF-16, as the spooler's state keeps it.
constexpr const char* kSeedHex =
    "1 32003000310037002F00300038002F0030003900200031003000"
    "3A00310030003A0033003300200030";

TEST_F(TimeDataRecord, MissingRecordIsSeeded) {
    Data("");
    EXPECT_NE(Shown().find(std::string("Data.TimeData=") + kSeedHex), std::string::npos)
        << SpoolerState();
}

TEST_F(TimeDataRecord, ShortRecordIsSeeded) {
    Data("1 32003000");  // "20"
    EXPECT_NE(Shown().find(std::string("Data.TimeData=") + kSeedHex), std::string::npos);
}

TEST_F(TimeDataRecord, RecordOfTheLastDeepCleaningIsKept) {
    // "2024/03/18 09:30:00 1"
    const std::string kept =
        "1 32003000320034002F00300033002F0031003800200030003900"
        "3A00330030003A0030003000200031000000";
    Data(kept);
    EXPECT_EQ(Shown().find(kSeedHex), std::string::npos) << SpoolerState();
}

TEST_F(TimeDataRecord, RecordLongerThanTheBufferIsKept) {
    // 60 characters: 120 bytes do not fit the 100-byte buffer, and are long enough.
    std::string longer = "1 ";
    for (int i = 0; i < 60; ++i) longer += "4100";
    Data(longer);
    EXPECT_EQ(Shown().find("TimeData"), std::string::npos) << SpoolerState();  // nothing written
}

}  // namespace
}  // namespace ps::test
