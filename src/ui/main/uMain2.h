// SPDX-License-Identifier: MIT
// TfrmMainView2: the main window. A grid of up to 15 item buttons of the current page with
// their titles and current values, the mode button that cycles the pages, and in local-port
// mode the box of local ports.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/Options.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QToolButton;

namespace ps {
class TWindowClassRegistration;
}

namespace ps::ui {

class TClockTimer;

inline constexpr int kGridSlots = 15;

class TfrmMainView2 : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMainView2(QWidget* parent = nullptr);
    ~TfrmMainView2() override;

    /// False when creation ended the program (printer missing, queued jobs).
    bool Created() const { return m_bCreated; }

    // Controls, named as in the window layout.
    QWidget* pnlTop;
    QGroupBox* grp1;
    QGroupBox* grp2;
    std::array<QToolButton*, kGridSlots> btn{};  // btn01 ... btn15
    std::array<QLabel*, kGridSlots> lbl{};       // lbl01 ... lbl15
    std::array<QLabel*, kGridSlots> lblValue{};  // lbl012 ... lbl152
    QToolButton* btnMode;
    QLabel* lblMode;
    QPushButton* btnClose;
    QComboBox* cbbPrinterPort;
    TClockTimer* tmrFreshPort;
    QLabel* lblVersion;
    QLabel* lblPrinter;
    QLabel* lblPort;

    std::vector<std::string> m_slPorts;
    std::vector<std::string> m_slLocalPortFile;
    std::unique_ptr<TIniOptions> m_IniOptions;

    // Handlers.
    void btnClick(int tag);
    void btnModeClick();
    void btnCloseClick();
    void cbbPrinterPortChange();
    void tmrFreshPortTimer();

    void RefreshItemGrid(bool bShowReadWarning);
    void RefreshPortList();
    void LoadLocalOptions();

    /// The page the mode button leads to from `page`.
    static std::uint8_t ModeTargetPage(std::uint8_t page);
    /// A value title as the second line shows it: cut before the "(" of its first " (".
    static std::string ValueLineTitle(const std::string& title);

signals:
    /// The window was closed (the program ends).
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormDestroy();
    void BuildControls();
    void UpdateTabOrder();
    bool ReadPageValues(bool bInkPage, bool& bUsbPort);
    void PlaceModeButton(std::uint8_t targetPage);

    bool m_bCreated = false;
    bool m_bDestroyed = false;
    std::unique_ptr<TWindowClassRegistration> m_pClassRegistration;
};

}  // namespace ps::ui
