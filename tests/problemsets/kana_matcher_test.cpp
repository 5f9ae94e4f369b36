#include "problemsets/kana_matcher.h"

#include <gtest/gtest.h>

#include <set>

#include "base/cp932.h"
#include "base/files.h"
#include "problemsets/problem_set.h"
#include "sjis.h"

namespace keyrook {
namespace {

using testing::sj;

// Every character the reading decoder writes is typed with the key the layout names, and each
// press counts its statistics under the key's half-width legend.
TEST(KanaLayout, PressesAndStatisticsByPosition) {
    struct Case {
        const char* notation;
        KanaPress press;
        const char* statByte;
    };
    const Case cases[] = {
        {"ぬ", {2, false}, "ﾇ"},  {"を", {11, true}, "ｦ"},   {"ー", {124, false}, "ｰ"},
        {"゛", {26, false}, "ﾞ"}, {"゜", {27, false}, "ﾟ"},  {"「", {27, true}, "｢"},
        {"む", {43, false}, "ﾑ"}, {"」", {43, true}, "｣"},   {"っ", {44, true}, "ｯ"},
        {"ろ", {89, false}, "ﾛ"}, {"・", {53, true}, "･"},   {"ぃ", {18, true}, "ｨ"},
        {"1", {2, false}, "1"},   {"!", {2, true}, "!"},     {"?", {53, true}, "?"},
        {"_", {57, false}, "_"},  {" ", {57, false}, "_"},
    };
    for (const Case& c : cases) {
        const std::string n = sj(c.notation);
        EXPECT_EQ(kanaPressOf(n), c.press) << c.notation;
        EXPECT_TRUE(kanaPressTypes(c.press, n)) << c.notation;
        EXPECT_EQ(kanaStatByte(n), static_cast<unsigned char>(sj(c.statByte)[0])) << c.notation;
    }
    // Shift matters except on the space bar; letters, precomposed kana and unknown keys type
    // nothing.
    EXPECT_FALSE(kanaPressTypes({2, true}, sj("ぬ")));
    EXPECT_FALSE(kanaPressTypes({11, false}, sj("を")));
    EXPECT_TRUE(kanaPressTypes({57, true}, " "));
    EXPECT_EQ(kanaPressOf("k").code, 0);
    EXPECT_EQ(kanaPressOf(sj("が")).code, 0);
    EXPECT_FALSE(kanaPressTypes({0, false}, ""));
    EXPECT_FALSE(kanaPressTypes({200, false}, sj("ぬ")));
    // ANSI keyboards: ろ on the key left of 1, ー with Shift there.
    EXPECT_TRUE(kanaPressTypes({kKanaCodeGrave, false}, sj("ろ")));
    EXPECT_TRUE(kanaPressTypes({kKanaCodeGrave, true}, sj("ー")));
    EXPECT_EQ(kanaCodeOfXkbKeycode(132), kKanaCodeYen);
    EXPECT_EQ(kanaCodeOfXkbKeycode(0), 0);

    // 48 kana keys and the space bar, one position each.
    std::set<int> codes;
    for (const KanaKey& k : kanaKeys()) EXPECT_TRUE(codes.insert(k.code).second) << k.code;
    EXPECT_EQ(codes.size(), 49u);  // with the space bar
}

struct Typed {
    std::string judged, remaining, text;
};

Typed typePresses(KanaMatcher& m, const char* code, std::initializer_list<const char*> presses) {
    m.start(code);
    Typed t;
    for (const char* p : presses) {
        const KeyJudgement j = m.press(kanaPressOf(sj(p)));
        t.judged += j == KeyJudgement::Hit ? 'H' : j == KeyJudgement::Miss ? 'M' : '.';
    }
    t.remaining = cp932ToUtf8(m.remainingPresses());
    t.text = cp932ToUtf8(m.remainingText());
    return t;
}

TEST(KanaMatcher, VoicedKanaShowTheirMarkStillDue) {
    KanaMatcher m;
    Typed t = typePresses(m, "GA18KOU", {"か"});
    EXPECT_EQ(t.judged, "H");
    EXPECT_EQ(t.remaining, "゛っこう");
    EXPECT_EQ(t.text, "゛っこう");
    EXPECT_EQ(cp932ToUtf8(m.due()), "゛");
    EXPECT_EQ(m.presses(), 5);

    // A miss does not advance; a press after the end is ignored.
    t = typePresses(m, "PIANO", {"ひ", "ひ", "゛", "゜", "あ", "の", "の"});
    EXPECT_EQ(t.judged, "HMMHHH.");
    EXPECT_TRUE(m.complete());

    t = typePresses(m, "", {"あ"});
    EXPECT_EQ(t.judged, ".");
    EXPECT_EQ(m.presses(), 0);

    // The blank is the space bar, shown as "_"; full-width digits their ASCII key.
    t = typePresses(m, "A_9192", {});
    EXPECT_EQ(t.text, "あ_１２");
    EXPECT_EQ(t.remaining, "あ_12");
}

// Every question of the sample sets can be typed without a miss by pressing what is due.
TEST(KanaMatcher, EverySampleQuestionTypes) {
    int questions = 0;
    const std::string dir = std::string(KEYROOK_SOURCE_DIR) + "/assets/data";
    for (const std::string& file : listFiles(dir, ".std")) {
        const auto lines = loadProblemSet(dir + "/" + file);
        if (lines.empty() || parseHeader(lines[0]).plainReadings) continue;
        KanaMatcher m;
        for (std::size_t i = 2; i < lines.size(); i += 2) {
            m.start(lines[i]);
            int presses = 0;
            while (!m.complete()) {
                ASSERT_EQ(m.press(kanaPressOf(m.due())), KeyJudgement::Hit)
                    << file << " " << cp932ToUtf8(lines[i]) << " " << cp932ToUtf8(m.due());
                ++presses;
            }
            EXPECT_EQ(presses, m.presses());
            ++questions;
        }
    }
    EXPECT_GT(questions, 50);
}

}  // namespace
}  // namespace keyrook
