// SPDX-License-Identifier: MIT
// The string table loader (placeholder until the table lands).
#include "localisation/Scheme.h"

namespace ps {

TGlobalString g_GlobalString;

TProgramLanguage LanguageFromLangId(std::uint16_t) { return plEN; }
std::string_view LanguageSuffix(TProgramLanguage) { return "EN"; }
std::string AddLanguageSuffix(std::string_view baseText) { return std::string(baseText) + "EN"; }
std::string ExpandLineBreaks(std::string_view text) { return std::string(text); }
void LoadGlobalStrings(std::string_view) {}
void LoadGlobalStrings(std::string_view, std::uint16_t) {}

}  // namespace ps
