// The reading of an analysed sentence as the problem sets write readings.
#include <algorithm>
#include <cstdint>
#include <optional>

#include "base/cp932.h"
#include "problemsets/reading_suggester.h"

namespace keyrook {
namespace {

std::u32string decode(std::string_view s) {
    std::u32string out;
    for (std::size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i]);
        std::size_t n = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 1;
        if (i + n > s.size()) n = 1;
        char32_t cp = n == 1 ? c : c & (0xFF >> (n + 1));
        for (std::size_t k = 1; k < n; ++k) cp = cp << 6 | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out += cp;
        i += n;
    }
    return out;
}

std::string encode(std::u32string_view s) {
    std::string out;
    for (char32_t c : s) out += utf8Of(static_cast<std::uint32_t>(c));
    return out;
}

bool isKatakana(char32_t c) { return c >= U'ァ' && c <= U'ヶ'; }

int digitOf(char32_t c) {
    if (c >= U'0' && c <= U'9') return static_cast<int>(c - U'0');
    if (c >= U'０' && c <= U'９') return static_cast<int>(c - U'０');
    return -1;
}

bool allDigits(std::u32string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char32_t c) { return digitOf(c) >= 0; });
}

std::u32string hiragana32(std::u32string_view s) {
    std::u32string out;
    for (char32_t c : s) {
        if (c == U'ヴ')
            out += U"う゛";
        else if (c == U'ヵ')
            out += U'か';
        else if (c == U'ヶ')
            out += U'け';
        else if (isKatakana(c))
            out += c - 0x60;
        else if (c == U'ヽ' || c == U'ヾ')
            out += c - 0x60;
        else
            out += c;
    }
    return out;
}

// Half-width signs a reading can only hold in full width.
char32_t fullWidth(char32_t c) {
    if (c >= U'0' && c <= U'9') return U'０' + (c - U'0');
    if (c == U'!') return U'！';
    if (c == U'?') return U'？';
    if (c == U' ') return U'　';
    return c;
}

// What a number ends in when spoken: this decides how a counter after it sounds.
enum class Ending { None, One, Two, Three, Four, Five, Six, Seven, Eight, Nine, Ten, Hundred, Thousand, Man, Zero, Nan };

struct Number {
    Ending ending = Ending::None;
    long long value = -1;  // of a number in digits; -1 when unknown or too long
};

Number numberOfDigits(std::u32string_view digits) {
    Number n;
    long long v = 0;
    for (char32_t c : digits) {
        if (v > 100000000000LL) {
            v = -1;
            break;
        }
        v = v * 10 + digitOf(c);
    }
    n.value = v;
    // The last four places decide (１２００００ is じゅうにまん).
    long long last = 0, place = 1;
    for (std::size_t i = digits.size(); i-- > 0 && place <= 1000; place *= 10) last += digitOf(digits[i]) * place;
    static const Ending unit[] = {Ending::Zero, Ending::One, Ending::Two,   Ending::Three, Ending::Four,
                                  Ending::Five, Ending::Six, Ending::Seven, Ending::Eight, Ending::Nine};
    if (last == 0)
        n.ending = digits.size() > 4 ? Ending::Man : Ending::Zero;
    else if (last % 10 != 0)
        n.ending = unit[last % 10];
    else if (last % 100 != 0)
        n.ending = Ending::Ten;
    else if (last % 1000 != 0)
        n.ending = Ending::Hundred;
    else
        n.ending = Ending::Thousand;
    return n;
}

