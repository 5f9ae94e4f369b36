// The encoder: a hiragana reading (CP932) to its romanization code string.
#pragma once

#include <string>
#include <string_view>

namespace keyrook {

std::string encodeReading(std::string_view cp932Reading);

}  // namespace keyrook
