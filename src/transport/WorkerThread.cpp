// SPDX-License-Identifier: MIT
// One-shot worker threads and the owner's message-pumping wait.
#include "transport/WorkerThread.h"

#include <atomic>
#include <chrono>

#include "platform/Platform.h"
#include "platform/UserInterface.h"
#include "transport/ExchangeLock.h"

namespace ps {
namespace {

// Set while an owner waits for a worker exchange.
std::atomic<bool> g_bExchangeInProgress{false};

}  // namespace

TWorkerThread::~TWorkerThread() {
    WaitFor();
}

void TWorkerThread::Start() {
    std::lock_guard lock(m_Mutex);
    if (m_bStarted) return;
    m_bStarted = true;
    m_Thread = std::thread([this] { Run(); });
}

void TWorkerThread::Run() {
    std::exception_ptr error;
    try {
        Execute();
    } catch (...) {
        error = std::current_exception();
    }
    {
        std::lock_guard lock(m_Mutex);
        m_FatalException = error;
        m_bFinished = true;
    }
    m_Done.notify_all();
}

bool TWorkerThread::Finished() const {
    std::lock_guard lock(m_Mutex);
    return m_bFinished;
}

bool TWorkerThread::WaitFinished(std::uint32_t ms) {
    // The wait is for the worker, not a pause of the program: it never moves a clock whose
    // time passes only by sleeping, and on a sped-up clock it lasts the scaled time.
    double speed = 1.0;
    if (auto* scaled = dynamic_cast<TScaledClock*>(&Platform().Clock())) speed = scaled->Speed();
    auto realWait = std::chrono::duration<double, std::milli>(ms / speed);
    std::unique_lock lock(m_Mutex);
    m_Done.wait_for(lock, realWait, [this] { return m_bFinished; });
    return m_bFinished;
}

void TWorkerThread::WaitFor() {
    std::thread thread;
    {
        std::lock_guard lock(m_Mutex);
        if (!m_Thread.joinable()) return;
        if (m_Thread.get_id() == std::this_thread::get_id()) return;
        thread = std::move(m_Thread);
    }
    thread.join();
}

void WaitPumpingMessages(TWorkerThread& worker) {
    while (!worker.Finished()) {
        UserInterface().ProcessMessages();
        worker.WaitFinished(50);
    }
}

bool RunWorkerPumping(TWorkerThread& worker) {
    bool expected = false;
    if (!g_bExchangeInProgress.compare_exchange_strong(expected, true)) return false;
    // Taken before the worker starts: the worker thread itself never waits for it.
    const TExchangeLock lock;
    if (!lock.Held()) {
        g_bExchangeInProgress = false;
        return false;
    }
    // Joined before the flag drops on every path, also when a pumped event throws.
    struct TExchangeScope {
        TWorkerThread& worker;
        ~TExchangeScope() {
            worker.WaitFor();
            g_bExchangeInProgress = false;
        }
    } scope{worker};
    worker.Start();
    WaitPumpingMessages(worker);
    return true;
}

bool WorkerExchangeInProgress() {
    return g_bExchangeInProgress;
}

}  // namespace ps
