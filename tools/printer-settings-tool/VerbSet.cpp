// SPDX-License-Identifier: MIT
// The "set" verb: values named by title or number, checked against their rules, written in one
// enter/save bracket and each confirmed by reading it back.
#include <ostream>

#include "ItemRecords.h"
#include "VerbSession.h"
#include "VerbWrite.h"
#include "batch/RuleLookup.h"
#include "scheme/Scheme3.h"

namespace ps::tool {
namespace {

// "Name=Value": the item and the value its rule allows, or a bad-input failure that lists what
// the rule holds.
TBatchValue ParseAssignment(const TSchemeOptions2& scheme, const TIniFile& menu,
                            const std::string& text) {
    const std::size_t eq = text.find('=');
    if (eq == std::string::npos || eq == 0)
        throw EVerbFailure(kVerbBadInput, "\"" + text + "\" is not NAME=VALUE");
    const TItemRef ref = ResolveItem(scheme, text.substr(0, eq));
    const std::string valueText = text.substr(eq + 1);
    const auto value = RuleValueFromText(scheme, ref, &menu, valueText);
    if (!value) {
        TSettingItem item;
        scheme.GetItem(ref.iPage, ref.iIndex, item);
        throw EVerbFailure(kVerbBadInput, "\"" + valueText + "\" is not a value of " + item.Name +
                                              " (" + ItemPlace(ref) + "); its rule holds " +
                                              RuleSummary(item));
    }
    return {ref, *value};
}

// Every assignment of the call, each item once.
std::vector<TBatchValue> ParseAssignments(const TSchemeOptions2& scheme, const TIniFile& menu,
                                          const std::vector<std::string>& args) {
    std::vector<TBatchValue> values;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const TBatchValue value = ParseAssignment(scheme, menu, args[i]);
        for (const TBatchValue& earlier : values)
            if (earlier.ref == value.ref)
                throw EVerbFailure(kVerbBadInput,
                                   ItemPlace(value.ref) + " is given twice; set it once");
        values.push_back(value);
    }
    return values;
}

}  // namespace

int RunSetVerb(std::vector<std::string> args, TVerbIo& io) {
    const TPrinterOptions options = TakePrinterOptions(args);
    const bool dryRun = TakeFlag(args, "--dry-run");
    RejectUnknownOptions(args);
    if (args.size() < 2) throw EVerbFailure(kVerbBadInput, "set needs a printer and NAME=VALUE");
    const std::string printer = args[0];
    TPrinterSession session(printer, options, io,
                            [&](const TSchemeOptions2& scheme, const TIniFile& menu) {
                                ParseAssignments(scheme, menu, args);
                            });
    const std::vector<TBatchValue> values =
        ParseAssignments(session.Scheme(), session.Menu(), args);
    return WriteAndReport(session, session.Header("set"), values, {}, dryRun, options.bJson, io);
}

}  // namespace ps::tool
