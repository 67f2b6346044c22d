// SPDX-License-Identifier: MIT
// The about box.
#include "ui/main/uAbout.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "localisation/Scheme.h"
#include "ui/common/Artwork.h"
#include "ui/common/QtUserInterface.h"

namespace ps::ui {
namespace {

// The maker's notice in the running language.
QString MakersNotice(TProgramLanguage language) {
    switch (language) {
        case plCN:
            return QString::fromUtf8("通过打印机自身的命令通道设置发票、存折和喷墨打印机。");
        case plCHT:
            return QString::fromUtf8("透過印表機自身的命令通道設定發票、存摺和噴墨印表機。");
        case plJP:
            return QString::fromUtf8(
                "プリンター自身のコマンドチャネルで伝票・通帳・インクジェットプリンターを設定します"
                "。");
        case plEN:
            break;
    }
    return "Sets up invoice, passbook and inkjet printers through their own command channel.";
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint) {
    setObjectName("AboutBox");
    setWindowTitle("About");
    setFixedSize(239, 178);

    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setGeometry(8, 8, 223, 129);

    ProgramIcon = new QLabel(panel);
    ProgramIcon->setObjectName("ProgramIcon");
    ProgramIcon->setPixmap(ItemPixmap(kProgramIcon, devicePixelRatioF(), QSize(48, 48)));
    // The picture stands for the program: named as the main window calls it.
    ProgramIcon->setAccessibleName(Q(g_GlobalString.MainCaption));
    ProgramIcon->setGeometry(8, 8, 48, 48);

    ProductName = new QLabel(QString::fromUtf8("澜序打印机参数设置程序"), panel);
    ProductName->setObjectName("ProductName");
    QFont bold = ProductName->font();
    bold.setBold(true);
    ProductName->setFont(bold);
    ProductName->setWordWrap(true);
    ProductName->setGeometry(64, 8, 151, 40);

    Version = new QLabel("Version 1.0", panel);
    Version->setObjectName("Version");
    Version->setGeometry(64, 50, 151, 18);

    Comments = new QLabel(MakersNotice(g_GlobalString.Language), panel);
    Comments->setObjectName("Comments");
    Comments->setWordWrap(true);
    Comments->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Comments->setGeometry(8, 72, 207, 50);

    OKButton = new QPushButton(QString::fromUtf8("确定"), this);
    OKButton->setObjectName("OKButton");
    OKButton->setDefault(true);
    OKButton->setGeometry(82, 145, 75, 25);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace ps::ui
