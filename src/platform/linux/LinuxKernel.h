// SPDX-License-Identifier: MIT
// Kernel services of a Linux machine: locale language, $TMPDIR, iconv code pages.
#pragma once

#include "platform/Platform.h"

namespace ps {

/// Maps a POSIX locale name ("zh_CN.UTF-8", "ja_JP") to a Windows language identifier.
std::uint16_t LangIdFromLocaleName(std::string_view locale);

/// The legacy code page name (for iconv) of a language identifier.
const char* LegacyCharsetForLangId(std::uint16_t langId);

class TLinuxKernel : public TKernel {
public:
    std::uint16_t GetSystemDefaultLangID() override;
    std::string GetTempPath() override;
    std::optional<std::string> DecodeLegacyText(std::string_view bytes,
                                                std::uint16_t langId) override;
};

}  // namespace ps
