// SPDX-License-Identifier: MIT
// Loading a scheme: global settings and the base entry item from the scheme file, page entry
// items and the six item lists from the menu file.
#include <filesystem>
#include <string>
#include <system_error>

#include "base/IniFile.h"
#include "base/PathText.h"
#include "base/TextCodec.h"
#include "scheme/Scheme3.h"

namespace ps {
namespace {

constexpr const char* kGlobal = "GlobalSettings";

std::string LanguageTail() {
    return "." + std::string(LanguageSuffix(g_GlobalString.Language));
}

// A plain file the INI reader takes: a folder, a FIFO, a device, a link at the end of the path
// or a file over the reader's bound counts as missing.
bool IsExistingFile(const std::string& name) {
    const std::filesystem::path path = PathFromUtf8(name);
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(path, ec);
    if (ec || !std::filesystem::is_regular_file(status)) return false;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    return !ec && size <= kMaxIniFileBytes;
}

// Cardinal keys are read as 32-bit integers and kept as their bit pattern ("-1" is 4294967295).
std::uint32_t ReadCardinal(const TIniFile& ini, std::string_view key, std::uint32_t def) {
    return static_cast<std::uint32_t>(
        ini.ReadInteger(kGlobal, key, static_cast<std::int32_t>(def)));
}

void ReadEntryItem(const TIniFile& ini, std::string_view section, const std::string& tail,
                   TSettingItem& item) {
    item.Name = ini.ReadString(section, "Name", "");
    item.Icon = ini.ReadString(section, "Icon", "");
    item.Title = ini.ReadString(section, "Title" + tail, "");
    item.Note = ini.ReadString(section, "Note" + tail, "");
}

// The names of the keys that carry a language: "Title.EN" and so on for the running language.
struct TLanguageKeys {
    explicit TLanguageKeys(const std::string& tail)
        : title("Title" + tail),
          note("Note" + tail),
          explain("Explain" + tail),
          rule("Rule" + tail) {}
    std::string title, note, explain, rule;
};

TSettingItem ReadItem(const TIniFile& ini, const std::string& section, const TLanguageKeys& keys,
                      bool withExplain) {
    TSettingItem item;
    const TIniFile::TSectionReader s = ini.Section(section);
    if (!s) {
        // Every key gives its default: no texts, one value byte, no rule.
        item.nParameterByte = 1;
        return item;
    }
    item.TaskIndex = s.ReadInteger("TaskIndex", 0);
    item.Name = s.ReadString("Name", "");
    item.Icon = s.ReadString("Icon", "");
    item.Title = s.ReadString(keys.title, "");
    item.Note = s.ReadString(keys.note, "");
    if (withExplain) item.Explain = s.ReadString(keys.explain, "");
    item.GetInstruction = s.ReadString("GetInstruction", "");
    item.SetInstruction = s.ReadString("SetInstruction", "");
    item.nParameterByte = static_cast<std::uint32_t>(s.ReadInteger("ParameterCount", 1));
    item.RuleType = s.ReadString("RuleType", "");
    item.RuleString = s.ReadString(keys.rule, "");
    item.ValueDefault = s.ReadInteger("Default", 0);
    item.iSubGroup = s.ReadInteger("SubGroup", 0);
    item.ValueCurrent = item.ValueDefault;
    ParseItemRule(item, section);
    return item;
}

// What the rules of one menu may add up to, checked item by item as the menu is read.
class TRuleBudget {
public:
    explicit TRuleBudget(std::size_t textBytes)
        : m_nTextBytes(textBytes),
          m_nMaxValues(kMaxSchemeRuleValues + textBytes / kMenuBytesPerRuleValue),
          m_nMaxTitleBytes(kMaxSchemeTitleBytes + textBytes) {}

    void Add(const TSettingItem& item, const std::string& section) {
        m_nValues += item.RuleValues.Count();
        m_nTitleBytes += item.RuleValues.TitleBytesAtMost();
        if (m_nValues > m_nMaxValues)
            throw ESchemeLoadError("the rules of the menu list more than " +
                                   std::to_string(m_nMaxValues) + " values together" +
                                   Where(item, section));
        if (m_nTitleBytes > m_nMaxTitleBytes)
            throw ESchemeLoadError("the value titles of the menu's rules take more than " +
                                   std::to_string(m_nMaxTitleBytes) + " bytes together" +
                                   Where(item, section));
    }

private:
    std::string Where(const TSettingItem& item, const std::string& section) const {
        return " (the limit for a menu of " + std::to_string(m_nTextBytes) +
               " bytes), exceeded at item \"" + item.Title + "\" in [" + section + "]";
    }

