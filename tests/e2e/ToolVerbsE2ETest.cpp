// SPDX-License-Identifier: MIT
// printer-settings-tool's printer verbs run whole against emulation directories with the
// shipped passbook and inkjet schemes: what they read, write and refuse, what the emulated
// printers received (commands.log), and every document checked against the schema that
// docs/command-line.md publishes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <thread>
#include <valijson/adapters/nlohmann_json_adapter.hpp>
#include <valijson/schema.hpp>
#include <valijson/schema_parser.hpp>
#include <valijson/validator.hpp>

#include "ProgramRunner.h"
#include "base/FileLock.h"
#include "support/EmulationDirBuilder.h"
#include "support/TestSupport.h"

namespace ps::test {
namespace {

namespace fs = std::filesystem;
using json = nlohmann::json;

// The write bracket of the passbook scheme for item writes given as hex text.
std::string Bracket(const std::string& writes) {
    return "monitor 1B 1D 1E 05 01 1B 1D 1F " + writes + " 1B 1D 1E 05 02 1B 1D 1F";
}

// The schema block of docs/command-line.md, parsed once.
const valijson::Schema& PublishedSchema() {
    static const valijson::Schema* schema = [] {
        const std::string doc = ReadFileBytes(SourceDir() / "docs" / "command-line.md");
        const std::size_t mark = doc.find("<!-- json-schema -->");
        const std::size_t begin = doc.find("```json\n", mark) + 8;
        const std::size_t end = doc.find("```", begin);
        static const json text = json::parse(doc.substr(begin, end - begin));
        static valijson::Schema parsed;
        valijson::SchemaParser parser;
        valijson::adapters::NlohmannJsonAdapter adapter(text);
        parser.populateSchema(adapter, parsed);
        return &parsed;
    }();
    return *schema;
}

// The problems of a document against the schema (empty when it conforms).
std::string SchemaProblems(const json& document) {
    valijson::Validator validator(valijson::Validator::kStrongTypes);
    valijson::ValidationResults results;
    valijson::adapters::NlohmannJsonAdapter adapter(document);
    if (validator.validate(PublishedSchema(), adapter, &results)) return {};
    std::string problems;
    valijson::ValidationResults::Error error;
    while (results.popError(error)) {
        for (const std::string& part : error.context) problems += part;
        problems += ": " + error.description + "\n";
    }
    return problems;
}

class ToolVerbsE2E : public ::testing::Test {
protected:
    ToolVerbsE2E() : m_Builder(m_Dir.Path()) {
        m_Builder.Kernel("LangId", "0x0409").VirtualClock();
        const fs::path schemes = SourceDir() / "resources" / "Scheme";
        const std::string passbook = (schemes / "QR-520_Settings.Dat").string();
        const std::string inkjet = (schemes / "QJ-760_Settings.Dat").string();
        Printer("Passbook", "USB001", "qra", passbook, "11=0,14=-5,2E=1179648,40=5");
        Printer("Second", "USB002", "qrb", passbook, "11=1,14=3");
        Printer("Passbook LPT", "LPT1", "qrl", passbook, "11=0,14=-5");
        Printer("Inkjet", "USB003", "qj", inkjet, "11=2,20=45");
        m_Builder.Device("qj").Set("Menu", (schemes / "QJ-760_Menu.Dat").string());
    }

    void Printer(const std::string& name, const std::string& port, const std::string& device,
                 const std::string& scheme, const std::string& values) {
        m_Builder.Device(device, port.starts_with("USB") ? port : "", "MFG:Talvenor;MDL:Test;")
            .Set("Scheme", scheme)
            .Set("Values", values);
        m_Builder.Printer(name, port)
            .Set("DriverName", "Talvenor Test")
            .Set("DependentFiles", scheme)
            .Set("Device", device);
    }

    TProgramResult Tool(const std::vector<std::string>& args) {
        m_Builder.Write();
        return RunProgram(PRINTER_SETTINGS_TOOL_BIN, args,
                          {{"PRINTER_SETTINGS_EMULATION", m_Dir.Path().string()}});
    }

