// SPDX-License-Identifier: MIT
// The "scheme" command: dump a loaded scheme as JSON, or lint it in all four languages.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "JsonStream.h"
#include "ToolCommands.h"
#include "ToolCommon.h"
#include "base/Lib_String.h"
#include "localisation/Scheme.h"
#include "platform/UserInterface.h"
#include "scheme/Scheme3.h"

namespace ps::tool {
namespace {

using json = nlohmann::ordered_json;

struct TShownMessage {
    std::string caption;
    std::string text;
};

// Writes message boxes to standard error like the console hook and keeps a copy of each.
class TRecordingConsole : public TConsoleUserInterface {
public:
    explicit TRecordingConsole(std::vector<TShownMessage>& messages) : m_Messages(messages) {}
    TMessageResult ShowMessage(TOwnerWindow owner, const std::string& caption,
                               const std::string& text, TMessageIcon icon,
                               TMessageButtons buttons) override {
        m_Messages.push_back({caption, text});
        return TConsoleUserInterface::ShowMessage(owner, caption, text, icon, buttons);
    }

private:
    std::vector<TShownMessage>& m_Messages;
};

struct TLoaded {
    std::unique_ptr<TSchemeOptions2> scheme = std::make_unique<TSchemeOptions2>();
    std::vector<TShownMessage> messages;
    std::string error;  // empty when the load succeeded
};

void RequireFile(const std::string& name) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(
            std::filesystem::path(std::u8string(name.begin(), name.end())), ec))
        throw std::runtime_error("cannot read '" + name + "': no such file");
}

// Loads a scheme file and a menu file (the scheme file itself when none is given) the way
// start-up does, recording the message boxes shown meanwhile.
TLoaded LoadScheme(const std::string& schemeFile, const std::string& menuFile) {
    TLoaded loaded;
    InstallUserInterface(std::make_unique<TRecordingConsole>(loaded.messages));
    try {
        RequireFile(schemeFile);
        RequireFile(menuFile);
        loaded.scheme->LoadFromFile(schemeFile);
        loaded.scheme->LoadPrinterMenu(menuFile);
    } catch (const std::exception& e) {
        loaded.error = e.what();
    }
    InstallUserInterface(nullptr);
    return loaded;
}

json EntryJson(const TSettingItem& item) {
    return json{
        {"Name", item.Name}, {"Icon", item.Icon}, {"Title", item.Title}, {"Note", item.Note}};
}

// One item, streamed: a SERIAL rule's values and titles are computed one at a time.
void WriteItem(TJsonStream& out, const TSettingItem& item) {
    out.BeginObject();
    out.Key("TaskIndex");
    out.Integer(item.TaskIndex);
    out.Key("Name");
    out.String(item.Name);
    out.Key("GetInstruction");
    out.String(item.GetInstruction);
    out.Key("SetInstruction");
    out.String(item.SetInstruction);
    out.Key("Icon");
    out.String(item.Icon);
    out.Key("nParameterByte");
    out.Integer(item.nParameterByte);
    out.Key("RuleType");
    out.String(item.RuleType);
    out.Key("RuleString");
    out.String(item.RuleString);
    out.Key("Title");
    out.String(item.Title);
    out.Key("Note");
    out.String(item.Note);
    out.Key("Explain");
    out.String(item.Explain);
    out.Key("ValueDefault");
    out.Integer(item.ValueDefault);
    out.Key("ValueCurrent");
    out.Integer(item.ValueCurrent);
    out.Key("nRuleValueCount");
    out.Integer(item.nRuleValueCount);
    out.Key("RuleValues");
    out.BeginObject();
    out.Key("RuleValue");
    out.BeginArray();
    for (std::size_t i = 0; i < item.RuleValues.Count(); ++i) out.Integer(item.RuleValues.Value(i));
    out.EndArray();
    out.Key("RuleTitle");
    out.BeginArray();
    for (std::size_t i = 0; i < item.RuleValues.Count(); ++i) out.String(item.RuleValues.Title(i));
    out.EndArray();
    out.EndObject();
    out.Key("iSubGroup");
    out.Integer(item.iSubGroup);
    out.EndObject();
}

