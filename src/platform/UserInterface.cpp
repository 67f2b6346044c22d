// SPDX-License-Identifier: MIT
// The console user-interface hook, the waiting-window scope and the installed-hook holder.
#include "platform/UserInterface.h"

#include <iostream>

namespace ps {
namespace {

std::unique_ptr<TUserInterface>& Installed() {
    static std::unique_ptr<TUserInterface> ui = std::make_unique<TConsoleUserInterface>();
    return ui;
}

// Open waiting scopes; touched by the owner thread only.
int g_nWaitingDepth = 0;

const char* IconWord(TMessageIcon icon) {
    switch (icon) {
        case TMessageIcon::Information:
            return "information";
        case TMessageIcon::Warning:
            return "warning";
        case TMessageIcon::Error:
            return "error";
        case TMessageIcon::Question:
            return "question";
        case TMessageIcon::None:
            break;
    }
    return "message";
}

}  // namespace

TMessageResult FirstButton(TMessageButtons buttons) {
    return (buttons == TMessageButtons::Ok || buttons == TMessageButtons::OkCancel)
               ? TMessageResult::Ok
               : TMessageResult::Yes;
}

const char* ResultWord(TMessageResult result) {
    switch (result) {
        case TMessageResult::Ok:
            return "OK";
        case TMessageResult::Cancel:
            return "Cancel";
        case TMessageResult::Yes:
            return "Yes";
        case TMessageResult::No:
            return "No";
    }
    return "?";
}

TMessageResult TConsoleUserInterface::ShowMessage(TOwnerWindow, const std::string& caption,
                                                  const std::string& text, TMessageIcon icon,
                                                  TMessageButtons buttons) {
    const TMessageResult answer = FirstButton(buttons);
    std::cerr << "[" << IconWord(icon) << "] " << caption << ": " << text << " -> "
              << ResultWord(answer) << std::endl;
    return answer;
}

void TConsoleUserInterface::ShowWaiting(const std::string& caption, const std::string& text) {
    std::cerr << "[waiting] " << caption << ": " << text << std::endl;
}

TUserInterface::TWaitingScope::TWaitingScope(const std::string& caption, const std::string& text) {
    if (g_nWaitingDepth++ == 0) {
        try {
            UserInterface().ShowWaiting(caption, text);
        } catch (...) {
            --g_nWaitingDepth;  // no destructor runs for a scope that failed to open
            throw;
        }
    }
}

TUserInterface::TWaitingScope::~TWaitingScope() {
    if (--g_nWaitingDepth == 0) UserInterface().HideWaiting();
}

int WaitingDepth() {
    return g_nWaitingDepth;
}

TUserInterface& UserInterface() {
    return *Installed();
}

void InstallUserInterface(std::unique_ptr<TUserInterface> ui) {
    Installed() = ui ? std::move(ui) : std::make_unique<TConsoleUserInterface>();
}

}  // namespace ps
