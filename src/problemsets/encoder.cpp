#include "problemsets/encoder.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <unordered_map>

#include "base/cp932.h"

namespace keyrook {
namespace {

// Every character the encoder knows lies in 0x8140..0x833F (signs, digits, hiragana), so one
// flat array indexed from 0x8140 holds the single-character table.
constexpr std::uint16_t kFirst = 0x8140;
constexpr std::size_t kSpan = 0x200;

enum Kind : std::uint8_t {
    kNone,
    kRow,    // rows vowels to p: what the fall-back of a failed combination keeps
    kSmall,  // small kana row
    kOther,  // small tsu, signs, digits
};

// A code of at most three letters, kept in place so that writing it is one small copy.
struct Code {
    char text[4] = {};
    std::uint8_t size = 0;
    Code() = default;
    Code(std::string_view s) : size(static_cast<std::uint8_t>(s.size())) {
        for (std::size_t i = 0; i < s.size() && i < 3; ++i) text[i] = s[i];
    }
    // Writes the code at to, which has room for four bytes; returns the end of it.
    char* put(char* to) const {
        std::memcpy(to, text, 4);
        return to + size;
    }
};

struct Entry {
    Code code;
    Kind kind = kNone;
    bool startsCombination = false;  // ゃ ゅ ょ ぁ ぃ ぇ ぉ ゛ (not ぅ)
};

struct Tables {
    std::array<Entry, kSpan> single;
    std::unordered_map<std::uint32_t, Code> pairs;
    std::uint16_t u = 0, voiced = 0;
    std::unordered_map<std::uint16_t, Code> afterVu;  // う゛ + ぁ ぃ ぇ ぉ

