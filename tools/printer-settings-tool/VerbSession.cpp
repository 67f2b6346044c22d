// SPDX-License-Identifier: MIT
// Options, the printer session and the progress line of the printer verbs.
#include "VerbSession.h"

#include <filesystem>
#include <ostream>

#include "ToolCommon.h"
#include "app/PrinterSession.h"
#include "localisation/Scheme.h"
#include "platform/ExchangeFailure.h"
#include "platform/Platform.h"
#include "platform/UserInterface.h"
#include "printer/Globals.h"
#include "printer/UtilPrinter.h"
#include "scheme/Scheme3.h"
#include "transport/ExchangeLock.h"

namespace ps::tool {
namespace {

constexpr std::uint32_t kMaxWaitSeconds = 24 * 60 * 60;
constexpr std::uint64_t kProgressAfterMs = 1000;

// Set while the arguments are checked against a scheme that is loaded again later: its
// messages are said once, by the second load.
bool g_bQuiet = false;

// Message boxes go to standard error as the console hook writes them; the waiting window has
// nothing to show on a command line (the progress line stands for it).
class TVerbUserInterface : public TConsoleUserInterface {
public:
    TMessageResult ShowMessage(TOwnerWindow owner, const std::string& caption,
                               const std::string& text, TMessageIcon icon,
                               TMessageButtons buttons) override {
        if (g_bQuiet) return FirstButton(buttons);
        return TConsoleUserInterface::ShowMessage(owner, caption, text, icon, buttons);
    }
    void ShowWaiting(const std::string&, const std::string&) override {}
};

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace

TPrinterOptions TakePrinterOptions(std::vector<std::string>& args) {
    TPrinterOptions options;
    try {
        options.langId = TakeLanguageOption(args);
    } catch (const EUsageError& e) {
        throw EVerbFailure(kVerbBadInput, e.what());
    }
    options.bJson = TakeFlag(args, "--json");
    const std::vector<std::string> waits = TakeValues(args, "--wait");
    if (waits.size() > 1) throw EVerbFailure(kVerbBadInput, "give --wait once");
    if (!waits.empty()) {
        bool digits = !waits[0].empty() && waits[0].size() <= 5;
        for (char c : waits[0]) digits = digits && c >= '0' && c <= '9';
        const auto seconds = digits ? TryStrToInt(waits[0]) : std::nullopt;
        if (!seconds || *seconds < 0 || static_cast<std::uint32_t>(*seconds) > kMaxWaitSeconds)
            throw EVerbFailure(kVerbBadInput, "--wait needs a number of seconds from 0 to " +
                                                  std::to_string(kMaxWaitSeconds) + ", not " +
                                                  Quoted(waits[0]));
        options.waitSeconds = static_cast<std::uint32_t>(*seconds);
    }
    return options;
}

bool TakeFlag(std::vector<std::string>& args, const std::string& name) {
    const auto before = args.size();
    std::erase(args, name);
    return args.size() != before;
}

std::vector<std::string> TakeValues(std::vector<std::string>& args, const std::string& name) {
    std::vector<std::string> values;
    for (auto it = args.begin(); it != args.end();) {
        if (*it != name) {
            ++it;
            continue;
        }
        if (it + 1 == args.end()) throw EVerbFailure(kVerbBadInput, name + " needs a value");
        values.push_back(*(it + 1));
        it = args.erase(it, it + 2);
    }
    return values;
}

void RejectUnknownOptions(const std::vector<std::string>& args) {
    for (const std::string& arg : args)
        if (arg.starts_with("--")) throw EVerbFailure(kVerbBadInput, "unknown option " + arg);
}

TPrinterSession::TPrinterSession(const std::string& printerName, const TPrinterOptions& options,
                                 TVerbIo& io, const TLocalCheck& check)
    : m_strPrinter(printerName) {
    try {
        Open(options, io, check);
    } catch (...) {
        Close();  // a refused start leaves no state behind either
        throw;
    }
}

void TPrinterSession::Open(const TPrinterOptions& options, TVerbIo& io, const TLocalCheck& check) {
    const std::string& printerName = m_strPrinter;
    InstallUserInterface(std::make_unique<TVerbUserInterface>());
    ApplySystemLanguage(options.langId);
    // The empty name would open the print server, which is no printer.
    if (printerName.empty()) throw EVerbFailure(kVerbBadInput, "a printer name is needed");
    if (!Platform().Spooler().Open(printerName, TPrinterAccess::Default)) {
        // A spooler that cannot be asked is no unknown printer: the server is down, say.
        if (GetThreadLastError() != kErrorInvalidPrinterName)
            throw EVerbFailure(kVerbUnreachable, "cannot open " + Quoted(printerName) + ": " +
                                                     ThreadLastErrorText() + "; nothing was sent");
        throw EVerbFailure(kVerbBadInput, "unknown printer " + Quoted(printerName) +
                                              " (printer-settings-tool printers lists them)");
    }

    ResetGlobals();
    SetUpPrinterPaths(printerName);
    if (check) CheckLocally(check);
    std::optional<std::uint32_t> limitMs;
    if (options.waitSeconds) limitMs = *options.waitSeconds * 1000;
    m_pLock = std::make_unique<TExchangeLock>(limitMs, [&] {
        io.err << "printer-settings-tool: " << Quoted(printerName)
               << " is in use by another Printer Settings program; waiting";
        if (options.waitSeconds) io.err << " up to " << *options.waitSeconds << " s";
        io.err << "...\n" << std::flush;
    });
    if (!m_pLock->Held()) {
        if (GetThreadLastError() != kErrorBusy)
            throw EVerbFailure(kVerbStartRefused, ThreadLastErrorText() + "; nothing was done");
        throw EVerbFailure(kVerbBusy, Quoted(printerName) + " is still in use after " +
                                          std::to_string(*options.waitSeconds) +
                                          " s; nothing was done");
    }

    switch (LoadPrinterScheme()) {
        case TPrinterCheck::Ready:
            break;
        case TPrinterCheck::MenuVersionUnknown:
            throw EVerbFailure(kVerbStartRefused, "the scheme of " + Quoted(printerName) +
                                                      " has a menu version this program does "
                                                      "not know");
        default:
            throw EVerbFailure(kVerbStartRefused, "no item menu for " + Quoted(printerName) +
                                                      " (the printer did not give its menu)");
    }
    if (CheckPrinterIdle() != TPrinterCheck::Ready)
        throw EVerbFailure(kVerbStartRefused, "jobs wait in the queue of " + Quoted(printerName) +
                                                  "; delete them and try again");
}

void TPrinterSession::CheckLocally(const TLocalCheck& check) {
    // Only a scheme and menu at hand here: a menu the printer has yet to give is downloaded
    // under the lock, and the arguments are checked after it.
    std::string schemeFile;
    if (!FindDriverSchemeFile(m_strPrinter, schemeFile)) return;
    TSchemeOptions2 scheme;
    std::string menuFile;
    g_bQuiet = true;
    try {
        scheme.LoadFromFile(schemeFile);
        const std::int32_t menuVersion = scheme.m_Sections.MenuVersion;
        if (menuVersion == 0) menuFile = schemeFile;
        if (menuVersion == 1) menuFile = g_PrinterCacheBase + ".DAT";
        std::error_code ec;
        if (!menuFile.empty() && std::filesystem::is_regular_file(menuFile, ec))
            scheme.LoadPrinterMenu(menuFile);
        else
            menuFile.clear();
    } catch (const std::exception&) {
        menuFile.clear();  // the load under the lock says what is wrong with the scheme
    }
    g_bQuiet = false;
    if (!menuFile.empty()) check(scheme, TIniFile::FromFile(menuFile));
}

TPrinterSession::~TPrinterSession() {
    Close();
}

void TPrinterSession::Close() {
    m_pLock.reset();
    g_SchemeOptions.reset();
    ResetGlobals();
    InstallUserInterface(nullptr);
}

TSchemeOptions2& TPrinterSession::Scheme() {
    return *g_SchemeOptions;
}

const TIniFile& TPrinterSession::Menu() {
    if (!m_Menu) m_Menu = TIniFile::FromFile(g_MenuFile);
    return *m_Menu;
}

TReadRoute TPrinterSession::RequireReachable() {
    std::string port;
    bool online = false;
    if (!GetPrinterPortInfo(m_strPrinter, port, online))
        throw EVerbFailure(kVerbUnreachable, "cannot ask for the port of " + Quoted(m_strPrinter) +
                                                 ": " + ThreadLastErrorText() +
                                                 "; nothing was sent");
    if (!online || port.empty())
        throw EVerbFailure(kVerbUnreachable,
                           Quoted(m_strPrinter) + " is off-line or has no port; nothing was sent");
    ClearExchangeFailure();  // what goes wrong from here is said with its reason
    return ChooseReadRoute(m_strPrinter);
}

void TPrinterSession::RequireAdministration() {
    if (!Platform().Spooler().Open(m_strPrinter, TPrinterAccess::Full))
        throw EVerbFailure(kVerbUnreachable, "cannot write to " + Quoted(m_strPrinter) + ": " +
                                                 ThreadLastErrorText() + "; nothing was sent");
}

json TPrinterSession::Header(const std::string& verb) const {
    const TTagSections& sections = g_SchemeOptions->m_Sections;
    return json{{"format", kDocumentFormat},
                {"verb", verb},
                {"printer", m_strPrinter},
                {"model", sections.PrinterName},
                {"schemeVersion", sections.DriverVersion},
                {"menuVersion", sections.MenuVersion},
                {"language", std::string(LanguageSuffix(g_GlobalString.Language))}};
}

std::string NoAnswerText(const std::string& printer) {
    const std::string reason = TakeExchangeFailure();
    if (reason.empty()) return Quoted(printer) + " did not answer";
    return Quoted(printer) + " could not be read: " + reason;
}

TProgressLine::TProgressLine(TVerbIo& io, std::string label)
    : m_Io(io), m_strLabel(std::move(label)), m_qwStartMs(Platform().Clock().NowMs()) {}

TProgressLine::~TProgressLine() {
    if (m_bShown) m_Io.err << "\r\x1B[K" << std::flush;
}

void TProgressLine::Update(std::size_t done, std::size_t total) {
    if (!m_Io.bErrIsTerminal || done >= total) return;
    if (!m_bShown && Platform().Clock().NowMs() - m_qwStartMs < kProgressAfterMs) return;
    m_bShown = true;
    m_Io.err << "\r\x1B[K" << m_strLabel << ": " << done << " of " << total << std::flush;
}

}  // namespace ps::tool
