// SPDX-License-Identifier: MIT
// Item rules: ENUM and SERIAL expansion, rule messages, load-ending rules, value titles.
#include <gtest/gtest.h>

#include <algorithm>

#include "scheme/Scheme3.h"
#include "support/TestSupport.h"

namespace ps {
namespace {

using Values = std::vector<std::int32_t>;
using Titles = std::vector<std::string>;

TSettingItem Parse(const std::string& type, const std::string& rule,
                   const std::string& title = "Item") {
    TSettingItem item;
    item.RuleType = type;
    item.RuleString = rule;
    item.Title = title;
    ParseItemRule(item, "BaseItem01");
    EXPECT_EQ(item.nRuleValueCount, item.RuleValues.RuleValue.size());
    EXPECT_EQ(item.RuleValues.RuleTitle.size(), item.RuleValues.RuleValue.size());
    return item;
}

TEST(Scheme3Rules, EnumEntries) {
    test::TScopedRecorder recorder;
    auto item = Parse("enum", "0=Off,1=On");
    EXPECT_EQ(item.RuleValues.RuleValue, (Values{0, 1}));
    EXPECT_EQ(item.RuleValues.RuleTitle, (Titles{"Off", "On"}));
    EXPECT_EQ(Parse("ENUMS", "0=Off").nRuleValueCount, 0u);
    EXPECT_EQ(Parse("", "0=Off").nRuleValueCount, 0u);

    // Literal \r separators, blanks around '=', leading line breaks.
    item = Parse("ENUM", "\\r 0 = Off \\r1=On\\r\\r");
    EXPECT_EQ(item.RuleValues.RuleValue, (Values{0, 1}));
    EXPECT_EQ(item.RuleValues.RuleTitle, (Titles{"Off", "On"}));

    // Quoted entries keep commas; doubled quotes stand for one; carets and backticks.
    item = Parse("ENUM", "\"1=One, first\",\"2=Say \"\"hi\"\"\",3=a^b`c,$10=hex,0x20=hex2,-3=neg");
    EXPECT_EQ(item.RuleValues.RuleValue, (Values{1, 2, 3, 16, 32, -3}));
    EXPECT_EQ(item.RuleValues.RuleTitle,
              (Titles{"One, first", "Say \"hi\"", "a b\tc", "hex", "hex2", "neg"}));

    // Blanks inside a title survive; a tab becomes a tab again.
    item = Parse("ENUM", "5=A4 paper\t(210 mm),6=x");
    EXPECT_EQ(item.RuleValues.RuleTitle, (Titles{"A4 paper\t(210 mm)", "x"}));
    EXPECT_TRUE(recorder->messages.empty());
}

TEST(Scheme3Rules, EnumNamesThatAreNoIntegers) {
    test::TScopedRecorder recorder;
    recorder->ExpectBoxes(3);
    auto item = Parse("ENUM", "0=Off,x=Bad,NoEquals,7=Seven,", "Paper \"A\"");
    EXPECT_EQ(item.RuleValues.RuleValue, (Values{0, 0, 0, 7, 0}));
    EXPECT_EQ(item.RuleValues.RuleTitle, (Titles{"Off", "Bad", "", "Seven", ""}));
    ASSERT_EQ(recorder->messages.size(), 3u);
    EXPECT_EQ(recorder->messages[0].caption, "Rule parse error");
    EXPECT_EQ(recorder->messages[0].icon, TMessageIcon::Error);
    EXPECT_EQ(recorder->messages[0].text, "while parseing Enum rule\"Paper \"A\"\"(1)Exception !");
    EXPECT_EQ(recorder->messages[1].text, "while parseing Enum rule\"Paper \"A\"\"(2)Exception !");
    EXPECT_EQ(recorder->messages[2].text, "while parseing Enum rule\"Paper \"A\"\"(4)Exception !");
}

TEST(Scheme3Rules, SerialRanges) {
    test::TScopedRecorder recorder;
    auto item = Parse("SERIAL", "Min=0,Max=10,Step=5,DisplayAdd=1,Title=mm");
    EXPECT_EQ(item.RuleValues.RuleValue, (Values{0, 5, 10}));
    EXPECT_EQ(item.RuleValues.RuleTitle, (Titles{"1mm", "6mm", "11mm"}));

    item = Parse("serial", "Min=10,Max=0,Step=-5,DisplayAdd=0");
    EXPECT_EQ(item.RuleValues.RuleValue, (Values{0, 5, 10}));
    EXPECT_EQ(item.RuleValues.RuleTitle, (Titles{"0", "5", "10"}));

    item = Parse("SERIAL", "min=0\\rMAX=9\\rstep=4\\rdisplayadd=-1\\rTitle=^units");
    EXPECT_EQ(item.RuleValues.RuleValue, (Values{0, 4, 8}));
    EXPECT_EQ(item.RuleValues.RuleTitle, (Titles{"-1 units", "3 units", "7 units"}));

    // The first entry of a keyword counts; unknown entries are ignored.
    item = Parse("SERIAL", "Min=1,Min=5,Max=2,Step=1,DisplayAdd=0,Other=x");
    EXPECT_EQ(item.RuleValues.RuleValue, (Values{1, 2}));

    // Limits of the 32-bit range: no overflow in the count or the steps.
    item = Parse("SERIAL", "Min=-2147483648,Max=2147483647,Step=1073741824,DisplayAdd=0");
    EXPECT_EQ(item.RuleValues.RuleValue, (Values{INT32_MIN, -1073741824, 0, 1073741824}));
    item = Parse("SERIAL", "Min=2147483647,Max=2147483647,Step=-2147483648,DisplayAdd=1");
    EXPECT_EQ(item.RuleValues.RuleValue, (Values{INT32_MAX}));
    EXPECT_EQ(item.RuleValues.RuleTitle, (Titles{"2147483648"}));
    EXPECT_TRUE(recorder->messages.empty());
}

TEST(Scheme3Rules, SerialMillimetres) {
    test::TScopedRecorder recorder;
    auto item = Parse("SERIAL", "Min=0,Max=10,Step=5,DisplayAdd=0,mmMultiply=0.254");
    EXPECT_EQ(item.RuleValues.RuleTitle,
              (Titles{"0\t ( 0.00mm )", "5\t ( 1.27mm )", "10\t ( 2.54mm )"}));
    // The product uses the value, not value + DisplayAdd; the unit title comes first.
    item = Parse("SERIAL", "Min=-2,Max=2,Step=2,DisplayAdd=100,mmMultiply=-0.1,Title=x");
    EXPECT_EQ(item.RuleValues.RuleTitle,
              (Titles{"98x\t ( 0.20mm )", "100x\t ( 0.00mm )", "102x\t ( -0.20mm )"}));
    item = Parse("SERIAL", "Min=0,Max=10,Step=5,DisplayAdd=0,mmMultiply=0.0005");
    EXPECT_EQ(item.RuleValues.RuleTitle, (Titles{"0", "5", "10"}));
    // Exact halves round away from zero; large products keep every digit.
    item = Parse("SERIAL", "Min=-1,Max=1,Step=2,DisplayAdd=0,mmMultiply=0.125");
    EXPECT_EQ(item.RuleValues.RuleTitle, (Titles{"-1\t ( -0.13mm )", "1\t ( 0.13mm )"}));
    item = Parse("SERIAL", "Min=2000000000,Max=2000000000,Step=1,DisplayAdd=0,mmMultiply=1000");
    EXPECT_EQ(item.RuleValues.RuleTitle, (Titles{"2000000000\t ( 2000000000000.00mm )"}));
    item = Parse("SERIAL", "Min=0,Max=1,Step=1,DisplayAdd=0,mmMultiply=0,5");
    EXPECT_EQ(item.RuleValues.RuleTitle, (Titles{"0", "1"}));
    item = Parse("SERIAL", "Min=0,Max=1,Step=1,DisplayAdd=0,mmMultiply=abc");
    EXPECT_EQ(item.RuleValues.RuleTitle, (Titles{"0", "1"}));
}

TEST(Scheme3Rules, SerialRulesThatEndTheLoad) {
    test::TScopedRecorder recorder;
    auto message = [](const std::string& rule) {
        try {
            Parse("SERIAL", rule, "Width");
        } catch (const ESchemeLoadError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message("Min=0,Max=10,Step=0,DisplayAdd=0"),
              "Step=0 in the SERIAL rule of item \"Width\" in [BaseItem01]: a zero step lists "
              "no values");
    EXPECT_EQ(message("Min=0,Max=x1,Step=1,DisplayAdd=0"),
              "'x1' is not a valid integer value (Max of the SERIAL rule of item \"Width\" in "
              "[BaseItem01])");
    // A blank before '=' means the keyword is not there.
    EXPECT_EQ(message("Min =0,Max=1,Step=1,DisplayAdd=0"),
              "'' is not a valid integer value (Min of the SERIAL rule of item \"Width\" in "
              "[BaseItem01])");
    EXPECT_EQ(message("Min=0,Max=1,Step=1,DisplayAdd=4000000000").substr(0, 38),
              "'4000000000' is not a valid integer va");
    EXPECT_EQ(message("Min=-2147483648,Max=2147483647,Step=1,DisplayAdd=0"),
              "the SERIAL rule of item \"Width\" in [BaseItem01] lists 4294967296 values "
              "(Min=-2147483648, Max=2147483647, Step=1), more than the limit of 100000");
    EXPECT_TRUE(recorder->messages.empty());

    // Fewer than four entries: the message first, then the missing keyword ends the load.
    recorder->ExpectBoxes(1);
    EXPECT_EQ(message("Min=0,Max=2,Step=1"),
              "'' is not a valid integer value (DisplayAdd of the SERIAL rule of item "
              "\"Width\" in [BaseItem01])");
    ASSERT_EQ(recorder->messages.size(), 1u);
    EXPECT_EQ(recorder->messages[0].caption, "Rule parse error");
    EXPECT_EQ(recorder->messages[0].text,
              "while parseing Serial rule\"Width\"Exception !\r\nMay be leak to write a key word");

    // At the limit itself the range is accepted.
    EXPECT_EQ(Parse("SERIAL", "Min=1,Max=100000,Step=1,DisplayAdd=0").nRuleValueCount, 100000u);
}

// The SERIAL expansion written out in full, as a reference for the computed lists.
struct TEagerSerial {
    Values values;
    Titles titles;
};
TEagerSerial Expand(std::int64_t min, std::int64_t max, std::int64_t step, std::int64_t add,
                    const std::string& unit, const std::string& millimetres) {
    if (min > max) std::swap(min, max);
    if (step < 0) step = -step;
    TEagerSerial out;
    for (std::int64_t v = min; v <= max; v += step) {
        out.values.push_back(static_cast<std::int32_t>(v));
        out.titles.push_back(std::to_string(v + add) + unit + millimetres);
    }
    return out;
}

TEST(Scheme3Rules, ComputedSerialListsMatchTheFullExpansion) {
    test::TScopedRecorder recorder;
    const struct {
        std::int64_t min, max, step, add;
        std::string unit;
    } rules[] = {{0, 10, 5, 1, "mm"},
                 {10, 0, -5, 0, ""},
                 {0, 9, 4, -1, " units"},
                 {-7, 7, 3, 100, "/60 inch"},
                 {2147483640, 2147483647, 2, 1, ""},
                 {-2147483648, -2147483645, 1, -1, "x"}};
    for (const auto& r : rules) {
        const std::string text = "Min=" + std::to_string(r.min) + ",Max=" + std::to_string(r.max) +
                                 ",Step=" + std::to_string(r.step) +
                                 ",DisplayAdd=" + std::to_string(r.add) + ",Title=" + r.unit;
        const TSettingItem item = Parse("SERIAL", text);
        const TEagerSerial eager = Expand(r.min, r.max, r.step, r.add, r.unit, "");
        ASSERT_NE(item.RuleValues.Serial(), nullptr) << text;
        EXPECT_EQ(item.RuleValues.RuleValue, eager.values) << text;
        EXPECT_EQ(item.RuleValues.RuleTitle, eager.titles) << text;
        EXPECT_EQ(item.RuleValues.RuleTitle.ToVector(), eager.titles) << text;

        // Every value finds its own entry; neighbours off the step and the ends find none.
        const std::int64_t lo = std::min(r.min, r.max), hi = std::max(r.min, r.max);
        for (std::int64_t v = std::max<std::int64_t>(lo - 3, INT32_MIN);
             v <= std::min<std::int64_t>(hi + 3, INT32_MAX); ++v) {
            const auto at = std::find(eager.values.begin(), eager.values.end(), v);
            const auto found = item.RuleValues.LastIndexOf(static_cast<std::int32_t>(v));
            if (at == eager.values.end()) {
                EXPECT_FALSE(found.has_value()) << text << " value " << v;
            } else {
                EXPECT_EQ(found, static_cast<std::size_t>(at - eager.values.begin())) << text;
            }
        }
    }

    // The millimetre suffix is computed from the value, as the full expansion shows it.
    const TSettingItem mm = Parse("SERIAL", "Min=-1,Max=1,Step=1,DisplayAdd=5,mmMultiply=0.125");
    EXPECT_EQ(mm.RuleValues.RuleTitle,
              (Titles{"4\t ( -0.13mm )", "5\t ( 0.00mm )", "6\t ( 0.13mm )"}));

    // A copied item keeps its lists; titles are found without listing the range.
    TSchemeOptions2 scheme;
    TSettingItem wide = Parse("SERIAL", "Min=0,Max=100000,Step=2,DisplayAdd=1,Title=u");
    wide.nParameterByte = 2;
    scheme.m_BaseItems.push_back(wide);
    std::string title;
    scheme.GetTitleFromValue(kPageBase, 0, title, 99998);
    EXPECT_EQ(title, "99999u");
    scheme.GetTitleFromValue(kPageBase, 0, title, 99999);
    EXPECT_EQ(title, "");
    TSettingItem copy;
    ASSERT_TRUE(scheme.GetItem(kPageBase, 0, copy));
    EXPECT_EQ(copy.RuleValues.Count(), 50001u);
    EXPECT_EQ(copy.RuleValues.Title(50000), "100001u");
}

TEST(Scheme3Rules, TitleLengthBoundCoversEveryTitle) {
    test::TScopedRecorder recorder;
    for (const char* rule : {"Min=-100,Max=9,Step=1,DisplayAdd=0,Title=ab",
                             "Min=-5,Max=1000,Step=7,DisplayAdd=-3,mmMultiply=-2.5",
                             "Min=0,Max=0,Step=1,DisplayAdd=0", "0=Off,1=On,2=Longer title"}) {
        const std::string type = std::string(rule).find("Min") == 0 ? "SERIAL" : "ENUM";
        const TSettingItem item = Parse(type, rule);
        std::size_t total = 0;
        for (const std::string& t : item.RuleValues.RuleTitle) total += t.size();
        EXPECT_GE(item.RuleValues.TitleBytesAtMost(), total) << rule;
        if (type == "ENUM") {
            EXPECT_EQ(item.RuleValues.TitleBytesAtMost(), total) << rule;
        }
    }
}

TEST(Scheme3Rules, TitlesFromValues) {
    test::TScopedRecorder recorder;
    g_GlobalString.NO = "none";
    TSchemeOptions2 scheme;
    auto add = [&](std::uint32_t bytes, const std::string& rule) {
        TSettingItem item = Parse("ENUM", rule);
        item.nParameterByte = bytes;
        scheme.m_BaseItems.push_back(item);
    };
    add(1, "1=Yes,2=No,1=Again");
    add(3, "1=a,2=b,3=c");
    add(4, "1=a");
    std::string many;
    for (int i = 1; i <= 30; ++i) many += std::to_string(i) + "=f" + std::to_string(i) + ",";
    many.pop_back();
    add(3, many);
    add(2, "513=wide");

    auto title = [&](int index, std::int32_t key) {
        std::string text = "stale";
        scheme.GetTitleFromValue(kPageBase, index, text, key);
        return text;
    };
    EXPECT_EQ(title(0, 1), "Again");
    EXPECT_EQ(title(0, 2), "No");
    EXPECT_EQ(title(0, 3), "");
    EXPECT_EQ(title(4, 513), "wide");
    EXPECT_EQ(title(1, 0), "none");
    EXPECT_EQ(title(1, 0xE00000), "1, 2, 3");
    EXPECT_EQ(title(1, 0xA00000), "1, 3");
    EXPECT_EQ(title(1, 1), "none");  // bit 0 lies beyond the three entries
    EXPECT_EQ(title(2, 1), "");
    EXPECT_EQ(title(3, 1), "24");  // entries beyond the 24th name no bit
    EXPECT_EQ(title(3, -1).substr(0, 10), "1, 2, 3, 4");
    EXPECT_EQ(title(3, -1).substr(title(3, -1).size() - 6), "23, 24");
    EXPECT_EQ(title(5, 1), "");
    EXPECT_EQ(title(-1, 1), "");
    std::string text = "stale";
    scheme.GetTitleFromValue(kPageAdvance, 0, text, 1);
    EXPECT_EQ(text, "");
    g_GlobalString.NO.clear();
}

}  // namespace
}  // namespace ps
