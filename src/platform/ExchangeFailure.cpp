// SPDX-License-Identifier: MIT
// The reason of the last failed exchange, kept for the process.
#include "platform/ExchangeFailure.h"

#include <mutex>
#include <utility>

namespace ps {
namespace {

std::mutex g_Mutex;
std::string g_strReason;

}  // namespace

void NoteExchangeFailure(std::string reason) {
    if (reason.empty()) return;
    std::lock_guard lock(g_Mutex);
    g_strReason = std::move(reason);
}

std::string TakeExchangeFailure() {
    std::lock_guard lock(g_Mutex);
    return std::exchange(g_strReason, std::string());
}

void ClearExchangeFailure() {
    std::lock_guard lock(g_Mutex);
    g_strReason.clear();
}

}  // namespace ps