// The ending of a number written in kanji, from the reading of its last word.
Ending endingOfReading(std::u32string_view r) {
    struct Tail {
        std::u32string_view tail;
        Ending ending;
    } static const tails[] = {
        {U"ャク", Ending::Hundred},  // before ク
        {U"イチ", Ending::One},  {U"ニ", Ending::Two},      {U"サン", Ending::Three}, {U"ヨン", Ending::Four},
        {U"シ", Ending::Four},   {U"ゴ", Ending::Five},     {U"ロク", Ending::Six},   {U"ナナ", Ending::Seven},
        {U"シチ", Ending::Seven}, {U"ハチ", Ending::Eight}, {U"キュウ", Ending::Nine}, {U"ク", Ending::Nine},
        {U"ジュウ", Ending::Ten}, {U"ナン", Ending::Nan}, {U"セン", Ending::Thousand}, {U"ゼン", Ending::Thousand},
        {U"マン", Ending::Man},  {U"レイ", Ending::Zero},   {U"ゼロ", Ending::Zero},
    };
    for (const Tail& t : tails)
        if (r.size() >= t.tail.size() && r.substr(r.size() - t.tail.size()) == t.tail) return t.ending;
    return Ending::None;
}

bool in(Ending e, std::initializer_list<Ending> set) { return std::find(set.begin(), set.end(), e) != set.end(); }

// Counters whose sound changes after a number: the reading after each kind of number.
// (Counters starting with k, s or t change only the number, which stays in digits.)
struct Counter {
    std::u32string_view surface;
    std::u32string_view plain;    // after 2, 5, 7, 9 ...
    std::u32string_view hard;     // after いっ, ろっ, はっ, じゅっ, ひゃっ
    std::u32string_view voiced;   // after さん, せん, なん
    std::initializer_list<Ending> hardAfter;
    std::initializer_list<Ending> voicedAfter;
};

using E = Ending;
const Counter kCounters[] = {
    {U"本", U"ほん", U"ぽん", U"ぼん", {E::One, E::Six, E::Eight, E::Ten, E::Hundred}, {E::Three, E::Thousand, E::Man, E::Nan}},
    {U"匹", U"ひき", U"ぴき", U"びき", {E::One, E::Six, E::Eight, E::Ten, E::Hundred}, {E::Three, E::Thousand, E::Man, E::Nan}},
    {U"杯", U"はい", U"ぱい", U"ばい", {E::One, E::Six, E::Eight, E::Ten, E::Hundred}, {E::Three, E::Thousand, E::Man, E::Nan}},
    {U"分", U"ふん", U"ぷん", U"ぷん",
     {E::One, E::Three, E::Four, E::Six, E::Eight, E::Ten, E::Hundred, E::Thousand, E::Man, E::Nan}, {}},
    {U"分間", U"ふんかん", U"ぷんかん", U"ぷんかん",
     {E::One, E::Three, E::Four, E::Six, E::Eight, E::Ten, E::Hundred, E::Thousand, E::Man, E::Nan}, {}},
    {U"発", U"はつ", U"ぱつ", U"ぱつ", {E::One, E::Three, E::Six, E::Eight, E::Ten, E::Hundred, E::Nan}, {}},
    {U"泊", U"はく", U"ぱく", U"ぱく", {E::One, E::Three, E::Four, E::Six, E::Eight, E::Ten, E::Hundred, E::Nan}, {}},
    {U"歩", U"ほ", U"ぽ", U"ぽ", {E::One, E::Three, E::Six, E::Eight, E::Ten, E::Hundred, E::Nan}, {}},
    {U"票", U"ひょう", U"ぴょう", U"ぴょう", {E::One, E::Six, E::Eight, E::Ten, E::Hundred}, {}},
    {U"羽", U"わ", U"ぱ", U"ば", {E::Six, E::Eight, E::Ten, E::Hundred}, {E::Three, E::Thousand, E::Nan}},
    {U"階", U"かい", U"かい", U"がい", {}, {E::Three, E::Nan}},
    {U"軒", U"けん", U"けん", U"げん", {}, {E::Three, E::Thousand, E::Nan}},
    {U"足", U"そく", U"そく", U"ぞく", {}, {E::Three, E::Thousand, E::Nan}},
};

