// The practice set "苦手ｷｰ練習": the questions of the installed and the user's roman-type sets
// that make the player type their weakest keys most often.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "problemsets/variant_table.h"

namespace keyrook {

// Title of the built set (UTF-8; its file is "<title>.std" in the user's data folder).
inline constexpr const char* kWeakSetTitle = "苦手ｷｰ練習";
// Keys a set is built from, and questions it holds.
inline constexpr std::size_t kWeakSetKeys = 5;
inline constexpr std::size_t kWeakSetQuestions = 20;

// How many characters of a romaji line are typed with one of the keys (keyOf folds each
// character first).
int weakKeyScore(std::string_view romaji, const std::vector<unsigned char>& keys);

// The header line (CP932): description "苦手ｷｰ: " and the keys separated by blanks, author
// "Keyrook". A "/" key is written as "／", since "/" ends the description.
std::string weakSetHeader(const std::vector<unsigned char>& keys);

// The file text (CP932, CR LF) of the set built from the given set files: every question of
// the roman-type sets among them scored with its romaji under the user's spellings, the best
// kWeakSetQuestions distinct questions (by question text; ties keep the order of the files and
// of their lines) with a score above 0, best first. English-type sets, files that cannot be
// read and files past the size of a problem set are passed over. nullopt when no question
// scores. With kana, questions are scored by their presses on the JIS kana layout instead.
std::optional<std::string> buildWeakKeySet(const std::vector<std::string>& setFiles,
                                           const std::vector<unsigned char>& keys,
                                           const VariantTable& variants, bool kana = false);

}  // namespace keyrook
