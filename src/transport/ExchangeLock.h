// SPDX-License-Identifier: MIT
// The per-printer exchange lock: the windows and the command-line tool never talk to one printer
// at the same time. Every exchange holds a lock file beside the printer's cache files; exchanges
// nested inside one another in one process share the hold, so a caller may keep the lock
// across several exchanges (the tool keeps it for a whole command).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace ps {

/// The lock of the printer this process works with, and the waiting window shown while another
/// process has it.
struct TExchangeLockSetup {
    std::string path;  // the lock file; empty: exchanges take no lock
    std::string waitCaption;
    std::string waitText;
};

/// Start-up sets this once the printer's paths are known; an empty path turns locking off.
/// Owner (user-interface) thread.
void SetExchangeLock(TExchangeLockSetup setup);
const TExchangeLockSetup& ExchangeLockSetup();

/// Holds the exchange lock for its lifetime. Between processes only: threads of one process
/// share the hold (RunWorkerPumping keeps them apart). Owner thread.
class TExchangeLock {
public:
    /// Waits as long as another process holds the lock, showing the waiting window and letting
    /// the user interface process its pending messages.
    TExchangeLock() : TExchangeLock(std::nullopt, {}) {}
    /// Waits at most `limitMs` of the platform clock (nothing: no limit). `onBusy` runs once,
    /// when the lock is first found held by another process.
    TExchangeLock(std::optional<std::uint32_t> limitMs, const std::function<void()>& onBusy);
    ~TExchangeLock();
    TExchangeLock(const TExchangeLock&) = delete;
    TExchangeLock& operator=(const TExchangeLock&) = delete;

    /// True while this object holds the lock, also when locking is off. False when the limit
    /// passed first (the thread's last-error value is then kErrorBusy) or the lock file cannot
    /// be made or locked (kErrorAccessDenied, its text saying why, also noted as the
    /// exchange's failure): an exchange never goes ahead without the lock it should hold.
    bool Held() const { return m_bHeld; }

private:
    bool m_bHeld = false;
};

}  // namespace ps
