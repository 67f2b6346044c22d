// SPDX-License-Identifier: MIT
// The program's own file and the user's state folder on Windows.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "base/ProgramPlace.h"

namespace ps::fs {
namespace {

std::wstring Wide(const std::string& text) {
    if (text.empty()) return {};
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

}  // namespace

std::filesystem::path ExecutablePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            return std::filesystem::path(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::filesystem::path UserStateFolder() {
    wchar_t buffer[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(L"LOCALAPPDATA", buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    return std::filesystem::path(std::wstring(buffer, n));
}

bool SetEnvironmentValue(const std::string& name, const std::string& value) {
    // _wputenv_s changes the C runtime's copy too, which getenv reads.
    return _wputenv_s(Wide(name).c_str(), Wide(value).c_str()) == 0;
}

}  // namespace ps::fs
