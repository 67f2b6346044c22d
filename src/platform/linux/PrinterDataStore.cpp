// SPDX-License-Identifier: MIT
// The per-user file of printer data values.
#include "platform/linux/PrinterDataStore.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <thread>

#include "base/AsciiText.h"
#include "base/AtomicFile.h"
#include "base/FileLock.h"
#include "base/IniFile.h"
#include "base/IniWriter.h"

namespace ps {
namespace {

constexpr std::size_t kMaxValueBytes = 1024;

bool UsableName(std::string_view name) {
    if (name.empty() || name.size() > 255) return false;
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == '=' || c == '[' || c == ']' || c == ';')
            return false;
    }
    return true;
}

std::string Section(const std::string& queue) {
    return "Queue " + AsciiLower(queue);  // CUPS queue names ignore letter case
}

std::string ReadText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Takes the lock beside the file, waiting a while for another holder.
TSysError LockFile(const std::filesystem::path& path, std::unique_ptr<fs::TFileLock>& lock) {
    constexpr auto kWait = std::chrono::seconds(5);
    const auto end = std::chrono::steady_clock::now() + kWait;
    for (;;) {
        std::string error;
        switch (fs::TFileLock::TryLock(path, lock, error)) {
            case fs::TFileLock::TResult::Taken:
                return kErrorSuccess;
            case fs::TFileLock::TResult::Failed:
                SetThreadLastError(kErrorAccessDenied, error);
                return kErrorAccessDenied;
            case fs::TFileLock::TResult::Busy:
                break;
        }
        if (std::chrono::steady_clock::now() >= end) {
            SetThreadLastError(kErrorBusy, "\"" + path.string() + "\" stayed locked");
            return kErrorBusy;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

}  // namespace

std::filesystem::path TPrinterDataStore::DefaultFile() {
    std::filesystem::path folder;
    const char* state = std::getenv("XDG_STATE_HOME");
    const char* home = std::getenv("HOME");
    if (state && state[0] == '/')
        folder = state;
    else if (home && home[0] == '/')
        folder = std::filesystem::path(home) / ".local" / "state";
    else
        return {};
    return folder / "printer-settings" / "printer-data.ini";
}

TSysError TPrinterDataStore::Get(const std::string& queue, const std::string& valueName,
                                 std::uint32_t& type, std::span<std::uint8_t> buffer,
                                 std::uint32_t& needed) const {
    if (!UsableName(valueName) || m_File.empty()) return kErrorFileNotFound;
    const std::string text =
        TIniFile::FromText(ReadText(m_File)).ReadString(Section(queue), valueName, "");
    // "TYPE:HEX"
    const auto colon = text.find(':');
    const auto storedType = TryStrToInt(std::string_view(text).substr(0, colon));
    if (colon == std::string::npos || !storedType || *storedType < 0 ||
        (text.size() - colon - 1) % 2 != 0)
        return kErrorFileNotFound;
    std::string bytes;
    for (std::size_t i = colon + 1; i + 1 < text.size(); i += 2) {
        const int high = HexDigitValue(text[i]);
        const int low = HexDigitValue(text[i + 1]);
        if (high < 0 || low < 0) return kErrorFileNotFound;
        bytes += static_cast<char>(high * 16 + low);
    }
    type = static_cast<std::uint32_t>(*storedType);
    needed = static_cast<std::uint32_t>(bytes.size());
    if (buffer.size() < bytes.size()) return kErrorMoreData;
    std::copy(bytes.begin(), bytes.end(), buffer.begin());
    return kErrorSuccess;
}

TSysError TPrinterDataStore::Set(const std::string& queue, const std::string& valueName,
                                 std::uint32_t type, std::span<const std::uint8_t> data) const {
    if (!UsableName(valueName) || data.size() > kMaxValueBytes) return kErrorInvalidParameter;
    if (m_File.empty()) return kErrorFileNotFound;
    std::error_code ec;
    const auto folder = m_File.parent_path();
    if (!std::filesystem::is_directory(folder, ec)) {
        std::filesystem::create_directories(folder, ec);
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ec);
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string value = std::to_string(type) + ":";
    for (std::uint8_t byte : data) {
        value += kHex[byte >> 4];
        value += kHex[byte & 15];
    }
    // Read, changed and written under the file's lock: two programs that write at once each
    // keep the other's values.
    std::unique_ptr<fs::TFileLock> lock;
    if (const TSysError error = LockFile(m_File.string() + ".lock", lock); error != kErrorSuccess)
        return error;
    const std::string text = SetIniValueInText(ReadText(m_File), Section(queue), valueName, value);
    return WriteFileAtomically(m_File, text) ? kErrorSuccess : kErrorWriteFault;
}

}  // namespace ps
