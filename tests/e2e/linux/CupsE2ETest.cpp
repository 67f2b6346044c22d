// SPDX-License-Identifier: MIT
// The native Linux platform end to end: a private cupsd on loopback whose queues print to
// printer-emulator daemons, the program and printer-settings-tool run whole against it, and the
// core's exchanges driven in-process as the windows drive them.
#include <arpa/inet.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "PrivateCupsd.h"
#include "ProgramRunner.h"
#include "app/PrinterSession.h"
#include "base/Lib_String.h"
#include "base/TextCodec.h"
#include "platform/NativeServices.h"
#include "printer/Globals.h"
#include "printer/UtilPrinter.h"
#include "scheme/Scheme3.h"
#include "scheme/SettingWrite.h"
#include "support/EmulationDirBuilder.h"
#include "support/TestSupport.h"
#include "transport/ExchangeLock.h"
#include "transport/UtilDataSend.h"

namespace ps::test {
namespace {

namespace fs = std::filesystem;
constexpr const char* kQueue = "Talvenor_QR-520";

std::string Ppd(const std::string& nickName, const std::string& schemeKeyword) {
    std::string text =
        "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
        "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n*PCFileName: \"TALV.PPD\"\n"
        "*Manufacturer: \"Talvenor\"\n*Product: \"(" +
        nickName + ")\"\n*ModelName: \"" + nickName + "\"\n*ShortNickName: \"" + nickName +
        "\"\n*NickName: \"" + nickName +
        "\"\n*PSVersion: \"(3010.000) 0\"\n*LanguageLevel: \"3\"\n*ColorDevice: False\n"
        "*DefaultColorSpace: Gray\n*FileSystem: False\n*Throughput: \"1\"\n"
        "*LandscapeOrientation: Plus90\n*TTRasterizer: Type42\n";
    if (!schemeKeyword.empty()) text += "*PrinterSettingsScheme: \"" + schemeKeyword + "\"\n";
    return text +
           "*OpenUI *PageSize: PickOne\n*OrderDependency: 10 AnySetup *PageSize\n"
           "*DefaultPageSize: A4\n*PageSize A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n"
           "*CloseUI: *PageSize\n*DefaultImageableArea: A4\n*ImageableArea A4/A4: \"0 0 595 842\"\n"
           "*DefaultPaperDimension: A4\n*PaperDimension A4/A4: \"595 842\"\n";
}

class CupsE2E : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string reason = TPrivateCupsd::CannotRunReason(); !reason.empty())
            GTEST_SKIP() << reason;
        std::string problem;
        ASSERT_TRUE(m_Cupsd.Start(problem)) << problem;
        const fs::path root = m_Cupsd.Folder();
        m_Scheme = root / "scheme" / "QR-520_Settings.Dat";
        fs::create_directories(m_Scheme.parent_path());
        fs::copy_file(SourceDir() / "resources" / "Scheme" / "QR-520_Settings.Dat", m_Scheme);
        fs::create_directories(root / "emu");
        fs::copy_file(m_Scheme, root / "emu" / "QR-520_Settings.Dat");
        TEmulationDirBuilder builder(root / "emu");
        builder.Device("qr").Set("Scheme", "QR-520_Settings.Dat").Set("Values", "11=1");
        builder.Write();
        m_pDaemon = std::make_unique<TEmulatorDaemon>(PS_PRINTER_EMULATOR, root / "emu", "qr");
        ASSERT_GT(m_pDaemon->Port(), 0) << "printer-emulator did not start";
        for (const char* folder : {"drivers/3", "tmp", "state"})
            fs::create_directories(root / folder);
        m_Environment = {{"PRINTER_SETTINGS_EMULATION", ""},
                         {"PRINTER_SETTINGS_DRIVER_DIR", (root / "drivers").string()},
                         {"TMPDIR", (root / "tmp").string()},
                         {"XDG_RUNTIME_DIR", ""},
                         {"XDG_STATE_HOME", (root / "state").string()},
                         {"LANG", "C"},
                         {"LC_ALL", ""},
                         {"LC_MESSAGES", ""}};
        for (const auto& [key, value] : m_Environment) {
            const char* old = std::getenv(key.c_str());
            m_Saved.emplace_back(key, old ? std::optional<std::string>(old) : std::nullopt);
            ::setenv(key.c_str(), value.c_str(), 1);
        }
    }

    void TearDown() override {
        InstallTestPlatform();
        for (const auto& [key, value] : m_Saved) {
            if (value)
                ::setenv(key.c_str(), value->c_str(), 1);
            else
                ::unsetenv(key.c_str());
        }
    }

    // A queue with a PPD of the given nickname and scheme keyword, printing to the daemon
    // unless another device URI is given.
    void AddQueue(const std::string& name, const std::string& nickName,
                  const std::string& schemeKeyword, const std::string& uri = "") {
        const fs::path ppd = m_Cupsd.Folder() / (name + ".ppd");
        std::ofstream(ppd) << Ppd(nickName, schemeKeyword);
        const auto result =
            m_Cupsd.Admin({"-p", name, "-D", nickName, "-v",
                           uri.empty() ? m_pDaemon->SocketUri() : uri, "-P", ppd.string(), "-E"});
        ASSERT_EQ(result.exitCode, 0) << result.err;
    }

    TProgramResult Run(const std::vector<std::string>& args) {
        return RunProgram(PRINTER_SETTINGS_BIN, args, m_Environment);
    }

    // printer-settings-tool, with the environment of the test and `extra` on top.
    TProgramResult Tool(const std::vector<std::string>& args,
                        const std::map<std::string, std::string>& extra = {}) {
        std::map<std::string, std::string> environment = m_Environment;
        for (const auto& [key, value] : extra) environment[key] = value;
        return RunProgram(PRINTER_SETTINGS_TOOL_BIN, args, environment);
    }

    std::vector<std::string> DaemonLog() const {
        std::ifstream in(m_Cupsd.Folder() / "emu" / "devices" / "qr" / "commands.log");
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    // The platform a window of the program would have, with the core's process state set.
    void UseNativePlatformFor(const std::string& queue) {
        InstallPlatform(MakeNativePlatform());
        g_PrinterName = queue;
        g_SchemeOptions = std::make_unique<TSchemeOptions2>();
        g_SchemeOptions->LoadFromFile(m_Scheme.string());
        g_SchemeOptions->LoadPrinterMenu(m_Scheme.string());
    }

    TPrivateCupsd m_Cupsd;
    std::unique_ptr<TEmulatorDaemon> m_pDaemon;
    fs::path m_Scheme;
    std::map<std::string, std::string> m_Environment;
    std::vector<std::pair<std::string, std::optional<std::string>>> m_Saved;
};

