// SPDX-License-Identifier: MIT
// Loading a scheme: global settings and the base entry item from the scheme file, page entry
// items and the six item lists from the menu file.
#include <filesystem>
#include <string>
#include <system_error>

#include "base/IniFile.h"
#include "scheme/Scheme3.h"

namespace ps {
namespace {

constexpr const char* kGlobal = "GlobalSettings";

std::string LanguageTail() {
    return "." + std::string(LanguageSuffix(g_GlobalString.Language));
}

std::filesystem::path PathFromUtf8(const std::string& name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

bool IsExistingFile(const std::string& name) {
    std::error_code ec;
    auto status = std::filesystem::status(PathFromUtf8(name), ec);
    return !ec && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
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

TSettingItem ReadItem(const TIniFile& ini, const std::string& section, const std::string& tail,
                      bool withExplain) {
    TSettingItem item;
    if (!ini.SectionExists(section)) {
        // Every key gives its default: no texts, one value byte, no rule.
        item.nParameterByte = 1;
        return item;
    }
    item.TaskIndex = ini.ReadInteger(section, "TaskIndex", 0);
    item.Name = ini.ReadString(section, "Name", "");
    item.Icon = ini.ReadString(section, "Icon", "");
    item.Title = ini.ReadString(section, "Title" + tail, "");
    item.Note = ini.ReadString(section, "Note" + tail, "");
    if (withExplain) item.Explain = ini.ReadString(section, "Explain" + tail, "");
    item.GetInstruction = ini.ReadString(section, "GetInstruction", "");
    item.SetInstruction = ini.ReadString(section, "SetInstruction", "");
    item.nParameterByte = static_cast<std::uint32_t>(ini.ReadInteger(section, "ParameterCount", 1));
    item.RuleType = ini.ReadString(section, "RuleType", "");
    item.RuleString = ini.ReadString(section, "Rule" + tail, "");
    item.ValueDefault = ini.ReadInteger(section, "Default", 0);
    item.iSubGroup = ini.ReadInteger(section, "SubGroup", 0);
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
        const std::string where = " (the limit for a menu of " + std::to_string(m_nTextBytes) +
                                  " bytes), exceeded at item \"" + item.Title + "\" in [" +
                                  section + "]";
        if (m_nValues > m_nMaxValues)
            throw ESchemeLoadError("the rules of the menu list more than " +
                                   std::to_string(m_nMaxValues) + " values together" + where);
        if (m_nTitleBytes > m_nMaxTitleBytes)
            throw ESchemeLoadError("the value titles of the menu's rules take more than " +
                                   std::to_string(m_nMaxTitleBytes) + " bytes together" + where);
    }

private:
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

void TSchemeOptions2::LoadFromFile(const std::string& FileName) {
    if (!IsExistingFile(FileName)) return;
    const TIniFile ini = TIniFile::FromFile(PathFromUtf8(FileName));
    LoadDriverSettings(&ini);
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
    const TIniFile ini = TIniFile::FromFile(PathFromUtf8(FileName));
    LoadSettings(&ini);
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

    ArrSettingItems lists[std::size(kPageLists)];
    TRuleBudget budget(ini.TextBytes());
    for (std::size_t p = 0; p < std::size(kPageLists); ++p) {
        const TPageList& source = kPageLists[p];
        const std::int32_t count = ini.ReadInteger(source.countSection, "ItemCount", 0);
        if (count > kMaxPageItems)
            throw ESchemeLoadError("[" + std::string(source.countSection) +
                                   "] ItemCount=" + std::to_string(count) +
                                   " is more than a page can hold (at most " +
                                   std::to_string(kMaxPageItems) + " items)");
        ArrSettingItems& items = lists[p];
        if (count > 0) items.reserve(static_cast<std::size_t>(count));
        for (std::int32_t i = 0; i < count; ++i) {
            const std::string section = ItemSectionName(source.page, i);
            items.push_back(ReadItem(ini, section, tail, source.page == kPageMaintenance));
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
