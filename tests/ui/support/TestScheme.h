// SPDX-License-Identifier: MIT
// Menu schemes written for UI tests: global settings, page entry items and item pages.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace ps::test {

struct TTestItem {
    std::string icon;
    std::string title;
    std::string code;  // GetInstruction and last byte of SetInstruction ("10")
    std::string rule;  // ENUM rule text ("0=Off,1=On")
    int bytes = 1;
    std::string note;
    int subGroup = 0;  // SubGroup key: a written value leads on to this sub group
    int defaultValue = 0;
    std::string name = {};            // Name (empty: the section's own name)
    std::string explain = {};         // Explain, shown by the ink maintenance pages
    std::string setInstruction = {};  // SetInstruction (empty: "1B 1D 1E 05 04 " + code)
    std::string ruleType = "ENUM";
};

class TTestScheme {
public:
    TTestScheme();
    /// A key of [GlobalSettings] (replaces the default).
    TTestScheme& Global(const std::string& key, const std::string& value);
    /// The entry item of page 100 ("BaseItemME"), 0 ("BaseItem00") or 99 ("BaseItem99").
    TTestScheme& Index(int page, const std::string& icon, const std::string& title,
                       const std::string& note = {});
    /// The items of page 100 ("Base"), 0 ("Advance"), 99 ("Maintenance") or of a sub group
    /// page 128, 129, 191 ("SubGroup01", "SubGroup02", "SubGroup64").
    TTestScheme& Page(int page, std::vector<TTestItem> items);
    /// `count` items with icons from the shipped set, codes 0x10 + n, titles "Item N".
    static std::vector<TTestItem> NumberedItems(int count, int firstCode = 0x10);
    std::string Text() const;

private:
    std::vector<std::pair<std::string, std::string>> m_Global;
    std::map<int, std::string> m_Index;
    std::map<int, std::vector<TTestItem>> m_Pages;
};

}  // namespace ps::test
