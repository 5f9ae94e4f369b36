// Random readings through the encoder and back through the reading decoder: what comes back is
// the reading after the normalisations a save and reopen in the maker are known to make.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "problemsets/encoder.h"
#include "problemsets/reading_decoder.h"
#include "problemsets/sjis.h"

namespace keyrook {
namespace {

using testing::sj;
using Chars = std::vector<std::string>;  // one UTF-8 character each

const Chars kOrdinary = {
    "あ", "い", "う", "え", "お", "か", "き", "く", "け", "こ", "さ", "し", "す", "せ", "そ",
    "た", "ち", "つ", "て", "と", "な", "に", "ぬ", "ね", "の", "は", "ひ", "ふ", "へ", "ほ",
    "ま", "み", "む", "め", "も", "や", "ゆ", "よ", "ら", "り", "る", "れ", "ろ", "わ", "ゐ",
    "ゑ", "を", "ん", "が", "ぎ", "ぐ", "げ", "ご", "ざ", "じ", "ず", "ぜ", "ぞ", "だ", "ぢ",
    "づ", "で", "ど", "ば", "び", "ぶ", "べ", "ぼ", "ぱ", "ぴ", "ぷ", "ぺ", "ぽ"};
const Chars kSmall = {"ぁ", "ぃ", "ぅ", "ぇ", "ぉ", "ゃ", "ゅ", "ょ"};
const Chars kOthers = {"っ", "ー", "　", "、", "。", "！", "？", "０", "１", "２",
                       "３", "４", "５", "６", "７", "８", "９"};
const Chars kNoTable = {"カ", "漢", "ゎ", "〓"};

bool in(const Chars& set, const std::string& c) {
    return std::find(set.begin(), set.end(), c) != set.end();
}

// Pairs the encoder knows, by their first character.
bool knownPair(const std::string& a, const std::string& b) {
    static const Chars yFirst = {"し", "じ", "ち", "ぢ", "き", "ぎ", "み", "に",
                                 "ひ", "び", "ぴ", "り", "て", "で"};
    if (in(yFirst, a)) return in({"ゃ", "ゅ", "ょ", "ぇ", "ぃ"}, b);
    if (a == "ふ") return in({"ぁ", "ぃ", "ぇ", "ぉ", "ゃ", "ゅ", "ょ"}, b);
    if (a == "う") return in({"ぃ", "ぇ", "゛"}, b);
    if (a == "つ") return in({"ぁ", "ぃ", "ぇ", "ぉ"}, b);
    return false;
}

std::string ordinary(const std::string& c) {
    if (c == "ゐ") return "うぃ";
    if (c == "ゑ") return "うぇ";
    return c;
}

// The reading as it comes back: ゐ/ゑ become うぃ/うぇ, characters in no table vanish, and a
// character followed by a small kana or ゛ that forms no known pair keeps only an ordinary
// first character (not っ, signs, digits or small kana) and the small kana (not ゛).
std::string expectedBack(const Chars& r) {
    const Chars starters = {"ゃ", "ゅ", "ょ", "ぁ", "ぃ", "ぇ", "ぉ", "゛"};
    std::string out;
    std::size_t i = 0;
    while (i < r.size()) {
        const std::string& c = r[i];
        const std::string next = i + 1 < r.size() ? r[i + 1] : "";
        const std::string third = i + 2 < r.size() ? r[i + 2] : "";
        if (c == "う" && next == "゛" && in({"ぁ", "ぃ", "ぇ", "ぉ"}, third)) {
            out += c + next + third;
            i += 3;
        } else if (in(starters, next)) {
            if (knownPair(c, next)) {
                out += c + next;
            } else {
                if (in(kOrdinary, c)) out += ordinary(c);
                if (in(kSmall, next)) out += next;
            }
            i += 2;
        } else {
            if (in(kOrdinary, c) || in(kSmall, c) || in(kOthers, c)) out += ordinary(c);
            ++i;
        }
    }
    return out;
}

TEST(RoundTrip, RandomReadings) {
    Chars all = kOrdinary;
    all.insert(all.end(), kOthers.begin(), kOthers.end());
    Chars starters = kSmall;
    starters.push_back("゛");
    std::mt19937 rng(20240611);
    std::set<std::string> pairsSeen;
    for (int n = 0; n < 5000; ++n) {
        Chars reading;
        const int length = static_cast<int>(rng() % 12);
        for (int k = 0; k < length; ++k) {
            const unsigned roll = rng() % 100;
            const Chars& pool = roll < 35 ? starters : roll < 38 ? kNoTable : all;
            reading.push_back(pool[rng() % pool.size()]);
            if (k > 0 && in(starters, reading.back())) pairsSeen.insert(reading[k - 1] + reading[k]);
        }
        std::string utf8;
        for (const auto& c : reading) utf8 += c;
        const std::string code = encodeReading(sj(utf8));
        ASSERT_EQ(ChangeYomi(code, false), sj(expectedBack(reading)))
            << utf8 << " -> " << code;
    }
    EXPECT_GT(pairsSeen.size(), 800u);  // the draw really mixes combinations
}

}  // namespace
}  // namespace keyrook