TEST_F(CupsE2E, StartUpFindsTheSchemeThroughThePpdOrTheDriverDirectory) {
    AddQueue(kQueue, "Talvenor QR-520", m_Scheme.string());
    AddQueue("Fallback", "Talvenor QR-520", "");
    AddQueue("Nowhere", "Talvenor QX-999", "");
    fs::copy_file(m_Scheme, m_Cupsd.Folder() / "drivers" / "3" / "QR-520_Settings.Dat");

    // The scheme found either way: run mode 101 on a network port reads no page and ends with
    // exit 2, without a message and without sending anything.
    for (const std::string queue : {kQueue, "Fallback"}) {
        const auto result = Run({queue, "101"});
        EXPECT_EQ(result.exitCode, 2) << queue << ": " << result.err;
        EXPECT_EQ(result.err, "") << queue;
    }
    EXPECT_TRUE(DaemonLog().empty());

    // Neither the keyword nor a file under the driver directory: no menu, so start-up ends.
    const auto nowhere = Run({"Nowhere", "101"});
    EXPECT_EQ(nowhere.exitCode, 1);
    EXPECT_NE(nowhere.err.find("[error] Error: Printer communication error"), std::string::npos)
        << nowhere.err;

    // A name CUPS does not know ends start-up without a window or a message.
    const auto unknown = Run({"No_Such_Queue", "101"});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_TRUE(DaemonLog().empty());
}

