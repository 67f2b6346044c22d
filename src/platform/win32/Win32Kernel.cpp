// SPDX-License-Identifier: MIT
// Kernel services of a Windows machine: language, temporary folder, code pages, session,
// program path, the USB library.
#include "platform/win32/Win32Kernel.h"

#include <vector>

#include "base/os/Win32Text.h"
#include "platform/win32/VendorUsbDll.h"
#include "platform/win32/Win32Errors.h"

namespace ps::win32 {

UINT LegacyCodePageForLangId(std::uint16_t langId) {
    switch (langId) {
        case 0x0804:
        case 0x1004:
            return 936;
        case 0x0404:
        case 0x0C04:
        case 0x1404:
            return 950;
        case 0x0411:
            return 932;
        default:
            return 1252;
    }
}

TWin32Kernel::TWin32Kernel(TClock& clock, std::unique_ptr<TUsbPrintSystem> usb)
    : m_Clock(clock), m_pUsb(std::move(usb)) {}

TWin32Kernel::~TWin32Kernel() = default;

std::uint16_t TWin32Kernel::GetSystemDefaultLangID() {
    return ::GetSystemDefaultLangID();
}

std::string TWin32Kernel::GetTempPath() {
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    DWORD length = GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length > buffer.size()) {
        buffer.resize(length);
        length = GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
    }
    if (length == 0 || length > buffer.size()) {
        FailWithLastError();
        return {};
    }
    // The long form: a user name cut to 8.3 ("ADMINI~1") would stand in every per-printer path.
    std::wstring path(buffer.data(), length);
    DWORD longLength = GetLongPathNameW(path.c_str(), nullptr, 0);
    if (longLength > 0) {
        std::vector<wchar_t> longBuffer(longLength);
        longLength = GetLongPathNameW(path.c_str(), longBuffer.data(), longLength);
        if (longLength > 0 && longLength < longBuffer.size())
            path.assign(longBuffer.data(), longLength);
    }
    if (!path.empty() && path.back() != L'\\') path += L'\\';
    return Narrow(path);
}

std::optional<std::string> TWin32Kernel::DecodeLegacyText(std::string_view bytes,
                                                          std::uint16_t langId) {
    if (bytes.empty()) return std::string();
    if (bytes.size() > 0x7FFFFFFF) return std::nullopt;
    const UINT codePage = LegacyCodePageForLangId(langId);
    const int size = static_cast<int>(bytes.size());
    const int units =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (units <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(),
                            units) != units)
        return std::nullopt;
    return Narrow(wide);
}

std::uint32_t TWin32Kernel::GetSessionId() {
    DWORD session = 0;
    if (!ProcessIdToSessionId(GetCurrentProcessId(), &session)) return 0;
    return session;
}

std::string TWin32Kernel::GetProgramPath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            FailWithLastError();
            return {};
        }
        if (length < buffer.size()) return Narrow(std::wstring_view(buffer.data(), length));
        if (buffer.size() >= 32768) return {};
        buffer.resize(buffer.size() * 2);
    }
}

bool TWin32Kernel::RegularFileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return FailWithLastError();
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE))
        return Fail(ERROR_FILE_NOT_FOUND);
    return true;
}

TVendorUsbLibrary* TWin32Kernel::LoadVendorUsbLibrary() {
    std::call_once(m_UsbLoaded, [this] {
        m_pUsbLibrary = LoadVendorUsbDll();
        if (!m_pUsbLibrary) m_pUsbLibrary = std::make_unique<TUsbPrintLibrary>(*m_pUsb);
    });
    return m_pUsbLibrary.get();
}

}  // namespace ps::win32
