// The question shuffle of a typing session.
#pragma once

#include <string>
#include <vector>

#include "base/services.h"

namespace keyrook {

// Reseeds the generator, drops the header line, then swaps the first question pair with a
// randomly drawn pair (possibly itself) n + 1 times, n being the number of whole pairs. Pairs
// move as units, so every question keeps its answer line. An unpaired last line stays last.
void Shuffle(std::vector<std::string>& lines, Random& random);

}  // namespace keyrook
