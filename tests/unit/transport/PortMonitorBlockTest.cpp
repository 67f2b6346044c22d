// SPDX-License-Identifier: MIT
// The port-monitor exchange against a stand-in monitor that sees the shared block byte for byte.
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "base/TextCodec.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"
#include "transport/UtilDataSend.h"

namespace ps {
namespace {

using TBlock = std::vector<std::uint8_t>;

class TBlockView : public TMappedView {
public:
    explicit TBlockView(std::shared_ptr<TBlock> block) : m_pBlock(std::move(block)) {}
    std::span<std::uint8_t> Bytes() override { return *m_pBlock; }

private:
    std::shared_ptr<TBlock> m_pBlock;
};

class TBlockMemory : public TSharedMemory {
public:
    explicit TBlockMemory(std::shared_ptr<TBlock> block) : m_pBlock(std::move(block)) {}
    std::unique_ptr<TMappedView> Map() override { return std::make_unique<TBlockView>(m_pBlock); }

private:
    std::shared_ptr<TBlock> m_pBlock;
};

// What the stand-in monitor does when triggered.
struct TMonitorScript {
    TSysError result = kErrorSuccess;
    std::uint32_t answer = 1;
    std::int32_t storedLength = 0;
    TBlock reply;
};

struct TObserved {
    int opens = 0;
    TPrinterAccess access = TPrinterAccess::Default;
    std::string blockName;
    std::string triggerName;
    TBlock blockAtTrigger;
};

void PutLe32(TBlock& block, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) block[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

class TMonitorPlatform : public TPlatform, TKernel, TSpooler {
public:
    TMonitorPlatform(std::uint32_t session, TMonitorScript script, bool fullAccess = true)
        : m_Session(session), m_Script(std::move(script)), m_bFullAccess(fullAccess) {}

    TKernel& Kernel() override { return *this; }
    TClock& Clock() override { return m_Clock; }
    TSpooler& Spooler() override { return *this; }

    std::uint16_t GetSystemDefaultLangID() override { return 0x0409; }
    std::string GetTempPath() override { return "/tmp/"; }
    std::optional<std::string> DecodeLegacyText(std::string_view, std::uint16_t) override {
        return std::nullopt;
    }
    std::uint32_t GetSessionId() override { return m_Session; }
    std::unique_ptr<TSharedMemory> CreateSharedMemory(const std::string& name,
                                                      std::size_t size) override {
        observed.blockName = name;
        m_pBlock = std::make_shared<TBlock>(size, 0);
        return std::make_unique<TBlockMemory>(m_pBlock);
    }

    std::unique_ptr<TPrinterHandle> Open(const std::string&, TPrinterAccess access) override;
    std::optional<std::string> GetDriverDirectory(const std::string&) override { return {}; }

    // The monitor's side of the trigger.
    TSysError Trigger(const std::string& valueName, std::span<std::uint8_t> buffer) {
        observed.triggerName = valueName;
        observed.blockAtTrigger = *m_pBlock;
        TBlock& block = *m_pBlock;
        PutLe32(block, 8, static_cast<std::uint32_t>(m_Script.storedLength));
        std::copy(m_Script.reply.begin(), m_Script.reply.end(), block.begin() + 128);
        if (buffer.size() >= 4) {
            for (int i = 0; i < 4; ++i)
                buffer[i] = static_cast<std::uint8_t>(m_Script.answer >> (8 * i));
        }
        return m_Script.result;
    }

    TObserved observed;

private:
    std::uint32_t m_Session;
    TMonitorScript m_Script;
    bool m_bFullAccess;
    TScaledClock m_Clock;
    std::shared_ptr<TBlock> m_pBlock;
};

class TMonitorPrinter : public TPrinterHandle {
public:
    explicit TMonitorPrinter(TMonitorPlatform& platform) : m_Platform(platform) {}
    std::optional<TPrinterInfo2> GetInfo2() override { return std::nullopt; }
    std::optional<TDriverInfo6> GetDriverInfo6(const std::string&) override { return std::nullopt; }
    std::optional<std::vector<TJobInfo1>> GetJobs(std::uint32_t, std::uint32_t) override {
        return std::nullopt;
    }
    TSysError GetData(const std::string& valueName, std::uint32_t& type,
                      std::span<std::uint8_t> buffer, std::uint32_t& needed) override {
        type = kRegDword;
        needed = 4;
        return m_Platform.Trigger(valueName, buffer);
    }
    TSysError SetData(const std::string&, std::uint32_t, std::span<const std::uint8_t>) override {
        return kErrorAccessDenied;
    }
    std::uint32_t StartDocument(const std::string&, const std::string&,
                                const std::string&) override {
        return 0;
    }
    bool StartPage() override { return false; }
    bool WriteData(std::span<const std::uint8_t>, std::uint32_t&) override { return false; }
    bool EndPage() override { return false; }
    bool EndDocument() override { return false; }

private:
    TMonitorPlatform& m_Platform;
};

std::unique_ptr<TPrinterHandle> TMonitorPlatform::Open(const std::string&, TPrinterAccess access) {
    ++observed.opens;
    observed.access = access;
    if (access == TPrinterAccess::Full && !m_bFullAccess) {
        SetThreadLastError(kErrorAccessDenied);
        return nullptr;
    }
    return std::make_unique<TMonitorPrinter>(*this);
}

TMonitorPlatform& Install(std::uint32_t session, TMonitorScript script, bool fullAccess = true) {
    auto platform = std::make_unique<TMonitorPlatform>(session, std::move(script), fullAccess);
    TMonitorPlatform& result = *platform;
    InstallPlatform(std::move(platform));
    return result;
}

class PortMonitorBlockTest : public ::testing::Test {
protected:
    ~PortMonitorBlockTest() override { test::InstallTestPlatform(); }
};

TEST_F(PortMonitorBlockTest, FillsTheBlockExactlyAsLaidOut) {
    auto& platform = Install(1, {kErrorSuccess, 1, 4, {0x1B, 0x1D, 0x1E, 0x07}});
    std::uint8_t buffer[64] = {0x1B, 0x1D, 0x1E, 0x12, 0x0A, 0x1B, 0x1D, 0x1F};
    std::int32_t length = 64;
    ASSERT_TRUE(PortMonitorExchange("QR-520", buffer, 8, buffer, length));

    EXPECT_EQ(platform.observed.access, TPrinterAccess::Full);
    EXPECT_EQ(platform.observed.blockName, "Session\\1\\DOZIV_EDI1");
    EXPECT_EQ(platform.observed.triggerName, "Session\\1\\DOZIV_EDI1");
    TBlock expected(65536, 0);
    const std::uint8_t header[] = {0x00, 0x00, 0x01, 0x00, 8, 0, 0, 0, 64, 0, 0, 0};
    std::copy(std::begin(header), std::end(header), expected.begin());
    const char name[] =
        "Q\0R\0-\0"
        "5\0"
        "2\0"
        "0\0\0\0";
    std::copy(name, name + 14, expected.begin() + 64);
    const std::uint8_t command[] = {0x1B, 0x1D, 0x1E, 0x12, 0x0A, 0x1B, 0x1D, 0x1F};
    std::copy(std::begin(command), std::end(command), expected.begin() + 128);
    EXPECT_EQ(platform.observed.blockAtTrigger, expected);

    // The reply overwrote the command from byte 0.
    EXPECT_EQ(length, 4);
    EXPECT_EQ(TBlock(buffer, buffer + 5), (TBlock{0x1B, 0x1D, 0x1E, 0x07, 0x0A}));
}

TEST_F(PortMonitorBlockTest, ReplyIsCappedAtTheWantedLength) {
    TBlock reply(200);
    for (std::size_t i = 0; i < reply.size(); ++i) reply[i] = static_cast<std::uint8_t>(i);
    Install(1, {kErrorSuccess, 1, 200, reply});
    TBlock buffer(80, 0xEE);
    std::int32_t length = 64;
    ASSERT_TRUE(PortMonitorExchange("P", buffer.data(), 3, buffer.data(), length));
    EXPECT_EQ(length, 64);
    EXPECT_EQ(TBlock(buffer.begin(), buffer.begin() + 64),
              TBlock(reply.begin(), reply.begin() + 64));
    EXPECT_EQ(TBlock(buffer.begin() + 64, buffer.end()), TBlock(16, 0xEE));

    // A write asks for nothing: nothing is copied back though the monitor stored a length.
    Install(1, {kErrorSuccess, 1, 5, {9, 9, 9, 9, 9}});
    TBlock write = {1, 2, 3};
    length = 0;
    ASSERT_TRUE(PortMonitorExchange("P", write.data(), 3, write.data(), length));
    EXPECT_EQ(length, 0);
    EXPECT_EQ(write, (TBlock{1, 2, 3}));

    // A shorter reply, and a nonsense negative length.
    Install(1, {kErrorSuccess, 1, 3, {7, 8, 9}});
    TBlock small(8, 0);
    length = 8;
    ASSERT_TRUE(PortMonitorExchange("P", small.data(), 1, small.data(), length));
    EXPECT_EQ(length, 3);
    Install(1, {kErrorSuccess, 1, -5, {}});
    length = 8;
    ASSERT_TRUE(PortMonitorExchange("P", small.data(), 1, small.data(), length));
    EXPECT_EQ(length, 0);
}

TEST_F(PortMonitorBlockTest, ResultComesFromTheQueryAndTheAnswersLowestByte) {
    std::uint8_t buffer[8] = {0x10};
    std::int32_t length = 8;

    // Success code but a zero lowest byte: failure, though the reply is still read back.
    auto& zero = Install(1, {kErrorSuccess, 0x100, 2, {0xAB, 0xCD}});
    SetThreadLastError(99);
    EXPECT_FALSE(PortMonitorExchange("P", buffer, 1, buffer, length));
    EXPECT_EQ(length, 2);
    EXPECT_EQ(buffer[0], 0xAB);
    EXPECT_EQ(GetThreadLastError(), kErrorSuccess);
    EXPECT_EQ(zero.observed.opens, 1);

    // A failed query leaves its code as the last-error value.
    Install(1, {kErrorFileNotFound, 1, 0, {}});
    length = 8;
    EXPECT_FALSE(PortMonitorExchange("P", buffer, 1, buffer, length));
    EXPECT_EQ(GetThreadLastError(), kErrorFileNotFound);
    EXPECT_EQ(length, 0);

    // Session 7 names its block after the session.
    auto& session = Install(7, {kErrorSuccess, 1, 0, {}});
    length = 0;
    EXPECT_TRUE(PortMonitorExchange("P", buffer, 1, buffer, length));
    EXPECT_EQ(session.observed.blockName, "Session\\7\\DOZIV_EDI1");

    // Without full access nothing is created or triggered.
    auto& denied = Install(1, {kErrorSuccess, 1, 0, {}}, false);
    EXPECT_FALSE(PortMonitorExchange("P", buffer, 1, buffer, length));
    EXPECT_TRUE(denied.observed.blockName.empty());
    EXPECT_TRUE(denied.observed.triggerName.empty());
}

TEST_F(PortMonitorBlockTest, RefusesWhatTheBlockCannotHoldAndCutsLongNames) {
    auto& platform = Install(1, {kErrorSuccess, 1, 0, {}});
    TBlock big(65409, 0x55);
    std::int32_t length = 0;
    EXPECT_FALSE(PortMonitorExchange("P", big.data(), 65409, big.data(), length));
    length = -1;
    EXPECT_FALSE(PortMonitorExchange("P", big.data(), 1, big.data(), length));
    EXPECT_EQ(platform.observed.opens, 0);
    length = 0;
    EXPECT_TRUE(PortMonitorExchange("P", big.data(), 65408, big.data(), length));
    EXPECT_EQ(platform.observed.blockAtTrigger.back(), 0x55);

    // 40 characters: 31 are stored, then the terminator; nothing spills past the field.
    const std::string longName = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd";
    EXPECT_TRUE(PortMonitorExchange(longName, big.data(), 1, big.data(), length));
    const TBlock& block = platform.observed.blockAtTrigger;
    std::string stored =
        Utf16ToUtf8(std::string_view(reinterpret_cast<const char*>(&block[64]), 62));
    EXPECT_EQ(stored, longName.substr(0, 31));
    EXPECT_EQ(block[126], 0);
    EXPECT_EQ(block[127], 0);
    EXPECT_EQ(block[128], 0x55);

    // Non-ASCII names are UTF-16; a character outside the BMP is not split at the cut.
    std::string cjk = "打印机";
    EXPECT_TRUE(PortMonitorExchange(cjk, big.data(), 1, big.data(), length));
    EXPECT_EQ(TBlock(platform.observed.blockAtTrigger.begin() + 64,
                     platform.observed.blockAtTrigger.begin() + 72),
              (TBlock{0x53, 0x62, 0x70, 0x53, 0x3A, 0x67, 0x00, 0x00}));
    std::string edge = std::string(30, 'x') + "\xF0\x9F\x96\xA8";  // 30 units, then a pair
    EXPECT_TRUE(PortMonitorExchange(edge, big.data(), 1, big.data(), length));
    EXPECT_EQ(platform.observed.blockAtTrigger[64 + 60], 0);
    EXPECT_EQ(platform.observed.blockAtTrigger[64 + 61], 0);
}

}  // namespace
}  // namespace ps
