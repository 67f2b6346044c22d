// SPDX-License-Identifier: MIT
// TInquiry: the page counters of an inkjet printer (total pages; the black ink box pages are
// read too but not shown).
#pragma once

#include <cstdint>

#include "ui/device/DeviceDialog.h"

class QLineEdit;

namespace ps::ui {

class TInquiry : public TDeviceDialog {
    Q_OBJECT
public:
    explicit TInquiry(QWidget* parent = nullptr);

    /// Selector values of the counter read.
    static constexpr int kBlackInkBoxPages = 1;
    static constexpr int kTotalPages = 3;

    std::int64_t m_iPrinterItemValue = 0;  // the last counter read (unsigned 32-bit)
    int m_iCounter = kTotalPages;

    QGroupBox* grpPage;
    QPushButton* btnTPage;
    QLineEdit* edtTPage;
    QPushButton* btnPage;
    QLineEdit* edtBoxPage;
    QGroupBox* grp1;
    QLabel* lblInfo;
    QLabel* lblWeb;
    QPushButton* btnClose;

    void btnTPageClick();
    void btnPageClick();
    void lblWebClick();
    bool GetCurrentItemValueFromPrinterI();
    bool GetItemValueFromUSBPrinterI(std::int64_t& value);

protected:
    void FormShow() override;

private:
    void ReadCounter(int counter, QLineEdit* box);
};

}  // namespace ps::ui