    std::size_t m_nTextBytes;
    std::size_t m_nMaxValues;
    std::size_t m_nMaxTitleBytes;
    std::size_t m_nValues = 0;
    std::size_t m_nTitleBytes = 0;
};

}  // namespace

TTagSections DefaultSections(TDateTime now) {
    TTagSections s;
    s.MenuVersion = 0;
    s.PrinterName = "Talvenor Printer";
    s.nSectionCount = 0;
    s.InstructionTail = "1B 1D 1F";
    s.EnterInstruction = "1B 1D 1E 05 01 1B 1D 1F";
    s.SaveInstruction = "1B 1D 1E 05 02 1B 1D 1F";
    s.InstructionGetValueClass = "1B 1D 1E 05 03";
    s.AffirmReadDisable = false;
    s.ReadOnLastFail = 1;
    s.TimeOutItem = 3000;
    s.TimeOutPage = 3500;
    s.ReturnPrefix = {0x1B, 0x1D, 0x1E, 0x05, 0x03};
    s.WriteReadDelay = 0;
    s.ReadMenuDelay = 1000;
    s.SleepBeforeRead = 30;
    s.ClearBeforeReadMenu = true;
    s.MultiReadRetry = false;
    s.CleanSleeptime = 150;
    s.DeepcleanSleeptime = 400;
    s.NewPrinterSleeptime = 200;
    s.RollercleanTime = 150;
    s.ChangeHeadTime = 1200;
    s.ChangeBoxTime = 500;
    s.DeepcleanIntervaltime = 12;
    s.LastDeepcleantime = now;
    s.DriverVersion = "1.0.0.1";
    s.WebAddress = kVendorWebAddress;
    s.LenBM = 0;
    s.LenLock = 279;
    s.SettingCommand = "6A3C";
    s.PrinterType = "4";
    return s;
}

struct TSchemeOptions2::TParsedFile {
    std::string name;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type written;
    TIniFile ini;
};

std::shared_ptr<const TSchemeOptions2::TParsedFile> TSchemeOptions2::ParseFile(
    const std::string& FileName) {
    const std::filesystem::path path = PathFromUtf8(FileName);
    std::error_code sizeError, timeError;
    const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
    const auto written = std::filesystem::last_write_time(path, timeError);
    const bool stamped = !sizeError && !timeError;
    if (stamped && m_pParsedFile && m_pParsedFile->name == FileName &&
        m_pParsedFile->size == size && m_pParsedFile->written == written)
        return m_pParsedFile;
    auto parsed = std::make_shared<TParsedFile>();
    // A scheme or menu path may come from the spooler (the driver's files, its make and model):
    // never read through a link planted at its end.
    parsed->ini = TIniFile::FromFile(path, kSystemLanguage, TIniLinks::RefuseFinalLink);
    if (stamped) {
        parsed->name = FileName;
        parsed->size = size;
        parsed->written = written;
    }
    return parsed;
}

void TSchemeOptions2::LoadFromFile(const std::string& FileName) {
    if (!IsExistingFile(FileName)) return;
    m_pParsedFile = ParseFile(FileName);
    LoadDriverSettings(&m_pParsedFile->ini);
}

void TSchemeOptions2::LoadDriverSettings(const TIniFile* Ini) {
    if (!Ini) return;
    const TIniFile& ini = *Ini;
    m_strLangStrTail = LanguageTail();

    const TTagSections d = DefaultSections(NowAsDateTime());
    TTagSections s;
    s.PrinterName = ini.ReadString(kGlobal, "PrinterName", d.PrinterName);
    s.MenuVersion = ini.ReadInteger(kGlobal, "MenuVersion", d.MenuVersion);
    s.nSectionCount = ReadCardinal(ini, "SectionCount", d.nSectionCount);
    s.EnterInstruction = ini.ReadString(kGlobal, "EnterInstruction", d.EnterInstruction);
    s.SaveInstruction = ini.ReadString(kGlobal, "SaveInstruction", d.SaveInstruction);
    s.InstructionTail = ini.ReadString(kGlobal, "InstructionTail", d.InstructionTail);
    s.InstructionGetValueClass =
        ini.ReadString(kGlobal, "GetInstructionClass", d.InstructionGetValueClass);
    s.AffirmReadDisable = ini.ReadBool(kGlobal, "AffirmReadDisable", d.AffirmReadDisable);
    s.ReadOnLastFail = ini.ReadInteger(kGlobal, "ReadOnLastFail", d.ReadOnLastFail);
    s.TimeOutItem = ini.ReadInteger(kGlobal, "TimeOutItem", d.TimeOutItem);
    s.TimeOutPage = ini.ReadInteger(kGlobal, "TimeOutPage", d.TimeOutPage);
    s.WriteReadDelay = ReadCardinal(ini, "WriteReadDelay", d.WriteReadDelay);
    s.ReadMenuDelay = ReadCardinal(ini, "ReadMenuDelay", d.ReadMenuDelay);
    s.SleepBeforeRead = ReadCardinal(ini, "SleepBeforeRead", d.SleepBeforeRead);
    s.ClearBeforeReadMenu = ini.ReadBool(kGlobal, "ClearBeforeReadMenu", d.ClearBeforeReadMenu);
    s.MultiReadRetry = ini.ReadBool(kGlobal, "MultiReadRetry", d.MultiReadRetry);
    s.CleanSleeptime = ReadCardinal(ini, "CleanSleeptime", d.CleanSleeptime);
    s.DeepcleanSleeptime = ReadCardinal(ini, "DeepcleanSleeptime", d.DeepcleanSleeptime);
    s.RollercleanTime = ReadCardinal(ini, "RollercleanTime", d.RollercleanTime);
    s.ChangeHeadTime = ReadCardinal(ini, "ChangeHeadTime", d.ChangeHeadTime);
    s.ChangeBoxTime = ReadCardinal(ini, "ChangeBoxTime", d.ChangeBoxTime);
    s.DeepcleanIntervaltime = ReadCardinal(ini, "DeepcleanIntervaltime", d.DeepcleanIntervaltime);
    s.LastDeepcleantime = d.LastDeepcleantime;
    if (auto when = TryParseLocaleDateTime(ini.ReadString(kGlobal, "LastDeepcleantime", ""),
                                           g_GlobalString.Language))
        s.LastDeepcleantime = *when;
    s.NewPrinterSleeptime = ReadCardinal(ini, "NewPrinterSleeptime", d.NewPrinterSleeptime);
    s.DriverVersion = ini.ReadString(kGlobal, "DriverVersion", d.DriverVersion);
    s.WebAddress = ini.ReadString(kGlobal, "WebAddress", d.WebAddress);
    s.SettingCommand = ini.ReadString(kGlobal, "SettingCommand", d.SettingCommand);
    s.PrinterType = ini.ReadString(kGlobal, "PrinterType", d.PrinterType);
    s.LenBM = ini.ReadInteger(kGlobal, "LenBM", d.LenBM);
    s.LenLock = ini.ReadInteger(kGlobal, "LenLock", d.LenLock);
    const std::string prefix =
        ps::HexString2AnsiString(ini.ReadString(kGlobal, "ReturnPrefix", "1B 1D 1E 05 03"), false);
    s.ReturnPrefix.assign(prefix.begin(), prefix.end());
    m_Sections = s;

    ReadEntryItem(ini, "BaseItemME", m_strLangStrTail, m_IndexItems[kPageBase]);
}

void TSchemeOptions2::LoadPrinterMenu(const std::string& FileName) {
    if (!IsExistingFile(FileName)) return;
    const std::shared_ptr<const TParsedFile> parsed = ParseFile(FileName);
    m_pParsedFile.reset();  // the menu is the last reader of the scheme file
    LoadSettings(&parsed->ini);
}

void TSchemeOptions2::LoadSettings(const TIniFile* Ini) {
    if (!Ini) return;
    const TIniFile& ini = *Ini;
    const std::string tail = LanguageTail();

    // Everything is read into new lists first, so a load that ends with an error leaves the
    // object as it was.
    TSettingItem advanceEntry = m_IndexItems[kPageAdvance];
    TSettingItem maintenanceEntry = m_IndexItems[kPageMaintenance];
    ReadEntryItem(ini, "BaseItem00", tail, advanceEntry);
    ReadEntryItem(ini, "BaseItem99", tail, maintenanceEntry);

    // Item counts first: a menu may not announce more items than its text can describe.
    std::int32_t counts[std::size(kPageLists)];
    std::size_t totalItems = 0;
    for (std::size_t p = 0; p < std::size(kPageLists); ++p) {
        const TPageList& source = kPageLists[p];
        counts[p] = ini.ReadInteger(source.countSection, "ItemCount", 0);
        if (counts[p] > kMaxPageItems)
            throw ESchemeLoadError("[" + std::string(source.countSection) +
                                   "] ItemCount=" + std::to_string(counts[p]) +
                                   " is more than a page can hold (at most " +
                                   std::to_string(kMaxPageItems) + " items)");
        if (counts[p] > 0) totalItems += static_cast<std::size_t>(counts[p]);
    }
    if (const std::size_t most = MaxMenuItems(ini.TextBytes()); totalItems > most)
        throw ESchemeLoadError("the pages of the menu announce " + std::to_string(totalItems) +
                               " items together, more than the " + std::to_string(most) +
                               " a menu of " + std::to_string(ini.TextBytes()) + " bytes can hold");

    const TLanguageKeys keys(tail);
    ArrSettingItems lists[std::size(kPageLists)];
    TRuleBudget budget(ini.TextBytes());
    for (std::size_t p = 0; p < std::size(kPageLists); ++p) {
        const TPageList& source = kPageLists[p];
        const std::int32_t count = counts[p];
        ArrSettingItems& items = lists[p];
        if (count > 0) items.reserve(static_cast<std::size_t>(count));
        for (std::int32_t i = 0; i < count; ++i) {
            const std::string section = ItemSectionName(source.page, i);
            items.push_back(ReadItem(ini, section, keys, source.page == kPageMaintenance));
            budget.Add(items.back(), section);
        }
    }

    m_strLangStrTail = tail;
    m_IndexItems[kPageAdvance] = std::move(advanceEntry);
    m_IndexItems[kPageMaintenance] = std::move(maintenanceEntry);
    for (std::size_t p = 0; p < std::size(kPageLists); ++p)
        (this->*kPageLists[p].items).swap(lists[p]);
}

}  // namespace ps
