// SPDX-License-Identifier: MIT
// ShellExecuteW, the hidden window of the single-instance test, and the foreground.
#include "platform/win32/Win32Desktop.h"

#include <condition_variable>
#include <mutex>
#include <thread>

#include "base/os/Win32Text.h"
#include "platform/WebAddress.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Errors.h"

namespace ps::win32 {
namespace {

LRESULT CALLBACK HiddenWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The hidden window lives on a thread of its own, which pumps its messages until it is
// destroyed; so it answers broadcasts whatever the program's own threads do.
class THiddenWindow : public TWindowClassRegistration {
public:
    explicit THiddenWindow(std::wstring className) : m_ClassName(std::move(className)) {
        m_Thread = std::thread([this] { Run(); });
        std::unique_lock lock(m_Mutex);
        m_Ready.wait(lock, [this] { return m_bStarted; });
    }

    ~THiddenWindow() override {
        if (HWND window = m_Window) PostMessageW(window, WM_CLOSE, 0, 0);
        m_Thread.join();
    }

private:
    void Run() {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = HiddenWindowProc;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = m_ClassName.c_str();
        // A class registered before (another registration of this process) serves as well.
        const bool registered = RegisterClassExW(&windowClass) != 0;
        HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, m_ClassName.c_str(), L"", WS_POPUP, 0, 0, 0,
                                      0, nullptr, nullptr, instance, nullptr);
        {
            std::lock_guard lock(m_Mutex);
            m_Window = window;
            m_bStarted = true;
        }
        m_Ready.notify_all();
        if (window) {
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        if (registered) UnregisterClassW(m_ClassName.c_str(), instance);
    }

    std::wstring m_ClassName;
    std::mutex m_Mutex;
    std::condition_variable m_Ready;
    bool m_bStarted = false;
    HWND m_Window = nullptr;
    std::thread m_Thread;
};

BOOL CALLBACK FrontFirstVisible(HWND window, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

}  // namespace

bool TWin32Shell::OpenUrl(const std::string& url) {
    if (!IsWebAddress(url))
        return Fail(ERROR_INVALID_PARAMETER, "only http and https addresses are opened");
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", Widen(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    // Values up to 32 are errors; most of them are Win32 error numbers.
    if (result <= 32) return Fail(result == 0 ? ERROR_OUTOFMEMORY : static_cast<DWORD>(result));
    return true;
}

bool TWin32SingleInstance::FindWindowClass(const std::string& className) {
    return FindWindowW(Widen(className).c_str(), nullptr) != nullptr;
}

std::unique_ptr<TWindowClassRegistration> TWin32SingleInstance::RegisterWindowClass(
    const std::string& className) {
    return std::make_unique<THiddenWindow>(Widen(className));
}

void TWin32SingleInstance::BringProgramToFront() {
    HWND window = nullptr;
    EnumWindows(FrontFirstVisible, reinterpret_cast<LPARAM>(&window));
    if (!window) return;
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
}

}  // namespace ps::win32
