// What the stored per-key statistics say: the figures of every key over the last sessions, the
// weakest keys, and the texts and colours of the window "苦手ｷｰ分析". Texts are CP932.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "typing/key_stats.h"

namespace keyrook {

// A key with fewer judged presses is drawn greyed in the map: its rate says little yet.
inline constexpr std::uint64_t kEnoughPresses = 20;
// How many presses at the user's overall miss rate each key's own figures are weighed
// against: a key missed 1 of 1 rates near the overall rate, 6 of 18 well above it.
inline constexpr double kWeaknessPriorPresses = 10.0;
// Keys pressed instead that a key's tooltip names.
inline constexpr std::size_t kTooltipConfusions = 3;
// A miss rate from which a key is drawn in full red.
inline constexpr double kFullHeatPercent = 10.0;

enum class KeyRange { Last10, Last50, All };

// Sessions in a range; 0 for all.
std::size_t rangeSessions(KeyRange range);

// The key a character is typed with: a to z on A to Z, the blank on "_" (the space bar types
// both).
unsigned char keyOf(unsigned char c);

// The name of a key as the window shows it: the character itself (half-width katakana for the
// kana keys), "ｽﾍﾟｰｽ" for the blank, the byte in hexadecimal for anything else.
std::string keyLabel(unsigned char key);

// Miss rate in percent (0 without presses); mean interval in ms (nullopt without intervals).
double missRate(const KeyCount& c);
std::optional<double> meanInterval(const KeyCount& c);

struct KeyAnalysis {
    KeyCounts keys{};     // by key (keyOf), summed over the range; confusions by keyOf too
    KeyCount total;
    int sessions = 0;
    // Keys with a miss, weakest first: highest weakness, then slowest mean interval.
    std::vector<unsigned char> weakest;
};

// The last `last` readable sessions of a .kst file, oldest first (every one for 0), read from
// the file's end so a short range never reads a long history whole. With `kana` given, only the
// sessions typed in kana (true) or in romaji (false) count. A missing file has none.
std::vector<StoredKeyStats> readLastKeyStats(const std::string& path, std::size_t last,
                                             std::optional<bool> kana = std::nullopt);

// A session typed in kana: its title ends in the kana mark.
bool typedInKana(std::string_view title);
// The overall miss rate of the range as a fraction (0 without presses).
double overallMissRate(const KeyAnalysis& analysis);

// A key's miss rate drawn towards the overall rate p by kWeaknessPriorPresses presses:
// (misses + k p) / (presses + k), as a fraction. 0 for a key without a miss.
double keyWeakness(const KeyAnalysis& analysis, unsigned char key);

// One kind of mistake: expected was due, pressed was typed (both keyOf).
struct Confusion {
    unsigned char expected = 0;
    unsigned char pressed = 0;
    std::uint64_t count = 0;
};
// Every confusion of the range, most frequent first (then by expected and pressed key).
std::vector<Confusion> confusionList(const KeyAnalysis& analysis);
// "R → T 14回" (CP932).
std::string confusionText(const Confusion& c);

// The last `last` sessions of a file (all when last is 0 or more than there are).
KeyAnalysis analyseKeyStats(const std::vector<StoredKeyStats>& sessions, std::size_t last);

// Whether a key has presses enough for its figures to be shown.
bool enoughPresses(const KeyAnalysis& analysis, unsigned char key);

// One key of the map.
struct KeyCell {
    bool enough = false;
    std::uint32_t fill = 0;  // 0xRRGGBB: from black (no miss) to red (kFullHeatPercent or more)
    std::string tooltip;
};
KeyCell keyCell(const KeyAnalysis& analysis, unsigned char key);

// A row of the weakest-keys list, and the range's totals.
struct WeakKeyRow {
    std::string key, presses, missRate, meanInterval;
};
std::vector<WeakKeyRow> weakKeyRows(const KeyAnalysis& analysis, std::size_t count);

struct RangeTotals {
    std::string accuracy;      // "97.3 %"
    std::string meanInterval;  // "231 ms"
    std::string keys;          // judged presses, "4,210"
    std::string sessions;
};
RangeTotals rangeTotals(const KeyAnalysis& analysis);

}  // namespace keyrook
