// SPDX-License-Identifier: MIT
// The per-printer exchange lock: another holder of the lock file keeps every exchange waiting
// (the waiting window up) or, with a limit, refuses it; nested holds in one process share it.
#include <gtest/gtest.h>

#include "base/FileLock.h"
#include "platform/ExchangeFailure.h"
#include "platform/Platform.h"
#include "support/EmulationFixture.h"
#include "transport/ExchangeLock.h"
#include "transport/UtilDataSend.h"

namespace ps {
namespace {

class ExchangeLockTest : public test::TEmulationTest {
protected:
    ExchangeLockTest() {
        m_strLock = (m_Dir.Path() / "printer.lock").string();
        SetExchangeLock({m_strLock, "Reading", "Please wait"});
    }
    ~ExchangeLockTest() override { SetExchangeLock({}); }

    // What another process would do: hold the lock through a second open of the file.
    std::unique_ptr<fs::TFileLock> HoldElsewhere() {
        std::unique_ptr<fs::TFileLock> lock;
        std::string error;
        EXPECT_EQ(fs::TFileLock::TryLock(m_strLock, lock, error), fs::TFileLock::TResult::Taken)
            << error;
        return lock;
    }
    bool FreeNow() {
        std::unique_ptr<fs::TFileLock> probe;
        std::string error;
        return fs::TFileLock::TryLock(m_strLock, probe, error) == fs::TFileLock::TResult::Taken;
    }
    std::string m_strLock;
};

TEST_F(ExchangeLockTest, NestedHoldsShareTheLockUntilTheOutermostEnds) {
    StartScripted();
    {
        const TExchangeLock outer;
        ASSERT_TRUE(outer.Held());
        EXPECT_FALSE(FreeNow());
        const TExchangeLock inner(0, [] { ADD_FAILURE() << "a nested hold never waits"; });
        EXPECT_TRUE(inner.Held());
    }
    EXPECT_TRUE(FreeNow());
}

TEST_F(ExchangeLockTest, LimitedWaitGivesUpWithTheWaitingWindowShownAndGone) {
    StartScripted();
    test::TScopedRecorder ui;
    auto elsewhere = HoldElsewhere();
    int busy = 0;
    const std::uint64_t start = Platform().Clock().NowMs();
    const TExchangeLock lock(2000, [&] { ++busy; });
    EXPECT_FALSE(lock.Held());
    EXPECT_EQ(GetThreadLastError(), kErrorBusy);
    EXPECT_EQ(busy, 1);
    EXPECT_GE(Platform().Clock().NowMs() - start, 2000u);
    EXPECT_EQ(ui->waitingTexts, (std::vector<std::string>{"Reading: Please wait"}));
    EXPECT_FALSE(ui->waitingShown);
    // A lock that was never held is not given back: the other holder keeps it.
    EXPECT_FALSE(FreeNow());
}

TEST_F(ExchangeLockTest, AnExchangeWaitsForTheOtherHolderThenGoesAhead) {
    m_Dir.Write("device.ini", "[GlobalSettings]\r\nPrinterName=T\r\n");
    m_Builder.Device("tp").Set("Scheme", "device.ini");
    m_Builder.Printer("Printer", "LPT1").Set("Device", "tp");
    StartEmulator();
    test::TScopedRecorder ui;
    auto elsewhere = HoldElsewhere();
    // The other program finishes while this one pumps its messages.
    ui->onProcessMessages = [&] {
        if (ui->processCount == 3) elsewhere.reset();
    };
    const TBytes save = {0x1B, 0x1D, 0x1E, 0x05, 0x02, 0x1B, 0x1D, 0x1F};
    std::int32_t noReply = 0;
    EXPECT_TRUE(PortMonitorExchange("Printer", save.data(), 8, nullptr, noReply));
    EXPECT_GE(ui->processCount, 3);
    EXPECT_EQ(m_Builder.CommandLog("tp").size(), 1u);
    EXPECT_FALSE(ui->waitingShown);
    EXPECT_TRUE(FreeNow());  // released with the exchange
}

TEST_F(ExchangeLockTest, NoExchangeGoesAheadWithoutItsLock) {
    m_Dir.Write("device.ini", "[GlobalSettings]\r\nPrinterName=T\r\n");
    m_Builder.Device("tp").Set("Scheme", "device.ini");
    m_Builder.Printer("Printer", "LPT1").Set("Device", "tp");
    StartEmulator();
    // A lock file that cannot be made (its folder is gone): refused, nothing sent.
    SetExchangeLock({(m_Dir.Path() / "gone" / "printer.lock").string(), "Reading", "Wait"});
    ClearExchangeFailure();
    const TBytes save = {0x1B, 0x1D, 0x1E, 0x05, 0x02, 0x1B, 0x1D, 0x1F};
    std::int32_t noReply = 0;
    EXPECT_FALSE(PortMonitorExchange("Printer", save.data(), 8, nullptr, noReply));
    EXPECT_NE(TakeExchangeFailure().find("lock file cannot be made"), std::string::npos);
    EXPECT_TRUE(m_Builder.CommandLog("tp").empty());
    const TExchangeLock lock(0, {});
    EXPECT_FALSE(lock.Held());
    EXPECT_EQ(GetThreadLastError(), kErrorAccessDenied);
}

}  // namespace
}  // namespace ps