    // Runs a verb with --json, expects `rc` and a document that follows the schema.
    json Document(std::vector<std::string> args, int rc = 0) {
        if (args.front() != "export") args.push_back("--json");
        const TProgramResult result = Tool(args);
        EXPECT_EQ(result.exitCode, rc) << result.err;
        json document;
        try {
            document = json::parse(result.out);
        } catch (const json::exception& e) {
            ADD_FAILURE() << "not JSON: " << e.what() << "\n" << result.out;
            return document;
        }
        EXPECT_EQ(SchemaProblems(document), "") << args.front() << ": " << result.out;
        return document;
    }

    // Item name -> value of a get or export document.
    static std::map<std::string, json> Values(const json& document) {
        std::map<std::string, json> values;
        for (const json& item : document["items"])
            values[item["page"].get<std::string>() + "/" + item["name"].get<std::string>()] =
                item["value"];
        return values;
    }

    std::vector<std::string> Log(const std::string& device) { return m_Builder.CommandLog(device); }

    TTempDir m_Dir;
    TEmulationDirBuilder m_Builder;
};

TEST_F(ToolVerbsE2E, GetGivesTheValuesPresetInThePrinters) {
    json passbook = Document({"get", "Passbook", "PrintQuality", "base/4", "Sensors", "BaudRate"});
    ASSERT_EQ(passbook["items"].size(), 4u);
    EXPECT_EQ(passbook["model"], "Talvenor QR-520");
    EXPECT_EQ(passbook["items"][0]["value"], 0);
    EXPECT_EQ(passbook["items"][0]["valueTitle"], "Draft");
    EXPECT_EQ(passbook["items"][1]["name"], "TearOffPosition");
    EXPECT_EQ(passbook["items"][1]["value"], -5);
    EXPECT_EQ(passbook["items"][2]["valueTitle"], "4, 7");  // flags 4 and 7 of the mask
    EXPECT_EQ(passbook["items"][3]["valueTitle"], "38400");
    // Over USB one page command per page, the base page and the advanced page.
    EXPECT_EQ(Log("qra").size(), 3u);
    EXPECT_EQ(Log("qra")[0],
              "usb 1B 1D 1E 05 03 0E 10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D "
              "1B 1D 1F");

    // The inkjet's menu comes from the printer; its values too.
    json inkjet = Document({"get", "Inkjet", "--page", "base", "LineSpacing"});
    EXPECT_EQ(inkjet["menuVersion"], 1);
    auto values = Values(inkjet);
    EXPECT_EQ(values["base/PrintQuality"], 2);
    EXPECT_EQ(values["advanced/LineSpacing"], 45);
    EXPECT_EQ(values.size(), 10u);
    EXPECT_TRUE(fs::exists(m_Dir.Path() / "temp" / "Talvenor Printer" / "Inkjet.DAT"));

    // On a parallel port, single reads through the port monitor; the table names the titles.
    const TProgramResult lpt = Tool({"get", "Passbook LPT", "printquality", "TearOffPosition"});
    ASSERT_EQ(lpt.exitCode, 0) << lpt.err;
    EXPECT_NE(lpt.out.find("base/1  PrintQuality     Print quality      11    0    Draft"),
              std::string::npos)
        << lpt.out;
    EXPECT_NE(lpt.out.find("-5   -5/60 inch  ( -2.12mm )"), std::string::npos) << lpt.out;
    EXPECT_EQ(Log("qrl"), (std::vector<std::string>{"monitor 1B 1D 1E 05 03 01 11 1B 1D 1F",
                                                    "monitor 1B 1D 1E 05 03 01 14 1B 1D 1F"}));
}

TEST_F(ToolVerbsE2E, SetChangesTheValueAndTheNextGetShowsIt) {
    json set = Document({"set", "Passbook", "PrintQuality=letter QUALITY", "TearOffPosition=12",
                         "Sensors=Paper jam+Cover open+Paper end (front)"});
    ASSERT_EQ(set["items"].size(), 3u);
    for (const json& item : set["items"]) EXPECT_EQ(item["outcome"], "confirmed") << item;
    // All three writes in one bracket, sent in one piece through the port monitor.
    const std::string bracket = Bracket(
        "1B 1D 1E 05 04 11 01 1B 1D 1F 1B 1D 1E 05 04 14 0C 1B 1D 1F "
        "1B 1D 1E 05 04 2E 92 00 00 1B 1D 1F");
    EXPECT_EQ(Log("qra").front(), bracket);
    EXPECT_EQ(set["command"], bracket.substr(8));

    auto values =
        Values(Document({"get", "Passbook", "PrintQuality", "TearOffPosition", "Sensors"}));
    EXPECT_EQ(values["base/PrintQuality"], 1);
    EXPECT_EQ(values["base/TearOffPosition"], 12);
    EXPECT_EQ(values["advanced/Sensors"], 0x920000);

    // A title of another of the scheme's languages, and a dry run that sends nothing.
    const std::size_t logged = Log("qra").size();
    json dry = Document({"set", "Passbook", "PrintQuality=草稿", "--dry-run"});
    EXPECT_EQ(dry["items"][0]["outcome"], "dry-run");
    EXPECT_EQ(dry["items"][0]["value"], 0);
    EXPECT_EQ(Log("qra").size(), logged);
    const TProgramResult chinese = Tool({"set", "Passbook", "PrintQuality=草稿"});
    EXPECT_EQ(chinese.exitCode, 0) << chinese.err;
    EXPECT_EQ(Log("qra")[logged], Bracket("1B 1D 1E 05 04 11 00 1B 1D 1F"));
}

TEST_F(ToolVerbsE2E, BadInputIsRefusedWithNothingSent) {
    struct TCase {
        std::vector<std::string> args;
        int rc;
        const char* message;
    };
    m_Dir.Write("broken.json", "{\"format\": \"printer-settings-tool/1\", \"items\": [");
    m_Dir.Write("wrong.json", R"({"format": "printer-settings-tool/1", "model": "Talvenor QR-520",
                                  "items": [{"page": "base", "name": "PaperType", "value": "1"}]})");
    // Above the signed 64-bit range: held unsigned, it must not come back as -1.
    m_Dir.Write("huge.json", R"({"format": "printer-settings-tool/1", "model": "Talvenor QR-520",
        "items": [{"page": "base", "name": "TearOffPosition", "value": 18446744073709551615}]})");
    m_Dir.Write("overflow.json", R"({"format": "printer-settings-tool/1", "items": [1e999]})");
    const std::string broken = (m_Dir.Path() / "broken.json").string();
    const std::string wrong = (m_Dir.Path() / "wrong.json").string();
    const std::string huge = (m_Dir.Path() / "huge.json").string();
    const std::string overflow = (m_Dir.Path() / "overflow.json").string();
    const std::vector<TCase> cases = {
        {{"set", "Passbook", "PrintQuality=Best"},
         3,
         "\"Best\" is not a value of PrintQuality (base/1); its rule holds 0=Draft, 1=Letter "
         "quality"},
        {{"set", "Passbook", "TearOffPosition=31"}, 3, "its rule holds -30..30 in steps of 1"},
        {{"set", "Passbook", "Sensors=3"}, 3, "is not a value of Sensors"},
        {{"set", "Passbook", "PrintQuality=1", "PrintQuality=0"}, 3, "base/1 is given twice"},
        {{"set", "Passbook", "Volume=3"}, 3, "no item named \"Volume\""},
        {{"get", "Passbook", "base/14"}, 3, "no item \"base/14\""},
        {{"get", "Inkjet", "Ink_Clean"}, 3, "is a printer function"},
        {{"get", "Nowhere"}, 3, "unknown printer \"Nowhere\""},
        {{"get", "Passbook", "--wait", "soon"}, 3, "--wait needs a number of seconds"},
        {{"get", "Passbook", "--colour"}, 3, "unknown option --colour"},
        {{"import", "Passbook", broken}, 3, "malformed JSON"},
        {{"import", "Passbook", wrong}, 3, "the value of item \"PaperType\" must be a 32-bit"},
        {{"import", "Passbook", huge}, 3, "the value of item \"TearOffPosition\" must be a 32-bit"},
        {{"import", "Passbook", overflow}, 3, "malformed JSON"},
        {{"frobnicate", "Passbook"}, 1, "unknown command"},
    };
    for (const TCase& c : cases) {
        const TProgramResult result = Tool(c.args);
        EXPECT_EQ(result.exitCode, c.rc) << c.args[1] << " " << result.err;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
    }
    // Not one byte reached either printer.
    EXPECT_TRUE(Log("qra").empty());
    EXPECT_TRUE(Log("qj").size() <= 3u);  // the inkjet's menu download only
    for (const std::string& line : Log("qj")) EXPECT_EQ(line.find("05 01"), std::string::npos);
}

