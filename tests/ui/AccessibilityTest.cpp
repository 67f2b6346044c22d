// SPDX-License-Identifier: MIT
// What a screen reader finds in every window, in English and in Simplified Chinese: the window
// by its caption, every control that takes the keyboard focus by a name, a control with a
// caption by that caption, and one without by a text of the running language.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/StartUp.h"
#include "printer/Globals.h"
#include "support/TestScheme.h"
#include "support/UiTestSupport.h"
#include "ui/main/uAbout.h"
#include "ui/main/uMain2.h"
#include "ui/main/uWaiting.h"
#include "ui/setting/FormInvoiceType_SetGroup.h"
#include "ui/setting/uHeadsn.h"
#include "ui/setting/uSetGroupItem.h"
#include "ui/setting/uSetItem.h"

namespace ps::test {
namespace {

class AccessibilityTest : public TUiFixture, public ::testing::WithParamInterface<std::uint16_t> {
protected:
    void Start() {
        TTestScheme scheme;
        scheme.Index(0, "00_ADVANCE", "Advanced").Index(100, "100_SETTINGS", "Basic");
        TTestItem radio{"01_LINE_SPACING", "Spacing", "10", "0=Off,1=On", 1, "Spacing note"};
        TTestItem list{
            "02_FORM_LENGTH", "Length", "11", "0=A,1=B,2=C,3=D,4=E,5=F,6=G,7=H,8=I,9=J,10=K", 1,
            "Length note"};
        scheme.Page(0, {radio, list});
        scheme.Page(100, TTestScheme::NumberedItems(3, 0x50));
        scheme.Page(128, {radio, list});
        AddUsbPrinter("Talvenor Test", "USB001", "dev", scheme.Text(), "10=1,11=2");
        Install(GetParam());
        ASSERT_EQ(StartUp({"Talvenor Test", "0"}), kExitDone);
    }
    static void ExpectNamed(QWidget& window) {
        window.show();
        QApplication::processEvents();
        const auto faults = ScreenReaderFaults(&window);
        EXPECT_TRUE(faults.empty())
            << window.objectName().toStdString() << ": " << ::testing::PrintToString(faults);
        window.hide();
    }
};

TEST_P(AccessibilityTest, EveryWindowAndControlIsReadAsShown) {
    Start();
    ShowMainWindow();
    const auto faults = ScreenReaderFaults(MainWindow());
    EXPECT_TRUE(faults.empty()) << ::testing::PrintToString(faults);
    MainWindow()->hide();

    for (int item : {0, 1}) {  // radio mode and list mode
        g_CurrentItem = item;
        ui::TfrmSetItem dialog;
        ExpectNamed(dialog);
    }
    ui::TFormSetGroupItem group;
    group.SetParameters("Custom", 1);
    ExpectNamed(group);
    ui::TfrmInvoiceType_SetGruop cardType;
    cardType.setWindowTitle("Card");
    ExpectNamed(cardType);
    ui::THeadSNForm headSn;
    ExpectNamed(headSn);
    ui::TAboutBox about;
    ExpectNamed(about);
    ui::TfrmWaiting waiting;
    waiting.tmrWaitingTimer();  // a dot, so the row shows something
    ExpectNamed(waiting);
}

INSTANTIATE_TEST_SUITE_P(Languages, AccessibilityTest, ::testing::Values(0x0409, 0x0804),
                         [](const auto& language) {
                             return language.param == 0x0409 ? "en" : "zh_CN";
                         });

}  // namespace
}  // namespace ps::test
