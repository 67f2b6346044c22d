// SPDX-License-Identifier: MIT
// The INI reader against the system's own profile functions (Wine's GetPrivateProfileStringW
// and GetPrivateProfileIntW under CI), key by key, on the reader's test files and on texts that
// hold every rule of the format.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "base/IniFile.h"
#include "base/PathText.h"
#include "base/TextCodec.h"
#include "base/os/Win32Text.h"
#include "platform/win32/Win32.h"
#include "support/TestSupport.h"

namespace ps {
namespace {

using namespace std::string_literals;

constexpr DWORD kBufferUnits = 2048;  // the readers' buffer: 2047 units and the terminator

std::wstring ProfileString(const std::wstring& file, const std::string& section,
                           const std::string& key, const wchar_t* fallback) {
    std::wstring buffer(kBufferUnits, L'\0');
    const DWORD length =
        GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), fallback,
                                 buffer.data(), kBufferUnits, file.c_str());
    buffer.resize(length);
    return buffer;
}

// The profile functions' own list: the sections (NULL section), or a section's keys (NULL key).
std::vector<std::string> ProfileNames(const std::wstring& file, const std::string* section) {
    std::wstring buffer(65536, L'\0');
    const DWORD length =
        section ? GetPrivateProfileStringW(Widen(*section).c_str(), nullptr, L"", buffer.data(),
                                           static_cast<DWORD>(buffer.size()), file.c_str())
                : GetPrivateProfileSectionNamesW(buffer.data(), static_cast<DWORD>(buffer.size()),
                                                 file.c_str());
    std::vector<std::string> names;
    for (std::size_t at = 0; at < length;) {
        const std::wstring name(buffer.c_str() + at);
        names.push_back(Narrow(name));
        at += name.size() + 1;
    }
    return names;
}

// A value GetPrivateProfileIntW reads the same way as the scheme readers: plain decimal in
// range. Hex forms ("$1F", "0x1F") and trailing text ("12abc") differ on purpose (the readers
// take the first, refuse the second), so only plain numbers are compared.
bool PlainDecimal(const std::string& text) {
    std::size_t digits = text.starts_with('-') || text.starts_with('+') ? 1 : 0;
    if (digits == text.size() || text.size() - digits > 9) return false;
    return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(digits), text.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

// Every key the reader or the system knows in the file, asked both ways, and the same names
// asked in other letter case and with blanks around them.
void CompareFile(const std::filesystem::path& path) {
    SCOPED_TRACE(PathToUtf8(path.filename()));
    const std::wstring file = path.wstring();
    const TIniFile ini = TIniFile::FromFile(path);
    std::set<std::string> sections;
    for (const auto& name : ini.SectionNames()) sections.insert(name);
    for (const auto& name : ProfileNames(file, nullptr)) sections.insert(name);
    sections.insert("absent section");
    int compared = 0;
    for (const std::string& section : sections) {
        std::set<std::string> keys = {"absent key"};
        for (const auto& key : ini.KeyNames(section)) keys.insert(key);
        for (const auto& key : ProfileNames(file, &section)) keys.insert(key);
        for (const std::string& key : keys) {
            std::string upper = key;
            std::transform(upper.begin(), upper.end(), upper.begin(),
                           [](char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; });
            for (const auto& [s, k] : {std::pair(section, key), std::pair(section, upper),
                                       std::pair(" " + section + "\t", " " + key + " ")}) {
                const std::string ours = ini.ReadString(s, k, "<default>");
                EXPECT_EQ(ours, Narrow(ProfileString(file, s, k, L"<default>")))
                    << "[" << s << "] " << k;
                if (PlainDecimal(ours)) {
                    EXPECT_EQ(ini.ReadInteger(s, k, -7),
                              static_cast<std::int32_t>(GetPrivateProfileIntW(
                                  Widen(s).c_str(), Widen(k).c_str(), -7, file.c_str())))
                        << "[" << s << "] " << k;
                }
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 3);
}

TEST(IniProfileTest, TheReaderAnswersAsTheSystemsProfileFunctions) {
    // 8-bit text without a byte-order mark is read in the system's code page by both.
    test::InstallTestPlatform(GetSystemDefaultLangID());
    test::TTempDir dir;
    const std::string z = "\x1A";
    const std::string probes[] = {
        // lines, headers, comments
        "top=before\r  ; comment=no\n#hash=yes\r\n[ Main ] junk ] tail\n//slash = kept\n"
        "noequals\nValue = a ; not a comment \n[unterminated\nlate=1\n[]\nhidden=1\n[main]\n"
        "value=second section ignored\n\n\nlast=no line end",
        // duplicates, quotes, empty key, NUL, length
        "[s]\nempty=\nempty=later\nk=first\nK=second\nq1=\"quoted value\"\nq2='single'\n"
        "q3=\"mismatch'\nq4=\"\nq5=\"a\"b\"\nq6=  \" padded \"  "
        "\nq7=\xE2\x80\x9Csmart\xE2\x80\x9D\n"
        "\"key\"=v\n=emptykey\nnul=ab\0cd\nafter=ok\nlong="s +
            std::string(3000, 'x') + "\n",
        // blanks of every kind, the end-of-file mark, numbers
        "[t]\r\n\tpadded\t=\t v \v\f\r\nplain=x" + z + "\r\npadded2=y " + z + "\t\r\ntwice=z" + z +
            z + "\nquoted=\"q r\"" + z + "\ninner=a" + z + "b\nleading=" + z + "c\n" + z +
            "\nn1=42\nn2=-17\nn3=+5\nn4=007\nn5=12abc\nn6=0x20\nn7=$1F\nn8=\n",
        // letter case outside A-Z, sections that repeat
        "[\xC3\x84rger]\nKey=1\n[\xC3\xA4rger]\nKey=2\n[Dup]\na=1\n[dup]\na=2\nb=3\n",
        // the other blanks and the end-of-file mark around names and lines
        "\v[vt]\v\nk=1\n[\vvt2\f]\nk=2\n\x1Akey1=1\n[\x1Azsec\x1A]\nk=3\nkey2\x1A=2\n"
        "\f; comment?=1\n\x1A;c2=1\n\v[vt3]\nk=4\n \x1A[z2]\nk=5\n",
    };
    int index = 0;
    for (const std::string& probe : probes) {
        ++index;
        // UTF-16 with its mark, which the system reads as such whatever its code page; and the
        // pure ASCII ones as 8-bit text too.
        CompareFile(
            dir.Write("probe" + std::to_string(index) + ".ini", test::Utf16LeWithBom(probe)));
        if (IsValidUtf8(probe) &&
            std::all_of(probe.begin(), probe.end(), [](char c) { return (c & 0x80) == 0; }))
            CompareFile(dir.Write("probe" + std::to_string(index) + "-8bit.ini", probe));
    }
    // The reader's test files (ASCII, UTF-16 with its mark, 8-bit GB18030). The shipped schemes
    // are UTF-8 without a mark, which the reader takes as UTF-8 on every system and the profile
    // functions as ANSI: they are not compared.
    for (const auto& entry :
         std::filesystem::directory_iterator(test::SourceDir() / "tests" / "data" / "schemes"))
        if (entry.path().extension() == ".dat") CompareFile(entry.path());
    test::InstallTestPlatform();
}

}  // namespace
}  // namespace ps
