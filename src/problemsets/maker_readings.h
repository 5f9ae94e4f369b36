// Suggested readings in the maker's editor text: which reading lines a fill writes, and the
// advice entries for the error list (a reading that differs from the suggestion, and the
// pitfalls of a reading line). Editor lines are UTF-8, as the editor holds them; entries are
// CP932, as the error list holds them. Advice never keeps a set from being saved.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "problemsets/reading_suggester.h"

namespace keyrook {

// A line of the editor replaced by new text; a row one past the last line appends a line.
struct LineEdit {
    int row = 0;
    std::string text;
    bool operator==(const LineEdit&) const = default;
};

struct RowRange {
    int first = 0;
    int last = 0;  // inclusive
};

// Whether a reading line counts as not written yet (nothing but blanks).
bool readingIsEmpty(const std::string& line);

// The suggested readings to write: for every question whose reading line is empty or missing,
// or, with rows, for every question of a pair that a row of the range touches. A question
// without text gets nothing.
std::vector<LineEdit> readingFills(const std::vector<std::string>& lines, ReadingSuggester& suggester,
                                   std::optional<RowRange> rows = std::nullopt);

// Advice on the reading lines (2nd, 4th, ...): katakana, 「」, kanji, ゔ, each at its place.
std::vector<std::string> readingPitfalls(const std::vector<std::string>& lines);

// Advice for each written reading that differs from its suggestion, except on the rows a
// fill is about to write.
std::vector<std::string> readingMismatches(const std::vector<std::string>& lines, ReadingSuggester& suggester,
                                           const std::vector<LineEdit>& skipping = {});

// Both kinds of advice in editor order.
std::vector<std::string> readingAdvice(const std::vector<std::string>& lines, ReadingSuggester* suggester,
                                       const std::vector<LineEdit>& skipping = {});

// Whether an entry is the advice that a reading differs from its suggestion.
bool isMismatchEntry(const std::string& entry);

// The message for a line that CP932 cannot hold, naming ゔ's spelling when that is the cause.
std::string unencodableLineMessage(int row, const std::string& utf8Line);

}  // namespace keyrook
