// The reading decoder: a code string back to its hiragana reading (CP932), independent of the
// user's spellings.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace keyrook {

// One step of the decoder at a position of a code string: the kana read there (CP932; empty
// when the code there is in no table) and how many characters the step takes (at least one).
// The romaji matcher splits answer lines into kana with it.
struct YomiStep {
    std::string kana;
    std::size_t length = 1;
};
YomiStep yomiStep(std::string_view code, std::size_t pos);

// The reading shown under a question; empty while plainReadings is set.
std::string ChangeYomi(const std::string& code, bool plainReadings);

// The maker's editor lines of a roman-type set file: the header line dropped, question lines
// as they stand, answer lines decoded to readings. File errors throw FileError.
std::vector<std::string> LoadData(const std::string& path);
// The same for the file's lines already read.
std::vector<std::string> editorLinesOf(std::vector<std::string> fileLines);

}  // namespace keyrook
