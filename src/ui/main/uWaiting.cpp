// SPDX-License-Identifier: MIT
// The waiting window.
#include "ui/main/uWaiting.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "localisation/Scheme.h"
#include "localisation/WaitingTexts.h"
#include "printer/Globals.h"
#include "ui/common/ClockTimer.h"
#include "ui/common/QtUserInterface.h"

namespace ps::ui {
namespace {
constexpr int kClientWidth = 334;
constexpr int kClientHeight = 135;
constexpr int kEnglishExtraWidth = 20;

QFont BoldPixels(int pixels) {
    QFont font = QGuiApplication::font();
    font.setPixelSize(pixels);
    font.setBold(true);
    return font;
}
}  // namespace

TfrmWaiting::TfrmWaiting(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint) {
    setObjectName("frmWaiting");
    setCursor(Qt::WaitCursor);
    const int width = kClientWidth + (g_GlobalString.Language == plEN ? kEnglishExtraWidth : 0);
    setFixedSize(width, kClientHeight);

    lblWaiting = new QLabel(this);
    lblWaiting->setObjectName("lblWaiting");
    lblWaiting->setFont(BoldPixels(16));
    lblWaiting->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblWaiting->setWordWrap(true);
    lblWaiting->setGeometry(8, 32, width - 16, 48);

    lblDot = new QLabel(this);
    lblDot->setObjectName("lblDot");
    lblDot->setFont(BoldPixels(16));
    lblDot->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The row grows to the right from under the middle of the text.
    lblDot->setGeometry((width - 120) / 2 + 30, 88, 120, 20);

    tmrWaiting = new TClockTimer(this, kDotIntervalMs);
    tmrClose = new TClockTimer(this, kLastResortCloseMs);
    connect(tmrWaiting, &TClockTimer::timeout, this, &TfrmWaiting::tmrWaitingTimer);
    connect(tmrClose, &TClockTimer::timeout, this, &TfrmWaiting::tmrCloseTimer);

    const TWaitingTexts texts = WaitingWindowTexts(g_PrinterName);
    SetTexts(texts.caption, texts.text);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TfrmWaiting::SetTexts(const std::string& caption, const std::string& text) {
    setWindowTitle(Q(caption));
    setAccessibleName(Q(caption));
    lblWaiting->setText(Q(text));
    // The dots have no words of their own: the row is read as the wait it stands for.
    lblDot->setAccessibleName(Q(text));
}

void TfrmWaiting::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    tmrWaiting->Start();
    tmrClose->Start();
}

void TfrmWaiting::hideEvent(QHideEvent* event) {
    tmrWaiting->Stop();
    tmrClose->Stop();
    QWidget::hideEvent(event);
}

void TfrmWaiting::closeEvent(QCloseEvent* event) {
    // Only the program closes it (its work is done, or the last-resort timer).
    if (event->spontaneous()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void TfrmWaiting::tmrWaitingTimer() {
    if (++m_nWaitingDot > 6) m_nWaitingDot = 0;
    lblDot->setText(QString::fromLatin1(kDotText).left(2 * m_nWaitingDot));
}

void TfrmWaiting::tmrCloseTimer() {
    hide();
}

}  // namespace ps::ui
