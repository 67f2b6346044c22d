// SPDX-License-Identifier: MIT
// Paths to and from the program's UTF-8 text. On Windows a path made from, or turned into, a
// plain std::string uses the ANSI code page, which cannot hold every name (a Chinese printer
// name on a Western system); the char8_t forms are UTF-8 on every system.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace ps {

inline std::filesystem::path PathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string PathToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

/// A file named by the program's UTF-8 text or by a path; the functions that take it find the
/// right file either way, so no caller's text goes through the ANSI code page.
class TFileName {
public:
    TFileName(const std::filesystem::path& path) : m_Path(path) {}
    TFileName(std::filesystem::path&& path) : m_Path(std::move(path)) {}
    TFileName(const std::string& utf8) : m_Path(PathFromUtf8(utf8)) {}
    TFileName(std::string_view utf8) : m_Path(PathFromUtf8(utf8)) {}
    TFileName(const char* utf8) : m_Path(PathFromUtf8(utf8)) {}
    const std::filesystem::path& Path() const { return m_Path; }

private:
    std::filesystem::path m_Path;
};

}  // namespace ps
