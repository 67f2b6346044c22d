// SPDX-License-Identifier: MIT
// The main window: controls, creation, showing, the item and mode buttons, closing.
#include "ui/main/uMain2.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include "app/PrinterSession.h"
#include "app/StartUp.h"
#include "localisation/Scheme.h"
#include "platform/Platform.h"
#include "printer/Globals.h"
#include "printer/UtilPrinter.h"
#include "scheme/Scheme3.h"
#include "transport/UtilDataSend_TimeData.h"
#include "ui/common/ClockTimer.h"
#include "ui/common/EventGuard.h"
#include "ui/common/ItemDialogTable.h"
#include "ui/common/QtUserInterface.h"
#include "ui/common/QtWindowFactory.h"

namespace ps::ui {
namespace {

constexpr int kClientWidth = 486;  // as designed; RefreshItemGrid makes it 440
constexpr int kClientHeight = 539;
constexpr std::uint32_t kPortRefreshMs = 3500;
constexpr const char* kDiagnosticFile = "c:\\RORirad";

}  // namespace

TfrmMainView2::TfrmMainView2(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
    setObjectName("frmMainView2");
    BuildControls();
    RunGuarded(this, [this] { FormCreate(); });
}

TfrmMainView2::~TfrmMainView2() {
    FormDestroy();
}

void TfrmMainView2::BuildControls() {
    resize(kClientWidth, kClientHeight);

    pnlTop = new QWidget(this);
    pnlTop->setObjectName("pnlTop");
    grp1 = new QGroupBox(pnlTop);
    grp1->setObjectName("grp1");

    for (int k = 1; k <= kGridSlots; ++k) {
        const int i = k - 1;
        const QString number = QString::asprintf("%.2d", k);
        btn[i] = new QToolButton(grp1);
        btn[i]->setObjectName("btn" + number);
        btn[i]->setProperty("Tag", k);
        btn[i]->setFocusPolicy(Qt::StrongFocus);
        btn[i]->setAutoRaise(false);
        connect(btn[i], &QToolButton::clicked, this, Guarded(this, [this, k] { btnClick(k); }));
        lbl[i] = new QLabel(grp1);
        lbl[i]->setObjectName("lbl" + number);
        lblValue[i] = new QLabel(grp1);
        lblValue[i]->setObjectName("lbl" + number + "2");
        lblValue[i]->setWordWrap(true);
        lblValue[i]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        lbl[i]->setBuddy(btn[i]);
    }

    grp2 = new QGroupBox(grp1);
    grp2->setObjectName("grp2");
    btnMode = new QToolButton(grp2);
    btnMode->setObjectName("btnMode");
    btnMode->setFocusPolicy(Qt::StrongFocus);
    connect(btnMode, &QToolButton::clicked, this, Guarded(this, [this] { btnModeClick(); }));
    lblMode = new QLabel(grp2);
    lblMode->setObjectName("lblMode");
    lblMode->setBuddy(btnMode);

    lblVersion = new QLabel(this);
    lblVersion->setObjectName("lblVersion");
    lblPrinter = new QLabel(this);
    lblPrinter->setObjectName("lblPrinter");
    lblPort = new QLabel(this);
    lblPort->setObjectName("lblPort");

    cbbPrinterPort = new QComboBox(this);
    cbbPrinterPort->setObjectName("cbbPrinterPort");
    // Without a caption the box is read by the port it shows; the string table has no text
    // that names it.
    cbbPrinterPort->setVisible(false);
    connect(cbbPrinterPort, &QComboBox::activated, this,
            Guarded(this, [this](int) { cbbPrinterPortChange(); }));

    btnClose = new QPushButton(this);
    btnClose->setObjectName("btnClose");
    connect(btnClose, &QPushButton::clicked, this, Guarded(this, [this] { btnCloseClick(); }));

    tmrFreshPort = new TClockTimer(this, kPortRefreshMs, /*pauseDuringExchanges=*/true);
    connect(tmrFreshPort, &TClockTimer::timeout, this,
            Guarded(this, [this] { tmrFreshPortTimer(); }));
}

void TfrmMainView2::FormCreate() {
    // The start-up checks of the printer and its queue, repeated at creation.
    if (CheckPrinterIdle() != TPrinterCheck::Ready) return;
    m_pClassRegistration = Platform().SingleInstance().RegisterWindowClass(kMainWindowClass);
    m_slPorts.clear();
    m_slLocalPortFile.clear();
    if (g_RunMode == kPageBase) LoadLocalOptions();

    SetApplicationTitle(g_PrinterName);
    setWindowTitle(Q(g_PrinterName + " " + g_GlobalString.MainCaption));

    std::string port;
    bool online = false;
    if (GetPrinterPortInfo(g_PrinterName, port, online) && online) {
        lblPort->setText(Q(port));
        lblPort->setStyleSheet("color: black");
    } else {
        lblPort->setText(Q(g_GlobalString.PrinterNotOnline));
        lblPort->setStyleSheet("color: red");
    }

    std::string line;
    for (const std::string& argument : CommandLineArguments()) line += argument + " ";
    lblPrinter->setText(Q(line));

    cbbPrinterPort->setVisible(g_RunMode == kPageBase);
    if (g_RunMode == kPageBase) tmrFreshPort->Start();

    lblVersion->setText(Q("Version:" + (g_SchemeOptions ? g_SchemeOptions->m_Sections.DriverVersion
                                                        : std::string())));

    const bool diagnostic = Platform().Kernel().RegularFileExists(kDiagnosticFile);
    lblPort->setVisible(diagnostic);
    lblPrinter->setVisible(diagnostic);

    m_bCreated = true;
    RefreshItemGrid(true);
    if (g_RunMode == kPageBase) RefreshPortList();
    if (cbbPrinterPort->count() > 0 && !m_slLocalPortFile.empty()) {
        cbbPrinterPort->setCurrentIndex(0);
        g_PrinterPort = m_slLocalPortFile.front();
    }
}

void TfrmMainView2::FormShow() {
    if (!g_PrinterName.empty()) SeedTimeDataRecord(g_PrinterName);
}

void TfrmMainView2::FormDestroy() {
    if (m_bDestroyed) return;
    m_bDestroyed = true;
    tmrFreshPort->Stop();
    m_slPorts.clear();
    m_slLocalPortFile.clear();
    if (m_bCreated && g_RunMode == kPageMaintenance && g_SchemeOptions)
        RunGuarded(nullptr,
                   [] { g_SchemeOptions->CreatePrinterValuesIni_ForPage(kPageBaseReport); });
    m_pClassRegistration.reset();
}

void TfrmMainView2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) RunGuarded(this, [this] { FormShow(); });
}

