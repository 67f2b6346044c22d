// SPDX-License-Identifier: MIT
// printer-emulator: serves one emulated printer of an emulation directory on 127.0.0.1.
#include <pthread.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include "LoopbackServer.h"
#include "ProgramHelp.h"
#include "base/IniFile.h"
#include "emulator/ConfigReport.h"
#include "emulator/EmulatedDevice.h"
#include "emulator/IniText.h"

namespace {

// SIGINT and SIGTERM stay blocked and are taken between two polls: a handler that only sets a
// flag can run too late or not at all for a loop that waits in poll (a signal the runtime
// defers, as ThreadSanitizer's does), and the daemon then never ends.
class TStopSignals {
public:
    TStopSignals() {
        sigemptyset(&m_Set);
        sigaddset(&m_Set, SIGINT);
        sigaddset(&m_Set, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &m_Set, nullptr);
    }
    bool Requested() {
        const timespec now{0, 0};
        if (!m_bStopped) m_bStopped = sigtimedwait(&m_Set, nullptr, &now) > 0;
        return m_bStopped;
    }

private:
    sigset_t m_Set{};
    bool m_bStopped = false;
};

// Bad use: the synopsis lines at the head of the help text.
int Usage() {
    const std::string_view text = ps::help::kText;
    const std::string_view usage = text.substr(0, text.find("\n\n") + 1);
    std::fwrite(usage.data(), 1, usage.size(), stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == "--help") {
        std::fwrite(ps::help::kText.data(), 1, ps::help::kText.size(), stdout);
        return 0;
    }
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::printf("printer-emulator %s\n", std::string(ps::help::kVersion).c_str());
        return 0;
    }
    std::filesystem::path dir;
    std::filesystem::path stateDir;
    std::string id;
    long port = 9100;
    double speed = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) return Usage();
        const std::string value = argv[++i];
        char* end = nullptr;
        if (arg == "--dir") {
            dir = value;
        } else if (arg == "--device") {
            id = value;
        } else if (arg == "--state") {
            stateDir = value;
        } else if (arg == "--port") {
            port = std::strtol(value.c_str(), &end, 10);
            if (*end || port < 0 || port > 65535) return Usage();
        } else if (arg == "--speed") {
            speed = std::strtod(value.c_str(), &end);
            if (*end || !(speed > 0)) return Usage();
        } else {
            return Usage();
        }
    }
    if (dir.empty() || id.empty()) return Usage();

    try {
        const ps::TIniFile ini = ps::emu::ReadIniFile(dir / "emulation.ini");
        if (!ini.SectionExists("Device:" + id)) {
            std::fprintf(stderr, "printer-emulator: no [Device:%s] in %s\n", id.c_str(),
                         (dir / "emulation.ini").string().c_str());
            return 1;
        }
        ps::emu::TConfigReport report;
        ps::emu::TDeviceConfig config = ps::emu::LoadDeviceConfig(ini, id, dir, &report);
        if (!(speed > 0)) {
            // The emulation's clock speed, as the emulated platform uses it.
            const std::string text = ini.ReadString("Clock", "Speed", "1");
            char* end = nullptr;
            speed = std::strtod(text.c_str(), &end);
            if (*end || !(speed > 0)) {
                if (!text.empty())
                    report.Key("Clock", "Speed", text, "not a number above 0; keeps 1");
                speed = 1;
            }
        }
        for (const std::string& line : report.Lines())
            std::fprintf(stderr, "printer-emulator: %s\n", line.c_str());
        if (stateDir.empty()) stateDir = dir / "devices" / id;

        TStopSignals stopSignals;

        ps::TScaledClock clock(speed);
        ps::emu::TEmulatedDevice device(std::move(config), stateDir, clock);
        ps::emu::TLoopbackServer server(static_cast<std::uint16_t>(port));
        std::printf("printer-emulator: device %s on 127.0.0.1:%u\n", id.c_str(),
                    static_cast<unsigned>(server.Port()));
        std::fflush(stdout);
        server.Serve(device, [&stopSignals] { return stopSignals.Requested(); });
    } catch (const std::exception& e) {
        std::fprintf(stderr, "printer-emulator: %s\n", e.what());
        return 1;
    }
    return 0;
}
