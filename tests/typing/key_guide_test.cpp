#include "typing/key_guide.h"

#include <gtest/gtest.h>

#include <string>

#include "base/cp932.h"

namespace keyrook {
namespace {

TEST(KeyGuide, NextKeysFingersAndShift) {
    struct Case {
        char c;
        char key;
        bool shift;
        Finger finger;
    } cases[] = {
        {'A', 'A', false, Finger::LeftPinky},   {'k', 'K', false, Finger::RightMiddle},
        {'F', 'F', false, Finger::LeftIndex},   {'J', 'J', false, Finger::RightIndex},
        {'B', 'B', false, Finger::LeftIndex},   {'Y', 'Y', false, Finger::RightIndex},
        {'_', '_', false, Finger::Thumb},       {' ', '_', false, Finger::Thumb},
        {'-', '-', false, Finger::RightPinky},  {'!', '1', true, Finger::LeftPinky},
        {'?', '/', true, Finger::RightPinky},   {'.', '.', false, Finger::RightRing},
        {'2', '2', false, Finger::LeftRing},    {'(', '8', true, Finger::RightMiddle},
    };
    for (const Case& c : cases) {
        const auto key = romajiGuide().keyFor(c.c);
        ASSERT_TRUE(key) << c.c;
        EXPECT_EQ(*key, (GuideKey{c.key, c.shift})) << c.c;
        EXPECT_EQ(fingerOf(key->key), c.finger) << c.c;
    }
    EXPECT_FALSE(romajiGuide().keyFor('\x82'));
    EXPECT_FALSE(romajiGuide().keyFor('\0'));
    // Every key of the picture has a finger and its table a legend; the two hands share colours.
    for (const std::string& row : guideRows())
        for (char k : row) EXPECT_EQ(romajiGuide().keyFor(k), (GuideKey{k, false})) << k;
    EXPECT_EQ(fingerColor(Finger::LeftIndex), fingerColor(Finger::RightIndex));
    EXPECT_NE(fingerColor(Finger::LeftIndex), fingerColor(Finger::LeftMiddle));
}

TEST(KeyGuide, PaceCountsTheLastTenSecondsAndAccuracyTheSession) {
    LivePace pace;
    EXPECT_EQ(pace.speedText(0), "---" + cp932Of(" 打/分"));
    pace.update(1, 5000);
    pace.update(2, 5200);
    EXPECT_EQ(pace.speedText(5200), "120" + cp932Of(" 打/分"));  // two keys over the first second
    for (int i = 3; i <= 52; ++i) pace.update(i, 5200 + static_cast<std::uint32_t>(i - 2) * 200);
    EXPECT_EQ(pace.speedText(15200), "300" + cp932Of(" 打/分"));   // 50 keys in the last 10 s
    EXPECT_EQ(pace.speedText(20200), "150" + cp932Of(" 打/分"));   // 5 s without a key
    EXPECT_EQ(pace.speedText(40000), "0" + cp932Of(" 打/分"));
    pace.update(0, 50000);  // a new session
    EXPECT_EQ(pace.speedText(50000), "---" + cp932Of(" 打/分"));

    EXPECT_EQ(accuracyText(0, 0), "---");
    EXPECT_EQ(accuracyText(97, 3), "97.0 %");
    EXPECT_EQ(accuracyText(2, 1), "66.7 %");
}

}  // namespace
}  // namespace keyrook
