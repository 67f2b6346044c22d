// SPDX-License-Identifier: MIT
// The per-printer exchange lock.
#include "transport/ExchangeLock.h"

#include <memory>

#include "base/FileLock.h"
#include "platform/ExchangeFailure.h"
#include "platform/Platform.h"
#include "platform/UserInterface.h"

namespace ps {
namespace {

constexpr std::uint32_t kPollMs = 50;

TExchangeLockSetup g_LockSetup;
int g_iHoldDepth = 0;  // nested holders in this process
std::unique_ptr<fs::TFileLock> g_pFileLock;

}  // namespace

void SetExchangeLock(TExchangeLockSetup setup) {
    g_LockSetup = std::move(setup);
}

const TExchangeLockSetup& ExchangeLockSetup() {
    return g_LockSetup;
}

TExchangeLock::TExchangeLock(std::optional<std::uint32_t> limitMs,
                             const std::function<void()>& onBusy) {
    if (g_iHoldDepth > 0 || g_LockSetup.path.empty()) {
        ++g_iHoldDepth;
        m_bHeld = true;
        return;
    }
    std::unique_ptr<TWaitingScope> waiting;
    std::uint64_t start = 0;
    for (;;) {
        std::string error;
        switch (fs::TFileLock::TryLock(g_LockSetup.path, g_pFileLock, error)) {
            case fs::TFileLock::TResult::Taken:
                ++g_iHoldDepth;
                m_bHeld = true;
                return;
            case fs::TFileLock::TResult::Failed: {
                // Without its lock an exchange could cross another program's: refused.
                std::string reason = "the printer's lock file cannot be made: " + error;
                NoteExchangeFailure(reason);
                SetThreadLastError(kErrorAccessDenied, std::move(reason));
                return;
            }
            case fs::TFileLock::TResult::Busy:
                break;
        }
        TClock& clock = Platform().Clock();
        if (!waiting) {
            start = clock.NowMs();
            if (onBusy) onBusy();
            waiting =
                std::make_unique<TWaitingScope>(g_LockSetup.waitCaption, g_LockSetup.waitText);
        }
        if (limitMs && clock.NowMs() - start >= *limitMs) {
            SetThreadLastError(kErrorBusy);
            return;
        }
        UserInterface().ProcessMessages();
        clock.Sleep(kPollMs);
    }
}

TExchangeLock::~TExchangeLock() {
    if (!m_bHeld) return;
    if (--g_iHoldDepth == 0) g_pFileLock.reset();
}

}  // namespace ps
