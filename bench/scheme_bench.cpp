// SPDX-License-Identifier: MIT
// Prints the load time and peak memory of generated schemes: realistic full pages, very many
// items, and the worst shapes a 35 KB file can take, in the program's load path (scheme file
// and menu file into TSchemeOptions2) and in the tool's "scheme dump", and how time grows when
// the input doubles. Each measurement runs in a child process of its own, so its peak memory
// is its own.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "localisation/Scheme.h"
#include "platform/UserInterface.h"
#include "scheme/Scheme3.h"

namespace {

using namespace ps;
using TClock = std::chrono::steady_clock;

constexpr std::size_t kSmallFile = 35 * 1024;
constexpr const char* kPageSections[6][2] = {{"BaseSection", "BaseItem"},
                                             {"AdvanceSection", "AdvanceItem"},
                                             {"MaintenanceSection", "MaintenanceItem"},
                                             {"SubGroup01", "SubGroup01Item"},
                                             {"SubGroup02", "SubGroup02Item"},
                                             {"SubGroup64", "SubGroup64Item"}};

std::string Header() {
    return "[GlobalSettings]\r\nPrinterName=Bench\r\nMenuVersion=0\r\n"
           "LastDeepcleantime=2024-01-02\r\n";
}

std::string ItemName(const char* prefix, int i) {
    char name[64];
    std::snprintf(name, sizeof name, "[%s%.2d]\r\n", prefix, i);
    return name;
}

// An item as real schemes write it: four languages of title, note and rule.
std::string RealItem(const char* prefix, int i) {
    std::string text = ItemName(prefix, i);
    text += "Name=Item" + std::to_string(i) + "\r\nIcon=100_Settings\r\n";
    for (const char* lang : {"CN", "CHT", "EN", "JP"}) {
        text += "Title." + std::string(lang) + "=Setting number " + std::to_string(i) + "\r\n";
        text += "Note." + std::string(lang) + "=What setting " + std::to_string(i) + " does\r\n";
        text += "Rule." + std::string(lang) +
                (i % 4 == 0 ? "=Min=-30,Max=30,Step=1,DisplayAdd=0,mmMultiply=0.4233,Title=/60 in"
                            : "=0=Off,1=On,2=Automatic,3=Keep") +
                "\r\n";
    }
    text += "GetInstruction=" + std::to_string(10 + i % 90) +
            "\r\nSetInstruction=1B 1D 1E 00 0A\r\nParameterCount=1\r\nRuleType=" +
            (i % 4 == 0 ? "SERIAL" : "ENUM") + "\r\nDefault=1\r\n";
    return text;
}

// `itemsPerPage` real items on each of `pages` pages.
std::string RealScheme(int pages, int itemsPerPage) {
    std::string text = Header();
    for (int p = 0; p < pages; ++p) {
        text += "[" + std::string(kPageSections[p][0]) +
                "]\r\nItemCount=" + std::to_string(itemsPerPage) + "\r\n";
        for (int i = 1; i <= itemsPerPage; ++i) text += RealItem(kPageSections[p][1], i);
    }
    return text;
}

// SERIAL items of 100,000 values each with a long unit title, as many as fit.
std::string SerialShape(std::size_t unitLength) {
    std::string text = Header() + "[BaseSection]\r\nItemCount=0\r\n";
    const std::string unit(unitLength, 'u');
    int count = 0;
    std::string items;
    while (text.size() + items.size() < kSmallFile - 200) {
        ++count;
        items +=
            ItemName("BaseItem", count) + "Title.EN=Range " + std::to_string(count) +
            "\r\nRuleType=SERIAL\r\nRule.EN=Min=1,Max=100000,Step=1,DisplayAdd=0,Title=" + unit +
            "\r\n";
    }
    text.replace(text.find("ItemCount=0"), 11, "ItemCount=" + std::to_string(count));
    return text + items;
}

// ENUM rules as long as a value may be.
std::string EnumShape() {
    std::string rule;
    for (int v = 0; rule.size() < 2000; ++v)
        rule += std::to_string(v) + "=t" + std::to_string(v) + ",";
    rule.pop_back();
    std::string text = Header();
    std::string items;
    int count = 0;
    while (text.size() + items.size() + rule.size() < kSmallFile - 200) {
        ++count;
        items += ItemName("BaseItem", count) + "Title.EN=List\r\nRuleType=ENUM\r\nRule.EN=" + rule +
                 "\r\n";
    }
    return text + "[BaseSection]\r\nItemCount=" + std::to_string(count) + "\r\n" + items;
}

// As many empty items as a menu of this size may announce (no item sections), spread over
// the six pages, and the rest of the file section headers.
std::string SectionsShape() {
    std::string text = Header();
    for (const auto& page : kPageSections)
        text += "[" + std::string(page[0]) + "]\r\nItemCount=00000\r\n";
    for (int i = 0; text.size() < kSmallFile; ++i) text += "[s" + std::to_string(i) + "]\r\n";
    char count[24];
    std::snprintf(count, sizeof count, "%05zu", MaxMenuItems(text.size()) / 6);
    for (std::size_t at = text.find("=00000"); at != std::string::npos;
         at = text.find("=00000", at))
        text.replace(at + 1, 5, count);
    return text;
}

// One section of short keys, half of them repeated in other letter case.
std::string KeysShape() {
    std::string text = Header() + "[BaseSection]\r\nItemCount=1\r\n[BaseItem01]\r\n";
    for (int i = 0; text.size() < kSmallFile; ++i)
        text += (i % 2 ? "K" : "k") + std::to_string(i / 2) + "=v\r\n";
    return text;
}

// Lines far beyond the value limit.
std::string LongLinesShape() {
    std::string text = Header() + "[BaseSection]\r\nItemCount=1\r\n[BaseItem01]\r\n";
    const std::string rule = "Rule.EN=" + std::string(kSmallFile / 4, 'x') + "\r\n";
    while (text.size() + rule.size() < kSmallFile) text += rule;
    return text;
}

struct TResult {
    double ms = -1;     // wall time measured in the child
    double cpuMs = -1;  // user + system time of the child and what it ran
    long maxRssKb = -1;
    std::string outcome;
};

// Runs `work` in a child; the child reports its duration and outcome through a pipe.
TResult InChild(const std::function<std::string()>& work) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    std::fflush(stdout);  // or the child would print the parent's buffer again
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        const auto start = TClock::now();
        const std::string outcome = work();
        const double ms = std::chrono::duration<double, std::milli>(TClock::now() - start).count();
        const std::string report = std::to_string(ms) + " " + outcome;
        (void)!write(fds[1], report.data(), report.size());
        _exit(0);
    }
    close(fds[1]);
    std::string report;
    char buffer[512];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<std::size_t>(n));
    close(fds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    TResult result;
    result.maxRssKb = usage.ru_maxrss;
    auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    result.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    const auto space = report.find(' ');
    if (space != std::string::npos) {
        result.ms = std::stod(report.substr(0, space));
        result.outcome = report.substr(space + 1);
    }
    return result;
}

