// SPDX-License-Identifier: MIT
// The shared pieces of the windows: real message boxes, the event-handler guard, the clock
// timer, the artwork and the dialog table.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "base/Lib_String.h"
#include "support/EmulatedPlatformSupport.h"
#include "support/UiTestSupport.h"
#include "ui/common/Artwork.h"
#include "ui/common/ClockTimer.h"
#include "ui/common/EventGuard.h"
#include "ui/common/ItemDialogTable.h"
#include "ui/main/uWaiting.h"

namespace ps::test {
namespace {

using ui::TQtUserInterface;

// Closes the next modal message box with `button` once it is up, noting what it showed.
struct TBoxCloser {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    void CloseWith(QMessageBox::StandardButton button) {
        QTimer::singleShot(0, [this, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = box->standardButtons();
            box->button(button)->click();
        });
    }
};

TEST(QtUserInterface, ShowsStandardBoxesAndReturnsTheButtonPressed) {
    TQtUserInterface qt;
    TBoxCloser closer;
    closer.CloseWith(QMessageBox::Cancel);
    EXPECT_EQ(
        qt.ShowMessage(nullptr, "Information", "Set it?", TMessageIcon::Question, TMessageButtons::OkCancel),
        TMessageResult::Cancel);
    EXPECT_EQ(closer.title, "Information");
    EXPECT_EQ(closer.text, "Set it?");
    EXPECT_EQ(closer.icon, QMessageBox::Question);
    EXPECT_EQ(closer.buttons, QMessageBox::Ok | QMessageBox::Cancel);

    closer.CloseWith(QMessageBox::Ok);
    EXPECT_EQ(qt.ShowMessage(nullptr, "Error", "\xE6\x89\x93\xE5\x8D\xB0", TMessageIcon::Error,
                             TMessageButtons::Ok),
              TMessageResult::Ok);
    EXPECT_EQ(closer.icon, QMessageBox::Critical);
    EXPECT_EQ(closer.text, QString::fromUtf8("打印"));
    EXPECT_EQ(closer.buttons, QMessageBox::Ok);

    closer.CloseWith(QMessageBox::Ok);
    qt.ShowMessage(nullptr, "Hint", "w", TMessageIcon::Warning, TMessageButtons::Ok);
    EXPECT_EQ(closer.icon, QMessageBox::Warning);
}

TEST(QtUserInterface, WaitingWindowNestsAndClosesWithTheOutermostScope) {
    InstallTestPlatform();
    auto* qt = new TQtUserInterface;
    InstallUserInterface(std::unique_ptr<TUserInterface>(qt));
    {
        TWaitingScope outer("Reading", "Please wait");
        ui::TfrmWaiting* first = qt->WaitingWindow();
        ASSERT_NE(first, nullptr);
        EXPECT_TRUE(first->isVisible());
        {
            TWaitingScope inner("Inner", "inner");
            EXPECT_EQ(qt->WaitingWindow(), first);
            EXPECT_EQ(first->windowTitle(), "Reading");  // only the outermost scope shows
        }
        EXPECT_EQ(qt->WaitingWindow(), first);
    }
    EXPECT_EQ(qt->WaitingWindow(), nullptr);
    // An exception on the way out closes it too.
    EXPECT_THROW(
        {
            TWaitingScope scope("Reading", "Please wait");
            throw std::runtime_error("read failed");
        },
        std::runtime_error);
    EXPECT_EQ(qt->WaitingWindow(), nullptr);
    EXPECT_EQ(WaitingDepth(), 0);
    InstallUserInterface(nullptr);
}

TEST(MessageScript, FailsOnUnexpectedAndOnMissingBoxes) {
    TMessageScript script;
    EXPECT_NONFATAL_FAILURE(
        script.Answer({nullptr, "Hint", "surprise", TMessageIcon::Error, TMessageButtons::Ok}),
        "unexpected message box [error] Hint: surprise");
    script.Expect("Hint", "never", TMessageIcon::Warning);
    EXPECT_NONFATAL_FAILURE(script.VerifyAllShown(), "never shown: [warning] Hint: never");
    script.Expect("Hint", "sure?", TMessageIcon::Question, TMessageResult::Cancel);
    EXPECT_EQ(script.Answer(
                  {nullptr, "Hint", "sure?", TMessageIcon::Question, TMessageButtons::OkCancel}),
              TMessageResult::Cancel);
    EXPECT_NONFATAL_FAILURE(
        script.Answer({nullptr, "Hint", "other", TMessageIcon::Question, TMessageButtons::Ok}),
        "unexpected");
    EXPECT_EQ(script.shown.size(), 3u);
}

TEST(EventGuard, ShowsTheErrorAndGoesOn) {
    InstallTestPlatform();
    TMessageScript script;
    auto* qt = new TQtUserInterface;
    qt->SetMessageHook(&script);
    InstallUserInterface(std::unique_ptr<TUserInterface>(qt));
    ui::SetApplicationTitle("Printer A");
    script.Expect("Printer A", "'$1G' is not a valid integer value", TMessageIcon::Error);
    int after = 0;
    auto slot = ui::Guarded(nullptr, [] { SpacedHexToBytes("1G"); });
    slot(true);  // a signal argument the handler does not take
    EXPECT_TRUE(ui::RunGuarded(nullptr, [&] { ++after; }));
    EXPECT_EQ(after, 1);
    script.VerifyAllShown();
    InstallUserInterface(nullptr);
    ui::SetApplicationTitle("Printer Settings");
}

TEST(ClockTimer, FiresOnThePlatformClockAndWaitsOutExchanges) {
    TTempDir dir;
    TEmulationDirBuilder builder(dir.Path());
    builder.VirtualClock();
    builder.Write();
    InstallEmulation(dir.Path());
    auto* qt = new TQtUserInterface;
    InstallUserInterface(std::unique_ptr<TUserInterface>(qt));

    int ticks = 0;
    ui::TClockTimer timer(nullptr, 3500, /*pauseDuringExchanges=*/true);
    QObject::connect(&timer, &ui::TClockTimer::timeout, [&] { ++ticks; });
    timer.Start();
    Platform().Clock().Sleep(3499);
    timer.Poll();
    EXPECT_EQ(ticks, 0);
    Platform().Clock().Sleep(1);
    timer.Poll();
    EXPECT_EQ(ticks, 1);
    // Late by several intervals: one tick, the next interval from now.
    Platform().Clock().Sleep(3500 * 3);
    timer.Poll();
    EXPECT_EQ(ticks, 2);

    // An exchange waiting in ProcessMessages holds the tick back until it is over.
    Platform().Clock().Sleep(3500);
    QTimer::singleShot(0, [&] { timer.Poll(); });
    qt->ProcessMessages();
    EXPECT_EQ(ticks, 2);
    timer.Poll();
    EXPECT_EQ(ticks, 3);
    timer.Stop();
    Platform().Clock().Sleep(10000);
    timer.Poll();
    EXPECT_EQ(ticks, 3);
    InstallUserInterface(nullptr);
    InstallTestPlatform();
}

TEST(Artwork, EveryIconOfTheSchemesIsThereAndFoundInAnyCase) {
    const char* names[] = {"00_ADVANCE",
                           "01_LINE_SPACING",
                           "02_FORM_LENGTH",
                           "03_FORM_LOCK",
                           "04_HEAD_BLANK",
                           "05_BACK_HEADBLANK",
                           "06_PEELING_POS",
                           "07_COMPRESS",
                           "08_PAGE_SKIP",
                           "09_PRT_SPEED",
                           "10_PRT_DIRECTION",
                           "11_LOAD_PAPER",
                           "12_QUIET_MODE",
                           "13_AUTO_LF",
                           "14_COPY_MODE",
                           "15_HIGH_QUALITY",
                           "16_EMULATION",
                           "17_CHAR_MODE",
                           "18_FONT",
                           "19_ENG_PITCH",
                           "20_CHI_PITCH",
                           "21_SLASH_ZERO",
                           "22_INTL_CHAR",
                           "23_CHAR_SET",
                           "24_BAUD_RATE",
                           "25_PARITY",
                           "26_DATA_BIT",
                           "27_STOP_BIT",
                           "28_PROTOCOL",
                           "29_HEAD_PIN",
                           "30_PIN_SWITCH",
                           "31_PAPER_SIGN",
                           "32_LEFT_SPACE",
                           "33_GRADIENT",
                           "34_BLACK_SIGN",
                           "35_LANGUAGE",
                           "36_BLACK_SIGN_POS",
                           "37_EJECTDIR",
                           "40_CUT_POS_FEED",
                           "41_COVER_DETECT",
                           "42_FORM_WIDTH",
                           "43_CUTTER_SET",
                           "44_ERROR_BEEP",
                           "45_CODE_PAGE",
                           "46_SELF_CHECK_FONT",
                           "47_INVOICE_TYPE",
                           "99_MAINTENANCE",
                           "100_SETTINGS",
                           "INK_ADJUST",
                           "INK_BEARING_CLEAN",
                           "INK_BOTTOM_CLEAN",
                           "INK_CHANGEBOX",
                           "INK_CHANGEHEAD",
                           "INK_CLEAN",
                           "INK_DEEPCLEAN",
                           "INK_DRY",
                           "INK_HOLECHECK",
                           "INK_HORIZONTAL",
                           "INK_SELFTEST",
                           "INK_TIMER",
                           "INKJET_FEEDPRECISION",
                           "PROGRAM"};
    for (const char* name : names) EXPECT_TRUE(ui::HasIcon(name)) << name;
    EXPECT_EQ(ui::IconResourcePath("Ink_Clean"), ui::IconResourcePath("INK_CLEAN"));
    EXPECT_EQ(ui::IconResourcePath("100_Settings"), ui::IconResourcePath("100_SETTINGS"));
    EXPECT_TRUE(ui::IconResourcePath("NO_SUCH_ICON").isEmpty());

    // A missing icon shows the fallback; each icon is its own picture.
    const QImage fallback = ui::ItemPixmap("100_Settings", 1.0).toImage();
    EXPECT_EQ(ui::ItemPixmap("NO_SUCH_ICON", 1.0).toImage(), fallback);
    EXPECT_NE(ui::ItemPixmap("INK_CLEAN", 1.0).toImage(), fallback);
    EXPECT_NE(ui::ItemPixmap("01_LINE_SPACING", 1.0).toImage(),
              ui::ItemPixmap("02_FORM_LENGTH", 1.0).toImage());
}

TEST(Artwork, RendersAtTheDevicePixelRatioNotScaledUp) {
    const QPixmap sharp = ui::ItemPixmap("INK_DROP_MISSING_FALLS_BACK", 2.0);
    EXPECT_EQ(sharp.size(), QSize(92, 76));
    EXPECT_EQ(sharp.deviceIndependentSize().toSize(), ui::kGlyphSize);
    // The 200 % rendering has detail that a 100 % one scaled up lacks.
    const QImage scaled = ui::ItemPixmap("INK_DROP_MISSING_FALLS_BACK", 1.0)
                              .toImage()
                              .scaled(92, 76, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    EXPECT_NE(sharp.toImage().convertToFormat(scaled.format()), scaled);
    const QIcon icon = ui::ItemIcon("INK_CLEAN");
    EXPECT_EQ(icon.pixmap(ui::kGlyphSize, 2.0).size(), QSize(92, 76));
}

TEST(ItemDialogTable, DispatchIsByExactIcon) {
    EXPECT_EQ(ui::FindItemDialog("Ink_Inquiry").className, "TInquiry");
    EXPECT_EQ(ui::FindItemDialog("Ink_Inquiry2").className, "TInquiry2");
    EXPECT_EQ(ui::FindItemDialog("InkJet_FeedPrecision").className, "TFormFeedPrecision");
    EXPECT_EQ(ui::FindItemDialog("NormalSet").className, "TNormalSet");
    // Letter case counts here, unlike the icon lookup.
    EXPECT_EQ(ui::FindItemDialog("ink_inquiry").className, "TfrmSetItem");
    EXPECT_EQ(ui::FindItemDialog("Ink_Clean").className, "TfrmSetItem");
    EXPECT_EQ(ui::FindItemDialog("").className, "TfrmSetItem");
    EXPECT_TRUE(ui::FindItemDialog("Ink_Clean").bRefreshGrid);
    EXPECT_FALSE(ui::FindItemDialog("Ink_Dry").bRefreshGrid);
    EXPECT_FALSE(ui::RegisterItemDialog("TNoSuchDialog", {}));
}

}  // namespace
}  // namespace ps::test
