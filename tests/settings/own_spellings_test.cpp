#include <gtest/gtest.h>

#include "settings/own_spellings.h"
#include "settings/variant_settings.h"

namespace keyrook {
namespace {

TEST(OwnSpellings, ListRules) {
    using L = std::vector<std::string>;
    EXPECT_EQ(ownSpellingList({"sha", "SHA", ""}), L{"SHA"});
    EXPECT_EQ(ownSpellingList({"", "", "si", "shi", "Si", "ci"}), (L{"SI", "SHI", "CI"}));
    EXPECT_TRUE(ownSpellingList({"", ""}).empty());
    // A blank is kept: it is typed with the space bar.
    EXPECT_EQ(ownSpellingList({"s i"}), L{"S I"});
}

TEST(OwnSpellings, SelectionIsKeptOrMovesToTheLastSpelling) {
    EXPECT_EQ(selectionAfterReplace(2, 2), 1);  // third chosen, two left: the second
    EXPECT_EQ(selectionAfterReplace(1, 3), 1);
    EXPECT_EQ(selectionAfterReplace(-1, 3), 2);
    EXPECT_EQ(selectionAfterReplace(0, 1), 0);
}

TEST(OwnSpellings, EntriesSkipGroupEighteen) {
    EXPECT_EQ(ownStyleGroupOfEntry(0), 1);
    EXPECT_EQ(ownStyleGroupOfEntry(16), 17);
    EXPECT_EQ(ownStyleGroupOfEntry(17), 19);
    EXPECT_EQ(ownStyleGroupOfEntry(19), 21);  // "小字" between ちぃ and しぃ
    EXPECT_EQ(ownStyleGroupOfEntry(21), 23);
}

}  // namespace
}  // namespace keyrook

namespace keyrook {
namespace {

TEST(VariantSettings, AListOfMoreThanThirtyTwoSpellingsIsRefusedAndTheGroupKept) {
    std::string lines = "[RadioGroup1]\r\nItems0=  Obj.Strings = (\r\n";
    for (int i = 0; i < 33; ++i)
        lines += "Items" + std::to_string(i + 1) + "=    'S" + std::to_string(i) + "'" +
                 (i == 32 ? ")" : "") + "\r\n";
    VariantTable table;
    const auto before = table.group(1)->items;
    const auto problems = loadVariantSettings(IniDocument(lines), table);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "[RadioGroup1] Items: 綴りが 33 個あります（32 個まで）");
    EXPECT_EQ(table.group(1)->items, before);
}

}  // namespace
}  // namespace keyrook
