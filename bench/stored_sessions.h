// Stored per-key statistics as practice sessions write them, for the benchmarks.
#pragma once

#include <string>

#include "typing/key_stats.h"

namespace keyrook::bench {

// n lines: 40 characters each, hundreds of presses.
inline std::string storedSessions(int n) {
    const std::string chars = "ABCDEFGHIJKLMNOPRSTUWYZ-_,.!?0123456789";
    std::string text;
    for (int s = 0; s < n; ++s) {
        KeyCounts counts{};
        for (std::size_t i = 0; i < chars.size(); ++i) {
            const auto hits = static_cast<std::uint64_t>(5 + (static_cast<std::size_t>(s) * 7 + i * 13) % 60);
            counts[static_cast<unsigned char>(chars[i])] = {hits, (static_cast<std::size_t>(s) + i) % 4,
                                                            hits * 230, hits - 1};
        }
        text += keyStatsLine("26/12/09 21:04:11", "\x82\xb1\x82\xc6\x82\xed\x82\xb4\x82\x50", counts);
        text += "\r\n";
    }
    return text;
}

}  // namespace keyrook::bench
