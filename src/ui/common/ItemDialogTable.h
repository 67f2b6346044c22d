// SPDX-License-Identifier: MIT
// Which dialog an item of the main window opens, by the item's Icon (exact, case-sensitive).
// Dialogs plug in by registering their factory at start-up.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QDialog;
class QWidget;

namespace ps::ui {

/// Makes the dialog for the current item (g_CurrentPage, g_CurrentItem) as a child of parent.
using TItemDialogFactory = std::function<std::unique_ptr<QDialog>(QWidget* parent)>;

struct TItemDialogEntry {
    std::string icon;           // the item Icon that selects it; empty for the default entry
    std::string className;      // the dialog's class, e.g. "TInquiry"
    bool bRefreshGrid = false;  // the main window re-reads its grid after the dialog
    TItemDialogFactory factory;
};

/// The entry for an item's Icon: its own dialog, or the item setting dialog.
const TItemDialogEntry& FindItemDialog(std::string_view icon);
/// Every entry, the default (item setting dialog) last.
const std::vector<TItemDialogEntry>& ItemDialogEntries();
/// Plugs a dialog in by class name ("TfrmSetItem", "TInquiry" ...); false for an unknown name.
bool RegisterItemDialog(std::string_view className, TItemDialogFactory factory);

}  // namespace ps::ui
