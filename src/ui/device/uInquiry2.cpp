// SPDX-License-Identifier: MIT
// The total pages dialog.
#include "ui/device/uInquiry2.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "device/DeviceQuery.h"
#include "localisation/Scheme.h"
#include "platform/UserInterface.h"
#include "printer/Globals.h"
#include "ui/common/EventGuard.h"
#include "ui/common/QtUserInterface.h"
#include "ui/device/DeviceWidgets.h"

namespace ps::ui {
namespace {

constexpr int kClientWidth = 360;
constexpr int kClientHeight = 200;
constexpr std::int32_t kTotalPagesReplyWanted = 13;

}  // namespace

TInquiry2::TInquiry2(QWidget* parent) : TDeviceDialog(parent, "Inquiry2") {
    auto* layout = new QVBoxLayout(this);
    grpPage = new QGroupBox(this);
    grpPage->setObjectName("grpPage");
    auto* page = new QHBoxLayout(grpPage);
    btnTPage = MakeButton("btnTPage", g_GlobalString.PageTInfo);
    edtTPage = MakeCounterBox(grpPage, "edtTPage");
    edtTPage->setAccessibleName(Q(g_GlobalString.PageTInfo));
    page->addWidget(btnTPage);
    page->addWidget(edtTPage, 1);
    layout->addWidget(grpPage);

    grp1 = MakeInfoGroup("grp1", "lblInfo", lblInfo);
    lblWeb = MakeWebLabel(grp1, false);
    grp1->layout()->addWidget(lblWeb);
    layout->addWidget(grp1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    btnClose = MakeButton("btnClose", g_GlobalString.ParametersBtnCancel);
    buttons->addWidget(btnClose);
    layout->addLayout(buttons);

    connect(btnTPage, &QPushButton::clicked, this, Guarded(this, [this] { btnTPageClick(); }));
    connect(btnClose, &QPushButton::clicked, this, [this] { close(); });

    // FormCreate.
    SetApplicationTitle(g_PrinterName);
    setWindowTitle(Q(g_GlobalString.ParametersCaption));
    grpPage->setTitle(Q(g_GlobalString.Page));
    grp1->setTitle(Q(g_GlobalString.ParametersNoteTitle));
    FitSize(kClientWidth, kClientHeight);
}

void TInquiry2::FormShow() {
    lblWeb->setVisible(SchemeNamesVendorPrinter());
    lblInfo->setText(Q(m_Item.Explain));
    setWindowTitle(Q(m_Item.Title));
    FitSize(kClientWidth, kClientHeight);
    std::string port;
    if (!DevicePrinterOnlineOrSay(port)) return;
    g_PrinterPort = port;
    SetWebText(lblWeb, Sections().WebAddress, false);
    btnTPageClick();
}

void TInquiry2::btnTPageClick() {
    std::string port;
    if (!DevicePrinterOnlineOrSay(port)) return;
    if (!PortCanRead(port)) {
        ShowMessage(nullptr, g_GlobalString.HintTitle, g_GlobalString.PortNotSupport,
                    TMessageIcon::Error);
        return;
    }
    // A failed read leaves the number shown before.
    if (const auto pages =
            DeviceExchangeRead(CounterRead(kCounterTotalPages, kTotalPagesReplyWanted)))
        edtTPage->setText(QString::number(*pages));
}

}  // namespace ps::ui
