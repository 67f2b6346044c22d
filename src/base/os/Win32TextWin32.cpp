// SPDX-License-Identifier: MIT
// UTF-8 <-> UTF-16 for the Win32 calls, over the program's own codec (wchar_t is UTF-16 here),
// and FormatMessageW.
#include <windows.h>

#include "base/TextCodec.h"
#include "base/os/Win32Text.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the Win32 wide character is UTF-16");

namespace ps {

std::wstring Widen(std::string_view utf8) {
    const std::u16string units = Utf8ToUtf16(utf8);
    return std::wstring(units.begin(), units.end());
}

std::string Narrow(std::wstring_view wide) {
    const std::u16string units(wide.begin(), wide.end());
    return Utf16ToUtf8(Utf16ToBytesLE(units));
}

std::string NarrowField(const wchar_t* text, std::size_t units) {
    if (!text) return {};
    std::size_t length = 0;
    while (length < units && text[length] != L'\0') ++length;
    return Narrow(std::wstring_view(text, length));
}

std::string Win32ErrorText(std::uint32_t code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer ? buffer : L"", length);
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' ||
                             text.back() == L'.'))
        text.pop_back();
    if (text.empty()) return "system error " + std::to_string(code);
    return Narrow(text);
}

}  // namespace ps
