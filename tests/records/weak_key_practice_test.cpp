// The weak-key practice set on a learner's history: the set built from the installed sets must
// make the clearly weakest key far more frequent than the sets it was drawn from do.
#include <gtest/gtest.h>

#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "base/files.h"
#include "problemsets/problem_set.h"
#include "problemsets/romaji_decoder.h"
#include "records/key_analysis.h"
#include "records/weak_key_set.h"
#include "typing/key_stats.h"

namespace keyrook {
namespace {

struct Share {
    std::uint64_t key = 0, all = 0;
    double percent() const { return all ? 100.0 * static_cast<double>(key) / static_cast<double>(all) : 0.0; }
    void add(const std::string& romaji, char k) {
        for (char c : romaji) key += keyOf(static_cast<unsigned char>(c)) == static_cast<unsigned char>(k);
        all += romaji.size();
    }
};

TEST(WeakKeyPractice, TheWeakestKeyIsAtLeastThreeTimesAsFrequentAsInItsSources) {
    const std::string dir = std::string(KEYROOK_SOURCE_DIR) + "/assets/data/";
    const VariantTable spellings;
    std::vector<std::string> files, romaji;
    Share source;
    for (const std::string& file : listFiles(dir, ".std")) {
        files.push_back(dir + file);
        const std::vector<std::string> lines = loadProblemSet(dir + file);
        if (parseHeader(lines[0]).plainReadings) continue;
        for (std::size_t i = 2; i < lines.size(); i += 2) {
            romaji.push_back(Changer(lines[i], spellings, false));
            source.add(romaji.back(), 'R');
        }
    }
    ASSERT_GT(romaji.size(), 100u);

    // Thirty stored sessions of twenty questions each, typed as a learner would: R missed
    // often (T pressed instead), U, S and A now and then, every other key seldom.
    std::mt19937 random(21);
    auto chance = [&](int percent) { return static_cast<int>(random() % 1000) < percent * 10; };
    std::string file;
    for (int session = 0; session < 30; ++session) {
        KeyStatsCounter counter;
        std::uint32_t tick = 0;
        for (int q = 0; q < 20; ++q) {
            counter.newQuestion();
            for (char c : romaji[random() % romaji.size()]) {
                const int missPercent = c == 'R' ? 40 : c == 'U' ? 9 : c == 'S' ? 4 : c == 'A' ? 3 : 1;
                if (chance(missPercent)) counter.miss(c, c == 'R' ? 'T' : 'Q');
                counter.hit(c, tick += 200);
            }
        }
        file += keyStatsLine("26/12/09 10:00:00", "t", counter.counts()) + "\r\n";
    }
    const KeyAnalysis analysis = analyseKeyStats(readKeyStats(file), 0);
    ASSERT_FALSE(analysis.weakest.empty());
    ASSERT_EQ(analysis.weakest[0], 'R');
    EXPECT_EQ(confusionList(analysis)[0].pressed, 'T');

    const auto text = buildWeakKeySet(files, weakSetKeys(analysis), spellings);
    ASSERT_TRUE(text);
    const std::vector<std::string> lines = splitLines(*text);
    ASSERT_EQ(lines.size(), 1 + 2 * kWeakSetQuestions);
    EXPECT_EQ(lines[0].substr(lines[0].find(':') + 2, 1), "R");
    Share practice;
    for (std::size_t i = 2; i < lines.size(); i += 2) practice.add(Changer(lines[i], spellings, false), 'R');

    std::cout << "R share: sources " << source.percent() << " %, practice set " << practice.percent()
              << " %, ratio " << practice.percent() / source.percent() << "\n";
    EXPECT_GE(practice.percent(), 3.0 * source.percent());
}

}  // namespace
}  // namespace keyrook
