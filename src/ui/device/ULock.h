// SPDX-License-Identifier: MIT
// TLock: unlocks the panel screen and locks or unlocks the paper box. Its texts are the
// form's own.
#pragma once

#include "device/DeviceCommands.h"
#include "ui/device/DeviceDialog.h"

namespace ps::ui {

class TLock : public TDeviceDialog {
    Q_OBJECT
public:
    explicit TLock(QWidget* parent = nullptr);

    QPushButton* btnMonitorLock;
    QPushButton* btnPaperLock;
    QPushButton* btnPaperBoxOpen;
    QPushButton* btnBack;

    void btnMonitorLockClick();
    void btnPaperLockClick();
    void btnPaperBoxOpenClick();

private:
    void SendLockCommand(TLockCommand which);
};

}  // namespace ps::ui