    const Entry* find(std::uint16_t c) const {
        if (c < kFirst || c >= kFirst + kSpan) return nullptr;
        const Entry& e = single[c - kFirst];
        return e.kind == kNone ? nullptr : &e;
    }
};

std::uint16_t codeOf(const char* utf8) {
    std::string s = utf8ToCp932(utf8).value_or(std::string());
    if (s.size() != 2) return 0;
    return static_cast<std::uint16_t>(static_cast<unsigned char>(s[0]) << 8 |
                                      static_cast<unsigned char>(s[1]));
}

std::uint32_t pairKey(std::uint16_t a, std::uint16_t b) { return std::uint32_t{a} << 16 | b; }

const Tables& tables() {
    static const Tables t = [] {
        Tables t;
        auto add = [&t](const char* kana, const char* code, Kind kind) {
            Entry& e = t.single[codeOf(kana) - kFirst];
            e.code = Code(code);
            e.kind = kind;
        };
        const char* rows[][2] = {
            {"あ", "A"},  {"い", "I"},  {"う", "U"},  {"え", "E"},  {"お", "O"},
            {"か", "KA"}, {"き", "KI"}, {"く", "KU"}, {"け", "KE"}, {"こ", "KO"},
            {"さ", "SA"}, {"し", "01"}, {"す", "SU"}, {"せ", "SE"}, {"そ", "SO"},
            {"た", "TA"}, {"ち", "02"}, {"つ", "03"}, {"て", "TE"}, {"と", "TO"},
            {"な", "NA"}, {"に", "NI"}, {"ぬ", "NU"}, {"ね", "NE"}, {"の", "NO"},
            {"は", "HA"}, {"ひ", "HI"}, {"ふ", "04"}, {"へ", "HE"}, {"ほ", "HO"},
            {"ま", "MA"}, {"み", "MI"}, {"む", "MU"}, {"め", "ME"}, {"も", "MO"},
            {"や", "YA"}, {"ゆ", "YU"}, {"よ", "YO"},
            {"ら", "RA"}, {"り", "RI"}, {"る", "RU"}, {"れ", "RE"}, {"ろ", "RO"},
            {"わ", "WA"}, {"ゐ", "WI"}, {"ゑ", "WE"}, {"を", "WO"}, {"ん", "NN"},
            {"が", "GA"}, {"ぎ", "GI"}, {"ぐ", "GU"}, {"げ", "GE"}, {"ご", "GO"},
            {"ざ", "ZA"}, {"じ", "09"}, {"ず", "ZU"}, {"ぜ", "ZE"}, {"ぞ", "ZO"},
            {"だ", "DA"}, {"ぢ", "DI"}, {"づ", "DU"}, {"で", "DE"}, {"ど", "DO"},
            {"ば", "BA"}, {"び", "BI"}, {"ぶ", "BU"}, {"べ", "BE"}, {"ぼ", "BO"},
            {"ぱ", "PA"}, {"ぴ", "PI"}, {"ぷ", "PU"}, {"ぺ", "PE"}, {"ぽ", "PO"},
        };
        for (auto& r : rows) add(r[0], r[1], kRow);
        const char* small[][2] = {{"ぁ", "@A"}, {"ぃ", "@I"}, {"ぅ", "@U"},  {"ぇ", "@E"},
                                  {"ぉ", "@O"}, {"ゃ", "@YA"}, {"ゅ", "@YU"}, {"ょ", "@YO"}};
        for (auto& r : small) add(r[0], r[1], kSmall);
        const char* other[][2] = {{"っ", "18"}, {"ー", "-"}, {"　", "_"}, {"、", ","},
                                  {"。", "."},  {"！", "!"}, {"？", "?"}};
        for (auto& r : other) add(r[0], r[1], kOther);
        const char* digits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
        for (int d = 0; d < 10; ++d) {
            std::string code = "9" + std::to_string(d);
            add(digits[d], code.c_str(), kOther);
        }
        t.voiced = codeOf("゛");
        t.single[t.voiced - kFirst].kind = kOther;  // in the table, with no code of its own
        for (const char* c : {"ゃ", "ゅ", "ょ", "ぁ", "ぃ", "ぇ", "ぉ", "゛"})
            t.single[codeOf(c) - kFirst].startsCombination = true;

        auto pair = [&t](const char* a, const char* b, const std::string& code) {
            t.pairs[pairKey(codeOf(a), codeOf(b))] = Code(code);
        };
        struct Set {
            const char* first;
            const char* codes[5];  // ゃ ゅ ょ ぇ ぃ
        };
        const Set sets[] = {
            {"し", {"05", "06", "07", "08", "22"}},
            {"じ", {"10", "11", "12", "13", "19"}},
            {"ち", {"14", "15", "16", "17", "20"}},
            {"ぢ", {"DYA", "DYU", "DYO", "DYE", "DYI"}},
            {"て", {"THA", "THU", "THO", "THE", "23"}},
            {"で", {"DHA", "DHU", "DHO", "DHE", "DHI"}},
        };
        const char* fiveSmall[] = {"ゃ", "ゅ", "ょ", "ぇ", "ぃ"};
        for (auto& s : sets)
            for (int k = 0; k < 5; ++k) pair(s.first, fiveSmall[k], s.codes[k]);
        const char* consonants[][2] = {{"き", "K"}, {"ぎ", "G"}, {"み", "M"}, {"に", "N"},
                                       {"ひ", "H"}, {"び", "B"}, {"ぴ", "P"}, {"り", "R"}};
        const char* ySuffix[] = {"YA", "YU", "YO", "YE", "YI"};
        for (auto& c : consonants)
            for (int k = 0; k < 5; ++k) pair(c[0], fiveSmall[k], std::string(c[1]) + ySuffix[k]);
        pair("ふ", "ぁ", "FA");
        pair("ふ", "ぃ", "FI");
        pair("ふ", "ぇ", "FE");
        pair("ふ", "ぉ", "FO");
        pair("ふ", "ゃ", "FYA");
        pair("ふ", "ゅ", "FYU");
        pair("ふ", "ょ", "FYO");
        pair("う", "ぃ", "WI");
        pair("う", "ぇ", "WE");
        pair("う", "゛", "VU");
        pair("つ", "ぁ", "TSA");
        pair("つ", "ぃ", "TSI");
        pair("つ", "ぇ", "TSE");
        pair("つ", "ぉ", "TSO");

        t.u = codeOf("う");
        t.afterVu[codeOf("ぁ")] = Code("VA");
        t.afterVu[codeOf("ぃ")] = Code("VI");
        t.afterVu[codeOf("ぇ")] = Code("VE");
        t.afterVu[codeOf("ぉ")] = Code("VO");
        return t;
    }();
    return t;
}

// One character of the reading: a two-byte character has its code, a single byte (or a lead
// byte cut off at the end) has code 0, which no table holds.
struct Char {
    std::uint16_t code = 0;
    std::size_t size = 0;  // 0 past the end
};

Char charAt(std::string_view s, std::size_t pos) {
    if (pos >= s.size()) return {};
    auto lead = static_cast<unsigned char>(s[pos]);
    if (isLeadByte(lead) && pos + 1 < s.size())
        return {static_cast<std::uint16_t>(lead << 8 | static_cast<unsigned char>(s[pos + 1])), 2};
    return {0, 1};
}

}  // namespace

std::string encodeReading(std::string_view reading) {
    const Tables& t = tables();
    // Each character gives at most three letters for its two bytes; a failed combination
    // gives at most five for four. Four bytes of room past the end for Code::put.
    std::string out(reading.size() + reading.size() / 2 + 4, '\0');
    char* to = out.data();
    std::size_t pos = 0;
    Char cur = charAt(reading, 0);
    while (pos < reading.size()) {
        const Char next = charAt(reading, pos + cur.size);
        const Entry* nextEntry = next.size == 2 ? t.find(next.code) : nullptr;

        if (cur.code == t.u && next.code == t.voiced) {
            const Char third = charAt(reading, pos + cur.size + next.size);
            auto vu = third.size == 2 ? t.afterVu.find(third.code) : t.afterVu.end();
            if (vu != t.afterVu.end()) {
                to = vu->second.put(to);
                pos += cur.size + next.size + third.size;
                cur = charAt(reading, pos);
                continue;
            }
        }
        if (nextEntry && nextEntry->startsCombination) {
            auto hit = cur.size == 2 ? t.pairs.find(pairKey(cur.code, next.code)) : t.pairs.end();
            if (hit != t.pairs.end()) {
                to = hit->second.put(to);
            } else {
                // No such combination: keep the first character only if it is an ordinary
                // kana, then the small kana itself (a lone ゛ is dropped).
                const Entry* curEntry = t.find(cur.code);
                if (curEntry && curEntry->kind == kRow) to = curEntry->code.put(to);
                if (nextEntry->kind == kSmall) to = nextEntry->code.put(to);
            }
            pos += cur.size + next.size;
            cur = charAt(reading, pos);
            continue;
        }
        if (const Entry* e = t.find(cur.code)) to = e->code.put(to);
        pos += cur.size;
        cur = next;
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
    return out;
}

}  // namespace keyrook
