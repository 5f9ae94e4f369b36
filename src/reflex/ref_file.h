// The reflex record file "user/<name>.ref": a line of six "0"/"1" cleared-level flags, then one
// line per stored game, "level,score,hits,dealt,mistypes,mean" and a checksum, CR LF after
// every line. All content is ASCII.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace keyrook {

// The record line of a finished game: the six fields joined with commas, then "," and the
// checksum of that text.
std::string reflexRecordLine(int level, int score, std::string_view hits, std::string_view dealt,
                             std::string_view mistypes, std::string_view mean);

// The cleared-level marks of a file that starts with these bytes: taken from a first line of
// exactly six "0"/"1" characters, all false for any other first line.
std::array<bool, 6> clearMarksOf(std::string_view head);

// The marks the picker shows; all false when the file is missing.
std::array<bool, 6> readClearMarks(const std::string& path);

// The file text after storing a game: its line appended and the level's flag set when it was
// cleared (a set flag is never reset). A text whose first line is no flags line gets a fresh
// "000000" line in front, every other line kept. nullopt for a text holding a NUL byte, which
// its lines cannot carry over.
std::optional<std::string> reflexTextWithRecord(std::string_view text, std::string_view recordLine,
                                                int level, bool cleared);

// Stores a confirmed game (a new file starts with the flags "000000"). The file is re-read and
// rewritten whole under its lock, so a failure leaves the old content and games other programs
// stored meanwhile stay.
void storeReflexRecord(const std::string& path, std::string_view recordLine, int level,
                       bool cleared);

}  // namespace keyrook
