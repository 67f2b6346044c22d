// SPDX-License-Identifier: MIT
// TTime: shows the printer's clock and sets it from the computer's clock.
#pragma once

#include <cstdint>

#include "ui/device/DeviceDialog.h"

namespace ps::ui {

class TTime : public TDeviceDialog {
    Q_OBJECT
public:
    explicit TTime(QWidget* parent = nullptr);

    /// The printer time shown before the first read.
    static constexpr const char* kNoTime = "1970\\01\\01 00:00:00";

    QLabel* lblDateInfo;
    QLabel* pnlDate;
    QPushButton* btnSetDate;
    QPushButton* btnGetDate;
    QGroupBox* grp1;
    QLabel* lblWebInfo;
    QPushButton* btnReturn;

    void btnGetDateClick();
    void btnSetDateClick();
    bool GetItemValueFromUSBPrinterI(std::int64_t& value);

protected:
    void FormShow() override;
};

}  // namespace ps::ui
