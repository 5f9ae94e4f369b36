#include "records/key_analysis.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/files.h"
#include "problemsets/problem_set.h"
#include "problemsets/sjis.h"
#include "records/weak_key_set.h"
#include "support/temp_dir.h"

namespace keyrook {
namespace {

using keyrook::testing::sj;

StoredKeyStats session(std::vector<std::pair<unsigned char, KeyCount>> keys) {
    StoredKeyStats s;
    for (auto& [k, c] : keys) s.entries.push_back({k, c});
    return s;
}

TEST(KeyAnalysis, RangesTakeTheLastSessionsAndMergeTheSpaceBar) {
    std::vector<StoredKeyStats> sessions;
    for (int i = 1; i <= 60; ++i) sessions.push_back(session({{'A', {static_cast<std::uint64_t>(i), 1, 100, 1, {}}}}));
    sessions.back().entries.push_back({' ', {3, 0, 30, 3, {}}});
    sessions.back().entries.push_back({'_', {1, 1, 10, 1, {}}});
    sessions.back().entries.push_back({'b', {2, 0, 0, 0, {}}});

    struct Case {
        KeyRange range;
        std::uint64_t hits;
        int sessions;
    } cases[] = {{KeyRange::Last10, 51 + 52 + 53 + 54 + 55 + 56 + 57 + 58 + 59 + 60, 10},
                 {KeyRange::Last50, (11 + 60) * 50 / 2, 50},
                 {KeyRange::All, 60 * 61 / 2, 60}};
    for (const Case& c : cases) {
        const KeyAnalysis a = analyseKeyStats(sessions, rangeSessions(c.range));
        EXPECT_EQ(a.keys['A'].hits, c.hits);
        EXPECT_EQ(a.keys['A'].misses, static_cast<std::uint64_t>(c.sessions));
        EXPECT_EQ(a.sessions, c.sessions);
        EXPECT_EQ(a.total.presses(), c.hits + c.sessions + 3 + 2 + 2);
    }
    const KeyAnalysis a = analyseKeyStats(sessions, 0);
    EXPECT_EQ(a.keys['_'].presses(), 5u);  // blank and "_" are both the space bar
    EXPECT_EQ(a.keys[' '].presses(), 0u);
    EXPECT_EQ(a.keys['B'].hits, 2u);
    EXPECT_EQ(analyseKeyStats({}, 10).sessions, 0);
}

TEST(KeyAnalysis, ShortRangesReadTheFileFromItsEnd) {
    testing::TempDir dir;
    std::string text;
    for (int i = 1; i <= 60; ++i) {
        KeyCounts counts{};
        counts['A'] = {static_cast<std::uint64_t>(i), 0, 0, 0};
        text += keyStatsLine("26/12/09 21:04:11", "t", counts) + "\r\n";
        if (i == 55) text += std::string("damaged line\r\n\0\0\0", 17);  // a crash's NUL run
    }
    saveStringToFile(dir / "a.kst", text);
    const auto all = readKeyStats(text);
    ASSERT_EQ(all.size(), 60u);
    for (std::size_t last : {std::size_t{10}, std::size_t{50}, std::size_t{0}, std::size_t{100}}) {
        const auto got = readLastKeyStats(dir / "a.kst", last);
        const std::size_t n = last == 0 ? 60 : std::min<std::size_t>(last, 60);
        ASSERT_EQ(got.size(), n) << last;
        EXPECT_EQ(got.front().entries[0].count.hits, all[60 - n].entries[0].count.hits) << last;
        EXPECT_EQ(got.back().entries[0].count.hits, 60u) << last;
    }
    EXPECT_TRUE(readLastKeyStats(dir / "missing.kst", 10).empty());
}

TEST(KeyAnalysis, WeaknessDrawsThinFiguresTowardsTheOverallRate) {
    const StoredKeyStats s = session({
        {'A', {500, 10, 0, 0, {}}},     // 2 %, many presses
        {'B', {40, 0, 5000, 10, {}}},   // no miss: never weak
        {'C', {19, 1, 3000, 10, {}}},   // 1 of 20, 300 ms
        {'D', {19, 1, 2000, 10, {}}},   // the same, faster
        {'K', {12, 6, 0, 0, {}}},       // 6 of 18: thin but clearly weak
        {'Q', {0, 1, 0, 0, {}}},        // 1 of 1: says little
    });
    const KeyAnalysis a = analyseKeyStats({s}, 0);
    EXPECT_EQ(std::string(a.weakest.begin(), a.weakest.end()), "KQCDA");
    EXPECT_DOUBLE_EQ(overallMissRate(a), 19.0 / 609.0);
    EXPECT_DOUBLE_EQ(keyWeakness(a, 'k'), (6 + kWeaknessPriorPresses * 19.0 / 609.0) / (18 + kWeaknessPriorPresses));
    EXPECT_EQ(keyWeakness(a, 'B'), 0.0);

    const std::vector<WeakKeyRow> rows = weakKeyRows(a, 2);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].key, "K");
    EXPECT_EQ(rows[0].presses, "18");
    EXPECT_EQ(rows[0].missRate, "33.3 %");
    EXPECT_EQ(rows[0].meanInterval, "---");

