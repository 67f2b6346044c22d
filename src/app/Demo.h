// SPDX-License-Identifier: MIT
// printer-settings --demo: the program on a private copy of the shipped demo printers.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "app/WindowFactory.h"

namespace ps {

/// The printer the demo opens when none is named.
inline constexpr const char* kDemoPrinter = "Talvenor QR-520";

struct TDemoRequest {
    bool bKeep = false;             // --keep: go on with the last run's copy
    std::vector<std::string> args;  // the program's own arguments, PRINTER first
};

/// The arguments after --demo: [--keep] [PRINTER [RUN_MODE [ITEM [RESERVED]]]].
TDemoRequest ParseDemoArguments(std::vector<std::string> afterDemo);

/// The user's demo folder: printer-settings/demo in the user's state folder; empty when the
/// user has none.
std::filesystem::path UserDemoFolder();

/// Fills `folder` with emulation/ and Scheme/ of the shipped files' folder `dataFolder`, the
/// layout the demo's emulation.ini refers to, and returns the emulation directory in it. The
/// folder is made anew (mode 0700, so the copy is the user's alone) unless `keep` is set and
/// it holds a copy already. Throws std::runtime_error saying what is missing or in the way.
std::filesystem::path PrepareDemoFolder(const std::filesystem::path& dataFolder,
                                        const std::filesystem::path& folder, bool keep);

/// The demo where no window can open, on the emulation directory `emulation`: a run mode that
/// needs none runs as usual; for the others the window-less run modes of the demo printers
/// run one after another, each shown with its result on `out`, and the exit status is that
/// of a window without a display.
int RunDemoWithoutDisplay(const std::vector<std::string>& args,
                          const std::filesystem::path& emulation, TWindowFactory& windows,
                          std::ostream& out);

}  // namespace ps