TEST_F(ToolVerbsE2E, StartUpChecksAndUnreachablePrinters) {
    m_Builder.Printer("Second", "USB002").Set("QueuedJobs", "1");
    const TProgramResult queued = Tool({"get", "Second"});
    EXPECT_EQ(queued.exitCode, 1);
    EXPECT_NE(queued.err.find("There are some print task in driver"), std::string::npos);
    EXPECT_NE(queued.err.find("jobs wait in the queue of \"Second\""), std::string::npos);

    m_Builder.Printer("Passbook", "USB001").Set("WorkOffline", "1");
    const TProgramResult offline = Tool({"set", "Passbook", "PrintQuality=1"});
    EXPECT_EQ(offline.exitCode, 2);
    EXPECT_NE(offline.err.find("off-line"), std::string::npos) << offline.err;

    m_Builder.Device("qrl").Set("Mute", "1");
    const TProgramResult mute = Tool({"get", "Passbook LPT"});
    EXPECT_EQ(mute.exitCode, 2);
    EXPECT_NE(mute.err.find("did not answer (0 of 40 items read)"), std::string::npos) << mute.err;
    EXPECT_EQ(Log("qrl").size(), 1u);  // asked once, not once per item
    EXPECT_TRUE(Log("qra").empty());
}

TEST_F(ToolVerbsE2E, ExportedValuesImportedIntoASecondPrinterWritingOnlyTheDifferences) {
    // Written whole to the file named, nothing on standard output; a file that cannot be
    // written is a failure, and the old file stays.
    const fs::path file = m_Dir.Path() / "passbook.json";
    const TProgramResult written = Tool({"export", "Passbook", "--output", file.string()});
    EXPECT_EQ(written.exitCode, 0) << written.err;
    EXPECT_EQ(written.out, "");
    const json exported = json::parse(ReadFileBytes(file));
    EXPECT_EQ(SchemaProblems(exported), "");
    EXPECT_EQ(exported["schemeVersion"], "2.3.0.8");
    EXPECT_EQ(exported["items"].size(), 40u);
    const TProgramResult lost =
        Tool({"export", "Passbook", "--output", (m_Dir.Path() / "gone" / "x.json").string()});
    EXPECT_EQ(lost.exitCode, 2);
    EXPECT_NE(lost.err.find("cannot write"), std::string::npos) << lost.err;

    // A dry run shows the difference and sends nothing.
    json dry = Document({"import", "Second", file.string(), "--dry-run"});
    EXPECT_EQ(dry["items"].size(), 4u) << dry["items"];
    EXPECT_EQ(dry["unchanged"].size(), 36u);
    EXPECT_EQ(Log("qrb").size(), 5u);  // the five pages read, nothing written

    json imported = Document({"import", "Second", file.string()});
    ASSERT_EQ(imported["items"].size(), 4u);
    EXPECT_EQ(imported["items"][0]["name"], "PrintQuality");
    EXPECT_EQ(imported["items"][0]["previous"], 1);
    EXPECT_EQ(imported["items"][0]["previousTitle"], "Letter quality");
    EXPECT_EQ(imported["items"][0]["valueTitle"], "Draft");
    EXPECT_EQ(imported["items"][0]["outcome"], "confirmed");
    const auto log = Log("qrb");
    ASSERT_EQ(log.size(), 5u + 5u + 1u + 3u);  // dry run, pages read, the write, pages read back
    EXPECT_EQ(log[10],
              Bracket("1B 1D 1E 05 04 11 00 1B 1D 1F 1B 1D 1E 05 04 14 FB 1B 1D 1F "
                      "1B 1D 1E 05 04 2E 12 00 00 1B 1D 1F 1B 1D 1E 05 04 40 05 1B 1D 1F"));
    EXPECT_EQ(Values(Document({"get", "Second"})), Values(Document({"get", "Passbook"})));

    // Once equal, nothing is written.
    const TProgramResult again = Tool({"import", "Second", file.string()});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_NE(again.out.find("nothing to change: 40 item(s)"), std::string::npos) << again.out;

    // Another model is refused; forced, the items its scheme lacks are listed and skipped.
    const TProgramResult other = Tool({"import", "Inkjet", file.string()});
    EXPECT_EQ(other.exitCode, 3);
    EXPECT_NE(other.err.find("comes from a \"Talvenor QR-520\", but \"Inkjet\" is a \"Talvenor "
                             "QJ-760\""),
              std::string::npos)
        << other.err;
    json forced = Document({"import", "Inkjet", file.string(), "--force", "--dry-run"});
    std::map<std::string, int> reasons;
    for (const json& skipped : forced["skipped"]) ++reasons[skipped["reason"]];
    EXPECT_EQ(reasons["not in the scheme of this printer"], 15);
    // The passbook's Sensors mask names a seventh flag the inkjet does not have.
    EXPECT_EQ(reasons["value 1179648 is not in this printer's rule"], 1);
    for (const std::string& line : Log("qj")) EXPECT_EQ(line.find("05 01"), std::string::npos);
}

