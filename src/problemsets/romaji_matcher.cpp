#include "problemsets/romaji_matcher.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "base/cp932.h"
#include "problemsets/encoder.h"
#include "problemsets/reading_decoder.h"
#include "problemsets/romaji_decoder.h"

namespace keyrook {
namespace {

constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";

bool startsFolded(std::string_view s, std::string_view start) {
    if (s.size() < start.size()) return false;
    for (std::size_t i = 0; i < start.size(); ++i)
        if (upperAscii(s[i]) != upperAscii(start[i])) return false;
    return true;
}

bool sameFolded(std::string_view a, std::string_view b) { return a.size() == b.size() && startsFolded(a, b); }

std::uint32_t letterBit(char c) {
    c = upperAscii(c);
    return c >= 'A' && c <= 'Z' ? std::uint32_t{1} << (c - 'A') : 0;
}

// The letters a small tsu may be typed as, doubling what follows: consonants other than N.
const std::uint32_t kDoublable = [] {
    std::uint32_t bits = 0;
    for (char c : kLetters)
        if (std::string_view("AEIOUN").find(c) == std::string_view::npos) bits |= letterBit(c);
    return bits;
}();

// Kana by their CP932 codes.
constexpr unsigned kSmallTsu = 0x82C1, kMoraicN = 0x82F1, kSmallWa = 0x82EC, kVoicedMark = 0x814A,
                   kU = 0x82A4;

// The code of a one-character CP932 string, 0 for anything else.
unsigned codeOf(std::string_view k) {
    return k.size() == 2 ? static_cast<unsigned char>(k[0]) << 8 | static_cast<unsigned char>(k[1]) : 0;
}

// ぁ ぃ ぅ ぇ ぉ ゃ ゅ ょ: what a kana takes after it.
bool isSmall(std::string_view k) {
    switch (codeOf(k)) {
        case 0x829F: case 0x82A1: case 0x82A3: case 0x82A5: case 0x82A7:
        case 0x82E1: case 0x82E3: case 0x82E5:
            return true;
        default:
            return false;
    }
}

// One hiragana (or う゛) that a small kana can follow to make a combination.
bool takesSmall(std::string_view k) {
    if (k.size() == 4) return codeOf(k.substr(0, 2)) == kU && codeOf(k.substr(2)) == kVoicedMark;
    const unsigned code = codeOf(k);
    return code >= 0x82A0 && code <= 0x82F0 && !isSmall(k) && code != kSmallTsu && code != kSmallWa;
}

// Spellings kana have beyond their code's: the common ones of other spelling systems and
// those Japanese input methods teach. Kept by the code of the kana, so that kana with one code
// (ゐ and うぃ, both WI) share their spellings.
const std::unordered_map<std::string, std::vector<std::string>>& extraSpellings() {
    static const auto table = [] {
        const std::pair<const char*, const char*> more[] = {
            {"か", "CA"}, {"く", "CU QU"}, {"こ", "CO"}, {"せ", "CE"}, {"し", "CI"},
            {"ん", "NN XN N'"}, {"っ", "LTU XTU LTSU XTSU"},
            {"う", "WU WHU"}, {"うぁ", "WHA"}, {"うぃ", "WI WHI"}, {"うぇ", "WE WHE"},
            {"うぉ", "WHO"}, {"ゐ", "WYI"}, {"ゑ", "WYE"}, {"いぇ", "YE"},
            {"くぁ", "KWA QA"}, {"くぃ", "KWI QI"}, {"くぇ", "KWE QE"}, {"くぉ", "KWO QO"},
            {"ぐぁ", "GWA"},
            {"つぁ", "TSA"}, {"つぃ", "TSI"}, {"つぇ", "TSE"}, {"つぉ", "TSO"},
            {"てゃ", "THA"}, {"てぃ", "THI T'I"}, {"てゅ", "THU T'YU"}, {"てぇ", "THE"}, {"てょ", "THO"},
            {"でゃ", "DHA"}, {"でぃ", "DHI D'I"}, {"でゅ", "DHU D'YU"}, {"でぇ", "DHE"}, {"でょ", "DHO"},
            {"とぁ", "TWA"}, {"とぃ", "TWI"}, {"とぅ", "TWU T'U"}, {"とぇ", "TWE"}, {"とぉ", "TWO"},
            {"どぁ", "DWA"}, {"どぃ", "DWI"}, {"どぅ", "DWU D'U"}, {"どぇ", "DWE"}, {"どぉ", "DWO"},
            {"ふぁ", "FA HWA"}, {"ふぃ", "FI HWI"}, {"ふぇ", "FE HWE"}, {"ふぉ", "FO HWO"},
            {"ふゃ", "FYA"}, {"ふゅ", "FYU HWYU"}, {"ふょ", "FYO"},
            {"う゛ぁ", "VA"}, {"う゛ぃ", "VI VYI"}, {"う゛ぇ", "VE VYE"}, {"う゛ぉ", "VO"},
            {"う゛ゃ", "VYA"}, {"う゛ゅ", "VYU"}, {"う゛ょ", "VYO"},
            {"じゃ", "JA JYA ZYA"}, {"じぃ", "JYI ZYI"}, {"じゅ", "JU JYU ZYU"},
            {"じぇ", "JE JYE ZYE"}, {"じょ", "JO JYO ZYO"},
            {"ちゃ", "CHA CYA TYA"}, {"ちぃ", "CYI TYI"}, {"ちゅ", "CHU CYU TYU"},
            {"ちぇ", "CHE CYE TYE"}, {"ちょ", "CHO CYO TYO"},
            {"ぃ", "LYI XYI"}, {"ぇ", "LYE XYE"},
        };
        std::unordered_map<std::string, std::vector<std::string>> out;
        for (const auto& [kana, list] : more) {
            std::vector<std::string>& to = out[encodeReading(cp932Of(kana))];
            for (std::string_view rest = list; !rest.empty();) {
                const std::size_t blank = std::min(rest.find(' '), rest.size());
                to.emplace_back(rest.substr(0, blank));
                rest.remove_prefix(std::min(blank + 1, rest.size()));
            }
        }
        return out;
    }();
    return table;
}

// The variant group a whole code names ("01", "14"...), or 0.
int groupOf(std::string_view code) {
    if (code.size() != 2 || code[0] < '0' || code[0] > '8' || code[1] < '0' || code[1] > '9') return 0;
    const int n = (code[0] - '0') * 10 + (code[1] - '0');
    return VariantTable::isGroupNumber(n) ? n : 0;
}

bool isVowelYOrN(char c) { return std::string_view("AEIOUYN").find(c) != std::string_view::npos; }

}  // namespace

// The accepted spellings of each kana under one user's spelling lists, best first, worked
// out when a kana is first met and kept while the lists stay the same.
class SpellingBook {
public:
    struct Entry {
        std::vector<std::string> spellings;
        std::uint32_t firstLetters = 0;  // bit per letter that some spelling starts with
    };

