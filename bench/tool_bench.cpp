// SPDX-License-Identifier: MIT
// Prints how long printer-settings-tool's "get" of the whole base page and "set" of one item
// take, run in-process against the shipped passbook scheme on an emulated printer that answers
// at once, beside the sleeps the protocol asks for (SleepBeforeRead before each read). Own time
// is the run's time less the time spent in those sleeps: the start-up checks, the scheme load,
// the exchanges and the output. Run it from any folder; it builds its own emulation directory.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
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

// The platform clock, adding up the sleeps the program asks for and the real time they take
// (a loaded machine wakes a sleeper late; that lateness is not the program's own time).
class TCountingClock : public TClock {
public:
    explicit TCountingClock(TClock& inner) : m_Inner(inner) {}
    std::uint64_t NowMs() override { return m_Inner.NowMs(); }
    void Sleep(std::uint32_t ms) override {
        const auto start = std::chrono::steady_clock::now();
        m_Inner.Sleep(ms);
        m_qwAskedMs += ms;
        m_qwSleptUs += static_cast<std::uint64_t>(
            std::chrono::duration_cast<std::chrono::microseconds>(
                std::chrono::steady_clock::now() - start)
                .count());
    }
    std::uint64_t AskedMs() const { return m_qwAskedMs; }
    double SleptMs() const { return static_cast<double>(m_qwSleptUs) / 1000.0; }

private:
    TClock& m_Inner;
    std::atomic<std::uint64_t> m_qwAskedMs{0};
    std::atomic<std::uint64_t> m_qwSleptUs{0};
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
    double cpuMs = 0;  // processor time of all the process's threads
    double wallMs = 0;
    double askedMs = 0;
    double sleptMs = 0;
};

struct TFigures {
    double wall = -1, asked = -1, own = -1, bestOwn = -1, cpu = -1;
};

TFigures Measure(const TCountingPlatform& platform, const std::function<int(int)>& step) {
    std::vector<TRun> runs;
    for (int i = 0; i < kRounds; ++i) {
        const std::uint64_t askedBefore = platform.Counter().AskedMs();
        const double sleptBefore = platform.Counter().SleptMs();
        const std::clock_t cpuStart = std::clock();
        const auto start = std::chrono::steady_clock::now();
        if (step(i) != 0) return {};
        const double cpu = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        const double wall =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        runs.push_back({cpu, wall, static_cast<double>(platform.Counter().AskedMs() - askedBefore),
                        platform.Counter().SleptMs() - sleptBefore});
    }
    auto median = [&](auto key) {
        std::vector<double> values;
        for (const TRun& run : runs) values.push_back(key(run));
        std::sort(values.begin(), values.end());
        return std::pair(values[values.size() / 2], values.front());
    };
    TFigures figures;
    figures.wall = median([](const TRun& r) { return r.wallMs; }).first;
    figures.asked = median([](const TRun& r) { return r.askedMs; }).first;
    figures.cpu = median([](const TRun& r) { return r.cpuMs; }).first;
    std::tie(figures.own, figures.bestOwn) =
        median([](const TRun& r) { return r.wallMs - r.sleptMs; });
    return figures;
}

void Row(const char* what, const TFigures& f) {
    if (f.wall < 0) {
        std::printf("%-40s failed\n", what);
        return;
    }
    std::printf("%-40s %8.2f ms %8.2f ms %8.2f ms %8.2f ms   %8.2f ms\n", what, f.wall, f.asked,
                f.own, f.bestOwn, f.cpu);
}

// Builds an emulation directory under `base`, runs both verbs there and prints their rows.
void RunIn(const std::filesystem::path& base, const char* where) {
    std::random_device random;
    const auto dir = base / ("tool-bench-" + std::to_string(random()));
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
    std::printf("%s\n", where);
    Row("  get Bench --page base (14 items)", Measure(platform, [&](int) {
            return run({"get", "Bench", "--page", "base", "--json"});
        }));
    Row("  set Bench PrintQuality=... (1 item)", Measure(platform, [&](int i) {
            return run(
                {"set", "Bench", i % 2 ? "PrintQuality=Draft" : "PrintQuality=Letter quality"});
        }));

    InstallPlatform(nullptr);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

}  // namespace

int main() {
    std::printf("printer-settings-tool verbs in-process, median of %d runs, shipped QR-520 "
                "scheme,\nemulated USB printer answering at once\n\n",
                kRounds);
    std::printf("%-40s %11s %11s %11s %11s   %11s\n", "", "run", "sleeps", "own time",
                "own time", "processor");
    std::printf("%-40s %11s %11s %11s %11s   %11s\n", "", "(median)", "(asked)", "(median)",
                "(best)", "(median)");
    RunIn(std::filesystem::temp_directory_path(), "emulation directory on disk:");
    // Where the temporary folder is memory (Linux keeps it under XDG_RUNTIME_DIR), the files
    // flushed on every exchange cost nothing: the rows then show the program's work alone.
    if (std::filesystem::is_directory("/dev/shm"))
        RunIn("/dev/shm", "emulation directory in memory (/dev/shm):");
    std::printf("\nsleeps: SleepBeforeRead 30 ms before the page read of \"get\", and between "
                "the write\nof \"set\" and its read-back (one item is read back alone, as the "
                "item dialog does).\nown time: the run less the real time spent in those "
                "sleeps; it includes flushing the\nper-printer read record (\"get\") and the "
                "emulated printer's state (\"set\") to the\ndisk. processor: the time all "
                "threads of the process ran, the emulated printer's\nincluded, which a busy "
                "machine does not inflate. Target: own time under 10 ms.\n");
    return 0;
}