TEST_F(CupsE2E, StoppedQueuesAreOffLineAndOpenJobsRefuseTheStart) {
    AddQueue(kQueue, "Talvenor QR-520", m_Scheme.string());
    AddQueue("Stopped", "Talvenor QR-520", m_Scheme.string());
    InstallPlatform(MakeNativePlatform());
    const auto names = Platform().Spooler().EnumPrinterNames();  // the tool's printer list
    ASSERT_TRUE(names) << ThreadLastErrorText();
    EXPECT_EQ(*names, (std::vector<std::string>{"Stopped", kQueue}));
    std::string port;
    bool online = false;
    ASSERT_TRUE(GetPrinterPortInfo(kQueue, port, online));
    EXPECT_EQ(port, "VODAV_127.0.0.1");
    EXPECT_TRUE(online);
    ASSERT_EQ(m_Cupsd.Client("cupsdisable", {"Stopped"}).exitCode, 0);
    ASSERT_TRUE(GetPrinterPortInfo("stopped", port, online));  // names ignore case
    EXPECT_FALSE(online);

    // A held job, and a job waiting in the stopped queue.
    const fs::path job = m_Cupsd.Folder() / "job.prn";
    std::ofstream(job) << "job";
    ASSERT_EQ(
        m_Cupsd.Client("lp", {"-d", kQueue, "-H", "hold", "-o", "raw", job.string()}).exitCode, 0);
    ASSERT_EQ(m_Cupsd.Client("lp", {"-d", "Stopped", "-o", "raw", job.string()}).exitCode, 0);
    for (const std::string queue : {kQueue, "Stopped"}) {
        const auto result = Run({queue, "101"});
        EXPECT_EQ(result.exitCode, 1) << queue;
        EXPECT_NE(result.err.find("[error] Information: There are some print task in driver"),
                  std::string::npos)
            << queue << ": " << result.err;
    }
    ASSERT_EQ(m_Cupsd.Client("cancel", {"-a", kQueue}).exitCode, 0);
    EXPECT_EQ(Run({kQueue, "101"}).exitCode, 2);
}

