#include "problemsets/reading_decoder.h"

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "base/cp932.h"
#include "problemsets/problem_set.h"

namespace keyrook {
namespace {

// Code strings are ASCII; any other byte matches no table.
constexpr std::size_t kAscii = 128;

class Tables {
public:
    Tables() {
        signs_.fill(-1);
        numbers_.fill(-1);
        syllables_.fill(-1);
        const char* signs[][2] = {{"A", "あ"}, {"I", "い"}, {"U", "う"}, {"E", "え"},
                                  {"O", "お"}, {"-", "ー"}, {"_", "　"}, {",", "、"},
                                  {".", "。"}, {"!", "！"}, {"?", "？"}};
        for (auto& s : signs) signs_[static_cast<unsigned char>(s[0][0])] = add(s[1]);

        const char* numbers[][2] = {
            {"01", "し"},   {"02", "ち"},   {"03", "つ"},   {"04", "ふ"},   {"05", "しゃ"},
            {"06", "しゅ"}, {"07", "しょ"}, {"08", "しぇ"}, {"09", "じ"},   {"10", "じゃ"},
            {"11", "じゅ"}, {"12", "じょ"}, {"13", "じぇ"}, {"14", "ちゃ"}, {"15", "ちゅ"},
            {"16", "ちょ"}, {"17", "ちぇ"}, {"18", "っ"},   {"19", "じぃ"}, {"20", "ちぃ"},
            {"22", "しぃ"}, {"23", "てぃ"}, {"90", "０"},   {"91", "１"},   {"92", "２"},
            {"93", "３"},   {"94", "４"},   {"95", "５"},   {"96", "６"},   {"97", "７"},
            {"98", "８"},   {"99", "９"},
        };
        for (auto& s : numbers) numbers_[key2(s[0][0], s[0][1])] = add(s[1]);

        const char* syllables[][2] = {
            {"KA", "か"},   {"KI", "き"},   {"KU", "く"},   {"KE", "け"},   {"KO", "こ"},
            {"SA", "さ"},   {"SI", "し"},   {"SU", "す"},   {"SE", "せ"},   {"SO", "そ"},
            {"TA", "た"},   {"TI", "ち"},   {"TU", "つ"},   {"TE", "て"},   {"TO", "と"},
            {"NA", "な"},   {"NI", "に"},   {"NU", "ぬ"},   {"NE", "ね"},   {"NO", "の"},
            {"HA", "は"},   {"HI", "ひ"},   {"HU", "ふ"},   {"HE", "へ"},   {"HO", "ほ"},
            {"MA", "ま"},   {"MI", "み"},   {"MU", "む"},   {"ME", "め"},   {"MO", "も"},
            {"YA", "や"},   {"YU", "ゆ"},   {"YO", "よ"},   {"RA", "ら"},   {"RI", "り"},
            {"RU", "る"},   {"RE", "れ"},   {"RO", "ろ"},   {"WA", "わ"},   {"WO", "を"},
            {"NN", "ん"},   {"GA", "が"},   {"GI", "ぎ"},   {"GU", "ぐ"},   {"GE", "げ"},
            {"GO", "ご"},   {"ZA", "ざ"},   {"ZI", "じ"},   {"ZU", "ず"},   {"ZE", "ぜ"},
            {"ZO", "ぞ"},   {"DA", "だ"},   {"DI", "ぢ"},   {"DU", "づ"},   {"DE", "で"},
            {"DO", "ど"},   {"BA", "ば"},   {"BI", "び"},   {"BU", "ぶ"},   {"BE", "べ"},
            {"BO", "ぼ"},   {"PA", "ぱ"},   {"PI", "ぴ"},   {"PU", "ぷ"},   {"PE", "ぺ"},
            {"PO", "ぽ"},   {"FA", "ふぁ"}, {"FI", "ふぃ"}, {"FE", "ふぇ"}, {"FO", "ふぉ"},
            {"JA", "じゃ"}, {"JI", "じ"},   {"JU", "じゅ"}, {"JE", "じぇ"}, {"JO", "じょ"},
            {"VA", "う゛ぁ"}, {"VI", "う゛ぃ"}, {"VU", "う゛"}, {"VE", "う゛ぇ"},
            {"VO", "う゛ぉ"}, {"WI", "うぃ"}, {"WE", "うぇ"}, {"@A", "ぁ"},   {"@I", "ぃ"},
            {"@U", "ぅ"},   {"@E", "ぇ"},   {"@O", "ぉ"},
        };
        for (auto& s : syllables) syllables_[key2(s[0][0], s[0][1])] = add(s[1]);

        // KY.., GY.., ... with ゃ ぃ ゅ ぇ ょ for A I U E O.
        const char* yRows[][2] = {{"K", "き"}, {"G", "ぎ"}, {"M", "み"}, {"N", "に"}, {"H", "ひ"},
                                  {"B", "び"}, {"P", "ぴ"}, {"R", "り"}, {"D", "ぢ"}};
        const char* vowels = "AIUEO";
        const char* smallY[] = {"ゃ", "ぃ", "ゅ", "ぇ", "ょ"};
        for (auto& r : yRows)
            for (int k = 0; k < 5; ++k)
                addThree(std::string(r[0]) + "Y" + vowels[k], std::string(r[1]) + smallY[k]);
        const char* threes[][2] = {
            {"SYI", "しぃ"}, {"THA", "てゃ"}, {"THI", "てぃ"}, {"THU", "てゅ"}, {"THE", "てぇ"},
            {"THO", "てょ"}, {"DHA", "でゃ"}, {"DHI", "でぃ"}, {"DHU", "でゅ"}, {"DHE", "でぇ"},
            {"DHO", "でょ"}, {"FYA", "ふゃ"}, {"FYI", "ふぃ"}, {"FYU", "ふゅ"}, {"FYE", "ふぇ"},
            {"FYO", "ふょ"}, {"TSA", "つぁ"}, {"TSI", "つぃ"}, {"TSU", "つ"},   {"TSE", "つぇ"},
            {"TSO", "つぉ"}, {"@YA", "ゃ"},   {"@YU", "ゅ"},   {"@YO", "ょ"},
        };
        for (auto& s : threes) addThree(s[0], s[1]);
    }

