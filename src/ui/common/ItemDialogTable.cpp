// SPDX-License-Identifier: MIT
// The item dialog table.
#include "ui/common/ItemDialogTable.h"

#include <QDialog>

namespace ps::ui {
namespace {

std::vector<TItemDialogEntry>& Table() {
    static std::vector<TItemDialogEntry> table = {
        {"Ink_Adjust", "TfrmInkSet", false, {}},
        {"Ink_Inquiry", "TInquiry", false, {}},
        {"Ink_Inquiry2", "TInquiry2", false, {}},
        {"Ink_Dry", "TInkDry", false, {}},
        {"Ink_Horizontal", "THorizontal", false, {}},
        {"Ink_Timer", "TTime", false, {}},
        {"Ink_Lock", "TLock", false, {}},
        {"NormalSet", "TNormalSet", false, {}},
        {"InkJet_FeedPrecision", "TFormFeedPrecision", false, {}},
        {"Ink_FirewareVersion", "TFormFirewareVersion", false, {}},
        // Everything else, the ink maintenance items included.
        {"", "TfrmSetItem", true, {}},
    };
    return table;
}

}  // namespace

const TItemDialogEntry& FindItemDialog(std::string_view icon) {
    const auto& table = Table();
    for (const TItemDialogEntry& entry : table) {
        if (!entry.icon.empty() && entry.icon == icon) return entry;
    }
    return table.back();
}

const std::vector<TItemDialogEntry>& ItemDialogEntries() {
    return Table();
}

bool RegisterItemDialog(std::string_view className, TItemDialogFactory factory) {
    for (TItemDialogEntry& entry : Table()) {
        if (entry.className == className) {
            entry.factory = std::move(factory);
            return true;
        }
    }
    return false;
}

}  // namespace ps::ui
