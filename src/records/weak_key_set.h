// The practice set "苦手ｷｰ練習": the questions of the installed and the user's roman-type sets
// that make the player type their weakest keys most often.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "problemsets/variant_table.h"
#include "records/key_analysis.h"

namespace keyrook {

// Title of the built set (UTF-8; its file is "<title>.std" in the user's data folder).
inline constexpr const char* kWeakSetTitle = "苦手ｷｰ練習";
// Keys a set is built from (at most), and questions it holds.
inline constexpr std::size_t kWeakSetKeys = 5;
inline constexpr std::size_t kWeakSetQuestions = 20;

// A key the set trains and how much one keystroke of it counts: its weakness in thousandths,
// at least 1, so the weakest key counts most.
struct WeakKey {
    unsigned char key = 0;
    std::int64_t weight = 0;
};

// The weakest keys of an analysis (at most count) with their weights, weakest first.
std::vector<WeakKey> weakSetKeys(const KeyAnalysis& analysis, std::size_t count = kWeakSetKeys);

// What a romaji line gives: the summed weights of its weak-key keystrokes (keyOf folds each
// character first) and all its keystrokes. Questions rank by weighted / keystrokes.
struct WeakKeyScore {
    std::int64_t weighted = 0;
    std::int64_t keystrokes = 0;
};
WeakKeyScore weakKeyScore(std::string_view romaji, const std::vector<WeakKey>& keys);

// The header line (CP932): description "苦手ｷｰ: " and the keys separated by blanks, author
// "Keyrook". A "/" key is written as "／", since "/" ends the description.
std::string weakSetHeader(const std::vector<WeakKey>& keys);

// The file text (CP932, CR LF) of the set built from the given set files: every question of
// the roman-type sets among them scored with its romaji under the user's spellings, the
// `questions` distinct questions (by question text) densest in weighted weak-key keystrokes,
// best first (ties keep the order of the files and of their lines); a question without a weak
// key is never taken. English-type sets, files that cannot be read and files past the size of
// a problem set are passed over. nullopt when no question holds a weak key. With kana,
// questions are scored by their presses on the JIS kana layout instead.
std::optional<std::string> buildWeakKeySet(const std::vector<std::string>& setFiles,
                                           const std::vector<WeakKey>& keys,
                                           const VariantTable& variants,
                                           std::size_t questions = kWeakSetQuestions,
                                           bool kana = false);

}  // namespace keyrook
