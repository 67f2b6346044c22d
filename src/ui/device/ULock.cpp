// SPDX-License-Identifier: MIT
// The lock dialog.
#include "ui/device/ULock.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "device/DeviceQuery.h"
#include "localisation/Scheme.h"
#include "platform/UserInterface.h"
#include "ui/common/EventGuard.h"
#include "ui/common/QtUserInterface.h"

namespace ps::ui {
namespace {
constexpr int kClientWidth = 280;
constexpr int kClientHeight = 180;
}  // namespace

TLock::TLock(QWidget* parent) : TDeviceDialog(parent, "Lock") {
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(8);
    btnMonitorLock = MakeButton("btnMonitorLock", "屏幕锁解锁");
    btnPaperLock = MakeButton("btnPaperLock", "纸仓锁解锁");
    btnPaperBoxOpen = MakeButton("btnPaperBoxOpen", "纸仓锁上锁");
    btnBack = MakeButton("btnBack", "返回");
    for (QPushButton* button : {btnMonitorLock, btnPaperLock, btnPaperBoxOpen}) {
        button->setMinimumHeight(30);
        layout->addWidget(button);
    }
    layout->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(btnBack);
    layout->addLayout(bottom);
    setWindowTitle("屏幕与纸仓锁");

    connect(btnMonitorLock, &QPushButton::clicked, this,
            Guarded(this, [this] { btnMonitorLockClick(); }));
    connect(btnPaperLock, &QPushButton::clicked, this,
            Guarded(this, [this] { btnPaperLockClick(); }));
    connect(btnPaperBoxOpen, &QPushButton::clicked, this,
            Guarded(this, [this] { btnPaperBoxOpenClick(); }));
    connect(btnBack, &QPushButton::clicked, this, [this] { close(); });
    FitSize(kClientWidth, kClientHeight);
}

void TLock::SendLockCommand(TLockCommand which) {
    // Any port kind: the command needs no reply.
    std::string port;
    if (!DevicePrinterOnlineOrSay(port)) return;
    if (TDeviceQuery({TOfflineBox::HintError, true, false}, *m_USBPort).RefuseWhenBusy(port))
        return;
    if (DeviceSend(LockCommand(which)))
        ShowMessage(nullptr, g_GlobalString.HintTitle, g_GlobalString.InkFinish,
                    TMessageIcon::Information);
    else
        ShowMessage(nullptr, g_GlobalString.HintTitle, g_GlobalString.SetPrinterFail,
                    TMessageIcon::Error);
}

void TLock::btnMonitorLockClick() {
    SendLockCommand(TLockCommand::ScreenUnlock);
}

void TLock::btnPaperLockClick() {
    SendLockCommand(TLockCommand::PaperBoxUnlock);
}

void TLock::btnPaperBoxOpenClick() {
    SendLockCommand(TLockCommand::PaperBoxLock);
}

}  // namespace ps::ui
