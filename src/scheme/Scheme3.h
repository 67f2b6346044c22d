// SPDX-License-Identifier: MIT
// The menu scheme: global protocol settings and setting items of one printer model, loaded from
// the scheme file and the menu file, with accessors by page code and the item value rules.
#pragma once

#include <array>
#include <atomic>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "base/Lib_String.h"
#include "localisation/Scheme.h"

namespace ps {

class TIniFile;

/// Days since 30 December 1899 with the time of day as fraction (the Windows OLE date).
/// Before day 0 the integer part is the day and the fraction's magnitude the time of day.
using TDateTime = double;

/// Page codes: the byte that selects an item list.
inline constexpr std::uint8_t kPageAdvance = 0;
inline constexpr std::uint8_t kPageBaseItem = 1;  // base items as run mode 1 addresses them
inline constexpr std::uint8_t kPageMaintenance = 99;
inline constexpr std::uint8_t kPageBase = 100;        // base items as the main window shows them
inline constexpr std::uint8_t kPageBaseReport = 101;  // base items as the values report reads them
inline constexpr std::uint8_t kPageSubGroup01 = 128;
inline constexpr std::uint8_t kPageSubGroup02 = 129;
inline constexpr std::uint8_t kPageSubGroup64 = 191;
/// Number of page entry items (codes 0 to 191).
inline constexpr std::size_t kIndexItemCount = 192;

/// The page code of sub group n (1, 2 or 64); sub groups have no other numbers.
constexpr int SubGroupPage(int subGroup) {
    return 127 + subGroup;
}

/// The vendor's web address: the default of the scheme's WebAddress and the fixed link text of
/// dialogs before a scheme replaces it.
inline constexpr const char* kVendorWebAddress = "https://www.talvenor.example";

/// ValueCurrent of an item that a page read did not return.
inline constexpr std::int32_t ValueAbsent = INT32_MIN;

/// A SERIAL rule may expand to at most this many values; a larger range ends the load.
inline constexpr std::int64_t kMaxSerialRuleValues = 100000;
/// A page may hold at most this many items; a larger ItemCount ends the load.
inline constexpr std::int32_t kMaxPageItems = 10000;
/// Budget of a whole menu: the values of all its rules together, and the length of all their
/// titles, may be at most a fixed allowance plus a share of the menu's text (one value per
/// kMenuBytesPerRuleValue bytes, one title byte per byte). Real menus list about one value per
/// 80 bytes; the budget keeps a dump or a list of every title in step with the input, whatever
/// a downloaded menu claims.
inline constexpr std::size_t kMaxSchemeRuleValues = 200000;
inline constexpr std::size_t kMenuBytesPerRuleValue = 16;
inline constexpr std::size_t kMaxSchemeTitleBytes = 8u * 1024 * 1024;
/// Items of a whole menu: six full pages (a page read carries at most 255 items) plus one item
/// per kMenuBytesPerItem bytes of text, the shortest an item section can be. An item without a
/// section of its own is an empty item; the budget keeps such items in step with the input.
inline constexpr std::size_t kFreeMenuItems = 6 * 255;
inline constexpr std::size_t kMenuBytesPerItem = 16;
constexpr std::size_t MaxMenuItems(std::size_t textBytes) {
    return kFreeMenuItems + textBytes / kMenuBytesPerItem;
}

/// A scheme that cannot be loaded (a SERIAL rule whose numbers are missing, not integers, a zero
/// step or an absurd range; an absurd item count). The message names the item and the text.
class ESchemeLoadError : public EConvertError {
public:
    using EConvertError::EConvertError;
};

/// A Boolean that one thread may set while another reads it; copies copy the value.
class TSharedFlag {
public:
    TSharedFlag(bool value = false) : m_bValue(value) {}  // NOLINT: converts like a bool
    TSharedFlag(const TSharedFlag& other) : m_bValue(other.Get()) {}
    TSharedFlag& operator=(const TSharedFlag& other) {
        Set(other.Get());
        return *this;
    }
    TSharedFlag& operator=(bool value) {
        Set(value);
        return *this;
    }
    operator bool() const { return Get(); }  // NOLINT: reads like a bool
    bool Get() const { return m_bValue.load(std::memory_order_acquire); }
    void Set(bool value) { m_bValue.store(value, std::memory_order_release); }

private:
    std::atomic<bool> m_bValue;
};

/// A SERIAL rule kept as its range: value i is Min + i * Step; its title is the decimal text of
/// the value + DisplayAdd, the unit title and, with a millimetre factor beyond +-0.001, the
/// length "\t ( %.2fmm )" of the value times the factor. Nothing is materialised.
struct TSerialRange {
    std::int64_t Min = 0;
    std::int64_t Step = 1;  // positive
    std::size_t Count = 0;
    std::int64_t DisplayAdd = 0;
    std::string Unit;
    double mmMultiply = 0;

