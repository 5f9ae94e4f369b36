#include "problemsets/kana_matcher.h"

#include <map>

#include "base/cp932.h"
#include "problemsets/reading_decoder.h"

namespace keyrook {
namespace {

// Voiced and semi-voiced kana by their base (UTF-8). The decoder writes ゔ as う゛ (CP932 has no
// ゔ), which are two presses of their own.
constexpr const char* kVoiced[][2] = {
    {"が", "か"}, {"ぎ", "き"}, {"ぐ", "く"}, {"げ", "け"}, {"ご", "こ"}, {"ざ", "さ"}, {"じ", "し"},
    {"ず", "す"}, {"ぜ", "せ"}, {"ぞ", "そ"}, {"だ", "た"}, {"ぢ", "ち"}, {"づ", "つ"}, {"で", "て"},
    {"ど", "と"}, {"ば", "は"}, {"び", "ひ"}, {"ぶ", "ふ"}, {"べ", "へ"}, {"ぼ", "ほ"},
};
constexpr const char* kSemiVoiced[][2] = {
    {"ぱ", "は"}, {"ぴ", "ひ"}, {"ぷ", "ふ"}, {"ぺ", "へ"}, {"ぽ", "ほ"},
};

// The presses of each reading character that is not itself a press (CP932 -> notations).
class Compositions {
public:
    Compositions() {
        const std::string voiced = cp932Of("゛"), semiVoiced = cp932Of("゜");
        for (auto& v : kVoiced) add(v[0], {cp932Of(v[1]), voiced});
        for (auto& v : kSemiVoiced) add(v[0], {cp932Of(v[1]), semiVoiced});
        add("　", {" "});
        add("！", {"!"});
        add("？", {"?"});
        for (char d = '0'; d <= '9'; ++d)
            add(utf8Of(0xFF10u + static_cast<unsigned>(d - '0')).c_str(), {std::string(1, d)});
    }

    // The presses of one character; empty when no key types it.
    std::vector<std::string> of(const std::string& ch) const {
        if (auto hit = map_.find(ch); hit != map_.end()) return hit->second;
        if (kanaPressOf(ch).code != 0 && ch != "_" && ch != " ") return {ch};
        return {};
    }

private:
    void add(const char* utf8, std::vector<std::string> presses) {
        map_[cp932Of(utf8)] = std::move(presses);
    }
    std::map<std::string, std::vector<std::string>> map_;
};

const Compositions& compositions() {
    static const Compositions c;
    return c;
}

std::string shown(const std::string& notation) { return notation == " " ? "_" : notation; }

}  // namespace

void KanaMatcher::start(const std::string& code) {
    units_.clear();
    unit_ = press_ = 0;
    presses_ = 0;
    const std::string reading = ChangeYomi(code, false);
    for (std::size_t i = 0; i < reading.size();) {
        const std::size_t n =
            isLeadByte(static_cast<unsigned char>(reading[i])) && i + 1 < reading.size() ? 2 : 1;
        Unit u;
        u.text = reading.substr(i, n);
        u.presses = compositions().of(u.text);
        i += n;
        // A character no key types could never be completed: it is left out.
        if (u.presses.empty()) continue;
        presses_ += static_cast<int>(u.presses.size());
        units_.push_back(std::move(u));
    }
}

const std::string& KanaMatcher::due() const {
    static const std::string none;
    return complete() ? none : units_[unit_].presses[press_];
}

KeyJudgement KanaMatcher::press(KanaPress p) {
    if (complete()) return KeyJudgement::Ignored;
    if (!kanaPressTypes(p, due())) return KeyJudgement::Miss;
    if (++press_ == units_[unit_].presses.size()) {
        ++unit_;
        press_ = 0;
    }
    return KeyJudgement::Hit;
}

std::string KanaMatcher::remainingPresses() const {
    std::string out;
    for (std::size_t u = unit_; u < units_.size(); ++u)
        for (std::size_t k = u == unit_ ? press_ : 0; k < units_[u].presses.size(); ++k)
            out += shown(units_[u].presses[k]);
    return out;
}

std::string KanaMatcher::statBytes() const {
    std::string out;
    for (const Unit& u : units_)
        for (const std::string& p : u.presses) out += static_cast<char>(kanaStatByte(p));
    return out;
}

std::string KanaMatcher::remainingText() const {
    std::string out;
    for (std::size_t u = unit_; u < units_.size(); ++u) {
        if (u == unit_ && press_ > 0) {
            for (std::size_t k = press_; k < units_[u].presses.size(); ++k)
                out += units_[u].presses[k];
        } else {
            out += units_[u].presses.front() == " " ? std::string("_") : units_[u].text;
        }
    }
    return out;
}

}  // namespace keyrook
