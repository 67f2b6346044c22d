// SPDX-License-Identifier: MIT
// Shared test helpers.
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <random>

#include "base/PathText.h"
#include "base/TextCodec.h"
#include "platform/NativeServices.h"

namespace ps::test {
namespace {

// The machine's own kernel with the language and the temporary folder a test asks for. It
// wraps the native kernel instead of deriving from one backend, so it builds on every platform.
class TTestKernel : public TKernel {
public:
    TTestKernel(std::uint16_t langId, std::filesystem::path tempDir)
        : m_Native(MakeNativeKernel()), m_LangId(langId), m_TempDir(std::move(tempDir)) {}
    std::uint16_t GetSystemDefaultLangID() override { return m_LangId; }
    std::string GetTempPath() override {
        if (m_TempDir.empty()) return m_Native->GetTempPath();
        std::string dir = PathToUtf8(m_TempDir);
        return dir.back() == kPathDelimiter ? dir : dir + kPathDelimiter;
    }
    std::optional<std::string> DecodeLegacyText(std::string_view bytes,
                                                std::uint16_t langId) override {
        return m_Native->DecodeLegacyText(bytes, langId);
    }
    std::uint32_t GetSessionId() override { return m_Native->GetSessionId(); }
    std::int32_t GetTimeZoneBias() override { return m_Native->GetTimeZoneBias(); }
    std::string GetProgramPath() override { return m_Native->GetProgramPath(); }
    std::unique_ptr<TSharedMemory> CreateSharedMemory(const std::string& name,
                                                      std::size_t size) override {
        return m_Native->CreateSharedMemory(name, size);
    }
    std::unique_ptr<TSharedMemory> OpenSharedMemory(const std::string& name) override {
        return m_Native->OpenSharedMemory(name);
    }
    TIoHandle OpenFileHandle(const std::string& path, bool read, bool write,
                             TFileCreation creation) override {
        return m_Native->OpenFileHandle(path, read, write, creation);
    }
    bool ReadHandle(TIoHandle handle, std::span<std::uint8_t> buffer,
                    std::uint32_t& bytesRead) override {
        return m_Native->ReadHandle(handle, buffer, bytesRead);
    }
    bool WriteHandle(TIoHandle handle, std::span<const std::uint8_t> data,
                     std::uint32_t& bytesWritten) override {
        return m_Native->WriteHandle(handle, data, bytesWritten);
    }
    bool CancelIo(TIoHandle handle) override { return m_Native->CancelIo(handle); }
    bool CloseHandle(TIoHandle handle) override { return m_Native->CloseHandle(handle); }
    bool UsbPrintGetLptStatus(TIoHandle handle, std::uint8_t& status) override {
        return m_Native->UsbPrintGetLptStatus(handle, status);
    }
    TVendorUsbLibrary* LoadVendorUsbLibrary() override { return m_Native->LoadVendorUsbLibrary(); }

private:
    std::unique_ptr<TKernel> m_Native;
    std::uint16_t m_LangId;
    std::filesystem::path m_TempDir;
};

class TTestPlatform : public TPlatform {
public:
    TTestPlatform(std::uint16_t langId, std::filesystem::path tempDir)
        : m_Kernel(langId, std::move(tempDir)) {}
    TKernel& Kernel() override { return m_Kernel; }
    TClock& Clock() override { return m_Clock; }

private:
    TTestKernel m_Kernel;
    TScaledClock m_Clock;
};

}  // namespace

void InstallTestPlatform(std::uint16_t langId, std::filesystem::path tempDir) {
    InstallPlatform(std::make_unique<TTestPlatform>(langId, std::move(tempDir)));
}

TMessageResult TRecordingUserInterface::ShowMessage(TOwnerWindow owner, const std::string& caption,
                                                    const std::string& text, TMessageIcon icon,
                                                    TMessageButtons buttons) {
    messages.push_back({owner, caption, text, icon, buttons});
    if (m_NextAnswers.empty()) {
        ADD_FAILURE() << "unexpected message box \"" << caption << "\": " << text;
        return FirstButton(buttons);
    }
    std::optional<TMessageResult> answer = m_NextAnswers.front();
    m_NextAnswers.pop_front();
    return answer.value_or(FirstButton(buttons));
}

void TRecordingUserInterface::ProcessMessages() {
    ++processCount;
    if (onProcessMessages) onProcessMessages();
}

void TRecordingUserInterface::ShowWaiting(const std::string& caption, const std::string& text) {
    EXPECT_FALSE(waitingShown) << "the waiting window was shown twice: " << caption;
    waitingShown = true;
    waitingTexts.push_back(caption + ": " + text);
}

void TRecordingUserInterface::HideWaiting() {
    EXPECT_TRUE(waitingShown) << "a waiting window that is not shown was hidden";
    waitingShown = false;
}

TRecordingUserInterface& TRecordingUserInterface::Answer(TMessageResult answer) {
    m_NextAnswers.emplace_back(answer);
    return *this;
}

TRecordingUserInterface& TRecordingUserInterface::ExpectBoxes(int count) {
    for (int i = 0; i < count; ++i) m_NextAnswers.emplace_back();
    return *this;
}

void TRecordingUserInterface::CheckAllUsed() {
    EXPECT_TRUE(m_NextAnswers.empty())
        << m_NextAnswers.size() << " preset answer(s) left: the boxes they were for never showed";
    EXPECT_FALSE(waitingShown) << "the waiting window is still shown";
    m_NextAnswers.clear();
}

TScopedRecorder::TScopedRecorder() {
    auto ui = std::make_unique<TRecordingUserInterface>();
    m_Ui = ui.get();
    InstallUserInterface(std::move(ui));
}

TScopedRecorder::~TScopedRecorder() {
    m_Ui->CheckAllUsed();
    InstallUserInterface(nullptr);
}

TTempDir::TTempDir() {
    static std::atomic<unsigned> counter{0};
    std::random_device rd;
    auto base = std::filesystem::temp_directory_path();
    do {
        m_Path = base / ("ps-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
    } while (!std::filesystem::create_directory(m_Path));
}

TTempDir::~TTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_Path, ec);
}

std::filesystem::path TTempDir::Write(const std::string& name, std::string_view bytes) const {
    auto path = m_Path / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

namespace {
void SetEnvironment(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
    const std::u16string wideName = Utf8ToUtf16(name);
    const std::u16string wideValue = Utf8ToUtf16(value.value_or(""));  // empty removes it
    _wputenv_s(reinterpret_cast<const wchar_t*>(wideName.c_str()),
               reinterpret_cast<const wchar_t*>(wideValue.c_str()));
#else
    if (value)
        ::setenv(name.c_str(), value->c_str(), 1);
    else
        ::unsetenv(name.c_str());
#endif
}
}  // namespace

TScopedEnvironment::TScopedEnvironment(std::string name, std::optional<std::string> value)
    : m_Name(std::move(name)) {
    if (const char* old = std::getenv(m_Name.c_str())) m_Old = old;
    SetEnvironment(m_Name, value);
}

TScopedEnvironment::~TScopedEnvironment() {
    SetEnvironment(m_Name, m_Old);
}

std::string Utf16LeWithBom(std::string_view utf8) {
    return "\xFF\xFE" + Utf16ToBytesLE(Utf8ToUtf16(utf8));
}

std::filesystem::path SourceDir() {
    if (const char* dir = std::getenv("PS_SOURCE_DIR")) return PathFromUtf8(dir);
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
}

}  // namespace ps::test
