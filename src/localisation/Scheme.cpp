// SPDX-License-Identifier: MIT
// The running language and the loader that fills g_GlobalString from the embedded table.
#include "localisation/Scheme.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <span>
#include <stdexcept>

#include "base/FileSystem.h"
#include "base/IniFile.h"
#include "base/PathText.h"
#include "localisation/EmbeddedResource.h"
#include "platform/Platform.h"

namespace ps {

TGlobalString g_GlobalString;

namespace {

constexpr std::string_view kSection = "Infos";

/// A copy of resource bytes in a new file of the temporary folder, deleted with the object.
class TTempCopy {
public:
    explicit TTempCopy(std::span<const unsigned char> bytes) {
        const std::string dir = Platform().Kernel().GetTempPath();
        if (dir.empty()) {
            throw std::runtime_error("cannot use the temporary folder for the string table: " +
                                     ThreadLastErrorText());
        }
        // "tmpXXXX.tmp", created exclusively: the next number while a name is taken.
        const std::string_view data(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        std::random_device random;
        unsigned number = random() & 0xFFFFu;
        for (unsigned attempt = 0; attempt <= 0xFFFFu; ++attempt, number = (number + 1) & 0xFFFFu) {
            char name[16];
            std::snprintf(name, sizeof name, "tmp%04X.tmp", number);
            std::string error;
            switch (fs::WriteNewFile(PathFromUtf8(dir + name), data, error, /*durable=*/false)) {
                case fs::TNewFileResult::Written:
                    m_Path = PathFromUtf8(dir + name);
                    return;
                case fs::TNewFileResult::Exists:
                    continue;
                case fs::TNewFileResult::Failed:
                    throw std::runtime_error("cannot create a temporary file in \"" + dir +
                                             "\" for the string table: " + error);
            }
        }
        throw std::runtime_error("cannot create a temporary file in \"" + dir +
                                 "\" for the string table: every name is taken");
    }
    ~TTempCopy() { Remove(); }
    TTempCopy(const TTempCopy&) = delete;
    TTempCopy& operator=(const TTempCopy&) = delete;

    const std::filesystem::path& Path() const { return m_Path; }

private:
    void Remove() noexcept {
        if (m_Path.empty()) return;
        std::error_code ignored;
        std::filesystem::remove(m_Path, ignored);
        m_Path.clear();
    }

    std::filesystem::path m_Path;
};

}  // namespace

TProgramLanguage LanguageFromLangId(std::uint16_t langId) {
    switch (langId) {
        case 0x0804:  // Chinese (PRC)
        case 0x1004:  // Chinese (Singapore)
            return plCN;
        case 0x0404:  // Chinese (Taiwan)
        case 0x0C04:  // Chinese (Hong Kong)
        case 0x1404:  // Chinese (Macao)
            return plCHT;
        case 0x0411:  // Japanese
            return plJP;
        default:
            return plEN;
    }
}

std::string_view LanguageSuffix(TProgramLanguage language) {
    switch (language) {
        case plCN:
            return "CN";
        case plCHT:
            return "CHT";
        case plEN:
            return "EN";
        case plJP:
            return "JP";
    }
    return {};
}

std::string AddLanguageSuffix(std::string_view baseText) {
    std::string text(baseText);
    text += LanguageSuffix(g_GlobalString.Language);
    return text;
}

std::string ExpandLineBreaks(std::string_view text) {
    constexpr std::string_view kEscape = "\\r\\n";
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0;;) {
        const std::size_t found = text.find(kEscape, pos);
        if (found == std::string_view::npos) {
            out += text.substr(pos);
            return out;
        }
        out += text.substr(pos, found - pos);
        out += "\r\n";
        pos = found + kEscape.size();
    }
}

void LoadGlobalStrings(std::string_view resourceName) {
    LoadGlobalStrings(resourceName, SystemLanguageId());
}

void LoadGlobalStrings(std::string_view resourceName, std::uint16_t langId) {
    const std::span<const unsigned char> resource = FindEmbeddedResource(resourceName);
    if (resource.empty())
        throw std::runtime_error("the string table resource \"" + std::string(resourceName) +
                                 "\" is missing from the program");

    TGlobalString table = BuiltInGlobalStrings();
    table.Language = LanguageFromLangId(langId);
    const std::string suffix = "." + std::string(LanguageSuffix(table.Language));
    {
        // The table is read through a file, as the INI reader works on files.
        TTempCopy copy(resource);
        const TIniFile ini = TIniFile::FromFile(copy.Path(), langId);
        ForEachGlobalString(table, [&](std::string_view key, std::string& text) {
            text = ExpandLineBreaks(ini.ReadString(kSection, std::string(key) + suffix, text));
        });
    }
    g_GlobalString = std::move(table);
}

}  // namespace ps
