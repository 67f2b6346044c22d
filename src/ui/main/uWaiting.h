// SPDX-License-Identifier: MIT
// TfrmWaiting: the always-on-top window with a row of moving dots shown while the program
// talks to the printer.
#pragma once

#include <QWidget>
#include <cstdint>
#include <string>

class QLabel;

namespace ps::ui {

class TClockTimer;

class TfrmWaiting : public QWidget {
    Q_OBJECT
public:
    /// Texts by the printer name (g_PrinterName), as FormCreate sets them.
    explicit TfrmWaiting(QWidget* parent = nullptr);

    /// Caption and text given by the caller (the user-interface hook's ShowWaiting).
    void SetTexts(const std::string& caption, const std::string& text);

    /// The dot text: ten times a point and a blank.
    static constexpr const char* kDotText = ". . . . . . . . . . ";
    static constexpr std::uint32_t kDotIntervalMs = 500;
    static constexpr std::uint32_t kLastResortCloseMs = 9'000'000;  // 150 minutes

    int m_nWaitingDot = 0;
    QLabel* lblWaiting;
    QLabel* lblDot;
    TClockTimer* tmrWaiting;
    TClockTimer* tmrClose;

    void tmrWaitingTimer();
    void tmrCloseTimer();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace ps::ui