    std::int32_t ValueAt(std::size_t i) const;
    std::string TitleAt(std::size_t i) const;
    /// The position of a value in the range; nothing when the range lacks it.
    std::optional<std::size_t> IndexOf(std::int32_t value) const;
};

/// One of an item's two parallel rule lists: an ENUM rule's entries as listed, or a SERIAL
/// rule's computed on demand. Elements are returned by value.
template <class T>
class TRuleList {
public:
    class const_iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = T;

        const_iterator() = default;
        const_iterator(const TRuleList* list, std::size_t i) : m_pList(list), m_nIndex(i) {}
        T operator*() const { return (*m_pList)[m_nIndex]; }
        const_iterator& operator++() {
            ++m_nIndex;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++m_nIndex;
            return before;
        }
        bool operator==(const const_iterator& other) const { return m_nIndex == other.m_nIndex; }

    private:
        const TRuleList* m_pList = nullptr;
        std::size_t m_nIndex = 0;
    };
    using iterator = const_iterator;
    using value_type = T;

    TRuleList() = default;
    TRuleList(std::vector<T> listed) : m_vListed(std::move(listed)) {}  // NOLINT: as a vector
    explicit TRuleList(std::shared_ptr<const TSerialRange> serial) : m_pSerial(std::move(serial)) {}

    std::size_t size() const { return m_pSerial ? m_pSerial->Count : m_vListed.size(); }
    bool empty() const { return size() == 0; }
    T operator[](std::size_t i) const {
        if (!m_pSerial) return m_vListed[i];
        if constexpr (std::is_same_v<T, std::string>)
            return m_pSerial->TitleAt(i);
        else
            return m_pSerial->ValueAt(i);
    }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }
    /// Every element at once; for small lists and tests.
    std::vector<T> ToVector() const { return std::vector<T>(begin(), end()); }
    /// The range of a SERIAL rule; null for listed entries.
    const TSerialRange* Serial() const { return m_pSerial.get(); }

    friend bool operator==(const TRuleList& list, const std::vector<T>& other) {
        if (list.size() != other.size()) return false;
        for (std::size_t i = 0; i < other.size(); ++i)
            if (list[i] != other[i]) return false;
        return true;
    }

private:
    std::vector<T> m_vListed;
    std::shared_ptr<const TSerialRange> m_pSerial;
};

/// The values of an item and the title of each; both lists have the same length. A SERIAL
/// rule's lists share one range and cost the same whatever their length.
struct TTagItemRuleValues {
    TRuleList<std::int32_t> RuleValue;
    TRuleList<std::string> RuleTitle;

    TTagItemRuleValues() = default;
    TTagItemRuleValues(std::vector<std::int32_t> values, std::vector<std::string> titles);
    explicit TTagItemRuleValues(TSerialRange range);

    std::size_t Count() const { return RuleValue.size(); }
    std::int32_t Value(std::size_t i) const { return RuleValue[i]; }
    std::string Title(std::size_t i) const { return RuleTitle[i]; }
    /// The last entry carrying a value (the one whose title the value shows), or nothing.
    std::optional<std::size_t> LastIndexOf(std::int32_t value) const;
    /// The length of all titles together; for a SERIAL rule an upper bound.
    std::size_t TitleBytesAtMost() const;
    /// The range of a SERIAL rule; null for listed entries.
    const TSerialRange* Serial() const { return RuleValue.Serial(); }
};