TEST_F(ToolVerbsE2E, PrinterThatStopsAnsweringMidImportIsLeftOutOfSettingMode) {
    json exported = Document({"export", "Passbook"});
    const fs::path file = m_Dir.Write("passbook.json", exported.dump());
    // Five page reads for the difference and one read-back page answered, then no more.
    m_Builder.Device("qrb").Set("MuteAfterReplies", "6");
    const TProgramResult result = Tool({"import", "Second", file.string()});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("written and confirmed: PrintQuality, TearOffPosition"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("sent, not confirmed: Sensors (no answer), BaudRate (no answer)"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("the writes and the save instruction were sent in one piece, so "
                              "the printer left setting mode"),
              std::string::npos)
        << result.err;
    // The printer took the whole bracket and left setting mode with its save.
    const std::string events = ReadFileBytes(m_Builder.DeviceDir("qrb") / "events.log");
    EXPECT_NE(events.find("save: 4 value(s) committed"), std::string::npos) << events;
    EXPECT_GT(events.rfind("save:"), events.rfind("enter setting mode"));
    // The read-back pages: base answered, advanced not; the rest never asked.
    EXPECT_EQ(Log("qrb").size(), 5u + 1u + 2u);
}

TEST_F(ToolVerbsE2E, PrintersAndEveryDocumentFollowThePublishedSchema) {
    m_Builder.Printer("Nothing", "").Set("DriverName", "Talvenor Test");
    json printers = Document({"printers"});
    ASSERT_EQ(printers["printers"].size(), 5u);
    EXPECT_EQ(printers["printers"][0]["portKind"], "usb");
    EXPECT_EQ(printers["printers"][0]["usable"], true);
    EXPECT_EQ(printers["printers"][0]["schemeFound"], true);
    EXPECT_EQ(printers["printers"][2]["portKind"], "local");
    EXPECT_EQ(printers["printers"][4]["portKind"], "none");
    EXPECT_EQ(printers["printers"][4]["usable"], false);
    const TProgramResult table = Tool({"printers"});
    EXPECT_NE(table.out.find("Passbook LPT  LPT1    local"), std::string::npos) << table.out;

    // The schema is strict: a document with a stray or missing member does not pass.
    json get = Document({"get", "Inkjet"});
    get["colour"] = "red";
    EXPECT_NE(SchemaProblems(get), "");
    json set = Document({"set", "Inkjet", "PrintQuality=0"});
    set.erase("command");
    EXPECT_NE(SchemaProblems(set), "");
    json exported = Document({"export", "Inkjet"});
    exported["items"][0]["value"] = nullptr;
    EXPECT_NE(SchemaProblems(exported), "");
    Document({"import", "Inkjet",
              m_Dir.Write("inkjet.json", Document({"export", "Inkjet"}).dump()).string()});
}

TEST_F(ToolVerbsE2E, SecondProgramWaitsForThePrinterOrGivesUp) {
    m_Builder.Write();
    Tool({"printers"});  // the cache folder exists from here on
    // The lock of the printer's device, which every printer on it shares.
    const fs::path lockFile =
        m_Dir.Path() / "temp" / "Talvenor Printer" / "locks" / "device qra.lock";
    fs::create_directories(lockFile.parent_path());
    std::unique_ptr<ps::fs::TFileLock> held;
    std::string error;
    ASSERT_EQ(ps::fs::TFileLock::TryLock(lockFile, held, error), ps::fs::TFileLock::TResult::Taken);

    const TProgramResult busy = Tool({"get", "Passbook", "PrintQuality", "--wait", "1"});
    EXPECT_EQ(busy.exitCode, 4);
    EXPECT_NE(busy.err.find("\"Passbook\" is in use by another Printer Settings program; "
                            "waiting up to 1 s"),
              std::string::npos)
        << busy.err;
    EXPECT_NE(busy.err.find("still in use after 1 s; nothing was done"), std::string::npos);
    EXPECT_TRUE(Log("qra").empty());

    // Arguments the scheme can judge are refused at once, without waiting for the printer.
    const TProgramResult bad = Tool({"set", "Passbook", "PrintQuality=Best", "--wait", "1"});
    EXPECT_EQ(bad.exitCode, 3) << bad.err;
    EXPECT_EQ(bad.err.find("in use by another"), std::string::npos) << bad.err;

    // Without a limit it waits, and goes ahead once the other program is done.
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        held.reset();
    });
    const TProgramResult waited = Tool({"get", "Passbook", "PrintQuality"});
    release.join();
    EXPECT_EQ(waited.exitCode, 0) << waited.err;
    EXPECT_NE(waited.err.find("waiting..."), std::string::npos) << waited.err;
    EXPECT_EQ(Log("qra").size(), 1u);
}

