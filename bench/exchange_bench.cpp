// SPDX-License-Identifier: MIT
// Prints how long one single-item read and one read of a 255-item page take through each
// route against an emulated printer that answers at once, beside the sleeps the protocol
// itself asks for. Run it from any folder; it builds its own emulation directory.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "base/Lib_String.h"
#include "localisation/Scheme.h"
#include "platform/Platform.h"
#include "platform/emulated/EmulatedPlatform.h"
#include "printer/Globals.h"
#include "printer/UtilPrinter.h"
#include "scheme/Scheme3.h"
#include "transport/UtilDataSend.h"

namespace {

using namespace ps;

constexpr int kPageItems = 255;
constexpr int kRounds = 20;

std::string Hex2(int value) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    return text;
}

// A scheme of 255 base items with codes 01..FF and one, two or three value bytes.
std::string PageScheme(std::uint32_t sleepBeforeRead) {
    std::string text =
        "[GlobalSettings]\r\nPrinterName=Bench\r\nMenuVersion=0\r\nSleepBeforeRead=" +
        std::to_string(sleepBeforeRead) +
        "\r\n[BaseSection]\r\nItemCount=" + std::to_string(kPageItems) + "\r\n";
    for (int i = 1; i <= kPageItems; ++i) {
        char section[32];
        std::snprintf(section, sizeof section, "[BaseItem%.2d]\r\n", i);
        text += section;
        text += "GetInstruction=" + Hex2(i) + "\r\nSetInstruction=1B 1D 1E 00 " + Hex2(i) +
                "\r\nParameterCount=" + std::to_string(1 + i % 3) +
                "\r\nDefault=" + std::to_string(i) + "\r\n";
    }
    return text;
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

struct TFigure {
    double median = -1;
    double best = -1;
};

// Median and best of kRounds runs of `step`, in milliseconds; -1 when any run failed.
TFigure MedianMs(const std::function<bool()>& step) {
    std::vector<double> times;
    for (int i = 0; i < kRounds; ++i) {
        auto start = std::chrono::steady_clock::now();
        if (!step()) return {};
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front()};
}

void Row(const char* route, TFigure single, TFigure page, const char* sleeps) {
    auto cell = [](TFigure ms) {
        char text[48];
        if (ms.median < 0)
            std::snprintf(text, sizeof text, "%18s", "failed");
        else
            std::snprintf(text, sizeof text, "%7.2f (%6.2f) ms", ms.median, ms.best);
        return std::string(text);
    };
    std::printf("%-34s %s %s   %s\n", route, cell(single).c_str(), cell(page).c_str(), sleeps);
}

}  // namespace