json GlobalJson(const TTagSections& s) {
    json j;
    j["MenuVersion"] = s.MenuVersion;
    j["PrinterName"] = s.PrinterName;
    j["nSectionCount"] = s.nSectionCount;
    j["Section"] = json::array();
    j["InstructionTail"] = s.InstructionTail;
    j["EnterInstruction"] = s.EnterInstruction;
    j["SaveInstruction"] = s.SaveInstruction;
    j["InstructionGetValueClass"] = s.InstructionGetValueClass;
    j["AffirmReadDisable"] = s.AffirmReadDisable.Get();
    j["ReadOnLastFail"] = s.ReadOnLastFail;
    j["TimeOutItem"] = s.TimeOutItem;
    j["TimeOutPage"] = s.TimeOutPage;
    j["ReturnPrefix"] = BytesToSpacedHex(s.ReturnPrefix);
    j["WriteReadDelay"] = s.WriteReadDelay;
    j["ReadMenuDelay"] = s.ReadMenuDelay;
    j["SleepBeforeRead"] = s.SleepBeforeRead;
    j["ClearBeforeReadMenu"] = s.ClearBeforeReadMenu;
    j["MultiReadRetry"] = s.MultiReadRetry;
    j["CleanSleeptime"] = s.CleanSleeptime;
    j["DeepcleanSleeptime"] = s.DeepcleanSleeptime;
    j["NewPrinterSleeptime"] = s.NewPrinterSleeptime;
    j["RollercleanTime"] = s.RollercleanTime;
    j["ChangeHeadTime"] = s.ChangeHeadTime;
    j["ChangeBoxTime"] = s.ChangeBoxTime;
    j["DeepcleanIntervaltime"] = s.DeepcleanIntervaltime;
    j["LastDeepcleantime"] = FormatIsoDateTime(s.LastDeepcleantime);
    j["DriverVersion"] = s.DriverVersion;
    j["WebAddress"] = s.WebAddress;
    j["LenBM"] = s.LenBM;
    j["LenLock"] = s.LenLock;
    j["SettingCommand"] = s.SettingCommand;
    j["PrinterType"] = s.PrinterType;
    return j;
}

// The pages in the order of their codes; the base page is shown under code 1.
constexpr std::uint8_t kDumpPages[] = {kPageAdvance,    kPageBaseItem,   kPageMaintenance,
                                       kPageSubGroup01, kPageSubGroup02, kPageSubGroup64};

std::vector<std::string> TakeFiles(std::vector<std::string>& args, const char* command) {
    for (const auto& arg : args)
        if (arg.size() > 1 && arg[0] == '-' && arg[1] == '-')
            throw EUsageError("scheme " + std::string(command) + ": unknown option '" + arg + "'");
    if (args.empty() || args.size() > 2)
        throw EUsageError("scheme " + std::string(command) + " takes SCHEME_FILE [MENU_FILE]");
    if (args.size() == 1) args.push_back(args[0]);
    return args;
}