TEST_F(CupsE2E, ItemExchangeRawJobAndTimeDataReachThePrinter) {
    AddQueue(kQueue, "Talvenor QR-520", m_Scheme.string());
    UseNativePlatformFor(kQueue);
    TScopedRecorder ui;
    ASSERT_TRUE(Platform().Spooler().Open(kQueue, TPrinterAccess::Full)) << ThreadLastErrorText();

    // The item dialog's read and its write with read-back, through the in-process monitor.
    g_CurrentPage = 1;
    g_CurrentItem = 1;  // PrintQuality, code 11
    EXPECT_EQ(ReadCurrentItemValue(*g_SchemeOptions), std::optional<std::int32_t>(1));
    TSettingItem item;
    ASSERT_TRUE(g_SchemeOptions->GetItem(1, 1, item));
    const TBytes command = SpacedHexToBytes(g_SchemeOptions->WriteCommandOf(item, 0));
    const TItemWriteResult written = WriteItemAndConfirm(*g_SchemeOptions, command, 0, 1);
    EXPECT_EQ(written.outcome, TWriteOutcome::Confirmed);
    EXPECT_EQ(written.readBack, std::optional<std::int32_t>(0));
    const std::string state =
        ReadFileBytes(m_Cupsd.Folder() / "emu" / "devices" / "qr" / "state.ini");
    EXPECT_NE(state.find("11=0"), std::string::npos) << state;

    // The printer data value, kept for the queue across handles.
    const std::u16string stamp = u"2024/05/01 10:00:00 3";
    ASSERT_TRUE(SetTimeData(kQueue, stamp, static_cast<std::uint32_t>(stamp.size() * 2)));
    std::uint8_t buffer[128] = {};
    ASSERT_TRUE(GetTimeData(kQueue, buffer, sizeof buffer));
    EXPECT_EQ(Utf16ToUtf8(std::string_view(reinterpret_cast<char*>(buffer), stamp.size() * 2)),
              "2024/05/01 10:00:00 3");

    // A raw job goes through CUPS's socket backend to the daemon.
    ASSERT_TRUE(SendRawJob(kQueue, "PS-E2E\x0C", "Printer setting job"));
    bool arrived = false;
    for (int i = 0; i < 300 && !arrived; ++i) {
        for (const std::string& line : DaemonLog())
            arrived = arrived || line.find("port 50 53 2D 45 32 45") == 0;
        if (!arrived) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_TRUE(arrived) << "see " << (m_Cupsd.Folder() / "log" / "error_log");
}

TEST_F(CupsE2E, ToolReadsAndSetsASocketQueueWithOneLockForItsPrinter) {
    AddQueue(kQueue, "Talvenor QR-520", m_Scheme.string());
    AddQueue("Same_Printer", "Talvenor QR-520", m_Scheme.string());
    const auto got = Tool({"get", kQueue, "PrintQuality", "--json"});
    ASSERT_EQ(got.exitCode, 0) << got.err;
    EXPECT_NE(got.out.find("\"value\": 1"), std::string::npos) << got.out;

    const auto set = Tool({"set", "talvenor_qr-520", "PrintQuality=Draft"});
    ASSERT_EQ(set.exitCode, 0) << set.err;
    EXPECT_NE(set.out.find("confirmed"), std::string::npos) << set.out;
    const std::string state =
        ReadFileBytes(m_Cupsd.Folder() / "emu" / "devices" / "qr" / "state.ini");
    EXPECT_NE(state.find("11=0"), std::string::npos) << state;

    // Another spelling of the queue, and another queue of the printer: one lock, that of the
    // printer's address; the per-printer files under the server's spelling.
    InstallPlatform(MakeNativePlatform());
    SetUpPrinterPaths("talvenor_qr-520");
    EXPECT_EQ(fs::path(g_PrinterCacheBase).filename(), kQueue);
    const std::string lock = ExchangeLockSetup().path;
    EXPECT_EQ(fs::path(lock).filename(),
              "tcp%3A127.0.0.1%3A" + std::to_string(m_pDaemon->Port()) + ".lock");
    SetUpPrinterPaths("Same_Printer");
    EXPECT_EQ(ExchangeLockSetup().path, lock);
    ResetGlobals();
}

TEST_F(CupsE2E, PrintServerQueuesNeedTheirCommandChannelNamed) {
    const std::string ipp = "ipp://127.0.0.1:" + std::to_string(m_pDaemon->Port()) + "/ipp/print";
    AddQueue("Via_Server", "Talvenor QR-520", m_Scheme.string(), ipp);
    const auto unnamed = Tool({"get", "Via_Server", "PrintQuality"});
    EXPECT_EQ(unnamed.exitCode, 2);
    EXPECT_NE(unnamed.err.find("the command channel of queue \"Via_Server\" is not known"),
              std::string::npos)
        << unnamed.err;
    EXPECT_NE(unnamed.err.find("\"lpadmin -p Via_Server -o "
                               "printer-settings-channel-default=socket://HOST:9100\""),
              std::string::npos)
        << unnamed.err;
    EXPECT_TRUE(DaemonLog().empty());  // nothing went to the host of the URI

    // Named as the message says, the channel carries the exchanges.
    const std::string channel = "socket://127.0.0.1:" + std::to_string(m_pDaemon->Port());
    ASSERT_EQ(
        m_Cupsd.Admin({"-p", "Via_Server", "-o", "printer-settings-channel-default=" + channel})
            .exitCode,
        0);
    const auto named = Tool({"get", "Via_Server", "PrintQuality", "--json"});
    EXPECT_EQ(named.exitCode, 0) << named.err;
    EXPECT_NE(named.out.find("\"value\": 1"), std::string::npos) << named.out;
    EXPECT_EQ(DaemonLog().size(), 1u);
}

TEST_F(CupsE2E, ServersThatAreDownOrSilentEndTheToolWithinTheDeadline) {
    AddQueue(kQueue, "Talvenor QR-520", m_Scheme.string());
    // Nothing listens: said at once, with the server and the reason.
    const std::string down = "127.0.0.1:" + std::to_string(FreeLoopbackPort());
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"get", kQueue}, {"printers"}}) {
        const auto result = Tool(args, {{"CUPS_SERVER", down}});
        EXPECT_EQ(result.exitCode, 2) << args[0] << ": " << result.err;
        EXPECT_NE(result.err.find("cannot reach the CUPS server " + down + ": Connection refused"),
                  std::string::npos)
            << result.err;
    }

    // A server that takes the connection and never answers: the request's deadline ends it.
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(::listen(listener, 8), 0);
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    const std::string silent = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    const auto start = std::chrono::steady_clock::now();
    const auto result = Tool({"get", kQueue}, {{"CUPS_SERVER", silent}});
    const auto took = std::chrono::steady_clock::now() - start;
    ::close(listener);
    EXPECT_EQ(result.exitCode, 2) << result.err;
    EXPECT_NE(result.err.find("the CUPS server " + silent + " did not answer within 10 s"),
              std::string::npos)
        << result.err;
    EXPECT_LT(took, std::chrono::seconds(15));
    EXPECT_TRUE(DaemonLog().empty());
}

