// SPDX-License-Identifier: MIT
// The setting panels of the group dialogs.
#include "ui/common/ItemPanel.h"

#include <QLabel>
#include <QListWidget>

namespace ps::ui {

QWidget* MakeItemPanel(QWidget* parent, const QString& panelName, int left, int top) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(panelName);
    panel->setGeometry(left, top, kItemPanelWidth, kItemPanelHeight);
    return panel;
}

QListWidget* MakeItemList(QWidget* panel, const QString& listName) {
    auto* list = new QListWidget(panel);
    list->setObjectName(listName);
    // The list takes the panel's width less a small margin: value titles with units
    // ("-6/60 Inch (-2.54mm)") then fit beside the vertical scroll bar.
    list->setGeometry(4, 22, kItemPanelWidth - 8, 116);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setTextElideMode(Qt::ElideRight);
    return list;
}

QLabel* MakeItemName(QWidget* panel, const QString& labelName, QWidget* buddy, int height) {
    auto* label = new QLabel(panel);
    label->setObjectName(labelName);
    label->setGeometry(4, 4, kItemPanelWidth - 8, height);
    label->setBuddy(buddy);
    return label;
}

void AddItemRow(QListWidget* list, const QString& text) {
    auto* row = new QListWidgetItem(text, list);
    row->setToolTip(text);
}

}  // namespace ps::ui
