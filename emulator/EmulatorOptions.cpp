// SPDX-License-Identifier: MIT
// Parsing of the emulator's own device keys.
#include "EmulatorOptions.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <string_view>

#include "base/IniFile.h"
#include "base/Lib_String.h"

namespace ps::emu {
namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

class TKeys {
public:
    TKeys(const std::map<std::string, std::string>& extra, std::vector<std::string>* problems)
        : m_pProblems(problems) {
        for (const auto& [key, value] : extra) m_Values.emplace(Lower(key), value);
    }

    const std::string* Find(std::string_view key) const {
        auto it = m_Values.find(Lower(key));
        return it == m_Values.end() ? nullptr : &it->second;
    }

    void Problem(std::string_view key, const std::string& value) {
        if (m_pProblems) m_pProblems->push_back(std::string(key) + "=" + value + " ignored");
    }

    template <typename T>
    void Unsigned(std::string_view key, T& out) {
        if (const std::string* v = Find(key)) {
            auto n = TryStrToInt(*v);
            if (n && *n >= 0 && static_cast<std::uint64_t>(*n) <= std::numeric_limits<T>::max())
                out = static_cast<T>(*n);
            else
                Problem(key, *v);
        }
    }

    template <typename T>
    void OptionalUnsigned(std::string_view key, std::optional<T>& out) {
        if (Find(key)) {
            T value{};
            std::size_t before = m_pProblems ? m_pProblems->size() : 0;
            Unsigned(key, value);
            if (!m_pProblems || m_pProblems->size() == before) out = value;
        }
    }

    void Flag(std::string_view key, bool& out) {
        if (const std::string* v = Find(key)) {
            if (auto n = TryStrToInt(*v))
                out = *n != 0;
            else
                Problem(key, *v);
        }
    }

private:
    std::map<std::string, std::string> m_Values;
    std::vector<std::string>* m_pProblems;
};

// "hhhh" of hex digits into two bytes, the first pair being the more significant one.
bool HexPairs(std::string_view digits, std::uint8_t& high, std::uint8_t& low) {
    if (digits.size() != 4 || !std::all_of(digits.begin(), digits.end(), [](char c) {
            return std::isxdigit(static_cast<unsigned char>(c)) != 0;
        }))
        return false;
    TBytes b = HexTextToBytes(digits);
    high = b[0];
    low = b[1];
    return true;
}

bool ParseVersion(std::string_view text, std::vector<std::uint8_t>& firmware) {
    if (!text.empty() && (text[0] == 'V' || text[0] == 'v')) text.remove_prefix(1);
    if (text.size() != 9 || text[4] != '.' || firmware.size() < 4) return false;
    std::vector<std::uint8_t> out = firmware;
    if (!HexPairs(text.substr(0, 4), out[3], out[2]) ||
        !HexPairs(text.substr(5, 4), out[1], out[0]))
        return false;
    firmware = std::move(out);
    return true;
}

bool ParseDate(std::string_view text, std::vector<std::uint8_t>& firmware) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' || firmware.size() < 8) return false;
    const std::string monthDay = std::string(text.substr(5, 2)) + std::string(text.substr(8, 2));
    std::vector<std::uint8_t> out = firmware;
    if (!HexPairs(text.substr(0, 4), out[7], out[6]) || !HexPairs(monthDay, out[5], out[4]))
        return false;
    firmware = std::move(out);
    return true;
}

}  // namespace

TEmulatorOptions ParseEmulatorOptions(const std::map<std::string, std::string>& extra,
                                      std::vector<std::string>* problems) {
    TEmulatorOptions options;
    TKeys keys(extra, problems);

    if (const std::string* v = keys.Find("MenuTransfer")) {
        std::string mode = Lower(*v);
        if (mode == "inline")
            options.menuTransfer = TMenuTransfer::Inline;
        else if (mode == "separate")
            options.menuTransfer = TMenuTransfer::Separate;
        else
            keys.Problem("MenuTransfer", *v);
    }
    keys.Unsigned("CleanMs", options.cleanMs);
    keys.Unsigned("DeepCleanMs", options.deepCleanMs);
    keys.Unsigned("RollerCleanMs", options.rollerCleanMs);
    keys.Unsigned("HeadChangeMs", options.headChangeMs);
    keys.Unsigned("BoxChangeMs", options.boxChangeMs);
    keys.Unsigned("MeasureMs", options.measureMs);
    keys.Flag("Busy", options.busy);
    keys.Flag("NoInkBox", options.noInkBox);
    keys.Flag("AllowLargeReplies", options.allowLargeReplies);
    keys.Flag("KeepStaleReplies", options.keepStaleReplies);
    keys.Unsigned("PassbookHeight", options.passbookHeight);
    keys.OptionalUnsigned("TotalPages", options.totalPages);
    keys.OptionalUnsigned("InkBoxPages", options.inkBoxPages);
    if (const std::string* v = keys.Find("ClockSeconds")) {
        if (auto n = TryStrToInt(*v))
            options.clockSeconds = static_cast<std::uint32_t>(*n);
        else
            keys.Problem("ClockSeconds", *v);
    }
    if (const std::string* v = keys.Find("HeadSerial")) options.headSerial = v->substr(0, 16);
    if (const std::string* v = keys.Find("NoiseHex")) {
        TBytes noise = HexTextToBytes(*v);
        if (noise.size() > kReadAllLimit / 2) noise.resize(kReadAllLimit / 2);
        options.noise = std::move(noise);
    }
    if (const std::string* v = keys.Find("FirmwareVersion"))
        if (!ParseVersion(*v, options.firmware)) keys.Problem("FirmwareVersion", *v);
    if (const std::string* v = keys.Find("FirmwareDate"))
        if (!ParseDate(*v, options.firmware)) keys.Problem("FirmwareDate", *v);
    if (const std::string* v = keys.Find("FirmwareHex")) {
        TBytes bytes = HexTextToBytes(*v);
        if (bytes.size() > 64) bytes.resize(64);
        options.firmware = std::move(bytes);
    }
    return options;
}

}  // namespace ps::emu
