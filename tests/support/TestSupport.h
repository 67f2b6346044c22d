// SPDX-License-Identifier: MIT
// Shared helpers of the tests: a test platform, a recording user-interface hook, temp folders.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "platform/UserInterface.h"

namespace ps::test {

/// Installs a platform whose kernel reports langId and uses `tempDir` (or the system's).
void InstallTestPlatform(std::uint16_t langId = 0x0409, std::filesystem::path tempDir = {});

/// Records every message box and answers it from the answers the test preset, one each. The
/// recorder is strict: a box with no preset answer left fails the test (and takes its first
/// button), and so does hiding a waiting window that is not shown. TScopedRecorder also fails
/// the test when answers are left unused or the waiting window is still up at its end.
class TRecordingUserInterface : public TUserInterface {
public:
    struct TMessage {
        TOwnerWindow owner;
        std::string caption;
        std::string text;
        TMessageIcon icon;
        TMessageButtons buttons;
    };

    TMessageResult ShowMessage(TOwnerWindow owner, const std::string& caption,
                               const std::string& text, TMessageIcon icon,
                               TMessageButtons buttons) override;
    void ProcessMessages() override;
    void ShowWaiting(const std::string& caption, const std::string& text) override;
    void HideWaiting() override;

    /// Expects one more box and answers it with `answer`.
    TRecordingUserInterface& Answer(TMessageResult answer);
    /// Expects `count` more boxes, each answered with its first button.
    TRecordingUserInterface& ExpectBoxes(int count = 1);
    /// Fails the test for every preset answer no box took, and for a waiting window still up.
    void CheckAllUsed();

    std::vector<TMessage> messages;
    int processCount = 0;
    bool waitingShown = false;
    std::vector<std::string> waitingTexts;
    /// Runs inside ProcessMessages: what a pumped paint or timer event would do.
    std::function<void()> onProcessMessages;

private:
    // An empty answer stands for "the box's first button".
    std::deque<std::optional<TMessageResult>> m_NextAnswers;
};

/// Installs a recorder for the lifetime of the object, checks at its end that every preset
/// answer was used, and puts the console hook back.
class TScopedRecorder {
public:
    TScopedRecorder();
    ~TScopedRecorder();
    TScopedRecorder(const TScopedRecorder&) = delete;
    TScopedRecorder& operator=(const TScopedRecorder&) = delete;
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

/// Sets an environment variable (UTF-8; nothing removes it) for the scope, and puts the old
/// value back after.
class TScopedEnvironment {
public:
    TScopedEnvironment(std::string name, std::optional<std::string> value);
    ~TScopedEnvironment();
    TScopedEnvironment(const TScopedEnvironment&) = delete;
    TScopedEnvironment& operator=(const TScopedEnvironment&) = delete;

private:
    std::string m_Name;
    std::optional<std::string> m_Old;
};

/// UTF-8 text to UTF-16LE bytes with a byte-order mark.
std::string Utf16LeWithBom(std::string_view utf8);

/// The source tree's root (for resources/ and test data).
std::filesystem::path SourceDir();

}  // namespace ps::test
