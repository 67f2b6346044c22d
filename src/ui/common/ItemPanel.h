// SPDX-License-Identifier: MIT
// One setting of a group dialog: a panel with the setting's name over the list of its values.
// The group item dialog and the card-type dialog lay their settings out in these panels.
#pragma once

class QLabel;
class QListWidget;
class QString;
class QWidget;

namespace ps::ui {

inline constexpr int kItemPanelWidth = 170;
inline constexpr int kItemPanelHeight = 143;

/// The panel `panelName` at (left, top) in `parent`, 170 × 143 pixels.
QWidget* MakeItemPanel(QWidget* parent, const QString& panelName, int left, int top);
/// The value list of a panel, under its name label. Rows that are wider than the list are cut
/// with an ellipsis and show their whole text as a tool tip, instead of a horizontal scroll bar.
QListWidget* MakeItemList(QWidget* panel, const QString& listName);
/// The name label of a panel; it names `buddy` for screen readers and the keyboard.
QLabel* MakeItemName(QWidget* panel, const QString& labelName, QWidget* buddy, int height = 17);
/// Adds a row to a value list made by MakeItemList; its tool tip is its whole text.
void AddItemRow(QListWidget* list, const QString& text);

}  // namespace ps::ui