TResult ProgramLoad(const std::filesystem::path& file) {
    return InChild([&] {
        TSchemeOptions2 scheme;
        try {
            scheme.LoadFromFile(file.string());
            scheme.LoadPrinterMenu(file.string());
        } catch (const std::exception& e) {
            return std::string("refused");
        }
        std::size_t items = 0;
        for (std::uint8_t page : {kPageBase, kPageAdvance, kPageMaintenance, kPageSubGroup01,
                                  kPageSubGroup02, kPageSubGroup64})
            items += static_cast<std::size_t>(scheme.GetItemLength(page));
        return std::to_string(items);
    });
}

TResult ToolDump(const std::filesystem::path& file) {
    return InChild([&] {
        std::fflush(stdout);
        const pid_t pid = fork();
        if (pid == 0) {
            // The dump's output is not measured; without /dev/null the child ends at once.
            if (!std::freopen("/dev/null", "w", stdout) || !std::freopen("/dev/null", "w", stderr))
                _exit(126);
            execl(PS_TOOL_BIN, PS_TOOL_BIN, "scheme", "dump", "--lang", "EN", file.string().c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        return std::string(WIFEXITED(status) && WEXITSTATUS(status) == 0 ? "dumped" : "refused");
    });
}

// Best of a few runs, so one noisy moment on a shared machine does not decide.
TResult Best(const std::function<TResult()>& run, int rounds = 3) {
    TResult best = run();
    for (int i = 1; i < rounds; ++i) {
        TResult r = run();
        if (r.ms >= 0 && (best.ms < 0 || r.ms < best.ms)) best = r;
    }
    return best;
}

void Print(const char* name, std::size_t bytes, const TResult& program, const TResult& tool) {
    std::printf(
        "%-32s %9zu B | program %7.1f ms (cpu %7.1f) %6.1f MB %-9s | tool dump %7.1f ms "
        "(cpu %7.1f) %6.1f MB %s\n",
        name, bytes, program.ms, program.cpuMs, program.maxRssKb / 1024.0, program.outcome.c_str(),
        tool.ms, tool.cpuMs, tool.maxRssKb / 1024.0, tool.outcome.c_str());
}

// Loads six full pages again and again in this process, for a profiler.
int ProfileLoad(int rounds) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("scheme-bench-profile-" + std::to_string(static_cast<long>(getpid())));
    std::ofstream(path, std::ios::binary) << RealScheme(6, 255);
    const auto start = TClock::now();
    double firstMs = 0;
    for (int i = 0; i < rounds; ++i) {
        TSchemeOptions2 scheme;
        scheme.LoadFromFile(path.string());
        scheme.LoadPrinterMenu(path.string());
        if (i == 0)
            firstMs = std::chrono::duration<double, std::milli>(TClock::now() - start).count();
    }
    const double ms = std::chrono::duration<double, std::milli>(TClock::now() - start).count();
    std::printf("6 pages x 255 items: %.2f ms the first load, %.2f ms a load (%d loads)\n", firstMs,
                ms / rounds, rounds);
    std::filesystem::remove(path);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    g_GlobalString.Language = plEN;
    InstallUserInterface(nullptr);
    if (argc == 3 && std::string(argv[1]) == "--profile") return ProfileLoad(std::atoi(argv[2]));
    const auto dir = std::filesystem::temp_directory_path() /
                     ("scheme-bench-" + std::to_string(static_cast<long>(getpid())));
    std::filesystem::create_directories(dir);
    auto write = [&](const std::string& name, const std::string& text) {
        const auto path = dir / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    };

    std::printf(
        "Each figure from a child process: best of 3 runs by wall time, its CPU time, and\n"
        "its peak resident set; \"program\" gives the items loaded. The tool's figures\n"
        "include starting the tool; see the baseline.\n");
    const TResult idleProgram = InChild([] { return std::string("idle"); });
    const TResult idleTool = ToolDump(write("empty.dat", Header()));
    Print("baseline (no load / empty scheme)", 0, idleProgram, idleTool);

    // Generated one at a time, so the children do not inherit the other shapes' texts.
    const struct {
        const char* name;
        std::function<std::string()> make;
    } shapes[] = {
        {"6 pages x 255 items", [] { return RealScheme(6, 255); }},
        {"20,000 items (6 pages x 3334)", [] { return RealScheme(6, 3334); }},
        {"35 KB: SERIAL 100,000, unit 1", [] { return SerialShape(1); }},
        {"35 KB: SERIAL 100,000, unit 60", [] { return SerialShape(60); }},
        {"35 KB: long ENUM lists", EnumShape},
        {"35 KB: many sections + counts", SectionsShape},
        {"35 KB: many keys", KeysShape},
        {"35 KB: long lines", LongLinesShape},
    };
    for (const auto& shape : shapes) {
        std::size_t bytes = 0;
        std::filesystem::path path;
        {
            const std::string text = shape.make();
            bytes = text.size();
            path = write("shape.dat", text);
        }
        Print(shape.name, bytes, Best([&] { return ProgramLoad(path); }),
              Best([&] { return ToolDump(path); }));
    }

    std::printf("\nGrowth: real items on six pages, time for 2x and 4x the input.\n");
    std::vector<TResult> program, tool;
    for (int factor : {1, 2, 4}) {
        std::string text = RealScheme(6, 500 * factor);
        const auto path = write("growth.dat", text);
        const std::size_t bytes = text.size();
        std::string().swap(text);
        program.push_back(Best([&] { return ProgramLoad(path); }));
        tool.push_back(Best([&] { return ToolDump(path); }));
        Print(("6 x " + std::to_string(500 * factor) + " items").c_str(), bytes, program.back(),
              tool.back());
    }
    std::printf("cpu ratio 2x: program %.2f, tool %.2f; 4x: program %.2f, tool %.2f\n",
                program[1].cpuMs / program[0].cpuMs, tool[1].cpuMs / tool[0].cpuMs,
                program[2].cpuMs / program[0].cpuMs, tool[2].cpuMs / tool[0].cpuMs);

    std::filesystem::remove_all(dir);
    return 0;
}
