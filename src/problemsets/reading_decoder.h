// The reading decoder: a code string back to its hiragana reading (CP932), independent of the
// user's spellings.
#pragma once

#include <string>
#include <vector>

namespace keyrook {

// The reading shown under a question; empty while plainReadings is set.
std::string ChangeYomi(const std::string& code, bool plainReadings);

// The maker's editor lines of a roman-type set file: the header line dropped, question lines
// as they stand, answer lines decoded to readings. File errors throw FileError.
std::vector<std::string> LoadData(const std::string& path);
// The same for the file's lines already read.
std::vector<std::string> editorLinesOf(std::vector<std::string> fileLines);

}  // namespace keyrook
