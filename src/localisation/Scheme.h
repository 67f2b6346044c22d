// SPDX-License-Identifier: MIT
// The localised string table: the running language and its 144 texts, loaded once at start.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ps {

/// The program's languages; the value is stored in one byte.
enum TProgramLanguage : std::uint8_t { plCN = 0, plCHT = 1, plEN = 2, plJP = 3 };

/// The texts of the running language. Each field is named like its key in the table.
struct TGlobalString {
    TProgramLanguage Language = plEN;
    std::string CurrentValue;
    std::string OutOfIndex;
    std::string NO;
    std::string ReadingPrinter;
    std::string WaitingForPrinterRW;
    std::string PrinterNotOnline;
    std::string HintTitle;
    std::string ErrorTitle;
    std::string ReadPrinterFailRetry;
    std::string ReadTimeout;
    std::string PrinterNotFound;
    std::string SetPrinterSuccess;
    std::string SetPrinterTimeout;
    std::string SetPrinterFail;
    std::string SetPrinterCantAffirm;
    std::string SetPrinterFailRetry;
    std::string HaveToSelectAnItem;
    std::string PrinterStatusError;
    std::string PrinterNotFoundOnPort;
    std::string CanSelectAnItem;
    std::string CanSelectMultiItem;
    std::string StarorCancel;
    std::string LoadPaper;
    std::string WaitingForPrinterWork;
    std::string Clean;
    std::string DeepClean;
    std::string DeepCleanInterval;
    std::string Holecheck;
    std::string Adjust;
    std::string BearingClean;
    std::string InkFinish;
    std::string CleanFinish;
    std::string DeepCleanFinish;
    std::string SetPrinterSuccessI;
    std::string GuideTitle;
    std::string CleanNewprinter;
    std::string btnNewPrinter;
    std::string btnInkset;
    std::string btnInkCancel;
    std::string InkInfoTitle;
    std::string CleanInfo;
    std::string Step1;
    std::string Step2;
    std::string Step3;
    std::string Step4;
    std::string Step5;
    std::string bStep1;
    std::string bStep2;
    std::string bStep3;
    std::string bStep4;
    std::string bStep5;
    std::string A4Step1;
    std::string A4Step2;
    std::string A4Step3;
    std::string A4Step4;
    std::string A4Step5;
    std::string CStep1;
    std::string CStep2;
    std::string CStep3;
    std::string CStep4;
    std::string CStep5;
    std::string CStep6;
    std::string CStep7;
    std::string CStep8;
    std::string CStep9;
    std::string CStep10;
    std::string QP7Step1;
    std::string QP7Step2;
    std::string QP7Step3;
    std::string QP7Step4;
    std::string QP7Step5;
    std::string QP7Step6;
    std::string QP7Step7;
    std::string QP7Step8;
    std::string QP7Step9;
    std::string A4CStep1;
    std::string A4CStep2;
    std::string A4CStep3;
    std::string A4CStep4;
    std::string A4CStep5;
    std::string btnInkPrn;
    std::string ReadData;
    std::string IfNewPrint;
    std::string Back;
    std::string Next;
    std::string BtnClean;
    std::string Page;
    std::string PageBInfo;
    std::string PageRInfo;
    std::string PageTInfo;
    std::string InkInfo;
    std::string InkBlackBtn;
    std::string InkRedBtn;
    std::string DraftPrint;
    std::string NormalPrint;
    std::string NormalPrint2;
    std::string QualityPrint;
    std::string QualityPrint2;
    std::string QualityPrint3;
    std::string HeadSet;
    std::string PrintResult;
    std::string InstallInk;
    std::string HolecheakTitle;
    std::string HolecheakInfo;
    std::string InkWarning;
    std::string Testpage;
    std::string InkWaitStr;
    std::string mPrintQueue;
    std::string mSetTime;
    std::string btnInkSetTimer;
    std::string btnInkGetTimer;
    std::string btnInkTimerInfo;
    std::string mNoInkBox;
    std::string InputHeadSN;
    std::string HeadSNError;
    std::string FeedDistance;
    std::string SpecialNoteTitle;
    std::string SpecialNote;
    std::string OnlyForTechnical;
    std::string ParametersCaption;
    std::string ParametersTitle;
    std::string ParametersNoteTitle;
    std::string ParametersBtnSet;
    std::string ParametersBtnCancel;
    std::string ParametersBtnReturn;
    std::string ParametersBtnDefault;
    std::string ParametersBtnOK;
    std::string MainCaption;
    std::string Group64_Name1;
    std::string Group64_Name2;
    std::string Group64_Name3;
    std::string Group64_Name4;
    std::string Group64_Name21;
    std::string Group64_btnDetect;
    std::string Group64_Info;
    std::string PutTheCard;
    std::string PaperLengthInvalid;
    std::string Inch;
    std::string Layer;
    std::string Auto;
    std::string ON_;
    std::string OFF;
    std::string PortNotSupport;
    std::string FirewareVersion;
};

/// The process-wide table, filled by LoadGlobalStrings and read-only afterwards.
extern TGlobalString g_GlobalString;

/// Language of a Windows language identifier (0x0804 Simplified Chinese, 0x0411 Japanese, ...).
TProgramLanguage LanguageFromLangId(std::uint16_t langId);

/// The key suffix of a language: "CN", "CHT", "EN" or "JP" (empty for any other value).
std::string_view LanguageSuffix(TProgramLanguage language);

/// baseText followed by the key suffix of g_GlobalString.Language.
std::string AddLanguageSuffix(std::string_view baseText);

/// Every "\r\n" (backslash r backslash n) replaced by CR LF.
std::string ExpandLineBreaks(std::string_view text);

/// The built-in English texts, used for every key the table has no row for in the running
/// language. Line-break escapes are still in them (the loader expands them).
TGlobalString BuiltInGlobalStrings();

/// Fills g_GlobalString from the embedded table for the system's language. Throws
/// std::runtime_error when the resource is missing or its temporary copy cannot be written.
void LoadGlobalStrings(std::string_view resourceName);

/// Fills g_GlobalString for the given language (tools choose the language themselves).
void LoadGlobalStrings(std::string_view resourceName, std::uint16_t langId);

/// Calls a function with each key name and the matching field of a table, in field order.
template <typename TFunction>
void ForEachGlobalString(TGlobalString& table, TFunction&& function);

}  // namespace ps

#include "localisation/Scheme_Fields.inl"