int Dump(std::vector<std::string> args) {
    const auto langId = TakeLanguageOption(args);
    const auto files = TakeFiles(args, "dump");
    ApplySystemLanguage(langId);

    TLoaded loaded = LoadScheme(files[0], files[1]);
    if (!loaded.error.empty()) {
        std::cerr << "printer-settings-tool: scheme load failed: " << loaded.error << "\n";
        return kExitLoadError;
    }
    const TSchemeOptions2& scheme = *loaded.scheme;

    // Streamed, so the output's size never has to fit in memory.
    TJsonStream out(std::cout);
    out.BeginObject();
    out.Key("language");
    out.String(LanguageSuffix(g_GlobalString.Language));
    out.Key("global");
    out.Value(GlobalJson(scheme.m_Sections));
    out.Key("index");
    out.BeginObject();
    for (std::uint8_t page : {kPageAdvance, kPageMaintenance, kPageBase}) {
        out.Key(std::to_string(page));
        out.Value(EntryJson(scheme.m_IndexItems[page]));
    }
    out.EndObject();
    out.Key("pages");
    out.BeginObject();
    for (std::uint8_t page : kDumpPages) {
        out.Key(std::to_string(page));
        out.BeginArray();
        for (const auto& item : *scheme.PageItems(page)) WriteItem(out, item);
        out.EndArray();
    }
    out.EndObject();
    out.Key("messages");
    out.BeginArray();
    for (const auto& m : loaded.messages) {
        out.BeginObject();
        out.Key("caption");
        out.String(m.caption);
        out.Key("text");
        out.String(m.text);
        out.EndObject();
    }
    out.EndArray();
    out.EndObject();
    out.Flush();
    std::cout << "\n";
    return kExitOk;
}

// ---- lint ----

constexpr const char* kLintLanguages[] = {"CN", "CHT", "EN", "JP"};

std::string OneLine(std::string text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += (text[i] == '\r' || text[i] == '\n') ? std::string(" / ") : std::string(1, text[i]);
    }
    return out;
}

std::string ItemLabel(std::uint8_t page, std::size_t index, const TSettingItem& item) {
    std::string label = "[" + ItemSectionName(page, static_cast<std::int32_t>(index)) + "]";
    if (!item.Name.empty()) label += " " + item.Name;
    return label;
}

// Only this many items of a page the main window shows can be reached from its grid.
constexpr std::size_t kGridSlots = 15;

bool IsGridPage(std::uint8_t page) {
    return page == kPageBase || page == kPageAdvance || page == kPageMaintenance;
}

// The sections the page entry items are read from in the menu file.
constexpr struct {
    const char* section;
    const char* page;
} kMenuEntrySections[] = {{"BaseItem00", "the advanced page (page 0)"},
                          {"BaseItem99", "the maintenance page (page 99)"}};

bool SameAsciiName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool IsSingleHexCode(const std::string& text) {
    return text.size() == 2 && std::isxdigit(static_cast<unsigned char>(text[0])) &&
           std::isxdigit(static_cast<unsigned char>(text[1]));
}

// Checks that do not depend on the language.
void LintStructure(const TSchemeOptions2& scheme, std::vector<std::string>& problems) {
    const auto& global = scheme.m_Sections;
    if (global.MenuVersion != 0 && global.MenuVersion != 1)
        problems.push_back("[GlobalSettings] MenuVersion=" + std::to_string(global.MenuVersion) +
                           ": only 0 and 1 are accepted at start-up");
    for (const TPageList& info : kPageLists) {
        const ArrSettingItems& items = scheme.*info.items;
        if (items.size() > 255)
            problems.push_back("[" + std::string(info.countSection) + "] has " +
                               std::to_string(items.size()) +
                               " items; a page read carries at most 255");
        if (IsGridPage(info.page) && items.size() > kGridSlots)
            problems.push_back("[" + std::string(info.countSection) + "] has " +
                               std::to_string(items.size()) +
                               " items; the main window's grid reaches only the first " +
                               std::to_string(kGridSlots));
        for (std::size_t i = 0; i < items.size(); ++i) {
            const TSettingItem& item = items[i];
            const std::string label = ItemLabel(info.page, i, item);
            const std::string section = ItemSectionName(info.page, static_cast<std::int32_t>(i));
            for (const auto& entry : kMenuEntrySections)
                if (SameAsciiName(section, entry.section))
                    problems.push_back("[" + section + "] is both item " + std::to_string(i + 1) +
                                       " of [" + info.countSection + "] and the entry item of " +
                                       entry.page + "; one section cannot describe both");
            if (!IsSingleHexCode(item.GetInstruction))
                problems.push_back(label + ": GetInstruction \"" + item.GetInstruction +
                                   "\" is not a single two-digit hex code");
            if (item.nParameterByte < 1 || item.nParameterByte > 3)
                problems.push_back(label + ": ParameterCount=" +
                                   std::to_string(item.nParameterByte) + " is not 1, 2 or 3");
            if (item.nParameterByte == 3 && item.RuleValues.Count() > 24)
                problems.push_back(label + ": three-byte item with " +
                                   std::to_string(item.RuleValues.Count()) +
                                   " values; only the first 24 name a flag bit");
            if (item.iSubGroup != 0) {
                const int sub = item.iSubGroup;
                const bool known = sub == 1 || sub == 2 || sub == 64;
                if (!known)
                    problems.push_back(label + ": SubGroup=" + std::to_string(sub) +
                                       " names no sub group page (only 1, 2 and 64 exist)");
                else if (scheme.GetItemLength(static_cast<std::uint8_t>(SubGroupPage(sub))) == 0)
                    problems.push_back(label + ": SubGroup=" + std::to_string(sub) +
                                       " but its page has no items");
            }
        }
    }
}

