// SPDX-License-Identifier: MIT
// The "get" and "export" verbs: current values read from the printer as the windows read them.
#include <filesystem>
#include <ostream>

#include "ItemRecords.h"
#include "VerbSession.h"
#include "base/AtomicFile.h"
#include "scheme/Scheme3.h"

namespace ps::tool {
namespace {

std::vector<TItemReading> ReadOrFail(TPrinterSession& session, const std::vector<TItemRef>& refs,
                                     const std::string& printer, TVerbIo& io) {
    const TReadRoute route = session.RequireReachable();
    std::vector<TItemReading> readings;
    {
        TProgressLine progress(io, "reading \"" + printer + "\"");
        readings = ReadItemValues(session.Scheme(), refs, route, progress.Callback());
    }
    std::size_t read = 0;
    for (const TItemReading& reading : readings)
        if (reading.status != TReadStatus::NoAnswer) ++read;
    if (read < readings.size())
        throw EVerbFailure(kVerbUnreachable, NoAnswerText(printer) + " (" + std::to_string(read) +
                                                 " of " + std::to_string(readings.size()) +
                                                 " items read); nothing was written");
    return readings;
}

std::optional<std::int32_t> ValueOf(const TItemReading& reading) {
    if (reading.status != TReadStatus::Read) return std::nullopt;
    return reading.value;
}

}  // namespace

int RunGetVerb(std::vector<std::string> args, TVerbIo& io) {
    const TPrinterOptions options = TakePrinterOptions(args);
    std::vector<std::uint8_t> pages;
    for (const std::string& text : TakeValues(args, "--page")) {
        const auto page = PageFromText(text);
        if (!page) throw EVerbFailure(kVerbBadInput, "no page \"" + text + "\"");
        pages.push_back(*page);
    }
    RejectUnknownOptions(args);
    if (args.empty()) throw EVerbFailure(kVerbBadInput, "get needs a printer name");
    const std::string printer = args[0];
    const auto resolve = [&](const TSchemeOptions2& scheme) {
        std::vector<TItemRef> refs;
        for (std::size_t i = 1; i < args.size(); ++i) refs.push_back(ResolveItem(scheme, args[i]));
        return refs;
    };
    TPrinterSession session(
        printer, options, io,
        [&](const TSchemeOptions2& scheme, const TIniFile&) { resolve(scheme); });
    TSchemeOptions2& scheme = session.Scheme();

    std::vector<TItemRef> refs = resolve(scheme);
    for (std::uint8_t page : pages)
        for (const TItemRef& ref : SettingItems(scheme, page)) refs.push_back(ref);
    if (args.size() == 1 && pages.empty()) refs = SettingItems(scheme);
    const std::vector<TItemReading> readings = ReadOrFail(session, refs, printer, io);

    if (options.bJson) {
        json document = session.Header("get");
        document["items"] = json::array();
        for (const TItemReading& r : readings)
            document["items"].push_back(ItemRecord(scheme, r.ref, ValueOf(r)));
        io.out << document.dump(2) << "\n";
        return kVerbDone;
    }
    std::vector<std::vector<std::string>> rows = {
        {"ITEM", "NAME", "TITLE", "CODE", "RAW", "VALUE"}};
    for (const TItemReading& r : readings) {
        const json record = ItemRecord(scheme, r.ref, ValueOf(r));
        const bool has = r.status == TReadStatus::Read;
        rows.push_back({ItemPlace(r.ref), record["name"], record["title"], record["code"],
                        has ? std::to_string(r.value) : "-",
                        has ? ValueText(scheme, r.ref, r.value) : "(not returned)"});
    }
    WriteTable(io.out, rows);
    return kVerbDone;
}

int RunExportVerb(std::vector<std::string> args, TVerbIo& io) {
    const TPrinterOptions options = TakePrinterOptions(args);
    const std::vector<std::string> outputs = TakeValues(args, "--output");
    if (outputs.size() > 1) throw EVerbFailure(kVerbBadInput, "give --output once");
    if (!outputs.empty() && outputs[0].empty())
        throw EVerbFailure(kVerbBadInput, "--output needs a file name");
    RejectUnknownOptions(args);
    if (args.size() != 1) throw EVerbFailure(kVerbBadInput, "export needs one printer name");
    TPrinterSession session(args[0], options, io);
    TSchemeOptions2& scheme = session.Scheme();
    const std::vector<TItemReading> readings =
        ReadOrFail(session, SettingItems(scheme), args[0], io);

    // Every item the printer returned; one it does not know has nothing to carry over.
    json document = session.Header("export");
    document["items"] = json::array();
    for (const TItemReading& r : readings)
        if (r.status == TReadStatus::Read)
            document["items"].push_back(ItemRecord(scheme, r.ref, r.value));
    if (outputs.empty()) {
        io.out << document.dump(2) << "\n";
        return kVerbDone;
    }
    // Whole or not at all: a reader of FILE never sees half a document, nor loses the old one
    // to a failed export.
    std::string error;
    const std::string& file = outputs[0];
    if (!WriteFileAtomically(std::filesystem::path(std::u8string(file.begin(), file.end())),
                             document.dump(2) + "\n", error))
        throw EVerbFailure(kVerbUnreachable, "cannot write " + file + ": " + error);
    return kVerbDone;
}

}  // namespace ps::tool
