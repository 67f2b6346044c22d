// SPDX-License-Identifier: MIT
// Writing values and reporting their outcomes.
#include "VerbWrite.h"

#include <ostream>

#include "ItemRecords.h"
#include "base/Lib_String.h"
#include "platform/ExchangeFailure.h"
#include "scheme/Scheme3.h"

namespace ps::tool {
namespace {

constexpr std::size_t kSummaryEntries = 12;

const char* OutcomeWord(TWriteOutcome outcome) {
    switch (outcome) {
        case TWriteOutcome::Confirmed:
            return "confirmed";
        case TWriteOutcome::NotConfirmed:
            return "not-confirmed";
        case TWriteOutcome::SendFailed:
            return "not-sent";
    }
    return "not-sent";
}

std::string ValueAndTitle(const TSchemeOptions2& scheme, const TItemRef& ref,
                          std::optional<std::int32_t> value) {
    if (!value) return "-";
    return std::to_string(*value) + " (" + ValueText(scheme, ref, *value) + ")";
}

// The rule title of a value; null without a value or when the rule lacks it.
json RuleTitle(const TSchemeOptions2& scheme, const TItemRef& ref,
               std::optional<std::int32_t> value) {
    TSettingItem item;
    scheme.GetItem(ref.iPage, ref.iIndex, item);
    if (!value || !ValueInRule(item, *value)) return nullptr;
    return ValueText(scheme, ref, *value);
}

std::string NameOf(const TSchemeOptions2& scheme, const TItemRef& ref) {
    TSettingItem item;
    scheme.GetItem(ref.iPage, ref.iIndex, item);
    return item.Name.empty() ? ItemPlace(ref) : item.Name;
}

// "A, B" of the results with the given outcome.
std::string Names(const TSchemeOptions2& scheme, const std::vector<TBatchItemResult>& results,
                  TWriteOutcome outcome) {
    std::string names;
    for (const TBatchItemResult& r : results) {
        if (r.outcome != outcome) continue;
        if (!names.empty()) names += ", ";
        names += NameOf(scheme, r.written.ref);
        if (outcome == TWriteOutcome::NotConfirmed)
            names += r.readBack ? " (reads " + std::to_string(*r.readBack) + ")" : " (no answer)";
    }
    return names;
}

// Whether the printer took the save instruction, and so left setting mode.
std::string SendText(const TBatchSend& send) {
    if (send.bBracketSent)
        return "the writes and the save instruction were sent in one piece, so the printer left "
               "setting mode";
    if (send.bSaveSentAlone)
        return "the writes did not get out whole; the save instruction was sent alone after "
               "them, so the printer left setting mode";
    return "neither the writes nor the save instruction alone got out; the printer may still be "
           "in setting mode: switch it off and on";
}

}  // namespace

std::string RuleSummary(const TSettingItem& item) {
    const TTagItemRuleValues& rule = item.RuleValues;
    if (const TSerialRange* serial = rule.Serial(); serial && item.nParameterByte != 3)
        return std::to_string(serial->ValueAt(0)) + ".." +
               std::to_string(serial->ValueAt(serial->Count - 1)) + " in steps of " +
               std::to_string(serial->Step);
    std::string text = item.nParameterByte == 3 ? "flags " : "";
    for (std::size_t i = 0; i < rule.Count() && i < kSummaryEntries; ++i) {
        if (i > 0) text += ", ";
        const std::int32_t shown =
            item.nParameterByte == 3 ? static_cast<std::int32_t>(i) + 1 : rule.Value(i);
        text += std::to_string(shown) + "=" + rule.Title(i);
    }
    if (rule.Count() > kSummaryEntries) text += ", ...";
    if (item.nParameterByte == 3) text += " (titles joined by +, or the mask as a number)";
    return text;
}

int WriteAndReport(TPrinterSession& session, const json& header,
                   const std::vector<TBatchValue>& values,
                   const std::vector<std::optional<std::int32_t>>& previous, bool dryRun,
                   bool asJson, TVerbIo& io) {
    TSchemeOptions2& scheme = session.Scheme();
    json document = header;
    const TBytes bytes = SpacedHexToBytes(BatchWriteCommandOf(scheme, values));
    const std::string command = BytesToSpacedHex(bytes);
    std::vector<TBatchItemResult> results;
    TBatchSend send;
    if (!dryRun && !values.empty()) {
        const TReadRoute route = session.RequireReachable();
        session.RequireAdministration();
        TProgressLine progress(io, "confirming");
        results = WriteValuesAndConfirm(scheme, values, route, progress.Callback(), &send);
    }

    document["dryRun"] = dryRun;
    document["command"] = values.empty() ? "" : command;
    document["items"] = json::array();
    std::vector<std::vector<std::string>> rows;
    const bool withPrevious = !previous.empty();
    rows.push_back(withPrevious ? std::vector<std::string>{"ITEM", "NAME", "FROM", "TO", "OUTCOME"}
                                : std::vector<std::string>{"ITEM", "NAME", "VALUE", "OUTCOME"});
    for (std::size_t i = 0; i < values.size(); ++i) {
        const TBatchValue& value = values[i];
        json record = ItemRecord(scheme, value.ref, value.value);
        if (withPrevious) {
            record["previous"] = previous[i] ? json(*previous[i]) : json(nullptr);
            record["previousTitle"] = RuleTitle(scheme, value.ref, previous[i]);
        }
        const char* outcome = dryRun ? "dry-run" : OutcomeWord(results[i].outcome);
        record["outcome"] = outcome;
        record["readBack"] =
            !dryRun && results[i].readBack ? json(*results[i].readBack) : json(nullptr);
        document["items"].push_back(record);

        std::vector<std::string> row = {ItemPlace(value.ref), NameOf(scheme, value.ref)};
        if (withPrevious) row.push_back(ValueAndTitle(scheme, value.ref, previous[i]));
        row.push_back(ValueAndTitle(scheme, value.ref, value.value));
        row.push_back(outcome);
        rows.push_back(row);
    }

    if (asJson) {
        io.out << document.dump(2) << "\n";
    } else {
        if (!values.empty()) WriteTable(io.out, rows);
        if (dryRun && !values.empty()) io.out << "would send: " << command << "\n";
    }
    if (dryRun) return kVerbDone;
    bool all = true;
    for (const TBatchItemResult& r : results) all = all && r.outcome == TWriteOutcome::Confirmed;
    if (all) return kVerbDone;

    // Said in words what the printer holds and what it may not.
    const std::string confirmed = Names(scheme, results, TWriteOutcome::Confirmed);
    const std::string unconfirmed = Names(scheme, results, TWriteOutcome::NotConfirmed);
    const std::string unsent = Names(scheme, results, TWriteOutcome::SendFailed);
    const std::string reason = TakeExchangeFailure();
    io.err << "printer-settings-tool: not every value was confirmed; " << SendText(send) << "\n";
    if (!reason.empty()) io.err << "  why: " << reason << "\n";
    if (!confirmed.empty()) io.err << "  written and confirmed: " << confirmed << "\n";
    if (!unconfirmed.empty()) io.err << "  sent, not confirmed: " << unconfirmed << "\n";
    if (!unsent.empty()) io.err << "  not written: " << unsent << "\n";
    return kVerbUnreachable;
}

}  // namespace ps::tool
