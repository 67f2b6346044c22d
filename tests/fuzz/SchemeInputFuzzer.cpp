// SPDX-License-Identifier: MIT
// Fuzz target: scheme input takes any bytes. The INI reader, a whole scheme load with its item
// rules, and the packed-menu and model-name decoders must neither crash nor read outside their
// input; load errors are our own exceptions.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/IniFile.h"
#include "platform/UserInterface.h"
#include "scheme/PackedMenu.h"
#include "scheme/Scheme3.h"

namespace {

class TSilentUserInterface : public ps::TUserInterface {
public:
    ps::TMessageResult ShowMessage(const std::string&, const std::string&, ps::TMessageIcon,
                                   ps::TMessageButtons) override {
        return ps::TMessageResult::Ok;
    }
    void ProcessMessages() override {}
    void ShowWaiting(const std::string&, const std::string&) override {}
    void HideWaiting() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool installed = [] {
        ps::InstallUserInterface(std::make_unique<TSilentUserInterface>());
        return true;
    }();
    (void)installed;
    const std::string text(reinterpret_cast<const char*>(data), size);

    // The reader and the loader on the text as a menu file.
    const ps::TIniFile ini = ps::TIniFile::FromText(text);
    for (const std::string& section : ini.SectionNames())
        for (const std::string& key : ini.KeyNames(section))
            if (ini.ReadString(section, key, "").size() > 4 * ps::kMaxIniValueLength) std::abort();
    ps::TSchemeOptions2 scheme;
    try {
        scheme.LoadDriverSettings(&ini);
        scheme.LoadSettings(&ini);
        for (std::uint8_t page : {0, 1, 99, 128, 129, 191})
            for (std::int32_t i = 0; i < scheme.GetItemLength(page); ++i) {
                std::string title;
                scheme.GetTitleFromValue(page, i, title, static_cast<std::int32_t>(size));
            }
    } catch (const ps::EConvertError&) {
        // a rule that cannot be expanded ends the load: expected for bad input
    }

    // The same bytes as a model reply and as a menu payload (exact-size copies).
    std::vector<std::uint8_t> bytes(data, data + size);
    (void)ps::ModelNameFromReply(bytes);
    try {
        (void)ps::UnpackMenuPayload(bytes);
    } catch (const ps::EMenuUnpackError&) {
    }
    return 0;
}
