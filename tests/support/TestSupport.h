// SPDX-License-Identifier: MIT
// Shared helpers of the tests: a test platform, a recording user-interface hook, temp folders.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "platform/UserInterface.h"

namespace ps::test {

/// Installs a platform whose kernel reports langId and uses `tempDir` (or the system's).
void InstallTestPlatform(std::uint16_t langId = 0x0409, std::filesystem::path tempDir = {});

/// Records every message box and answers from a script (default: the first button).
class TRecordingUserInterface : public TUserInterface {
public:
    struct TMessage {
        std::string caption;
        std::string text;
        TMessageIcon icon;
        TMessageButtons buttons;
    };

    TMessageResult ShowMessage(const std::string& caption, const std::string& text,
                               TMessageIcon icon, TMessageButtons buttons) override;
    void ProcessMessages() override { ++processCount; }
    void ShowWaiting(const std::string& caption, const std::string& text) override;
    void HideWaiting() override { waitingShown = false; }

    std::vector<TMessage> messages;
    std::deque<TMessageResult> nextAnswers;
    int processCount = 0;
    bool waitingShown = false;
    std::vector<std::string> waitingTexts;
};

/// Installs a recorder for the lifetime of the object and puts the console hook back after.
class TScopedRecorder {
public:
    TScopedRecorder();
    ~TScopedRecorder();
    TRecordingUserInterface& operator*() { return *m_Ui; }
    TRecordingUserInterface* operator->() { return m_Ui; }

private:
    TRecordingUserInterface* m_Ui;
};

/// A fresh folder under the system temporary folder, removed with everything in it.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;
    const std::filesystem::path& Path() const { return m_Path; }
    /// Writes bytes to a file inside the folder and returns its path.
    std::filesystem::path Write(const std::string& name, std::string_view bytes) const;

private:
    std::filesystem::path m_Path;
};

/// UTF-8 text to UTF-16LE bytes with a byte-order mark.
std::string Utf16LeWithBom(std::string_view utf8);

/// The source tree's root (for resources/ and test data).
std::filesystem::path SourceDir();

}  // namespace ps::test
