// SPDX-License-Identifier: MIT
// Plugs the device function dialogs into the main window's dispatch by item Icon.
#pragma once

namespace ps::ui {

void RegisterDeviceDialogs();

}  // namespace ps::ui
