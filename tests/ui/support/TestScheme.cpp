// SPDX-License-Identifier: MIT
// Test schemes.
#include "support/TestScheme.h"

#include <cstdio>

namespace ps::test {
namespace {

const char* SectionPrefix(int page) {
    switch (page) {
        case 0:
            return "Advance";
        case 99:
            return "Maintenance";
        case 128:
            return "SubGroup01";
        case 129:
            return "SubGroup02";
        case 191:
            return "SubGroup64";
        default:
            return "Base";
    }
}

// Count section of a page: "BaseSection", or the sub group's own name.
std::string CountSection(int page) {
    const std::string prefix = SectionPrefix(page);
    return page >= 128 ? prefix : prefix + "Section";
}

std::string IndexSection(int page) {
    return page == 0 ? "BaseItem00" : page == 99 ? "BaseItem99" : "BaseItemME";
}

}  // namespace

TTestScheme::TTestScheme() {
    m_Global = {{"PrinterName", "Talvenor Test"},
                {"MenuVersion", "0"},
                {"EnterInstruction", "1B 1D 1E 05 01 1B 1D 1F"},
                {"SaveInstruction", "1B 1D 1E 05 02 1B 1D 1F"},
                {"InstructionTail", "1B 1D 1F"},
                {"GetInstructionClass", "1B 1D 1E 05 03"},
                {"ReturnPrefix", "1B 1D 1E 05 03"},
                {"AffirmReadDisable", "0"},
                {"TimeOutItem", "800"},
                {"TimeOutPage", "800"},
                {"SleepBeforeRead", "30"},
                {"DriverVersion", "9.8.7.6"},
                {"WebAddress", "https://www.talvenor.example"}};
}

TTestScheme& TTestScheme::Global(const std::string& key, const std::string& value) {
    for (auto& [k, v] : m_Global) {
        if (k == key) {
            v = value;
            return *this;
        }
    }
    m_Global.emplace_back(key, value);
    return *this;
}

TTestScheme& TTestScheme::Index(int page, const std::string& icon, const std::string& title,
                                const std::string& note) {
    m_Index[page] = "Name=Page" + std::to_string(page) + "\r\nIcon=" + icon +
                    "\r\nTitle.EN=" + title + "\r\nTitle.CN=" + title + "\r\nNote.EN=" + note +
                    "\r\nNote.CN=" + note + "\r\n";
    return *this;
}

TTestScheme& TTestScheme::Page(int page, std::vector<TTestItem> items) {
    m_Pages[page] = std::move(items);
    return *this;
}

std::vector<TTestItem> TTestScheme::NumberedItems(int count, int firstCode) {
    static const char* icons[] = {"01_LINE_SPACING", "02_FORM_LENGTH", "03_FORM_LOCK",
                                  "04_HEAD_BLANK",   "07_COMPRESS",    "09_PRT_SPEED",
                                  "12_QUIET_MODE",   "13_AUTO_LF",     "18_FONT"};
    std::vector<TTestItem> items;
    for (int n = 1; n <= count; ++n) {
        char code[16];
        std::snprintf(code, sizeof code, "%02X", firstCode + n - 1);
        items.push_back({icons[(n - 1) % 9], "Item " + std::to_string(n), code,
                         "0=Off,1=On (factory),2=Auto", 1, "Note " + std::to_string(n)});
    }
    return items;
}

std::string TTestScheme::Text() const {
    std::string text = "[GlobalSettings]\r\n";
    for (const auto& [key, value] : m_Global) text += key + "=" + value + "\r\n";
    for (const auto& [page, body] : m_Index) text += "[" + IndexSection(page) + "]\r\n" + body;
    for (const auto& [page, items] : m_Pages) {
        const std::string prefix = SectionPrefix(page);
        text +=
            "[" + CountSection(page) + "]\r\nItemCount=" + std::to_string(items.size()) + "\r\n";
        for (std::size_t i = 0; i < items.size(); ++i) {
            const TTestItem& item = items[i];
            char number[24];
            std::snprintf(number, sizeof number, "%02zu", i + 1);
            const std::string name = item.name.empty() ? prefix + number : item.name;
            const std::string set =
                item.setInstruction.empty() ? "1B 1D 1E 05 04 " + item.code : item.setInstruction;
            text +=
                "[" + prefix + "Item" + number + "]\r\nName=" + name + "\r\nIcon=" + item.icon +
                "\r\nTitle.EN=" + item.title + "\r\nTitle.CN=" + item.title +
                "\r\nNote.EN=" + item.note + "\r\nExplain.EN=" + item.explain +
                "\r\nExplain.CN=" + item.explain + "\r\nGetInstruction=" + item.code +
                "\r\nSetInstruction=" + set + "\r\nParameterCount=" + std::to_string(item.bytes) +
                "\r\nRuleType=" + item.ruleType + "\r\nRule.EN=" + item.rule +
                "\r\nRule.CN=" + item.rule + "\r\nDefault=" + std::to_string(item.defaultValue) +
                "\r\nSubGroup=" + std::to_string(item.subGroup) + "\r\n";
        }
    }
    return text;
}

}  // namespace ps::test
