// SPDX-License-Identifier: MIT
// TFormFirewareVersion: the printer's firmware version and date.
#pragma once

#include <string>

#include "ui/device/DeviceDialog.h"

class QLineEdit;

namespace ps::ui {

class TFormFirewareVersion : public TDeviceDialog {
    Q_OBJECT
public:
    explicit TFormFirewareVersion(QWidget* parent = nullptr);

    QLabel* lbl1;
    QLineEdit* edtFirewareVersion;
    QPushButton* btnUpdate;
    QPushButton* btnClose;

    void btnUpdateClick();
    bool GetFirewareVersion(std::string& text);

protected:
    void FormShow() override;
};

}  // namespace ps::ui
