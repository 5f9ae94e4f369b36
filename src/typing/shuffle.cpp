#include "typing/shuffle.h"

#include <utility>

namespace keyrook {

void Shuffle(std::vector<std::string>& lines, Random& random) {
    random.randomize();
    if (lines.empty()) return;
    lines.erase(lines.begin());
    const std::size_t n = lines.size() / 2;
    if (n == 0) return;  // nothing to swap, and no pair at index 0 to swap with
    for (std::size_t i = 0; i <= n; ++i) {
        auto r = static_cast<std::size_t>(random.next(static_cast<int>(n)));
        if (r >= n) r = n - 1;  // a misbehaving source must not index past the list
        std::swap(lines[0], lines[2 * r]);
        std::swap(lines[1], lines[2 * r + 1]);
    }
}

}  // namespace keyrook
