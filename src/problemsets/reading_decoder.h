// The reading decoder: a code string back to its hiragana reading (CP932), independent of the
// user's spellings.
#pragma once

#include <string>

namespace keyrook {

// The reading shown under a question; empty while plainReadings is set.
std::string ChangeYomi(const std::string& code, bool plainReadings);

}  // namespace keyrook