    const RangeTotals t = rangeTotals(a);
    EXPECT_EQ(t.keys, "609");
    EXPECT_EQ(t.accuracy, "96.9 %");      // 590 of 609
    EXPECT_EQ(t.meanInterval, "333 ms");  // 10000 ms over 30
    EXPECT_EQ(t.sessions, "1");
    EXPECT_EQ(rangeTotals(KeyAnalysis{}).accuracy, "---");
    EXPECT_TRUE(analyseKeyStats({session({{'A', {30, 0, 0, 0, {}}}})}, 0).weakest.empty());
}

TEST(KeyAnalysis, ConfusionsAreSummedByKeyAndListedMostFrequentFirst) {
    std::vector<StoredKeyStats> sessions = {
        session({{'R', {10, 5, 0, 0, {{'T', 3}, {'E', 1}}}}, {'_', {5, 2, 0, 0, {{'N', 2}}}}}),
        session({{'r', {10, 3, 0, 0, {{'t', 2}, {' ', 1}}}}, {' ', {5, 1, 0, 0, {{'N', 1}}}}}),
        session({{'A', {10, 1, 0, 0, {}}}}),  // a line written before the key pressed was kept
    };
    const KeyAnalysis a = analyseKeyStats(sessions, 0);
    std::string listed;
    for (const Confusion& c : confusionList(a)) listed += confusionText(c) + "|";
    EXPECT_EQ(listed, sj("R → T 5回|ｽﾍﾟｰｽ → N 3回|R → E 1回|R → ｽﾍﾟｰｽ 1回|"));
    EXPECT_NE(keyCell(a, 'R').tooltip.find(sj("誤打 T 5回、E 1回、ｽﾍﾟｰｽ 1回")), std::string::npos);
    EXPECT_EQ(keyCell(a, 'A').tooltip.find(sj("誤打")), std::string::npos);
    EXPECT_TRUE(confusionList(analyseKeyStats(sessions, 1)).empty());
}

TEST(KeyAnalysis, MapCellsRunFromBlackToRedAndMarkThinData) {
    const StoredKeyStats s = session({{'A', {100, 0, 0, 0, {}}},
                                      {'B', {95, 5, 0, 0, {}}},
                                      {'C', {80, 20, 0, 0, {}}},
                                      {'D', {10, 9, 0, 0, {}}}});
    const KeyAnalysis a = analyseKeyStats({s}, 0);
    EXPECT_EQ(keyCell(a, 'A').fill, 0x000000u);
    EXPECT_EQ(keyCell(a, 'b').fill, 0x800000u);  // 5 %, half way; a lower-case key is its letter
    EXPECT_EQ(keyCell(a, 'C').fill, 0xFF0000u);  // 20 %: held at full red
    EXPECT_TRUE(keyCell(a, 'C').enough);
    EXPECT_FALSE(keyCell(a, 'D').enough);
    EXPECT_FALSE(keyCell(a, 'Z').enough);
    EXPECT_NE(keyCell(a, 'B').tooltip.find("5.0 %"), std::string::npos);
    EXPECT_EQ(keyLabel('/'), "/");
    EXPECT_EQ(keyLabel(0x81), "<81>");
}

std::vector<WeakKey> evenly(const std::string& keys) {
    std::vector<WeakKey> out;
    for (char k : keys) out.push_back({static_cast<unsigned char>(k), 1});
    return out;
}

