// SPDX-License-Identifier: MIT
// The "import" verb: a document written by "export" applied to a printer. Only the items that
// differ are written; items the printer's scheme lacks, or whose value its rule does not hold,
// are listed and skipped, never guessed.
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "ImportDocument.h"
#include "ItemRecords.h"
#include "VerbSession.h"
#include "VerbWrite.h"
#include "base/AsciiText.h"
#include "scheme/Scheme3.h"

namespace ps::tool {
namespace {

std::string ReadDocumentText(const std::string& file) {
    if (file == "-") {
        return std::string(std::istreambuf_iterator<char>(std::cin), {});
    }
    std::ifstream in(std::filesystem::path(std::u8string(file.begin(), file.end())),
                     std::ios::binary);
    if (!in) throw EVerbFailure(kVerbBadInput, "cannot read " + file);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The printer's setting item for a document item: same page and Name (letter case ignored),
// or, for an item without a name, the same read code.
std::optional<TItemRef> MatchItem(const TSchemeOptions2& scheme, const TSourceItem& source) {
    const auto page = PageFromText(source.page);
    if (!page) return std::nullopt;
    for (const TItemRef& ref : SettingItems(scheme, *page)) {
        TSettingItem item;
        scheme.GetItem(ref.iPage, ref.iIndex, item);
        const bool same = source.name.empty() ? SameTextNoCase(item.GetInstruction, source.code)
                                              : SameTextNoCase(item.Name, source.name);
        if (same) return ref;
    }
    return std::nullopt;
}

}  // namespace

int RunImportVerb(std::vector<std::string> args, TVerbIo& io) {
    const TPrinterOptions options = TakePrinterOptions(args);
    const bool dryRun = TakeFlag(args, "--dry-run");
    const bool force = TakeFlag(args, "--force");
    RejectUnknownOptions(args);
    if (args.size() != 2) throw EVerbFailure(kVerbBadInput, "import needs a printer and a file");
    const std::string printer = args[0];
    // The document is checked whole before the printer is touched.
    const TSourceDocument source = ParseImportDocument(ReadDocumentText(args[1]), args[1]);
    TPrinterSession session(printer, options, io);
    TSchemeOptions2& scheme = session.Scheme();
    const std::string model = scheme.m_Sections.PrinterName;
    if (TrimAscii(source.model) != TrimAscii(model)) {
        if (!force)
            throw EVerbFailure(kVerbBadInput, args[1] + " comes from a \"" + source.model +
                                                  "\", but \"" + printer + "\" is a \"" + model +
                                                  "\"; --force imports it all the same");
        io.err << "printer-settings-tool: importing values of a \"" << source.model
               << "\" into a \"" << model << "\" (--force)\n";
    }

    json skipped = json::array();
    std::vector<TBatchValue> wanted;
    auto skip = [&](const TSourceItem& item, const std::string& reason) {
        skipped.push_back({{"page", item.page},
                           {"name", item.name},
                           {"value", item.value ? json(*item.value) : json(nullptr)},
                           {"reason", reason}});
        io.err << "printer-settings-tool: skipped " << item.page << " item \"" << item.name
               << "\": " << reason << "\n";
    };
    for (const TSourceItem& item : source.items) {
        const auto ref = MatchItem(scheme, item);
        TSettingItem target;
        if (!ref) {
            skip(item, "not in the scheme of this printer");
        } else if (!item.value) {
            skip(item, "no value in the document");
        } else if (scheme.GetItem(ref->iPage, ref->iIndex, target);
                   !ValueInRule(target, *item.value)) {
            skip(item, "value " + std::to_string(*item.value) + " is not in this printer's rule");
        } else if (std::any_of(wanted.begin(), wanted.end(),
                               [&](const TBatchValue& v) { return v.ref == *ref; })) {
            skip(item, "given twice in the document");
        } else {
            wanted.push_back({*ref, *item.value});
        }
    }

    // The difference against the printer: only what differs is written.
    std::vector<TItemRef> refs;
    for (const TBatchValue& value : wanted) refs.push_back(value.ref);
    const TReadRoute route = session.RequireReachable();
    std::vector<TItemReading> readings;
    {
        TProgressLine progress(io, "reading \"" + printer + "\"");
        readings = ReadItemValues(scheme, refs, route, progress.Callback());
    }
    std::vector<TBatchValue> changes;
    std::vector<std::optional<std::int32_t>> previous;
    json unchanged = json::array();
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        if (readings[i].status == TReadStatus::NoAnswer)
            throw EVerbFailure(kVerbUnreachable, NoAnswerText(printer) + "; nothing was written");
        TSettingItem target;
        scheme.GetItem(wanted[i].ref.iPage, wanted[i].ref.iIndex, target);
        const bool read = readings[i].status == TReadStatus::Read;
        if (read && SameValueBytes(target.nParameterByte, readings[i].value, wanted[i].value)) {
            unchanged.push_back(ItemRecord(scheme, wanted[i].ref, readings[i].value));
            continue;
        }
        changes.push_back(wanted[i]);
        previous.push_back(read ? std::optional(readings[i].value) : std::nullopt);
    }

    json document = session.Header("import");
    document["source"] = {{"printer", source.printer}, {"model", source.model}};
    document["forced"] = force;
    document["unchanged"] = unchanged;
    document["skipped"] = skipped;
    if (changes.empty() && !options.bJson)
        io.out << "nothing to change: " << unchanged.size()
               << " item(s) already hold the document's values\n";
    return WriteAndReport(session, document, changes, previous, dryRun, options.bJson, io);
}

}  // namespace ps::tool