/// One setting item of a page.
struct TSettingItem {
    std::int32_t TaskIndex = 0;
    std::string Name;
    std::string GetInstruction;  // hex text of the item code(s) in a read command
    std::string SetInstruction;  // hex text of the write command without its value bytes
    std::string Icon;
    std::uint32_t nParameterByte = 0;  // value bytes: 1, 2 or 3 (loaded items default to 1)
    std::string RuleType;              // "ENUM" or "SERIAL" in any case; else no values
    std::string RuleString;
    std::string Title;
    std::string Note;
    std::string Explain;  // maintenance items only
    std::int32_t ValueDefault = 0;
    std::int32_t ValueCurrent = 0;
    std::uint32_t nRuleValueCount = 0;
    TTagItemRuleValues RuleValues;
    std::int32_t iSubGroup = 0;  // n >= 1: sub group n (page 127 + n) follows a write
};

using ArrSettingItems = std::vector<TSettingItem>;

/// A declared section record; the loaders leave TTagSections::Section empty.
struct TSettingSection {
    std::string Title;
    std::uint32_t nItemCount = 0;
    ArrSettingItems Item;
};

/// Global protocol settings of a scheme (section "GlobalSettings"). A new record is all zero
/// and empty; the values a load uses for missing keys are those of DefaultSections().
struct TTagSections {
    std::int32_t MenuVersion = 0;  // 0: items in the scheme file; 1: menu from the printer
    std::string PrinterName;
    std::uint32_t nSectionCount = 0;
    std::vector<TSettingSection> Section;
    std::string InstructionTail;
    std::string EnterInstruction;
    std::string SaveInstruction;
    std::string InstructionGetValueClass;
    /// Set by the write-then-read worker while the user-interface thread waits for it.
    TSharedFlag AffirmReadDisable;
    std::int32_t ReadOnLastFail = 0;
    std::int32_t TimeOutItem = 0;
    std::int32_t TimeOutPage = 0;
    TBytes ReturnPrefix;
    std::uint32_t WriteReadDelay = 0;
    std::uint32_t ReadMenuDelay = 0;
    std::uint32_t SleepBeforeRead = 0;
    bool ClearBeforeReadMenu = false;
    bool MultiReadRetry = false;
    std::uint32_t CleanSleeptime = 0;
    std::uint32_t DeepcleanSleeptime = 0;
    std::uint32_t NewPrinterSleeptime = 0;
    std::uint32_t RollercleanTime = 0;
    std::uint32_t ChangeHeadTime = 0;
    std::uint32_t ChangeBoxTime = 0;
    std::uint32_t DeepcleanIntervaltime = 0;
    TDateTime LastDeepcleantime = 0;
    std::string DriverVersion;
    std::string WebAddress;
    std::int32_t LenBM = 0;
    std::int32_t LenLock = 0;
    std::string SettingCommand;  // command-set code of the model ("6A3C", "7D05" ...)
    std::string PrinterType;
};

/// The values a load gives to missing or unreadable "GlobalSettings" keys, with
/// LastDeepcleantime set to `now`.
TTagSections DefaultSections(TDateTime now);

/// The scheme object. Its data members are public: windows and dialogs read the global settings
/// and items directly, as they would a record.
class TSchemeOptions2 {
public:
    TTagSections m_Sections;
    std::string m_strLangStrTail;  // "." + language suffix, e.g. ".EN"
    std::array<TSettingItem, kIndexItemCount> m_IndexItems;
    ArrSettingItems m_BaseItems;      // pages 1, 100, 101
    ArrSettingItems m_AdvanceItems;   // page 0
    ArrSettingItems m_Maintenance;    // page 99
    ArrSettingItems m_CustomItems;    // sub group 1, page 128
    ArrSettingItems m_CustomItems2;   // sub group 2, page 129
    ArrSettingItems m_CustomItems64;  // sub group 64, page 191