    explicit SpellingBook(const VariantTable& variants) : variants_(variants) {}

    bool sameLists(const VariantTable& variants) const {
        for (const VariantGroup& g : variants.groups())
            if (g.items != variants_.group(g.number)->items) return false;
        return true;
    }

    const Entry& of(const std::string& k) {
        if (auto hit = cache_.find(k); hit != cache_.end()) return hit->second;
        Entry e = compute(k);
        return cache_.emplace(k, std::move(e)).first->second;
    }

private:
    Entry compute(const std::string& k) {
        static const VariantTable defaults;
        Entry e;
        auto add = [&e](const std::string& s) {
            if (s.empty()) return;
            for (const auto& have : e.spellings)
                if (sameFolded(have, s)) return;
            e.spellings.push_back(s);
            e.firstLetters |= letterBit(s[0]);
        };
        const std::string code = encodeReading(k);
        if (isSmall(k)) {
            // A small kana alone: a prefix (the user's, then L and X) and the rest of its code.
            std::vector<std::string> prefixes = variants_.group(VariantTable::kSmallKanaGroup)->items;
            prefixes.insert(prefixes.end(), {"L", "X"});
            const std::string rest = code.substr(1);
            for (const auto& p : prefixes) add(p + rest);
            if (rest == "I" || rest == "E")
                for (const auto& p : prefixes) add(p + "Y" + rest);
        } else if (int g = groupOf(code)) {
            for (const auto& s : variants_.group(g)->items) add(s);
            for (const auto& s : defaults.group(g)->items) add(s);
        } else if (code.size() == 2 && code[0] == '9') {
            add(code.substr(1));  // a digit
        } else if (code.find_first_of("@0123456789") == std::string::npos) {
            add(code);  // fixed romaji: KA, KYA, VU, signs
        }
        if (auto more = extraSpellings().find(code); more != extraSpellings().end())
            for (const auto& s : more->second) add(s);
        // A combination also as its kana one after the other (しゃ as SILYA).
        if (k.size() >= 4 && isSmall(std::string_view(k).substr(k.size() - 2)) &&
            takesSmall(std::string_view(k).substr(0, k.size() - 2))) {
            const Entry& base = of(k.substr(0, k.size() - 2));
            const Entry& small = of(k.substr(k.size() - 2));
            for (const auto& b : base.spellings)
                for (const auto& s : small.spellings) add(b + s);
        }
        return e;
    }