void TfrmMainView2::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    tmrFreshPort->Stop();
    emit closed();
}

void TfrmMainView2::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        RunGuarded(this, [this] { btnCloseClick(); });
        return;
    }
    QWidget::keyPressEvent(event);
}

void TfrmMainView2::btnCloseClick() {
    close();
}

void TfrmMainView2::btnClick(int tag) {
    TSettingItem item;
    if (!g_SchemeOptions || !g_SchemeOptions->GetItem(g_CurrentPage, tag - 1, item)) return;
    const TItemDialogEntry& entry = FindItemDialog(item.Icon);
    if (!entry.factory) return;  // every dialog is plugged in at start-up
    hide();
    g_CurrentItem = tag - 1;
    // The main window comes back however the dialog ends, a failing one included.
    struct TShowAgain {
        TfrmMainView2* window;
        ~TShowAgain() { window->show(); }
    } showAgain{this};
    RunGuarded(nullptr, [&] {
        std::unique_ptr<QDialog> dialog = entry.factory(this);
        if (dialog) dialog->exec();
    });
    if (entry.bRefreshGrid) RefreshItemGrid(false);
}

void TfrmMainView2::btnModeClick() {
    g_CurrentPage = ModeTargetPage(g_CurrentPage);
    RefreshItemGrid(false);
    if (g_CurrentPage == kPageAdvance) {
        btnMode->setVisible(false);
        lblMode->setVisible(false);
        grp2->setVisible(false);
    }
    UpdateTabOrder();
}

std::uint8_t TfrmMainView2::ModeTargetPage(std::uint8_t page) {
    switch (page) {
        case kPageBase:
            return kPageMaintenance;
        case kPageMaintenance:
            return kPageAdvance;
        case kPageAdvance:
            return kPageBase;
        default:
            return kPageAdvance;
    }
}

}  // namespace ps::ui
