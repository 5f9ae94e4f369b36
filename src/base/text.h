// Small text helpers shared by several subsystems.
#pragma once

#include <string>
#include <string_view>

namespace keyrook {

// Every non-overlapping occurrence of pattern, scanning left to right, replaced; an empty text
// or pattern gives the text unchanged. Replacements are not scanned again.
std::string rep(std::string_view text, std::string_view pattern, std::string_view replacement);

// Decimal integer value of a text, or fallback when the text is not an integer
// (optional sign, digits only, fits in 32 bits).
int toIntDef(std::string_view text, int fallback);

}  // namespace keyrook