    /// Loads the global settings and the base page's entry item from an existing file;
    /// a missing file changes nothing. The file must be a regular one, reached without a
    /// symbolic link at the end of its path and of at most kMaxIniFileBytes: anything else
    /// (a FIFO, a device, a planted link) counts as missing.
    void LoadFromFile(const std::string& FileName);
    /// Nothing for a null Ini.
    void LoadDriverSettings(const TIniFile* Ini);
    /// Loads the page entry items and the six item lists from an existing file (as
    /// LoadFromFile takes it); a missing file changes nothing. Throws ESchemeLoadError for a rule
    /// that cannot be expanded, leaving the object as it was.
    void LoadPrinterMenu(const std::string& FileName);
    /// Nothing for a null Ini. Same errors as LoadPrinterMenu.
    void LoadSettings(const TIniFile* Ini);

    /// Copies item iIndex of page iPage into item and returns true; leaves item unchanged and
    /// returns false when the index lies outside the page or the page code names no list.
    bool GetItem(std::uint8_t iPage, std::int32_t iIndex, TSettingItem& item) const;
    /// Number of items of a page (0 for a code that names no list).
    std::int32_t GetItemLength(std::uint8_t iPage) const;
    /// Copy of m_IndexItems[iPage]; item unchanged for codes of 192 and above.
    void GetIndexItem(std::uint8_t iPage, TSettingItem& item) const;
    void SetAffirmReadDisableStatus(bool bStatus);

    /// The display title of value key for item iIndex of page iPage, or an empty text. Three-byte
    /// items show the numbers of their set flags ("1, 3") or the NO text.
    void GetTitleFromValue(std::uint8_t iPage, std::int32_t iIndex, std::string& title,
                           std::int32_t key) const;

    // Value exchanges with the printer (Scheme3_Exchange.cpp). Reads of the current item use
    // the port-monitor channel; exchanges by USB printer index run on the write-then-read
    // worker while the user interface keeps processing messages.

    /// One worker exchange with USB printer iUSBPrinter (enumeration index). nRead: in, the
    /// bytes asked for per read; out, the reply length copied to pBufRead, which holds
    /// nBufRead + 1 bytes. The result is the worker's outcome.
    bool DoWriteAndReadPrinter(std::int32_t iUSBPrinter, const std::string& strWriteHex,
                               std::uint8_t* pBufRead, std::int32_t nBufRead, std::int32_t& nRead,
                               bool bReadData, bool bResetFirst, std::uint32_t iExtraTimeOut,
                               bool bFromFrameStart);
    /// The same for a printer by name; false, and nothing sent, unless the printer is usable
    /// and its port name contains "USB".
    bool DoWriteAndReadPrinter(const std::string& printerName, const std::string& strWriteHex,
                               std::uint8_t* pBufRead, std::int32_t nBufRead, std::int32_t& nRead,
                               bool bReadData, bool bResetFirst, std::uint32_t iExtraTimeOut,
                               bool bFromFrameStart);
    /// Sends raw command bytes to g_PrinterName without reading (PrinterNotFound shown when
    /// the printer is not usable).
    bool WritePrinter(const std::uint8_t* pBufWrite, std::int32_t nBufWrite);
    /// Sends raw command bytes to g_PrinterName and reads the reply into pBufReply.
    bool WriteAndReadPrinter(const std::uint8_t* data, std::int32_t length, std::uint8_t* pBufReply,
                             std::int32_t nBufReply, std::int32_t& nRead, bool bFromFrameStart);
    /// Reads the value of the current item (g_CurrentPage, g_CurrentItem) through the
    /// port-monitor channel. The value is set only for a value length of 1, 2 or 3; the result
    /// is the exchange's, false for a reply too short to hold its value. Throws EConvertError
    /// for a GetInstruction that is not spaced hex.
    bool GetItemValueFromPrinter(std::int32_t& iPrinterItemValue);
    /// Reads every item of a page in one command and stores the values as ValueCurrent.
    bool GetPrinterValues_ForPage(std::int32_t iUSBPrinter, std::uint8_t iPage);
    /// Decodes a page reply aligned on ReturnPrefix and stores each item's value (ValueAbsent
    /// for items the reply lacks).
    void SetAllCurrentValues_ForPage(const std::uint8_t* reply, std::int32_t length,
                                     std::uint8_t iPage);
    /// Downloads the printer's menu (model query, menu request, unpacking) and stores it as
    /// g_PrinterCacheBase + ".DAT"; an older file is deleted first. True when it was written.
    bool GetPrinterMenuResources();
    /// Reads page iPage from the printer and writes the current-values report to
    /// g_PrinterCacheBase; the old report is deleted first and none is left on failure.
    void CreatePrinterValuesIni_ForPage(std::uint8_t iPage);
    /// The report's text for the values the page's items hold now.
    std::string ValuesReportText(std::uint8_t iPage) const;