TEST_F(ToolVerbsE2E, TwoProgramsOnTwoPrintersOfOneDirectoryKeepBothChanges) {
    // On the real clock the first program waits for its slow printer's read-back while the
    // second one sets the other printer and ends.
    m_Builder.Section("Clock").Set("Virtual", "0");
    m_Builder.Device("qra").Set("ReplyDelayMs", "1000");
    const std::map<std::string, std::string> env = {
        {"PRINTER_SETTINGS_EMULATION", m_Builder.Write().string()}};
    TProgramResult slow;
    std::thread first([&] {
        slow =
            RunProgram(PRINTER_SETTINGS_TOOL_BIN, {"set", "Passbook", "TearOffPosition=12"}, env);
    });
    for (int i = 0; i < 1000 && Log("qra").empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const TProgramResult quick =
        RunProgram(PRINTER_SETTINGS_TOOL_BIN, {"set", "Second", "TearOffPosition=7"}, env);
    first.join();
    EXPECT_EQ(slow.exitCode, 0) << slow.err;
    EXPECT_EQ(quick.exitCode, 0) << quick.err;

    // Each printer keeps its change; the printers neither program used are not written.
    EXPECT_NE(ReadFileBytes(m_Builder.DeviceDir("qra") / "state.ini").find("14=12\r\n"),
              std::string::npos);
    EXPECT_NE(ReadFileBytes(m_Builder.DeviceDir("qrb") / "state.ini").find("14=7\r\n"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(m_Builder.DeviceDir("qj") / "state.ini"));
    EXPECT_FALSE(fs::exists(m_Builder.DeviceDir("qrl") / "state.ini"));
    auto values = Values(Document({"get", "Second", "TearOffPosition"}));
    EXPECT_EQ(values["base/TearOffPosition"], 7);
}

}  // namespace
}  // namespace ps::test
