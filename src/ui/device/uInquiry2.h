// SPDX-License-Identifier: MIT
// TInquiry2: the total page count of an inkjet printer, read once when shown and on request.
#pragma once

#include "ui/device/DeviceDialog.h"

class QLineEdit;

namespace ps::ui {

class TInquiry2 : public TDeviceDialog {
    Q_OBJECT
public:
    explicit TInquiry2(QWidget* parent = nullptr);

    QGroupBox* grpPage;
    QPushButton* btnTPage;
    QLineEdit* edtTPage;
    QGroupBox* grp1;
    QLabel* lblInfo;
    QLabel* lblWeb;
    QPushButton* btnClose;

    void btnTPageClick();

protected:
    void FormShow() override;
};

}  // namespace ps::ui
