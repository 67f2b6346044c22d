// SPDX-License-Identifier: MIT
// Kernel services of a Linux machine.
#include "platform/linux/LinuxKernel.h"

#include <iconv.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace ps {

std::uint16_t LangIdFromLocaleName(std::string_view locale) {
    auto starts = [&](std::string_view prefix) {
        return locale.substr(0, prefix.size()) == prefix;
    };
    if (starts("zh_CN")) return 0x0804;
    if (starts("zh_SG")) return 0x1004;
    if (starts("zh_TW")) return 0x0404;
    if (starts("zh_HK")) return 0x0C04;
    if (starts("zh_MO")) return 0x1404;
    if (starts("ja")) return 0x0411;
    return 0x0409;
}

const char* LegacyCharsetForLangId(std::uint16_t langId) {
    switch (langId) {
        case 0x0804:
        case 0x1004:
            return "GB18030";
        case 0x0404:
        case 0x0C04:
        case 0x1404:
            return "BIG5";
        case 0x0411:
            return "SHIFT_JIS";
        default:
            return "WINDOWS-1252";
    }
}

std::uint16_t TLinuxKernel::GetSystemDefaultLangID() {
    // The first non-empty of the variables that decide LC_MESSAGES.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return LangIdFromLocaleName(value);
    }
    return 0x0409;
}

TLinuxKernel::TLinuxKernel(TClock* clock, std::unique_ptr<TUsblpSystem> devices,
                           TUsblpFolders folders)
    : m_pOwnClock(clock ? nullptr : std::make_unique<TScaledClock>()),
      m_Clock(clock ? *clock : *m_pOwnClock),
      m_pUsblp(devices ? std::move(devices) : MakeKernelUsblpSystem()),
      m_UsbLibrary(*m_pUsblp, m_Clock, std::move(folders)) {}

TVendorUsbLibrary* TLinuxKernel::LoadVendorUsbLibrary() {
    return &m_UsbLibrary;
}

TLinuxKernel::~TLinuxKernel() = default;

std::string TLinuxKernel::GetTempPath() {
    // Per-printer files, the values report and downloaded menus go to a folder of this user
    // alone: a shared /tmp would let another user read them or plant links in their place.
    const std::string folder =
        PrivateTempFolderPath(std::getenv("XDG_RUNTIME_DIR"), std::getenv("TMPDIR"),
                              static_cast<unsigned long>(geteuid()));
    std::string problem;
    if (!MakePrivateFolder(folder, problem)) {
        SetThreadLastError(kErrorAccessDenied, problem);
        return {};
    }
    return folder + '/';
}

std::optional<std::string> TLinuxKernel::DecodeLegacyText(std::string_view bytes,
                                                          std::uint16_t langId) {
    iconv_t cd = iconv_open("UTF-8", LegacyCharsetForLangId(langId));
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(bytes.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1)) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace ps
