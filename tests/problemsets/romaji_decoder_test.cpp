#include "problemsets/romaji_decoder.h"

#include <gtest/gtest.h>

#include "problemsets/variant_table.h"
#include "problemsets/sjis.h"

namespace keyrook {
namespace {

VariantTable withSelection(std::initializer_list<std::pair<int, int>> picks) {
    VariantTable t;
    for (auto [group, item] : picks) t.group(group)->itemIndex = item;
    return t;
}

struct ChangerCase {
    std::string code;
    std::string romaji;
};

TEST(Changer, DefaultSpellings) {
    const VariantTable defaults;
    const ChangerCase cases[] = {
        {"", ""},
        {"GA18KOU", "GAKKOU"},
        {"0501NN", "SYASINN"},
        {"1802", "TTI"},
        {"1618TO", "TYOTTO"},
        {"KYA", "KYA"},
        {"@A", "XA"},
        {"95", "5"},
        {"909599", "059"},
        {"18KA", "KKA"},
        {"18-", "-"},  // no sign is doubled
        {"A18!", "A!"},
        {"18@U", "XXU"},
        {"-_,.!?", "-_,.!?"},
        {"abc", "abc"},  // lower case passes through
        {"18ka", "kka"},
        // codes the encoder never writes
        {"1818KA", "KKKA"},
        {"1895", "5"},
        {"00", "00"},
        {"24", "24"},
        {"89KA", "89KA"},
        {"1824", "24"},
        {"18", ""},
        {"KA18", "KA"},
        {"1", "1"},
        {"KA0", "KA0"},
        {"0A", "0A"},
        {"9@", "9X"},
        {"1@", "1X"},
        {"\x83\x40", "\x83\x40"},  // ァ: its trail byte is "@"
        {"18\x83\x40", "\x83\x40"},
    };
    for (const auto& c : cases) EXPECT_EQ(Changer(c.code, defaults, false), c.romaji) << c.code;
}

TEST(Changer, FollowsTheSelection) {
    const ChangerCase chi[] = {{"1802", "CCHI"}, {"02", "CHI"}};
    for (const auto& c : chi)
        EXPECT_EQ(Changer(c.code, withSelection({{2, 1}}), false), c.romaji) << c.code;
    EXPECT_EQ(Changer("@A18@U", withSelection({{21, 1}}), false), "LALLU");
    EXPECT_EQ(Changer("1810", withSelection({{10, 2}}), false), "JJA");
}

TEST(Changer, PlainReadingsReturnsTheLine) {
    const VariantTable defaults;
    for (std::string line : {"0501@18", "School 95", "", "\x83\x40"})
        EXPECT_EQ(Changer(line, defaults, true), line);
}

// A group with no spelling selected yields nothing, also for a small tsu before it.
TEST(Changer, GroupWithoutSelection) {
    VariantTable t;
    t.group(1)->itemIndex = -1;
    t.group(21)->items.clear();
    EXPECT_EQ(Changer("01KA", t, false), "KA");
    EXPECT_EQ(Changer("1801", t, false), "");
    EXPECT_EQ(Changer("18@A", t, false), "A");
}

TEST(Changer, LongSmallTsuRunStaysLinear) {
    std::string code;
    for (int i = 0; i < 200000; ++i) code += "18";
    code += "KA";
    const std::string out = Changer(code, VariantTable(), false);
    EXPECT_EQ(out, std::string(200001, 'K') + "A");
}

struct PresetCase {
    const char* code;
    const char* byDefault;
    const char* hepburn;     // from the defaults
    const char* romanFromLast;  // from the last item selected everywhere
};

TEST(Changer, PresetsOnEveryGroup) {
    const PresetCase cases[] = {
        {"01", "SI", "SHI", "SI"},      {"02", "TI", "CHI", "TI"},      {"03", "TU", "TSU", "TU"},
        {"04", "FU", "HU", "FU"},       {"05", "SYA", "SHA", "SYA"},    {"06", "SYU", "SHU", "SYU"},
        {"07", "SYO", "SHO", "SYO"},    {"08", "SYE", "SHE", "SYE"},    {"09", "ZI", "JI", "ZI"},
        {"10", "ZYA", "ZYA", "ZYA"},    {"11", "ZYU", "ZYU", "ZYU"},    {"12", "ZYO", "ZYO", "ZYO"},
        {"13", "ZYE", "ZYE", "ZYE"},    {"14", "TYA", "CHA", "TYA"},    {"15", "TYU", "CHU", "TYU"},
        {"16", "TYO", "CHO", "TYO"},    {"17", "TYE", "CHE", "TYE"},    {"19", "ZYI", "ZYI", "ZYI"},
        {"20", "TYI", "TYI", "TYI"},    {"@", "X", "X", "L"},           {"22", "SYI", "SYI", "SHILI"},
        {"23", "THI", "THI", "TELI"},
    };
    VariantTable hepburn;
    hepburn.applyHepburn();
    VariantTable roman;
    for (auto& g : roman.groups()) g.itemIndex = static_cast<int>(g.items.size()) - 1;
    roman.applyRoman();
    for (const auto& c : cases) {
        EXPECT_EQ(Changer(c.code, VariantTable(), false), c.byDefault) << c.code;
        EXPECT_EQ(Changer(c.code, hepburn, false), c.hepburn) << c.code;
        EXPECT_EQ(Changer(c.code, roman, false), c.romanFromLast) << c.code;
    }
}

TEST(VariantTable, GroupsAndCaptions) {
    VariantTable t;
    EXPECT_EQ(t.groups().size(), 22u);
    for (int n : {0, 18, 24, -1}) EXPECT_EQ(t.group(n), nullptr) << n;
    EXPECT_EQ(t.group(19)->number, 19);
    EXPECT_EQ(t.group(21)->caption, testing::sj("小字"));
    EXPECT_EQ(t.group(14)->caption, testing::sj("ちゃ"));
    EXPECT_EQ(t.group(23)->items, (std::vector<std::string>{"THI", "TELI"}));
}

// A user may shorten a list to one spelling: a preset then selects what exists.
TEST(VariantTable, PresetsOnShortenedLists) {
    VariantTable t;
    t.group(1)->items = {"SHI"};
    t.group(2)->items.clear();
    t.applyHepburn();
    EXPECT_EQ(t.group(1)->itemIndex, 0);
    EXPECT_EQ(t.group(2)->itemIndex, -1);
    EXPECT_EQ(t.group(2)->selected(), "");
    t.group(3)->itemIndex = 7;
    EXPECT_EQ(t.group(3)->selected(), "");
}

}  // namespace
}  // namespace keyrook
