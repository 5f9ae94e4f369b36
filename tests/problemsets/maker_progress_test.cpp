// However large the set, the maker's progress bar gets each percentage at most once, in order:
// one repaint per visible step, not one per line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "problemsets/maker_convert.h"
#include "problemsets/sjis.h"

namespace keyrook {
namespace {

TEST(MakerProgress, EachPercentageOnceInOrder) {
    for (int questions : {1, 3, 150, 20000}) {
        std::vector<std::string> lines;
        for (int i = 0; i < questions; ++i) {
            lines.push_back(keyrook::testing::sj("問題"));
            lines.push_back(keyrook::testing::sj(i % 3 ? "がっこう" : "しゃしんをとった"));
        }
        std::vector<int> seen;
        checkRomanLines(lines, [&](int p) { seen.push_back(p); });
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.front(), 0);
        EXPECT_EQ(seen.back(), 100);
        for (std::size_t i = 1; i < seen.size(); ++i) ASSERT_LT(seen[i - 1], seen[i]) << questions;
        EXPECT_LE(seen.size(), 101u);
        // A large set still moves the bar step by step.
        if (questions >= 150) {
            EXPECT_GT(seen.size(), 50u) << questions;
        }
    }
}

}  // namespace
}  // namespace keyrook