// The reading of a counter after a number, or nullopt when the dictionary's stands.
std::optional<std::u32string> counterAfter(const Number& n, std::u32string_view surface) {
    for (const Counter& c : kCounters) {
        if (surface != c.surface) continue;
        if (in(n.ending, c.hardAfter)) return std::u32string(c.hard);
        if (in(n.ending, c.voicedAfter)) return std::u32string(c.voiced);
        return std::u32string(c.plain);
    }
    if (surface == U"日" || surface == U"日間") {
        // ふつか .. とおか, じゅうよっか, はつか, にじゅうよっか: the days the digits leave as か.
        static const long long kaDays[] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 14, 20, 24};
        const bool ka = std::find(std::begin(kaDays), std::end(kaDays), n.value) != std::end(kaDays);
        return std::u32string(ka ? U"か" : U"にち") + (surface.size() > 1 ? U"かん" : U"");
    }
    // Read otherwise when standing alone (つき, こう).
    if (surface == U"月") return std::u32string(U"がつ");
    if (surface == U"行") return std::u32string(U"ぎょう");
    if (surface == U"人") {
        // ひとり, ふたり.
        if (n.value == 1 || n.value == 2) return std::u32string(U"り");
        return std::u32string(U"にん");
    }
    return std::nullopt;
}

// Words the IPA dictionary reads otherwise than the sets do.
struct Override {
    std::u32string_view surface;
    std::u32string_view reading;
};
const Override kOverrides[] = {
    {U"日本", U"にほん"},
    {U"日本人", U"にほんじん"},
    {U"日本語", U"にほんご"},
    {U"何時", U"なんじ"},  // いつ is written in kana
};

// Whether snow or rain falls in the words before i: 降り then is ふり, not おり (a を in
// between makes it getting off: 電車を降りる).
bool afterRainOrSnow(const std::vector<Morpheme>& words, std::size_t i) {
    for (std::size_t k = i; k-- > 0 && k + 5 > i;) {
        if (words[k].surface == "を") return false;
        if (words[k].surface.find("雨") != std::string::npos || words[k].surface.find("雪") != std::string::npos)
            return true;
    }
    return false;
}

// Whether 開い (ひらい) is a door or a shop being open: 開いている, が開いた.
bool openState(const std::vector<Morpheme>& words, std::size_t i) {
    if (i + 1 >= words.size() || (words[i + 1].surface != "て" && words[i + 1].surface != "た")) return false;
    const bool lasting = words[i + 1].surface == "て" && i + 2 < words.size() && words[i + 2].surface.starts_with("い");
    const bool subject = i > 0 && words[i - 1].surface == "が";
    return lasting || subject;
}

}  // namespace

std::string hiraganaOf(std::string_view text) { return encode(hiragana32(decode(text))); }

