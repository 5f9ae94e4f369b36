// The six levels of the reflex game: what each demands, the words the level picker shows for
// it, and the judgement of a finished run against it.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace keyrook {

inline constexpr int kReflexLevels = 6;

struct ReflexLevel {
    int minimumRate = 0;               // percent of dealt letters destroyed
    std::optional<int> meanLimitMs;    // the shown mean reaction time may not exceed it
    std::optional<int> mistypeLimit;   // mistypes may not exceed it
    // The picker's three lines (CP932): name, condition, mistypes.
    std::array<std::string, 3> lines;
};

// level 1..6; anything else is clamped into that range.
const ReflexLevel& reflexLevel(int level);

// The mean reaction time as the game shows it: reaction sum / hits + 0.5, rounded to the
// nearest integer with ties to even. nullopt without a hit.
std::optional<long long> shownMeanReaction(long long reactionSumMs, int hits);

// Whether a run clears the level. rate is the judging rate (already cut to two decimals).
// A run without a hit has no mean and never clears.
bool Judgement(long long reactionSumMs, int hits, int misses, int level, long double rate);

}  // namespace keyrook