void LintTitles(const TSchemeOptions2& scheme, const std::string& lang,
                std::vector<std::string>& problems) {
    const std::string key = "Title" + scheme.m_strLangStrTail;
    const struct {
        std::uint8_t entry;
        std::uint8_t page;
        const char* section;
    } entries[] = {{kPageBase, kPageBase, "BaseItemME"},
                   {kPageAdvance, kPageAdvance, "BaseItem00"},
                   {kPageMaintenance, kPageMaintenance, "BaseItem99"}};
    for (const auto& e : entries)
        if (scheme.GetItemLength(e.page) > 0 && scheme.m_IndexItems[e.entry].Title.empty())
            problems.push_back(lang + ": [" + e.section + "] has no " + key);
    for (const TPageList& info : kPageLists) {
        const ArrSettingItems& items = scheme.*info.items;
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i].Title.empty())
                problems.push_back(lang + ": " + ItemLabel(info.page, i, items[i]) + " has no " +
                                   key);
    }
}

int Lint(std::vector<std::string> args) {
    const auto files = TakeFiles(args, "lint");
    std::vector<std::string> problems;
    bool structureChecked = false;
    bool loadFailed = false;
    for (const char* lang : kLintLanguages) {
        ApplySystemLanguage(LangIdFromSuffix(lang));
        TLoaded loaded = LoadScheme(files[0], files[1]);
        for (const auto& m : loaded.messages)
            problems.push_back(std::string(lang) + ": " + m.caption + ": " + OneLine(m.text));
        if (!loaded.error.empty()) {
            problems.push_back(std::string(lang) + ": load failed: " + loaded.error);
            loadFailed = true;
            continue;
        }
        if (!structureChecked) {
            LintStructure(*loaded.scheme, problems);
            if (loaded.scheme->m_Sections.MenuVersion == 1 && files[0] == files[1])
                std::cout << "note: MenuVersion=1, the items come from the printer's menu; "
                             "give the menu file to check them\n";
            structureChecked = true;
        }
        LintTitles(*loaded.scheme, lang, problems);
    }
    for (const auto& p : problems) std::cout << p << "\n";
    if (problems.empty()) {
        std::cout << "no problems found\n";
        return kExitOk;
    }
    std::cout << problems.size() << (problems.size() == 1 ? " problem" : " problems") << "\n";
    return loadFailed ? kExitLoadError : kExitProblems;
}

}  // namespace

int RunSchemeCommand(std::vector<std::string> args) {
    if (args.empty()) throw EUsageError("scheme needs 'dump' or 'lint'");
    const std::string sub = args[0];
    args.erase(args.begin());
    if (sub == "dump") return Dump(std::move(args));
    if (sub == "lint") return Lint(std::move(args));
    throw EUsageError("unknown scheme command '" + sub + "'");
}

}  // namespace ps::tool
