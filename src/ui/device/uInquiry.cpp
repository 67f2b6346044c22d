// SPDX-License-Identifier: MIT
// The page counters dialog.
#include "ui/device/uInquiry.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "device/DeviceQuery.h"
#include "localisation/Scheme.h"
#include "platform/Platform.h"
#include "printer/Globals.h"
#include "ui/common/EventGuard.h"
#include "ui/common/QtUserInterface.h"
#include "ui/device/DeviceWidgets.h"

namespace ps::ui {
namespace {

constexpr int kClientWidth = 360;
constexpr int kClientHeight = 230;
constexpr std::int32_t kCounterReplyWanted = 14;
constexpr std::uint32_t kBetweenQueriesMs = 500;

TDeviceQuery InquiryQuery(const TUSBPrinterPort& port) {
    return TDeviceQuery({TOfflineBox::PrinterNameWarning, true, false}, port);
}

TDeviceRead SelectedCounter(int counter) {
    return CounterRead(
        counter == TInquiry::kBlackInkBoxPages ? kCounterInkBoxPages : kCounterTotalPages,
        kCounterReplyWanted);
}

}  // namespace

TInquiry::TInquiry(QWidget* parent) : TDeviceDialog(parent, "Inquiry") {
    auto* layout = new QVBoxLayout(this);
    grpPage = new QGroupBox(this);
    grpPage->setObjectName("grpPage");
    auto* page = new QGridLayout(grpPage);
    btnTPage = MakeButton("btnTPage", g_GlobalString.PageTInfo);
    edtTPage = MakeCounterBox(grpPage, "edtTPage");
    btnPage = MakeButton("btnPage", g_GlobalString.PageBInfo);
    edtBoxPage = MakeCounterBox(grpPage, "edtBoxPage");
    edtTPage->setAccessibleName(Q(g_GlobalString.PageTInfo));
    edtBoxPage->setAccessibleName(Q(g_GlobalString.PageBInfo));
    page->addWidget(btnTPage, 0, 0);
    page->addWidget(edtTPage, 0, 1);
    page->addWidget(btnPage, 1, 0);
    page->addWidget(edtBoxPage, 1, 1);
    btnPage->setVisible(false);
    edtBoxPage->setVisible(false);
    layout->addWidget(grpPage);

    grp1 = MakeInfoGroup("grp1", "lblInfo", lblInfo);
    lblWeb = MakeWebLabel(grp1, true);
    grp1->layout()->addWidget(lblWeb);
    layout->addWidget(grp1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    btnClose = MakeButton("btnClose", g_GlobalString.ParametersBtnCancel);
    buttons->addWidget(btnClose);
    layout->addLayout(buttons);

    connect(btnTPage, &QPushButton::clicked, this, Guarded(this, [this] { btnTPageClick(); }));
    connect(btnPage, &QPushButton::clicked, this, Guarded(this, [this] { btnPageClick(); }));
    connect(btnClose, &QPushButton::clicked, this, [this] { close(); });
    connect(lblWeb, &QLabel::linkActivated, this, Guarded(this, [this] { lblWebClick(); }));

    // FormCreate.
    SetApplicationTitle(g_PrinterName);
    setWindowTitle(Q(g_GlobalString.ParametersCaption));
    grpPage->setTitle(Q(g_GlobalString.Page));
    grp1->setTitle(Q(g_GlobalString.ParametersNoteTitle));
    FitSize(kClientWidth, kClientHeight);
}

void TInquiry::FormShow() {
    lblWeb->setVisible(SchemeNamesVendorPrinter());
    lblInfo->setText(Q(m_Item.Explain));
    setWindowTitle(Q(m_Item.Title));
    FitSize(kClientWidth, kClientHeight);
    std::string port;
    if (!DevicePrinterOnlineOrSay(port)) return;
    g_PrinterPort = port;
    TClock& clock = Platform().Clock();
    clock.Sleep(kBetweenQueriesMs);
    const std::string& set = Sections().SettingCommand;
    if (DeviceCommandSet(set).bTotalPagesOnly) {
        clock.Sleep(kBetweenQueriesMs);
        btnTPageClick();
    } else {
        btnPageClick();
        clock.Sleep(kBetweenQueriesMs);
        btnTPageClick();
    }
    SetWebText(lblWeb, Sections().WebAddress, true);
}

void TInquiry::ReadCounter(int counter, QLineEdit* box) {
    box->clear();
    m_iCounter = counter;
    Platform().Clock().Sleep(Sections().SleepBeforeRead);
    if (GetCurrentItemValueFromPrinterI() || Sections().AffirmReadDisable)
        box->setText(QString::number(m_iPrinterItemValue));
}

void TInquiry::btnTPageClick() {
    ReadCounter(kTotalPages, edtTPage);
}

void TInquiry::btnPageClick() {
    ReadCounter(kBlackInkBoxPages, edtBoxPage);
}

void TInquiry::lblWebClick() {
    OpenSchemeWebAddress();
}

bool TInquiry::GetCurrentItemValueFromPrinterI() {
    return InquiryQuery(*m_USBPort)
        .GetCurrentItemValueFromPrinterI(SelectedCounter(m_iCounter), m_iPrinterItemValue);
}

bool TInquiry::GetItemValueFromUSBPrinterI(std::int64_t& value) {
    return InquiryQuery(*m_USBPort).GetItemValueFromUSBPrinterI(SelectedCounter(m_iCounter), value);
}

}  // namespace ps::ui
