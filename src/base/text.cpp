#include "base/text.h"

#include <charconv>

namespace keyrook {

std::string rep(std::string_view text, std::string_view pattern, std::string_view replacement) {
    if (text.empty() || pattern.empty()) return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    for (;;) {
        std::size_t hit = text.find(pattern, pos);
        if (hit == std::string_view::npos) break;
        out.append(text.substr(pos, hit - pos));
        out.append(replacement);
        pos = hit + pattern.size();
    }
    out.append(text.substr(pos));
    return out;
}

int toIntDef(std::string_view text, int fallback) {
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    if (digits.empty()) return fallback;
    int value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size()) return fallback;
    return value;
}

}  // namespace keyrook
