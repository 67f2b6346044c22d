// SPDX-License-Identifier: MIT
// The console user-interface hook and the installed-hook holder.
#include "platform/UserInterface.h"

#include <iostream>

namespace ps {
namespace {
std::unique_ptr<TUserInterface>& Installed() {
    static std::unique_ptr<TUserInterface> ui = std::make_unique<TConsoleUserInterface>();
    return ui;
}
const char* IconWord(TMessageIcon icon) {
    switch (icon) {
        case TMessageIcon::Information: return "information";
        case TMessageIcon::Warning: return "warning";
        case TMessageIcon::Error: return "error";
        case TMessageIcon::Question: return "question";
        case TMessageIcon::None: break;
    }
    return "message";
}
}  // namespace

TMessageResult TConsoleUserInterface::ShowMessage(const std::string& caption,
                                                  const std::string& text, TMessageIcon icon,
                                                  TMessageButtons buttons) {
    std::cerr << "[" << IconWord(icon) << "] " << caption << ": " << text << std::endl;
    return (buttons == TMessageButtons::Ok || buttons == TMessageButtons::OkCancel)
               ? TMessageResult::Ok
               : TMessageResult::Yes;
}

void TConsoleUserInterface::ShowWaiting(const std::string& caption, const std::string& text) {
    std::cerr << "[waiting] " << caption << ": " << text << std::endl;
}

TUserInterface& UserInterface() { return *Installed(); }

void InstallUserInterface(std::unique_ptr<TUserInterface> ui) {
    Installed() = ui ? std::move(ui) : std::make_unique<TConsoleUserInterface>();
}

}  // namespace ps
