// SPDX-License-Identifier: MIT
// A thread object that is created suspended, started once, runs one body and can be waited for.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>

namespace ps {

class TWorkerThread {
public:
    TWorkerThread() = default;
    /// Waits for a started body to end; a worker that was never started just goes.
    virtual ~TWorkerThread();
    TWorkerThread(const TWorkerThread&) = delete;
    TWorkerThread& operator=(const TWorkerThread&) = delete;

    /// Runs Execute on a new thread. A second call does nothing.
    void Start();
    /// True once Execute has returned (or thrown).
    bool Finished() const;
    /// Waits until the body has finished or `ms` milliseconds have passed, whichever comes
    /// first, and returns Finished(). Wakes as soon as the body ends. A sped-up platform clock
    /// shortens the wait; a clock that moves only when slept on is left alone.
    bool WaitFinished(std::uint32_t ms);
    /// Blocks until the body has finished.
    void WaitFor();
    /// What Execute threw, if anything.
    std::exception_ptr FatalException() const { return m_FatalException; }

protected:
    /// The thread body. Derived classes must not be destroyed while it runs: their destructor
    /// calls WaitFor() first.
    virtual void Execute() = 0;

private:
    void Run();

    std::thread m_Thread;
    mutable std::mutex m_Mutex;
    std::condition_variable m_Done;
    bool m_bStarted = false;
    bool m_bFinished = false;
    std::exception_ptr m_FatalException;
};

/// The owner's wait for a started worker: until it has finished, lets the user interface
/// process its pending messages, then waits up to 50 ms of the platform clock.
void WaitPumpingMessages(TWorkerThread& worker);

/// One worker exchange on the owner thread: starts `worker`, waits pumping messages and joins
/// it. While it pumps, WorkerExchangeInProgress() is true and a second call (from a pumped
/// event) is refused: it returns false and leaves its worker unstarted, so two exchanges never
/// talk to the printer at once. So is a call whose printer lock cannot be had (the lock file
/// cannot be made). True when the worker ran.
bool RunWorkerPumping(TWorkerThread& worker);

/// True while RunWorkerPumping waits for a worker; a user interface may ask it to grey out
/// what would start an exchange.
bool WorkerExchangeInProgress();

}  // namespace ps