    /// Command texts of the current scheme: single-item read, page read, item write.
    std::string SingleReadCommandOf(const TSettingItem& item) const;
    std::string PageReadCommandOf(std::uint8_t iPage) const;
    std::string WriteCommandOf(const TSettingItem& item, std::int32_t value) const;

    /// The item list of a page code, or null for a code that names none.
    ArrSettingItems* PageItems(std::uint8_t iPage);
    const ArrSettingItems* PageItems(std::uint8_t iPage) const;

    std::string HexString2AnsiString(std::string_view strHexString, bool bVisibleConv) const {
        return ps::HexString2AnsiString(strHexString, bVisibleConv);
    }
    int FindMem(const void* pSub, const void* pMem, int size1, int size2) const {
        return ps::FindMem(pSub, pMem, size1, size2);
    }

private:
    // The scheme file is the menu file as well when the menu is not downloaded: the file
    // parsed by LoadFromFile is kept until LoadPrinterMenu, which reuses it when the same,
    // unchanged file is asked for.
    struct TParsedFile;
    std::shared_ptr<const TParsedFile> ParseFile(const std::string& FileName);
    std::shared_ptr<const TParsedFile> m_pParsedFile;
};

/// One item list of the scheme: the page code it is loaded under, the section holding its
/// ItemCount, the name format of its item sections and the member that holds it.
struct TPageList {
    std::uint8_t page;
    const char* countSection;
    const char* itemSectionFormat;
    ArrSettingItems TSchemeOptions2::*items;
};

/// The page table: the six item lists in the order they are loaded (the order decides which
/// rule message comes first). Everything that maps a page code goes through it.
extern const std::array<TPageList, 6> kPageLists;

/// The list a page code selects (1, 100 and 101 all select the base list), or null for a code
/// that names none.
const TPageList* FindPageList(std::uint8_t iPage);

/// The process's scheme. Null until start-up creates it; the main window of run mode 100
/// replaces it with a fresh object. Only the user-interface thread replaces or loads it.
extern std::unique_ptr<TSchemeOptions2> g_SchemeOptions;

/// Name of the section item iIndex (from 0) of a page is read from ("BaseItem07" for index 6
/// of page 100); empty for a code that names no list.
std::string ItemSectionName(std::uint8_t iPage, std::int32_t iIndex);

/// Expands an item's rule (RuleType, RuleString) into RuleValues and nRuleValueCount. Shows the
/// rule message boxes; throws ESchemeLoadError when a SERIAL rule cannot be expanded (the text
/// names the item by its Title and, when given, its section).
void ParseItemRule(TSettingItem& item, std::string_view section = {});

/// The current local date and time.
TDateTime NowAsDateTime();
/// Reads a date and time written in the user's locale format for a language (see the source
/// for the forms accepted); nothing when the text is none of them or names no real moment.
std::optional<TDateTime> TryParseLocaleDateTime(std::string_view text, TProgramLanguage language);
/// "yyyy-mm-dd hh:nn:ss", rounded to the second.
std::string FormatIsoDateTime(TDateTime value);
/// The date value of a calendar date and time of day; no range checks.
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second);

}  // namespace ps
