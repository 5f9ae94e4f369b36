#include <gtest/gtest.h>

#include "settings/own_spellings.h"

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
