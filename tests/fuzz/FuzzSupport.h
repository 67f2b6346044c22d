// SPDX-License-Identifier: MIT
// Shared by the fuzz targets: the native platform (the legacy code pages of 8-bit text), a
// user-interface hook that answers every box silently, and a check that turns a broken invariant
// into a crash libFuzzer reports.
#pragma once

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/NativeServices.h"
#include "platform/Platform.h"
#include "platform/UserInterface.h"

namespace ps::fuzz {

class TSilentUserInterface : public TUserInterface {
public:
    TMessageResult ShowMessage(TOwnerWindow, const std::string&, const std::string&, TMessageIcon,
                               TMessageButtons) override {
        return TMessageResult::Ok;
    }
    void ProcessMessages() override {}
    void ShowWaiting(const std::string&, const std::string&) override {}
    void HideWaiting() override {}
};

/// Installs the native platform and the silent hook once per process (rule messages would
/// otherwise print).
inline void InstallFuzzEnvironment() {
    static const bool installed = [] {
        InstallPlatform(MakeNativePlatform());
        InstallUserInterface(std::make_unique<TSilentUserInterface>());
        return true;
    }();
    (void)installed;
}

inline void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace ps::fuzz
