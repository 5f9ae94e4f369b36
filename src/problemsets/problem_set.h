// Problem-set files: "data/<title>.std", CP932 text. Line 1 is the header
// (description "/" author, plus "#" for an English-type set), then pairs of question line and
// answer line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace keyrook {

struct SetHeader {
    std::string description;  // before the first "/"
    std::string author;       // after it, less a trailing "#"
    bool plainReadings = false;  // header ended in "#": answers are typed as they stand
};

// A set is a few kilobytes; a file past this is damage, and reading it would stall the menu.
constexpr std::uintmax_t kMaxProblemSetBytes = 16u << 20;

// The lines of the set file at path (a NUL ends the text). A file over kMaxProblemSetBytes is
// refused with a FileError naming it, and left as it is.
std::vector<std::string> loadProblemSet(const std::string& path);

// Splits a header line. Without "/" the description is empty and the whole header is the author.
SetHeader parseHeader(const std::string& header);

// Questions in a set: lines (header included) div 2.
int questionCount(const std::vector<std::string>& lines);

// File text of a roman-type set: description "/" author, then every editor line in order, the
// readings (2nd, 4th, ... editor lines) replaced by their code strings; CR LF after every line.
std::string romanSetText(const std::string& description, const std::string& author,
                         const std::vector<std::string>& editorLines);

// File text of an English-type set: description "/" author "#", then the editor lines as they
// stand; CR LF after every line.
std::string englishSetText(const std::string& description, const std::string& author,
                           const std::vector<std::string>& editorLines);

}  // namespace keyrook