TEST_F(CupsE2E, UserWithoutAdministrationRightsGetsNoExchange) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to run a part of the test as another user";
    AddQueue(kQueue, "Talvenor QR-520", m_Scheme.string());
    const pid_t child = ::fork();
    if (child == 0) {
        // An ordinary user: not in the server's SystemGroup.
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(10);
        InstallPlatform(MakeNativePlatform());
        if (!Platform().Spooler().Open(kQueue, TPrinterAccess::Default)) ::_exit(11);
        if (Platform().Spooler().Open(kQueue, TPrinterAccess::Full)) ::_exit(12);
        if (GetThreadLastError() != kErrorAccessDenied) ::_exit(13);
        std::uint8_t buffer[64] = {0x1B, 0x1D, 0x1E, 0x05, 0x03, 0x01, 0x11, 0x1B, 0x1D, 0x1F};
        std::int32_t length = 64;
        if (PortMonitorExchange(kQueue, buffer, 10, buffer, length)) ::_exit(14);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "step that went wrong: " << WEXITSTATUS(status);
    EXPECT_TRUE(DaemonLog().empty());  // nothing reached the printer

    // The tool says what to do, and sends nothing.
    const fs::path home = m_Cupsd.Folder() / "nobody";
    fs::create_directories(home);
    ASSERT_EQ(::chown(home.c_str(), 65534, 65534), 0);
    std::map<std::string, std::string> environment = m_Environment;
    environment["TMPDIR"] = home.string();
    environment["XDG_STATE_HOME"] = home.string();
    const auto asNobody =
        RunProgram("/usr/bin/setpriv",
                   {"--reuid=65534", "--regid=65534", "--clear-groups", PRINTER_SETTINGS_TOOL_BIN,
                    "set", kQueue, "PrintQuality=Draft"},
                   environment);
    EXPECT_EQ(asNobody.exitCode, 2) << asNobody.err;
    EXPECT_NE(asNobody.err.find("does not take user nobody as a printer administrator; add the "
                                "user with \"adduser nobody lpadmin\" and log in again; nothing "
                                "was sent"),
              std::string::npos)
        << asNobody.err;
    EXPECT_TRUE(DaemonLog().empty());

    // The administrator (root) may.
    InstallPlatform(MakeNativePlatform());
    std::uint8_t buffer[64] = {0x1B, 0x1D, 0x1E, 0x05, 0x03, 0x01, 0x11, 0x1B, 0x1D, 0x1F};
    std::int32_t length = 64;
    EXPECT_TRUE(PortMonitorExchange(kQueue, buffer, 10, buffer, length));
    EXPECT_GT(length, 0);
}

}  // namespace
}  // namespace ps::test
