// SPDX-License-Identifier: MIT
// File-system calls of base on Windows: exclusive create, write all, flush, replace; the wide
// forms of the paths, so every name works whatever the ANSI code page.
#include <windows.h>
// Ours is ps::fs::ReplaceFile, not the Win32 function of that name.
#undef ReplaceFile

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "base/FileSystem.h"
#include "base/PathText.h"
#include "base/os/Win32Text.h"

namespace ps::fs {
namespace {

std::string ErrorText(const char* step, const std::filesystem::path& path, DWORD code) {
    return std::string(step) + " \"" + PathToUtf8(path) + "\": " + Win32ErrorText(code);
}

}  // namespace

TNewFileResult WriteNewFile(const std::filesystem::path& path, std::string_view bytes,
                            std::string& error, bool durable) {
    // CREATE_NEW never opens what is there, a link included.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS)
            return TNewFileResult::Exists;
        error = ErrorText("cannot create", path, code);
        return TNewFileResult::Failed;
    }
    bool ok = true;
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (ok && left > 0) {
        const DWORD chunk = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
        DWORD written = 0;
        const BOOL wrote = WriteFile(file, data, chunk, &written, nullptr);
        if (!wrote || written == 0) {
            const DWORD code = wrote ? ERROR_WRITE_FAULT : GetLastError();
            error = ErrorText("cannot write", path, code);
            ok = false;
            break;
        }
        data += written;
        left -= written;
    }
    if (ok && durable && !FlushFileBuffers(file)) {
        error = ErrorText("cannot flush", path, GetLastError());
        ok = false;
    }
    if (!CloseHandle(file) && ok) {
        error = ErrorText("cannot close", path, GetLastError());
        ok = false;
    }
    if (!ok) {
        DeleteFileW(path.c_str());
        return TNewFileResult::Failed;
    }
    return TNewFileResult::Written;
}

bool ReplaceFile(const std::filesystem::path& from, const std::filesystem::path& to,
                 std::string& error) {
    // The file in place may be held for a moment: by a reader that opened it without sharing
    // its deletion (most programs open files so), or by another writer's replacement of it.
    constexpr int kAttempts = 80;
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD code = GetLastError();
        const bool held = code == ERROR_SHARING_VIOLATION || code == ERROR_ACCESS_DENIED ||
                          code == ERROR_LOCK_VIOLATION;
        const DWORD target = GetFileAttributesW(to.c_str());
        const bool folder =
            target != INVALID_FILE_ATTRIBUTES && (target & FILE_ATTRIBUTE_DIRECTORY);
        if (!held || folder || attempt == kAttempts) {
            error = ErrorText("cannot rename to", to, code);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

TReadFileResult ReadRegularFile(const std::filesystem::path& path, std::size_t maxBytes,
                                TFinalLink finalLink, std::uint32_t timeoutMs, std::string& bytes,
                                std::string& error) {
    bytes.clear();
    // With FILE_FLAG_OPEN_REPARSE_POINT a link at the end of the path is opened itself, and
    // then refused below, instead of the file it leads to.
    const DWORD flags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN |
                        (finalLink == TFinalLink::Refuse ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, flags, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        error = ErrorText("cannot open", path, code);
        return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND
                   ? TReadFileResult::Missing
                   : TReadFileResult::Failed;
    }
    TReadFileResult result = TReadFileResult::Read;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) {
        error = ErrorText("cannot examine", path, GetLastError());
        result = TReadFileResult::Failed;
    } else if (GetFileType(file) != FILE_TYPE_DISK ||
               (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        // A pipe, a console or a device never holds the caller up.
        error = "\"" + PathToUtf8(path) + "\" is not a regular file";
        result = TReadFileResult::Refused;
    } else if (finalLink == TFinalLink::Refuse &&
               (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        error = "\"" + PathToUtf8(path) + "\" is a symbolic link, which is not followed";
        result = TReadFileResult::Refused;
    } else if ((static_cast<std::uint64_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow) >
               maxBytes) {
        error = "\"" + PathToUtf8(path) + "\" is larger than " + std::to_string(maxBytes) +
                " bytes";
        result = TReadFileResult::Refused;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    char chunk[65536];
    while (result == TReadFileResult::Read) {
        if (std::chrono::steady_clock::now() >= deadline) {
            error = "reading \"" + PathToUtf8(path) + "\" took longer than " +
                    std::to_string(timeoutMs) + " ms";
            result = TReadFileResult::Failed;
            break;
        }
        DWORD n = 0;
        if (!ReadFile(file, chunk, sizeof chunk, &n, nullptr)) {
            error = ErrorText("cannot read", path, GetLastError());
            result = TReadFileResult::Failed;
            break;
        }
        if (n == 0) break;
        // A file that grows while it is read is held to the same bound.
        if (bytes.size() + n > maxBytes) {
            error = "\"" + PathToUtf8(path) + "\" is larger than " + std::to_string(maxBytes) +
                    " bytes";
            result = TReadFileResult::Refused;
            break;
        }
        bytes.append(chunk, n);
    }
    CloseHandle(file);
    if (result != TReadFileResult::Read) bytes.clear();
    return result;
}

bool RemoveFile(const std::filesystem::path& path) {
    if (DeleteFileW(path.c_str())) return true;
    const DWORD code = GetLastError();
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
}

std::uint64_t ProcessNumber() {
    return GetCurrentProcessId();
}

std::optional<std::string> EnvironmentVariable(const char* name) {
    const wchar_t* value = _wgetenv(Widen(name).c_str());
    if (!value) return std::nullopt;
    return Narrow(value);
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(Narrow(wide[i]));
    LocalFree(wide);
    return arguments;
}

void UseUtf8StandardStreams() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
}

bool StandardErrorIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

}  // namespace ps::fs
