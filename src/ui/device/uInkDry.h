// SPDX-License-Identifier: MIT
// TInkDry: how long the printer lets the ink dry, in five steps from 0 to 2 seconds.
#pragma once

#include <cstdint>

#include "ui/device/DeviceDialog.h"

namespace ps::ui {

class TInkDry : public TDeviceDialog {
    Q_OBJECT
public:
    explicit TInkDry(QWidget* parent = nullptr);

    std::int64_t m_iPrinterItemValue = 0;

    QGroupBox* grpInfo;
    QLabel* lblInfo;
    QLabel* lblTitle;
    QSlider* trckbrTime;
    TTickScale* lblTime;
    QPushButton* btnSet;
    QPushButton* btnRead;
    QPushButton* btnReturn;

    void btnReadClick();
    void btnSetClick();
    bool GetCurrentItemValueFromPrinterI();
    bool GetItemValueFromUSBPrinterI(std::int64_t& value);

protected:
    void FormShow() override;
};

}  // namespace ps::ui
