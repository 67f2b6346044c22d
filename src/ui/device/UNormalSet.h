// SPDX-License-Identifier: MIT
// TNormalSet: sends the item's set instruction as the scheme writes it and shows selected
// bytes of the printer's answer in hexadecimal.
#pragma once

#include <string>

#include "ui/device/DeviceDialog.h"

namespace ps::ui {

class TNormalSet : public TDeviceDialog {
    Q_OBJECT
public:
    explicit TNormalSet(QWidget* parent = nullptr);

    std::string m_iPrinterItemValue;  // the answer bytes as "XX " text

    QGroupBox* grpInfo;
    QLabel* lblInfo;
    QLabel* lblReturnInfo;
    QLabel* lblReturn;
    QPushButton* btnSet;
    QPushButton* btnCancel;

    void btnSetClick();
};

}  // namespace ps::ui
