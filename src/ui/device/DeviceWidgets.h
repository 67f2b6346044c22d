// SPDX-License-Identifier: MIT
// Small pieces the device dialogs share: the counter box, the vendor link label, the web
// address rule and the half-second waits of the show handlers.
#pragma once

#include <string>

class QLabel;
class QLineEdit;
class QWidget;

namespace ps::ui {

/// A read-only counter box in the bold blue counter font.
QLineEdit* MakeCounterBox(QWidget* parent, const char* name);
/// The underlined vendor link; `clickable` makes it a keyboard-reachable link.
QLabel* MakeWebLabel(QWidget* parent, bool clickable);
/// Sets the link's address text.
void SetWebText(QLabel* label, const std::string& address, bool clickable);
/// Opens the scheme's web address when it is an http or https address.
void OpenSchemeWebAddress();
/// True when the scheme names a printer of the vendor ("Talvenor" in its PrinterName).
bool SchemeNamesVendorPrinter();

}  // namespace ps::ui