    const std::string* sign(unsigned char a) const { return at(a < kAscii ? signs_[a] : -1); }
    const std::string* number(unsigned char a, unsigned char b) const {
        return at(a < kAscii && b < kAscii ? numbers_[key2(a, b)] : -1);
    }
    const std::string* syllable(unsigned char a, unsigned char b) const {
        return at(a < kAscii && b < kAscii ? syllables_[key2(a, b)] : -1);
    }
    const std::string* three(unsigned char a, unsigned char b, unsigned char c) const {
        auto hit = threes_.find(std::uint32_t{a} << 16 | std::uint32_t{b} << 8 | c);
        return hit == threes_.end() ? nullptr : &hit->second;
    }

private:
    static std::size_t key2(unsigned char a, unsigned char b) { return a * kAscii + b; }

    std::int16_t add(const char* utf8) {
        kana_.push_back(utf8ToCp932(utf8).value_or(std::string()));
        return static_cast<std::int16_t>(kana_.size() - 1);
    }
    void addThree(const std::string& code, const std::string& utf8) {
        auto k = std::uint32_t{static_cast<unsigned char>(code[0])} << 16 |
                 std::uint32_t{static_cast<unsigned char>(code[1])} << 8 |
                 static_cast<unsigned char>(code[2]);
        threes_[k] = utf8ToCp932(utf8).value_or(std::string());
    }
    const std::string* at(int index) const {
        return index < 0 ? nullptr : &kana_[static_cast<std::size_t>(index)];
    }

    std::vector<std::string> kana_;
    std::array<std::int16_t, kAscii> signs_;
    std::array<std::int16_t, kAscii * kAscii> numbers_;
    std::array<std::int16_t, kAscii * kAscii> syllables_;
    std::unordered_map<std::uint32_t, std::string> threes_;
};

const Tables& tables() {
    static const Tables t;
    return t;
}

bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

}  // namespace

YomiStep yomiStep(std::string_view code, std::size_t i) {
    // All four lookups see the views taken at i; each hit adds its own advance.
    const Tables& t = tables();
    const std::size_t n = code.size();
    YomiStep step;
    if (i >= n) return step;
    const auto a = static_cast<unsigned char>(code[i]);
    if (const std::string* k = t.sign(a)) step.kana += *k;
    if (i + 1 < n) {
        const auto b = static_cast<unsigned char>(code[i + 1]);
        if (const std::string* k = t.number(a, b)) step.kana += *k;
        // A two-digit number token is consumed whole even without a kana (21 is the
        // small-kana group, which has none).
        if (isDigit(a) && isDigit(b)) {
            int value = (a - '0') * 10 + (b - '0');
            if ((value >= 1 && value <= 23) || value >= 90) ++step.length;
        }
        if (const std::string* k = t.syllable(a, b)) {
            step.kana += *k;
            ++step.length;
        }
        if (i + 2 < n) {
            if (const std::string* k = t.three(a, b, static_cast<unsigned char>(code[i + 2]))) {
                step.kana += *k;
                step.length += 2;
            }
        }
    }
    return step;
}

std::string ChangeYomi(const std::string& code, bool plainReadings) {
    if (plainReadings) return {};
    std::string out;
    out.reserve(code.size() * 2);
    for (std::size_t i = 0; i < code.size();) {
        const YomiStep step = yomiStep(code, i);
        out += step.kana;
        i += step.length;
    }
    return out;
}

std::vector<std::string> LoadData(const std::string& path) {
    return editorLinesOf(loadProblemSet(path));
}

std::vector<std::string> editorLinesOf(std::vector<std::string> lines) {
    if (lines.empty()) return lines;
    lines.erase(lines.begin());
    for (std::size_t r = 1; r < lines.size(); r += 2) lines[r] = ChangeYomi(lines[r], false);
    return lines;
}

}  // namespace keyrook
