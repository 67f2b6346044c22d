// SPDX-License-Identifier: MIT
// The printer verbs of printer-settings-tool (printers, get, set, export, import): each takes
// the arguments after its own name and writes results to `out`, messages to `err`.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace ps::tool {

/// Exit codes of the printer verbs.
enum TVerbExit : int {
    kVerbDone = 0,           // done (every value written was confirmed)
    kVerbStartRefused = 1,   // a start-up check refused the printer
    kVerbUnreachable = 2,    // the printer cannot be reached or did not confirm a value
    kVerbBadInput = 3,       // bad arguments, names, values or documents; nothing was sent
    kVerbBusy = 4,           // another program kept the printer busy past --wait
};

/// Where a verb writes. `bErrIsTerminal` turns the progress line on.
struct TVerbIo {
    std::ostream& out;
    std::ostream& err;
    bool bErrIsTerminal = false;
};

/// True for the names of the printer verbs.
bool IsPrinterVerb(const std::string& name);

/// Runs a printer verb and returns its exit code; every failure is said on `err`.
int RunPrinterVerb(const std::string& verb, std::vector<std::string> args, TVerbIo& io);

int RunPrintersVerb(std::vector<std::string> args, TVerbIo& io);
int RunGetVerb(std::vector<std::string> args, TVerbIo& io);
int RunExportVerb(std::vector<std::string> args, TVerbIo& io);
int RunSetVerb(std::vector<std::string> args, TVerbIo& io);
int RunImportVerb(std::vector<std::string> args, TVerbIo& io);

}  // namespace ps::tool
