// SPDX-License-Identifier: MIT
// The error box of an exception in an event handler.
#include "ui/common/EventGuard.h"

#include "ui/common/QtUserInterface.h"

namespace ps::ui {
namespace {
// The application title, as the framework's error box shows it.
std::string ErrorCaption() {
    return ApplicationTitle();
}
}  // namespace

void ShowHandlerException(const QWidget* owner, const std::exception& error) {
    ShowMessageOver(owner, ErrorCaption(), error.what(), TMessageIcon::Error);
}

void ShowUnknownHandlerException(const QWidget* owner) {
    ShowMessageOver(owner, ErrorCaption(), "Unknown error", TMessageIcon::Error);
}

bool RunGuarded(const QWidget* owner, const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const std::exception& error) {
        ShowHandlerException(owner, error);
    } catch (...) {
        ShowUnknownHandlerException(owner);
    }
    return false;
}

}  // namespace ps::ui
