// SPDX-License-Identifier: MIT
// Prints how long printer-settings-tool's "get" of the whole base page and "set" of one item
// take, run in-process against the shipped passbook scheme on an emulated printer that answers
// at once, beside the sleeps the protocol asks for (SleepBeforeRead before each read). Own time
// is the run's time less those sleeps: the start-up checks, the scheme load, the exchanges and
// the output. Run it from any folder; it builds its own emulation directory.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Verbs.h"
#include "platform/Platform.h"
#include "platform/emulated/EmulatedPlatform.h"

namespace {

using namespace ps;

constexpr int kRounds = 30;

// The platform clock, counting the milliseconds the program sleeps on it.
class TCountingClock : public TClock {
public:
    explicit TCountingClock(TClock& inner) : m_Inner(inner) {}
    std::uint64_t NowMs() override { return m_Inner.NowMs(); }
    void Sleep(std::uint32_t ms) override {
        m_qwSleptMs += ms;
        m_Inner.Sleep(ms);
    }
    std::uint64_t SleptMs() const { return m_qwSleptMs; }

private:
    TClock& m_Inner;
    std::atomic<std::uint64_t> m_qwSleptMs{0};
};

// The emulated platform with the counting clock in front of its own.
class TCountingPlatform : public TPlatform {
public:
    explicit TCountingPlatform(std::unique_ptr<TPlatform> inner)
        : m_pInner(std::move(inner)), m_Clock(m_pInner->Clock()) {}
    TKernel& Kernel() override { return m_pInner->Kernel(); }
    TClock& Clock() override { return m_Clock; }
    TSpooler& Spooler() override { return m_pInner->Spooler(); }
    TShell& Shell() override { return m_pInner->Shell(); }
    TSingleInstance& SingleInstance() override { return m_pInner->SingleInstance(); }
    const TCountingClock& Counter() const { return m_Clock; }

private:
    std::unique_ptr<TPlatform> m_pInner;
    TCountingClock m_Clock;
};

struct TRun {
    double wallMs = 0;
    double sleptMs = 0;
};

struct TFigures {
    double wall = -1, slept = -1, own = -1, bestOwn = -1;
};

TFigures Measure(const TCountingPlatform& platform, const std::function<int(int)>& step) {
    std::vector<TRun> runs;
    for (int i = 0; i < kRounds; ++i) {
        const std::uint64_t sleptBefore = platform.Counter().SleptMs();
        const auto start = std::chrono::steady_clock::now();
        if (step(i) != 0) return {};
        const double wall =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        runs.push_back({wall, static_cast<double>(platform.Counter().SleptMs() - sleptBefore)});
    }
    auto median = [&](auto key) {
        std::vector<double> values;
        for (const TRun& run : runs) values.push_back(key(run));
        std::sort(values.begin(), values.end());
        return std::pair(values[values.size() / 2], values.front());
    };
    TFigures figures;
    figures.wall = median([](const TRun& r) { return r.wallMs; }).first;
    figures.slept = median([](const TRun& r) { return r.sleptMs; }).first;
    std::tie(figures.own, figures.bestOwn) =
        median([](const TRun& r) { return r.wallMs - r.sleptMs; });
    return figures;
}

void Row(const char* what, const TFigures& f) {
    if (f.wall < 0) {
        std::printf("%-40s failed\n", what);
        return;
    }
    std::printf("%-40s %8.2f ms %8.2f ms %8.2f ms (best %.2f)   %s\n", what, f.wall, f.slept,
                f.own, f.bestOwn, f.own < 10.0 ? "under 10 ms" : "OVER 10 ms");
}

}  // namespace

int main() {
    std::random_device random;
    const auto dir =
        std::filesystem::temp_directory_path() / ("tool-bench-" + std::to_string(random()));
    std::filesystem::create_directories(dir);
    const std::filesystem::path scheme =
        std::filesystem::path(PS_SOURCE_DIR) / "resources" / "Scheme" / "QR-520_Settings.Dat";
    std::ofstream(dir / "emulation.ini", std::ios::binary)
        << "[Kernel]\r\nLangId=0x0409\r\n[Clock]\r\nSpeed=1\r\n"
        << "[Printer:Bench]\r\nPort=USB001\r\nDriverName=Talvenor QR-520\r\n"
        << "DependentFiles=" << scheme.string() << "\r\nDevice=pr\r\n"
        << "[Device:pr]\r\nUsbPort=USB001\r\nDeviceId=MFG:Talvenor;MDL:QR-520;\r\n"
        << "Scheme=" << scheme.string() << "\r\nReplyDelayMs=0\r\n";

    auto owned = std::make_unique<TCountingPlatform>(emu::MakeEmulatedPlatform(dir));
    TCountingPlatform& platform = *owned;
    InstallPlatform(std::move(owned));

    auto run = [](std::vector<std::string> args) {
        std::ostringstream out, err;
        tool::TVerbIo io{out, err, false};
        const std::string verb = args.front();
        args.erase(args.begin());
        const int rc = tool::RunPrinterVerb(verb, args, io);
        if (rc != 0) std::fprintf(stderr, "%s", err.str().c_str());
        return rc;
    };

    std::printf("printer-settings-tool verbs in-process, median of %d runs, shipped QR-520 "
                "scheme,\nemulated USB printer answering at once\n\n",
                kRounds);
    std::printf("%-40s %11s %11s %11s\n", "", "run", "sleeps", "own time");
    Row("get Bench --page base (14 items, 1 read)", Measure(platform, [&](int) {
            return run({"get", "Bench", "--page", "base", "--json"});
        }));
    Row("set Bench PrintQuality=... (1 item)", Measure(platform, [&](int i) {
            return run({"set", "Bench", i % 2 ? "PrintQuality=Draft" : "PrintQuality=Letter quality"});
        }));
    std::printf("\nsleeps: SleepBeforeRead 30 ms before the page read of \"get\"; for \"set\", 30 "
                "ms\nbetween the write and its read-back and 30 ms before that page read.\n");

    InstallPlatform(nullptr);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return 0;
}