std::string readingOfMorphemes(const std::vector<Morpheme>& words) {
    std::u32string out;
    Number number;                 // the number just read, if the last word was one
    std::size_t numberStart = 0;   // where its reading starts in out
    bool kanjiNumber = false;
    bool counted = false;          // the last word was a counter after a number
    for (std::size_t i = 0; i < words.size(); ++i) {
        const Morpheme& w = words[i];
        const bool afterCounter = counted;
        counted = false;
        const std::u32string surface = decode(w.surface);
        const std::u32string reading = decode(w.reading);
        const bool inKanjiNumber = kanjiNumber && number.ending != Ending::None;

        if (allDigits(surface)) {
            std::u32string digits;
            if (number.ending != Ending::None && !kanjiNumber) {
                // A number MeCab cut into pieces: read it whole.
                for (std::size_t k = numberStart; k < out.size(); ++k) digits += out[k];
            } else {
                numberStart = out.size();
            }
            for (char32_t c : surface) {
                out += fullWidth(c);
                digits += fullWidth(c);
            }
            number = numberOfDigits(digits);
            kanjiNumber = false;
            continue;
        }
        if (number.ending != Ending::None && kanjiNumber && (surface == U"日" || surface == U"日間")) {
            // ふつか .. とおか, はつか in kanji: the number's reading changes with the counter.
            static const std::pair<std::u32string_view, std::u32string_view> days[] = {
                {U"に", U"ふつ"},  {U"さん", U"みっ"}, {U"よん", U"よっ"}, {U"し", U"よっ"},
                {U"ご", U"いつ"},  {U"ろく", U"むい"}, {U"なな", U"なの"}, {U"しち", U"なの"},
                {U"はち", U"よう"}, {U"きゅう", U"ここの"}, {U"く", U"ここの"}, {U"じゅう", U"とお"},
                {U"にじゅう", U"はつ"},
            };
            const std::u32string said = out.substr(numberStart);
            bool done = false;
            for (const auto& [number, day] : days)
                if (said == number) {
                    out.resize(numberStart);
                    out += day;
                    out += surface.size() > 1 ? U"かかん" : U"か";
                    done = true;
                }
            number = {};
            kanjiNumber = false;
            if (done) continue;
        }
        if (number.ending != Ending::None) {
            if (auto counter = counterAfter(number, surface)) {
                if (kanjiNumber && !counter->empty()) {
                    // いち, ろく, はち, じゅう, ひゃく become いっ, ろっ ... before a hard sound.
                    const char32_t first = (*counter)[0];
                    const bool hard = first >= U'ぱ' && first <= U'ぽ' && (first - U'ぱ') % 3 == 0;
                    if (hard && in(number.ending, {E::One, E::Six, E::Eight, E::Ten, E::Hundred})) {
                        if (out.size() > numberStart + 1) out.back() = U'っ';
                    }
                }
                out += *counter;
                number = {};
                counted = true;
                continue;
            }
        }
        counted = number.ending != Ending::None && w.pos2 == "助数詞";
        number = {};
        kanjiNumber = false;

        std::u32string piece;
        bool overridden = false;
        for (const Override& o : kOverrides)
            if (surface == o.surface) {
                piece = o.reading;
                overridden = true;
            }
        if (overridden) {
        } else if (w.pos == "名詞" && w.pos1 == "数" && !reading.empty()) {
            if (!inKanjiNumber) numberStart = out.size();  // 二 and 十 of 二十 are words of their own
            number.ending = endingOfReading(reading);
            kanjiNumber = true;
            piece = hiragana32(reading);
        } else if (surface.size() > 1 && surface[0] == U'何' &&
                   counterAfter({E::Nan, -1}, std::u32string_view(surface).substr(1))) {
            // 何本, 何分, 何月: one word of the dictionary, read as 何 and a counter.
            piece = U"なん" + *counterAfter({E::Nan, -1}, std::u32string_view(surface).substr(1));
        } else if (surface == U"何" && i + 1 < words.size() &&
                   counterAfter({E::Nan, -1}, decode(words[i + 1].surface))) {
            number.ending = E::Nan;
            kanjiNumber = false;
            numberStart = out.size();
            piece = U"なん";
        } else if (surface.starts_with(U"降り") && reading.starts_with(U"オ") && afterRainOrSnow(words, i)) {
            // 雨が降りそう: rain falls (ふる), nobody gets off (おりる).
            piece = U"ふ" + hiragana32(std::u32string_view(reading).substr(1));
        } else if (surface == U"中" && reading == U"チュウ" && afterCounter) {
            piece = U"じゅう";  // １日中, １年中: all through
        } else if (surface == U"開い" && reading == U"ヒライ" && openState(words, i)) {
            piece = U"あい";
        } else if (surface == U"何" && reading == U"ナニ" && i + 1 < words.size() &&
                   (words[i + 1].reading.starts_with("ノ") || words[i + 1].reading.starts_with("ダ") ||
                    words[i + 1].reading.starts_with("デ"))) {
            // なんの, なんだ, なんです
            piece = U"なん";
        } else if (!reading.empty()) {
            piece = hiragana32(reading);
        } else {
            // An unknown word: kana and signs as they stand, half-width digits and signs in full
            // width; kanji stay, so that the author sees what is left to read.
            for (char32_t c : surface) piece += fullWidth(c);
            piece = hiragana32(piece);
        }
        out += piece;
    }
    return encode(out);
}

}  // namespace keyrook
