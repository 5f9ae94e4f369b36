// The reflex record file "user/<name>.ref": a line of six "0"/"1" cleared-level flags, then one
// line per stored game, "level,score,hits,dealt,mistypes,mean" and a checksum, CR LF after
// every line. All content is ASCII.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace keyrook {

// The record line of a finished game: the six fields joined with commas, then "," and the
// checksum of that text.
std::string reflexRecordLine(int level, int score, std::string_view hits, std::string_view dealt,
                             std::string_view mistypes, std::string_view mean);

// The cleared-level marks the picker shows: read from the first six bytes of the file; all
// false when the file is missing or shorter.
std::array<bool, 6> readClearMarks(const std::string& path);

// Stores a confirmed game: appends its line (a new file starts with the flags "000000") and
// sets the level's flag when it was cleared; a set flag is never reset. The file is rewritten
// whole in one step, so a failure leaves the old content. A first line that is no flags line
// gets a fresh "000000" line put in front of it rather than being overwritten.
void storeReflexRecord(const std::string& path, std::string_view recordLine, int level,
                       bool cleared);

}  // namespace keyrook