TEST(WeakKeySet, ScoresCountTheRomajiUnderTheUsersSpellings) {
    VariantTable kunrei;
    VariantTable hepburn;
    hepburn.applyHepburn();
    struct Case {
        const char* romaji;
        std::vector<WeakKey> keys;
        std::int64_t weighted, keystrokes;
    } cases[] = {{"SUSHI", evenly("SH"), 3, 5},
                 {"sushi", {{'S', 5}, {'H', 2}}, 12, 5},
                 {"A B_C", evenly("_"), 2, 5},
                 {"AAA", {}, 0, 3}};
    for (const Case& c : cases) {
        const WeakKeyScore score = weakKeyScore(c.romaji, c.keys);
        EXPECT_EQ(score.weighted, c.weighted) << c.romaji;
        EXPECT_EQ(score.keystrokes, c.keystrokes) << c.romaji;
    }

    keyrook::testing::TempDir dir;
    // すし: SU01 gives SUSI or SUSHI.
    saveStringToFile(dir / "a.std", sj("d/a\r\n寿司\r\nSU01\r\n"));
    EXPECT_FALSE(buildWeakKeySet({dir / "a.std"}, evenly("H"), kunrei));
    ASSERT_TRUE(buildWeakKeySet({dir / "a.std"}, evenly("H"), hepburn));
}

TEST(WeakKeySet, DenseQuestionsInTheWeakestKeyWin) {
    keyrook::testing::TempDir dir;
    saveStringToFile(dir / "s.std", "s/me\r\nvowels\r\nAAAAAAAAAA\r\nlong\r\nRARARARARAKKKKKKKKKK\r\n"
                                     "none\r\nKKK\r\nshort\r\nRA\r\n");
    const auto text = buildWeakKeySet({dir / "s.std"}, {{'R', 300}, {'A', 30}}, VariantTable(), 2);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, sj("苦手ｷｰ: R A/Keyrook\r\nshort\r\nRA\r\nlong\r\nRARARARARAKKKKKKKKKK\r\n"));
}

TEST(WeakKeySet, BuildsTheTwentyBestDistinctQuestionsOfRomanSets) {
    keyrook::testing::TempDir dir;
    std::string many = "many/me\r\n";
    for (int i = 0; i < 30; ++i) {
        // Question i types Q (i mod 7) times, then A.
        many += "q" + std::to_string(i) + "\r\n" + std::string(static_cast<std::size_t>(i % 7), 'Q') + "A\r\n";
    }
    saveStringToFile(dir / "many.std", many);
    saveStringToFile(dir / "english.std", "e/me#\r\nqqqqqqqqqq\r\nQQQQQQQQQQ\r\n");
    saveStringToFile(dir / "copy.std", "c/me\r\nq6\r\nQQQQQQQQQQQQ\r\nextra\r\nZQ/\r\nodd\r\n");
    // Past the size of a problem set: damage, not read.
    saveStringToFile(dir / "big.std", "b/me\r\nbig\r\n" + std::string(kMaxProblemSetBytes, 'Q'));
    const auto text = buildWeakKeySet({dir / "missing.std", dir / "big.std", dir / "many.std",
                                       dir / "english.std", dir / "copy.std"},
                                      evenly("QZ/X_"), VariantTable());
    ASSERT_TRUE(text);
    const std::vector<std::string> lines = splitLines(*text);
    ASSERT_EQ(lines.size(), 41u);
    EXPECT_EQ(lines[0], sj("苦手ｷｰ: Q Z ／ X ｽﾍﾟｰｽ/Keyrook"));
    std::vector<std::string> questions;
    for (std::size_t i = 1; i < lines.size(); i += 2) questions.push_back(lines[i]);
    // Densest first, the file order keeping ties; "q6" only once (copy.std's, all Q), the
    // English set's ten Q, the unpaired "odd", the A-only lines and the oversized set left out.
    const std::vector<std::string> expected = {"q6",  "extra", "q13", "q20", "q27", "q5",  "q12",
                                               "q19", "q26",   "q4",  "q11", "q18", "q25", "q3",
                                               "q10", "q17",   "q24", "q2",  "q9",  "q16"};
    EXPECT_EQ(questions, expected);
    EXPECT_EQ(lines[2], "QQQQQQQQQQQQ");  // answer lines stay code strings
    EXPECT_EQ(lines[4], "ZQ/");
    EXPECT_EQ(joinLinesCrLf(lines), *text);
}

}  // namespace
}  // namespace keyrook
