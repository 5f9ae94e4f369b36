// The romaji decoder: a code string expanded with the user's chosen spellings.
#pragma once

#include <string>

#include "problemsets/variant_table.h"

namespace keyrook {

// The romaji the player must type for a code string. With plainReadings (an English-type set)
// the code string comes back unchanged.
std::string Changer(const std::string& code, const VariantTable& variants, bool plainReadings);

}  // namespace keyrook
