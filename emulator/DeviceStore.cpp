// SPDX-License-Identifier: MIT
// The emulated printer's files.
#include "DeviceStore.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "base/AtomicFile.h"
#include "base/PathText.h"
#include "base/FileLock.h"

namespace ps::emu {
namespace {

constexpr const char* kStateFile = "state.ini";
constexpr const char* kStateLock = "state.lock";
// A writer holds the lock for one read and rewrite of a small file.
constexpr std::chrono::milliseconds kLockLimit{5000};
constexpr const char* kCommandsLog = "commands.log";
constexpr const char* kEventsLog = "events.log";
constexpr const char* kPrinted = "printed";

}  // namespace

TDeviceStore::TDeviceStore(std::filesystem::path stateDir) : m_Dir(std::move(stateDir)) {
    std::error_code ec;
    std::filesystem::create_directories(m_Dir, ec);
    // Job numbers go on from the highest one stored.
    for (const auto& entry : std::filesystem::directory_iterator(m_Dir / kPrinted, ec)) {
        const std::string name = PathToUtf8(entry.path().filename());
        unsigned number = 0;
        if (std::sscanf(name.c_str(), "%u-", &number) == 1 && number >= m_NextJob)
            m_NextJob = number + 1;
    }
}

bool TDeviceStore::LoadState(TPrinterState& state) const {
    std::ifstream in(m_Dir / kStateFile, std::ios::binary);
    if (!in) return false;
    std::ostringstream text;
    text << in.rdbuf();
    ParseStateIni(text.str(), state);
    return true;
}

bool TDeviceStore::SaveChanges(const TPrinterState& base, const TPrinterState& ours, bool bClockSet,
                               std::string& problem) const {
    std::unique_ptr<fs::TFileLock> lock;
    std::string error;
    switch (fs::TFileLock::Lock(m_Dir / kStateLock, lock, error, kLockLimit)) {
        case fs::TFileLock::TResult::Taken:
            break;
        case fs::TFileLock::TResult::Busy:
            problem = "state.lock still held after 5 s; state stored without it";
            break;
        case fs::TFileLock::TResult::Failed:
            problem = error + "; state stored without the lock";
            break;
    }
    TPrinterState merged = base;
    LoadState(merged);
    MergeState(base, ours, bClockSet, merged);
    return WriteFileAtomically(m_Dir / kStateFile, FormatStateIni(merged));
}

std::string TDeviceStore::CommandLine(std::string_view route, std::span<const std::uint8_t> data) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string line;
    line.reserve(route.size() + 1 + data.size() * 3 + 1);
    for (char c : route) line += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
    line += ' ';
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (i) line += ' ';
        line += kDigits[data[i] >> 4];
        line += kDigits[data[i] & 0x0F];
    }
    line += '\n';
    return line;
}

void TDeviceStore::Append(const char* file, const std::string& text) {
    std::ofstream out(m_Dir / file, std::ios::binary | std::ios::app);
    out << text;
}

void TDeviceStore::LogCommand(std::string_view route, std::span<const std::uint8_t> data) {
    Append(kCommandsLog, CommandLine(route, data));
}

void TDeviceStore::LogEvents(const std::vector<std::string>& events) {
    if (events.empty()) return;
    std::string text;
    for (const std::string& event : events) text += event + "\n";
    Append(kEventsLog, text);
}

std::string TDeviceStore::SafeFileName(std::string_view name) {
    std::string out;
    for (char c : name) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                        (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        out += ok ? c : '_';
        if (out.size() == 64) break;
    }
    if (out.empty() || out.find_first_not_of('.') == std::string::npos) out = "job";
    return out;
}

std::optional<std::filesystem::path> TDeviceStore::SavePrinted(std::string_view jobName,
                                                               std::span<const std::uint8_t> data) {
    std::error_code ec;
    std::filesystem::create_directories(m_Dir / kPrinted, ec);
    char number[16];
    std::snprintf(number, sizeof number, "%03u-", m_NextJob++);
    const std::filesystem::path path = m_Dir / kPrinted / (number + SafeFileName(jobName) + ".bin");
    if (!WriteFileAtomically(
            path, std::string_view(reinterpret_cast<const char*>(data.data()), data.size())))
        return std::nullopt;
    return path;
}

}  // namespace ps::emu
