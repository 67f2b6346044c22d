// SPDX-License-Identifier: MIT
// What the printer verbs share: their options, failures with an exit code, and the printer
// session that runs the program's start-up checks and holds the printer's exchange lock.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "Verbs.h"
#include "base/IniFile.h"
#include "batch/ValueReading.h"

namespace ps {
class TExchangeLock;
class TSchemeOptions2;
}  // namespace ps

namespace ps::tool {

using json = nlohmann::ordered_json;

/// The "format" member of every document the verbs write.
inline constexpr const char* kDocumentFormat = "printer-settings-tool/1";

/// Ends a verb with an exit code; the text goes to standard error.
class EVerbFailure : public std::runtime_error {
public:
    EVerbFailure(int exitCode, const std::string& text)
        : std::runtime_error(text), m_iExitCode(exitCode) {}
    int ExitCode() const { return m_iExitCode; }

private:
    int m_iExitCode;
};

/// Options of the verbs that work on one printer.
struct TPrinterOptions {
    bool bJson = false;
    std::optional<std::uint16_t> langId;
    std::optional<std::uint32_t> waitSeconds;  // nothing: wait as long as it takes
};

/// Removes "--json", "--lang L" / "--langid N" and "--wait SECONDS" from args.
TPrinterOptions TakePrinterOptions(std::vector<std::string>& args);
/// Removes every "name" from args; true when there was one.
bool TakeFlag(std::vector<std::string>& args, const std::string& name);
/// Removes every "name VALUE" from args and returns the values.
std::vector<std::string> TakeValues(std::vector<std::string>& args, const std::string& name);
/// Throws a bad-input failure for any argument starting with "--" left in args.
void RejectUnknownOptions(const std::vector<std::string>& args);

/// A check of a verb's arguments against the printer's scheme and menu (item names, value
/// syntax); it throws an EVerbFailure for bad ones.
using TLocalCheck = std::function<void(const TSchemeOptions2& scheme, const TIniFile& menu)>;

/// A printer opened as the program's start-up opens it: known to the spooler (an unknown name is
/// bad input, a spooler that cannot be asked makes the printer unreachable), its files and
/// exchange lock set up, the lock held (waiting with a message, or failing after --wait; a lock
/// file that cannot be made refuses the start), scheme and menu loaded, no queued jobs. The lock
/// is held until the session ends. `check`, when given, runs before the lock is waited for,
/// whenever the scheme and menu are at hand without asking the printer, so bad arguments are
/// refused before anything waits or is sent.
class TPrinterSession {
public:
    TPrinterSession(const std::string& printerName, const TPrinterOptions& options, TVerbIo& io,
                    const TLocalCheck& check = {});
    ~TPrinterSession();
    TPrinterSession(const TPrinterSession&) = delete;
    TPrinterSession& operator=(const TPrinterSession&) = delete;

    TSchemeOptions2& Scheme();
    /// The file the items were loaded from, for titles in other languages.
    const TIniFile& Menu();
    /// Throws an unreachable failure unless the printer is usable (known, on-line, on a port);
    /// then the route its values are read by.
    TReadRoute RequireReachable();
    /// Throws an unreachable failure, with the reason and what to do, unless the printer opens
    /// with the administrator's right that writes need (the port monitor's exchange).
    void RequireAdministration();
    /// The members every document starts with: format, verb, printer, model, scheme version,
    /// menu version and language.
    json Header(const std::string& verb) const;

private:
    void Open(const TPrinterOptions& options, TVerbIo& io, const TLocalCheck& check);
    void CheckLocally(const TLocalCheck& check);
    void Close();

    std::string m_strPrinter;
    std::unique_ptr<TExchangeLock> m_pLock;
    std::optional<TIniFile> m_Menu;
};

/// "\"PRINTER\" did not answer", with the reason of the failed exchange where the backend
/// knows it ("... could not be read: the CUPS server ... does not take user ... as a printer
/// administrator; ..."); takes that reason.
std::string NoAnswerText(const std::string& printer);

/// The progress of reads, on standard error when it is a terminal and the reading has taken
/// more than a second: one line, rewritten in place and cleared at the end.
class TProgressLine {
public:
    TProgressLine(TVerbIo& io, std::string label);
    ~TProgressLine();
    void Update(std::size_t done, std::size_t total);
    TReadProgress Callback() {
        return [this](std::size_t done, std::size_t total) { Update(done, total); };
    }

private:
    TVerbIo& m_Io;
    std::string m_strLabel;
    std::uint64_t m_qwStartMs;
    bool m_bShown = false;
};

}  // namespace ps::tool