    VariantTable variants_;
    std::unordered_map<std::string, Entry> cache_;  // nodes stay put: entries refer to each other
};

struct RomajiMatcher::Unit {
    enum Kind : std::uint8_t { Single, Combined, SmallTsu, MoraicN, Other };
    Kind kind = Other;
    std::string kana;
    std::string guide;  // the spelling the line shows: what Changer gives for this unit
    const SpellingBook::Entry* entry = nullptr;
    std::uint32_t doubled = 0;  // small tsu: the letters it may be typed as
    bool tch = false;           // small tsu before a kana spelled CH...: T as in MATCHA
    std::uint32_t letters = 0;  // first letters of all its spellings
};

RomajiMatcher::RomajiMatcher() = default;
RomajiMatcher::~RomajiMatcher() = default;

void RomajiMatcher::start(const std::string& code, const VariantTable& variants,
                          bool plainReadings, MatchOptions options) {
    options_ = options;
    typed_ = 0;
    states_.clear();
    flexible_ = false;
    if (options.flexible && !plainReadings) {
        if (!book_ || !book_->sameLists(variants)) book_ = std::make_unique<SpellingBook>(variants);
        flexible_ = buildUnits(code, variants);
    }
    if (flexible_) {
        states_.push_back(State{});
        showBest();
    } else {
        remaining_ = Changer(code, variants, plainReadings);
        if (auto blank = remaining_.find(' '); blank != std::string::npos) remaining_[blank] = '_';
        if (options.lowerCase) remaining_ = lowerCp932(remaining_);
    }
    shownBytes_ = static_cast<int>(std::min<std::size_t>(remaining_.size(), 0x7FFFFFFF));
}

bool RomajiMatcher::buildUnits(const std::string& code, const VariantTable& variants) {
    units_.clear();
    for (std::size_t i = 0; i < code.size();) {
        YomiStep step = yomiStep(code, i);
        if (step.kana.empty()) return false;  // letters no table holds: only Changer knows them
        const std::string piece = code.substr(i, step.length);
        i += step.length;
        if (isSmall(step.kana) && !units_.empty() && units_.back().kind == Unit::Single) {
            Unit& base = units_.back();  // a kana with its small kana: one unit
            base.kana += step.kana;
            base.guide += Changer(piece, variants, false);
            base.kind = Unit::Combined;
            continue;
        }
        Unit u;
        u.kana = std::move(step.kana);
        if (codeOf(u.kana) == kSmallTsu)
            u.kind = Unit::SmallTsu;  // its guide depends on what follows
        else if (codeOf(u.kana) == kMoraicN)
            u.kind = Unit::MoraicN;
        else
            u.kind = takesSmall(u.kana) ? Unit::Single : Unit::Other;
        if (u.kind != Unit::SmallTsu) u.guide = Changer(piece, variants, false);
        units_.push_back(std::move(u));
    }
    const std::size_t n = units_.size();
    for (std::size_t k = n; k-- > 0;) {
        Unit& u = units_[k];
        u.entry = &book_->of(u.kana);
        if (u.kind == Unit::SmallTsu) {
            // As Changer does: the first letter of what follows, or nothing before a sign, a
            // digit or the end.
            const std::string_view next = k + 1 < n ? std::string_view(units_[k + 1].guide) : "";
            if (!next.empty() && letterBit(next[0])) u.guide = std::string(next.substr(0, 1));
            u.doubled = k + 1 < n ? units_[k + 1].letters & kDoublable : 0;
            if (k + 1 < n)
                for (const auto& s : units_[k + 1].entry->spellings) u.tch = u.tch || startsFolded(s, "CH");
        }
        u.letters = u.entry->firstLetters | u.doubled | (u.tch ? letterBit('T') : 0) |
                    (u.guide.empty() ? 0 : letterBit(u.guide[0]));
    }
    guide_.clear();
    guideFrom_.assign(n + 1, 0);
    for (std::size_t k = 0; k < n; ++k) {
        guideFrom_[k] = guide_.size();
        guide_ += units_[k].guide;
    }
    guideFrom_[n] = guide_.size();
    if (guide_ != Changer(code, variants, false)) return false;
    nullableFrom_.assign(n + 1, true);
    for (std::size_t k = n; k-- > 0;) nullableFrom_[k] = units_[k].guide.empty() && nullableFrom_[k + 1];
    return true;
}

// Every spelling of a unit, best first: the guide (possibly empty: the unit may then be left
// out), the unit's list, a small tsu's T before CH and the letters it may double, a lone N for
// ん.
template <class Fn>
void RomajiMatcher::forEachSpelling(int unit, Fn&& fn) const {
    const Unit& u = units_[static_cast<std::size_t>(unit)];
    if (!fn(std::string_view(u.guide), Way::Spelled)) return;
    for (const auto& s : u.entry->spellings)
        if (!sameFolded(s, u.guide) && !fn(std::string_view(s), Way::Spelled)) return;
    if (u.tch && !fn(std::string_view("T"), Way::Tch)) return;
    for (std::size_t c = 0; c < kLetters.size(); ++c)
        if ((u.doubled >> c & 1) && !sameFolded(kLetters.substr(c, 1), u.guide) &&
            !fn(kLetters.substr(c, 1), Way::Spelled))
            return;
    if (u.kind == Unit::MoraicN) fn(std::string_view("N"), Way::LoneN);
}

// What the unit after a state must begin with: a small tsu typed as a doubled letter asks for
// that letter, typed as TCH's T for CH.
std::string_view RomajiMatcher::needOf(const State& s) const {
    if (s.unit < 0 || units_[static_cast<std::size_t>(s.unit)].kind != Unit::SmallTsu) return {};
    if (s.way == Way::Tch) return "CH";
    return s.spelling.size() == 1 ? s.spelling : std::string_view();
}

bool RomajiMatcher::atEnd(const State& s) const {
    return s.pos == s.spelling.size() && !s.loneN() && needOf(s).empty() &&
           nullableFrom_[static_cast<std::size_t>(s.unit + 1)];
}

// The states that begin unit `unit` with `key`; need is what a small tsu before it asks for.
void RomajiMatcher::enter(int unit, std::string_view need, char key, std::vector<State>& out) const {
    if (unit >= static_cast<int>(units_.size()) || (!need.empty() && key != upperAscii(need[0]))) return;
    forEachSpelling(unit, [&](std::string_view s, Way way) {
        if (s.empty()) {
            if (need.empty()) enter(unit + 1, {}, key, out);
        } else if (upperAscii(s[0]) == key && startsFolded(s, need)) {
            for (const State& have : out)
                if (have.unit == unit && have.pos == 1 && have.way == way && sameFolded(have.spelling, s))
                    return true;
            out.push_back(State{unit, s, 1, way});
        }
        return true;
    });
}

std::string_view RomajiMatcher::spellingStartingWith(int unit, std::string_view start) const {
    std::string_view found = units_[static_cast<std::size_t>(unit)].guide;
    forEachSpelling(unit, [&](std::string_view s, Way) {
        if (s.empty() || !startsFolded(s, start)) return true;
        found = s;
        return false;
    });
    return found;
}

// The line for the best state: the rest of the spelling it follows, then the guides.
void RomajiMatcher::showBest() {
    const State& b = states_.front();
    const int n = static_cast<int>(units_.size());
    auto rest = [&](int unit) { return std::string_view(guide_).substr(guideFrom_[std::min(unit, n)]); };
    std::string out;
    if (b.pos < b.spelling.size()) {
        out.append(b.spelling.substr(b.pos));
        out.append(rest(b.unit + 1));
    } else if (std::string_view need = needOf(b); !need.empty() && b.unit + 1 < n) {
        out.append(spellingStartingWith(b.unit + 1, need));
        out.append(rest(b.unit + 2));
    } else {
        out.append(rest(b.unit + 1));
    }
    remaining_ = options_.lowerCase ? lowerCp932(out) : std::move(out);
}

KeyResult RomajiMatcher::key(char key) {
    if (remaining_.empty()) return {};
    return flexible_ ? flexibleKey(key) : plainKey(key);
}

KeyResult RomajiMatcher::flexibleKey(char key) {
    char k = upperAscii(key);
    if (k == ' ') k = '_';  // the space bar types a full-width blank
    next_.clear();
    bool closedLoneN = false;
    for (const State& s : states_) {
        if (s.pos < s.spelling.size()) {
            if (upperAscii(s.spelling[s.pos]) != k) continue;
            bool have = false;
            for (const State& t : next_)
                have = have || (t.unit == s.unit && t.pos == s.pos + 1 && t.way == s.way &&
                                sameFolded(t.spelling, s.spelling));
            if (!have) next_.push_back(State{s.unit, s.spelling, s.pos + 1, s.way});
        } else if (!s.loneN() || !isVowelYOrN(k)) {
            const std::size_t before = next_.size();
            enter(s.unit + 1, needOf(s), k, next_);
            closedLoneN = closedLoneN || (s.loneN() && next_.size() > before);
        }
    }
    if (next_.empty()) return {KeyJudgement::Miss, false};
    // A lone N that only this key completes is the N the single-n rule leaves out: it scores
    // the same, unless another reading of the keys gets here without it.
    const bool skippedN = closedLoneN && !readsWithoutLoneN(k);
    states_.swap(next_);
    ++typed_;
    // Done when the best reading of the keys is: a spelling that is the start of a longer one
    // (an own list with "S" and "SI") waits for the key the line shows.
    if (atEnd(states_.front())) {
        states_.clear();
        remaining_.clear();
    } else {
        showBest();
    }
    return {KeyJudgement::Hit, skippedN};
}

bool RomajiMatcher::readsWithoutLoneN(char k) const {
    std::vector<State> entered;
    for (const State& s : states_) {
        if (s.pos < s.spelling.size()) {
            if (upperAscii(s.spelling[s.pos]) == k) return true;
        } else if (!s.loneN()) {
            enter(s.unit + 1, needOf(s), k, entered);
            if (!entered.empty()) return true;
        }
    }
    return false;
}

KeyResult RomajiMatcher::plainKey(char key) {
    std::string& s = remaining_;
    if (s[0] == '_' && key == ' ') key = '_';
    bool skippedN = false;
    // Single-n rule: an N before a consonant may be left out; the key then counts for the
    // letter after it.
    if (upperAscii(s[0]) == 'N' && s.size() >= 2) {
        char k = key;
        if (s[1] == '_' && k == ' ') k = '_';  // the space bar types a blank wherever it is due
        const char second = upperAscii(s[1]);
        if (upperAscii(k) == second && std::string_view("AEINOUY").find(second) == std::string_view::npos) {
            key = s[1];
            s.erase(0, 1);
            skippedN = true;
        }
    }
    if (upperAscii(key) != upperAscii(s[0])) return {KeyJudgement::Miss, false};
    s.erase(0, 1);
    ++typed_;
    return {KeyJudgement::Hit, skippedN};
}

int RomajiMatcher::rowBytes() const { return flexible_ && complete() ? typed_ : shownBytes_; }

}  // namespace keyrook
