// SPDX-License-Identifier: MIT
// Dispatch and failure handling of the printer verbs.
#include "Verbs.h"

#include <ostream>

#include "VerbSession.h"
#include "scheme/Scheme3.h"

namespace ps::tool {

bool IsPrinterVerb(const std::string& name) {
    return name == "printers" || name == "get" || name == "set" || name == "export" ||
           name == "import";
}

namespace {

int RunVerb(const std::string& verb, std::vector<std::string> args, TVerbIo& io) {
    if (verb == "printers") return RunPrintersVerb(std::move(args), io);
    if (verb == "get") return RunGetVerb(std::move(args), io);
    if (verb == "set") return RunSetVerb(std::move(args), io);
    if (verb == "export") return RunExportVerb(std::move(args), io);
    if (verb == "import") return RunImportVerb(std::move(args), io);
    throw EVerbFailure(kVerbBadInput, "unknown verb '" + verb + "'");
}

}  // namespace

int RunPrinterVerb(const std::string& verb, std::vector<std::string> args, TVerbIo& io) {
    try {
        const int rc = RunVerb(verb, std::move(args), io);
        // Results that did not reach their reader are no success (a full disk, a closed pipe).
        if (!io.out.flush())
            throw EVerbFailure(rc == kVerbDone ? kVerbUnreachable : rc,
                               "the results could not be written to standard output");
        return rc;
    } catch (const EVerbFailure& e) {
        io.err << "printer-settings-tool: " << e.what() << "\n";
        return e.ExitCode();
    } catch (const std::exception& e) {
        // A scheme that cannot be loaded or whose commands are not hex text, an unsafe
        // temporary folder: what start-up would end with.
        io.err << "printer-settings-tool: " << e.what() << "\n";
        return kVerbStartRefused;
    }
}

}  // namespace ps::tool