int main() {
    std::random_device random;
    const auto dir =
        std::filesystem::temp_directory_path() / ("exchange-bench-" + std::to_string(random()));
    std::filesystem::create_directories(dir / "drives" / "C" / "bench");
    WriteFile(dir / "emulation.ini",
              "[Clock]\r\nSpeed=1\r\n"
              "[Printer:Bench]\r\nPort=USB001\r\nDevice=pr\r\n"
              "[Printer:BenchLpt]\r\nPort=LPT1\r\nDevice=pr\r\n"
              "[Device:pr]\r\nUsbPort=USB001\r\nDeviceId=MFG:Talvenor;MDL:Bench;\r\n"
              "Scheme=scheme30.ini\r\nReplyDelayMs=0\r\n");
    WriteFile(dir / "scheme30.ini", PageScheme(30));
    WriteFile(dir / "scheme0.ini", PageScheme(0));

    InstallPlatform(emu::MakeEmulatedPlatform(dir));
    g_GlobalString = BuiltInGlobalStrings();
    g_PrinterName = "Bench";
    g_PrinterIniFile = (dir / "Bench.ini").string();
    g_CurrentPage = kPageBase;
    g_CurrentItem = 0;

    auto load = [&](const char* file) {
        g_SchemeOptions = std::make_unique<TSchemeOptions2>();
        g_SchemeOptions->LoadFromFile((dir / file).string());
        g_SchemeOptions->LoadPrinterMenu((dir / file).string());
        return std::ref(*g_SchemeOptions);
    };
    TSchemeOptions2& scheme = load("scheme30.ini");
    TSettingItem first;
    scheme.GetItem(kPageBase, 0, first);
    const std::string singleHex = scheme.SingleReadCommandOf(first);
    const std::string pageHex = scheme.PageReadCommandOf(kPageBase);
    const TBytes singleBytes = SpacedHexToBytes(singleHex);
    const TBytes pageBytes = SpacedHexToBytes(pageHex);
    const int usbIndex = FindUSBPrinterIndex("USB001");

    std::printf("Exchange times, median of %d runs, emulated printer answering at once\n", kRounds);
    std::printf(
        "(single item: 10-byte command, 12-byte reply; page: %d items, %zu-byte command)"
        "\n\n",
        kPageItems, pageBytes.size());
    std::printf("%-34s %18s %18s   %s\n", "route", "single item", "page of 255",
                "sleeps the protocol asks for");
    std::printf("%-34s %18s %18s\n", "", "median (best)", "median (best)");

    auto monitor = [&](const TBytes& command) {
        std::vector<std::uint8_t> buffer(4096, 0);
        std::copy(command.begin(), command.end(), buffer.begin());
        std::int32_t length = 4096;
        return PortMonitorExchange(g_PrinterName, buffer.data(),
                                   static_cast<std::int32_t>(command.size()), buffer.data(),
                                   length) &&
               length > 8;
    };
    Row("port monitor (read)", MedianMs([&] {
            std::int32_t value = 0;
            return g_SchemeOptions->GetItemValueFromPrinter(value);
        }),
        MedianMs([&] { return monitor(pageBytes); }), "none");

    auto worker = [&](const std::string& hex) {
        std::vector<std::uint8_t> buffer(4096, 0);
        std::int32_t nRead = 4096;
        return g_SchemeOptions->DoWriteAndReadPrinter(usbIndex, hex, buffer.data(), 4095, nRead,
                                                      true, false, 0, true) &&
               nRead > 8;
    };
    Row("worker, vendor USB (read)", MedianMs([&] { return worker(singleHex); }),
        MedianMs([&] { return g_SchemeOptions->GetPrinterValues_ForPage(usbIndex, kPageBase); }),
        "SleepBeforeRead 30 ms");
    load("scheme0.ini");
    Row("worker, vendor USB, no sleep (read)", MedianMs([&] { return worker(singleHex); }),
        MedianMs([&] { return g_SchemeOptions->GetPrinterValues_ForPage(usbIndex, kPageBase); }),
        "SleepBeforeRead 0 ms");

    auto text = [](const TBytes& bytes) { return std::string(bytes.begin(), bytes.end()); };
    Row("vendor USB write (send only)",
        MedianMs([&] { return SendUSBBytes(text(singleBytes), usbIndex); }),
        MedianMs([&] { return SendUSBBytes(text(pageBytes), usbIndex); }), "none");
    Row("raw spooler job (send only)",
        MedianMs([&] { return SendRawJob("BenchLpt", text(singleBytes), "Printer setting job"); }),
        MedianMs([&] { return SendRawJob("BenchLpt", text(pageBytes), "Printer setting job"); }),
        "none");
    Row("port device LPT1 (send only)", MedianMs([&] {
            return WritePortDevice(singleBytes.data(),
                                   static_cast<std::uint32_t>(singleBytes.size()), "LPT1");
        }),
        MedianMs([&] {
            return WritePortDevice(pageBytes.data(), static_cast<std::uint32_t>(pageBytes.size()),
                                   "LPT1");
        }),
        "none");

    g_SchemeOptions.reset();
    InstallPlatform(nullptr);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return 0;
}
