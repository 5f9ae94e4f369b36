#include "problemsets/romaji_matcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <random>

#include "base/cp932.h"
#include "base/files.h"
#include "problemsets/encoder.h"
#include "problemsets/romaji_decoder.h"

namespace keyrook {
namespace {

enum Setup : unsigned {
    kPlain = 0,         // the option off
    kFlex = 1,          // flexible matching
    kLower = 2,         // chkLC
    kHepburn = 4,       // the "ﾍﾎﾞﾝ式" preset chosen
    kOwn = 8,           // own lists: し "SHY", "SI" (SHY chosen); 小字 "X", "L", "Q"
    kEnglish = 16,      // an English-type set
};

VariantTable tableFor(unsigned setup) {
    VariantTable t;
    if (setup & kHepburn) t.applyHepburn();
    if (setup & kOwn) {
        t.group(1)->items = {"SHY", "SI"};
        t.group(21)->items = {"X", "L", "Q"};
    }
    return t;
}

// Keys typed as the tool types them: H hit, M miss, "." once complete; then the line left and
// the row's byte count ("-" while incomplete).
struct Typed {
    std::string judged, left, bytes;
};

Typed typeKeys(RomajiMatcher& m, const std::string& code, const std::string& keys, unsigned setup) {
    m.start(code, tableFor(setup), setup & kEnglish, MatchOptions{(setup & kFlex) != 0, (setup & kLower) != 0});
    Typed t;
    for (char k : keys) {
        const KeyJudgement j = m.key(k).judgement;
        t.judged += j == KeyJudgement::Hit ? 'H' : j == KeyJudgement::Miss ? 'M' : '.';
    }
    t.left = m.remaining();
    t.bytes = m.complete() ? std::to_string(m.rowBytes()) : "-";
    return t;
}

struct Case {
    const char* code;
    unsigned setup;
    const char* keys;
    const char* judged;
    const char* left;
    const char* bytes;
};

// One line per case: the code string, the settings, the keys and what they give.
const Case kCases[] = {
    // Spellings mixed within a line; the guide keeps the chosen ones.
    {"0101", kFlex, "SISHI", "HHHHH", "", "5"},
    {"0101", kFlex, "SHISI", "HHHHH", "", "5"},
    {"0101", kPlain, "SHISI", "HMHHH", "", "4"},
    {"0101", kFlex | kHepburn, "CISI", "HHHH", "", "4"},
    {"0203040910", kFlex, "CHITSUHUJIJA", "HHHHHHHHHHHH", "", "12"},
    {"0203040910", kFlex | kHepburn, "TITUFUZIZYA", "HHHHHHHHHHH", "", "11"},
    {"KAKUKOSE", kFlex, "CAQUCOCE", "HHHHHHHH", "", "8"},
    // The line while a unit is begun: its spelling as begun, then the chosen ones.
    {"0501", kFlex, "", "", "SYASI", "-"},
    {"0501", kFlex, "SH", "HH", "ASI", "-"},
    {"0501", kFlex, "SI", "HH", "XYASI", "-"},
    {"0501", kFlex | kHepburn, "S", "H", "HASHI", "-"},
    {"0501", kFlex | kHepburn, "SY", "HH", "ASHI", "-"},
    {"1802", kFlex, "C", "H", "CHI", "-"},
    {"1802", kFlex | kHepburn, "T", "H", "CHI", "-"},
    // Small tsu before every kind of unit, alone and at the end.
    {"GA18KOU", kFlex, "GAKKOU", "HHHHHH", "", "6"},
    {"GA18KOU", kFlex, "GALTUKOU", "HHHHHHHH", "", "8"},
    {"1802", kFlex, "CCHI", "HHHH", "", "4"},
    {"1802", kFlex, "TTI", "HHH", "", "3"},
    {"1802", kFlex, "XTSUCHI", "HHHHHHH", "", "7"},
    {"1802", kFlex, "TCHI", "HHHH", "", "4"},
    {"MA1814", kFlex | kHepburn, "MATCHA", "HHHHHH", "", "6"},
    {"1814", kFlex, "TCYA", "HHMM", "HA", "-"},
    {"18KA", kFlex, "TKKA", "MHHH", "", "3"},
    {"1802", kPlain, "TCHI", "HMMM", "TI", "-"},
    {"1805", kFlex, "SSHA", "HHHH", "", "4"},
    {"1810", kFlex, "JJA", "HHH", "", "3"},
    {"18@U", kFlex, "LLU", "HHH", "", "3"},
    {"18A", kFlex, "AA", "HH", "", "2"},
    {"18NA", kFlex, "NNA", "HHH", "", "3"},
    {"18NA", kFlex, "LTUNA", "HHHHH", "", "5"},
    {"1818KA", kFlex, "KKKA", "HHHH", "", "4"},
    {"A18", kFlex, "A", "H", "", "1"},
    {"A18!", kFlex, "A!", "HH", "", "2"},
    {"A18!", kFlex, "ALTU!", "HHHHH", "", "5"},
    // ん before a vowel, Y, N, a consonant, a sign and at the end.
    {"NNA", kFlex, "NA", "HM", "NA", "-"},
    {"NNYA", kFlex, "NYA", "HMM", "NYA", "-"},
    {"NNNA", kFlex, "NNA", "HHM", "NA", "-"},
    {"KANNTANN", kFlex, "KANTANN", "HHHHHHH", "", "7"},
    {"KANNTANN", kFlex, "KAXNTAXN", "HHHHHHHH", "", "8"},
    {"KANNTANN", kFlex, "KANTAN", "HHHHHH", "N", "-"},
    {"KANNTANN", kPlain, "KANTANN", "HHHHHHH", "", "8"},
    {"NN!", kFlex, "N!", "HH", "", "2"},
    {"KONNNI02HA", kFlex, "KONNICHIHA", "HHHHMMMMMM", "NITIHA", "-"},
    // Input methods' spellings, also for kana the line codes one by one; N' wherever NN goes.
    {"KANNI", kFlex, "KAN'I", "HHHHH", "", "5"},
    {"HONNYA", kFlex, "HON'YA", "HHHHHH", "", "6"},
    {"KANN", kFlex, "KAN'", "HHHH", "", "4"},
    {"KANNI", kPlain, "KAN'I", "HHHMM", "NI", "-"},
    {"NI@YA", kFlex, "NYA", "HHH", "", "3"},
    {"VU@E", kFlex, "VE", "HH", "", "2"},
    {"18U@I", kFlex, "WWHI", "HHHH", "", "4"},
    {"18U", kFlex, "WWU", "HHH", "", "3"},
    {"WI", kFlex, "WYI", "HHH", "", "3"},
    {"TE@IDE@YU", kFlex, "T'ID'YU", "HHHHHHH", "", "7"},
    {"KU@AI@E", kFlex, "QAYE", "HHHH", "", "4"},
    // Combinations as their kana one after the other, small kana alone.
    {"05", kFlex, "SILYA", "HHHHH", "", "5"},
    {"05", kFlex, "SHIXYA", "HHHHHH", "", "6"},
    {"KYA", kFlex, "KILYA", "HHHHH", "", "5"},
    {"1618TO", kFlex, "CHIXYOTTO", "HHHHHHHHH", "", "9"},
    {"VA", kFlex, "VUXA", "HHHH", "", "4"},
    {"23", kFlex, "TEXI", "HHHH", "", "4"},
    {"TO@U", kFlex, "TOLU", "HHHH", "", "4"},
    {"@A@YA@I", kFlex, "LAXYAXYI", "HHHHHHHH", "", "8"},
    // Own lists count, the common spellings stay.
    {"01@A", kFlex | kOwn, "", "", "SHYXA", "-"},
    {"01@A", kFlex | kOwn, "SHIQA", "HHHHH", "", "5"},
    {"01@A", kFlex | kOwn, "SILA", "HHHH", "", "4"},
    // Lower-case display: shown in lower case, keys of either case.
    {"KANNTANN", kLower, "ka", "HH", "nntann", "-"},
    {"0101", kFlex | kLower, "Sh", "HH", "isi", "-"},
    {"NANA", kFlex | kLower, "a", "M", "nana", "-"},
    // Blanks: the space bar types "_", a half-width blank only the first time.
    {"A_I", kFlex, "A I", "HHH", "", "3"},
    {"I AM", kEnglish | kFlex, "I AM", "HHHH", "", "4"},
    {"I AM A", kEnglish | kFlex, "I_AM_", "HHHHM", " A", "-"},
    // Lines the units cannot reproduce are matched as without the option.
    {"SHI", kFlex, "SI", "HM", "HI", "-"},
    {"21A", kFlex, "XA", "HH", "", "2"},
    {"KA5", kFlex, "CA", "MM", "KA5", "-"},
    {"NNKA X", kFlex, "NKA_X", "HHHHH", "", "6"},
};

TEST(RomajiMatcher, JudgesKeysLineByLine) {
    RomajiMatcher m;
    for (const Case& c : kCases) {
        const Typed t = typeKeys(m, c.code, c.keys, c.setup);
        EXPECT_EQ(t.judged, c.judged) << c.code << " / " << c.keys;
        EXPECT_EQ(t.left, c.left) << c.code << " / " << c.keys;
        EXPECT_EQ(t.bytes, c.bytes) << c.code << " / " << c.keys;
    }
}

// A player who follows the line sees the same line and gets the same judgements with the
// option as without it, whatever the spellings chosen and whatever the code string holds.
TEST(RomajiMatcher, FollowingTheLineJudgesAsWithoutTheOption) {
    std::vector<VariantTable> tables(4);
    tables[1].applyHepburn();
    tables[2].group(1)->items = {"S", "SI", "SHI"};  // a spelling that starts another
    tables[2].group(1)->itemIndex = 1;
    tables[2].group(21)->items = {"Q"};
    tables[3].group(2)->itemIndex = -1;  // nothing chosen: ち is left out of the line
    tables[3].group(14)->itemIndex = 2;
    const std::string kana = "あいうかきしちつにふじんっゃゅょぁぃぅぇぉー、！１ゐ゛";
    std::vector<std::string> chars;
    for (std::size_t i = 0; i < kana.size(); i += 3) chars.push_back(*utf8ToCp932(kana.substr(i, 3)));
    const std::string raw = "AIUEOKSTNHMYRWGZDBPFJVX@-_,.!? 0123456789";
    std::mt19937 rng(7);
    RomajiMatcher flexible, plain;
    int byUnits = 0;
    for (int n = 0; n < 3000; ++n) {
        std::string code;
        const int length = 1 + static_cast<int>(rng() % 12);
        if (n % 3 == 0) {
            for (int k = 0; k < length; ++k) code += raw[rng() % raw.size()];
        } else {
            std::string reading;
            for (int k = 0; k < length; ++k) reading += chars[rng() % chars.size()];
            code = encodeReading(reading);
        }
        const VariantTable& t = tables[static_cast<std::size_t>(n) % tables.size()];
        const bool lower = n % 5 == 0;
        flexible.start(code, t, false, MatchOptions{true, lower});
        plain.start(code, t, false, MatchOptions{false, lower});
        ASSERT_EQ(flexible.remaining(), plain.remaining()) << code;
        byUnits += flexible.flexible();
        while (!plain.complete()) {
            const char k = plain.remaining()[0];
            ASSERT_EQ(flexible.key(k).judgement, plain.key(k).judgement) << code;
            ASSERT_EQ(flexible.remaining(), plain.remaining()) << code;
        }
    }
    EXPECT_GT(byUnits, 2000);  // the encoder's lines and some of the others
}

// Every row of the input method's romaji table (romaji, kana, the key left pending), where a
// copy of the table lies beside the sources: its romaji type its kana. A pending key goes on
// into a kana that a row spells with it (KK + A for っか); a lone N and a small tsu of its own
// are typed before か.
TEST(RomajiMatcher, AcceptsEveryRowOfTheInputMethodTable) {
    const char* dir = std::getenv("KEYROOK_SHARED_DIR");
    const std::string path = (dir ? std::string(dir) : std::string(KEYROOK_SOURCE_DIR) + "/../shared") +
                             "/data/mozc-romanji-hiragana.tsv";
    if (!fileExists(path)) GTEST_SKIP() << "no " << path;
    struct Row {
        std::string romaji, kana, pending;
    };
    std::vector<Row> rows;
    for (const std::string& line : splitLines(loadStringFromFile(path))) {
        std::vector<std::string> f(3);
        for (std::size_t i = 0, at = 0; at <= line.size() && i < 3; ++i) {
            const std::size_t tab = std::min(line.find('\t', at), line.size());
            f[i] = line.substr(at, tab - at);
            at = tab + 1;
        }
        // The kana as readings hold them: ゔ is う and the voiced mark.
        for (std::size_t v; (v = f[1].find("ゔ")) != std::string::npos;) f[1].replace(v, 3, "う゛");
        // Kana only: the signs and small katakana rows are no reading's.
        bool kana = !f[1].empty();
        for (std::size_t i = 0; i < f[1].size() && kana; i += 3) {
            const std::string c = f[1].substr(i, 3);
            kana = (c >= "ぁ" && c <= "ゖ" && c != "ゎ") || c == "゛" || c == "ー";
        }
        if (kana) rows.push_back({f[0], f[1], f[2]});
    }
    RomajiMatcher m;
    int checked = 0;
    for (const Row& r : rows) {
        std::string reading = r.kana, keys = r.romaji;
        if (!r.pending.empty()) {
            auto next = std::find_if(rows.begin(), rows.end(), [&](const Row& o) {
                return o.pending.empty() && o.romaji.size() > 1 && o.romaji[0] == r.pending[0] &&
                       o.kana.rfind("っ", 0) != 0;
            });
            ASSERT_NE(next, rows.end()) << r.romaji;
            reading += next->kana;
            keys += next->romaji.substr(1);
        } else if (r.romaji == "n" || r.kana == "っ") {  // nothing to type at the end of a line
            reading += "か";
            keys += "ka";
        }
        const std::string code = encodeReading(*utf8ToCp932(reading));
        if (!r.pending.empty() && code.find("18") == std::string::npos) continue;  // っ before a small kana
        m.start(code, VariantTable{}, false, MatchOptions{true, false});
        for (char k : keys) ASSERT_EQ(m.key(k).judgement, KeyJudgement::Hit) << keys << " for " << reading;
        EXPECT_TRUE(m.complete()) << r.romaji << " for " << r.kana;
        ++checked;
    }
    EXPECT_GT(checked, 270);
}

// Spellings chosen for one line: each group token as some item of its default list (or the
// one of a fixed table), a small tsu doubling what follows, as a player typing in that style.
std::string spellLine(const std::string& code, std::mt19937* mix, const VariantTable& style) {
    const VariantTable defaults;
    std::string out;
    std::size_t i = 0;
    auto token = [&](std::size_t& at) {
        const std::string two = code.substr(at, 2);
        if (code[at] == '@' || (two.size() == 2 && std::isdigit(static_cast<unsigned char>(two[0])) &&
                                std::isdigit(static_cast<unsigned char>(two[1])))) {
            VariantTable pick = style;
            if (mix)
                for (VariantGroup& g : pick.groups())
                    g.itemIndex = static_cast<int>((*mix)() % defaults.group(g.number)->items.size());
            const std::size_t n = code[at] == '@' ? 1 : 2;
            at += n;
            return Changer(code.substr(at - n, n), pick, false);
        }
        return std::string(1, code[at++]);
    };
    while (i < code.size()) {
        if (code.compare(i, 2, "18") == 0) {
            i += 2;
            if (i >= code.size()) break;
            const std::string next = token(i);
            if (std::isalpha(static_cast<unsigned char>(next[0]))) out += next[0];
            out += next;
        } else {
            out += token(i);
        }
    }
    return out;
}

// Every question of every sample set typed in Hepburn, in Kunrei and mixed while the guide
// shows the settings' spellings: no miss, and the line as first shown is the line of today.
TEST(RomajiMatcher, SampleSetsTypeInAnyStyleWithoutAMiss) {
    VariantTable hepburn;
    for (int n : {1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}) hepburn.group(n)->itemIndex = n >= 10 && n <= 13 ? 2 : 1;
    VariantTable kunrei;
    kunrei.group(4)->itemIndex = 1;  // HU
    VariantTable guides[2];  // the defaults and the "ﾍﾎﾞﾝ式" preset
    guides[1].applyHepburn();

    std::mt19937 mix(14);
    RomajiMatcher m;
    int sets = 0, questions = 0;
    const std::string dir = std::string(KEYROOK_SOURCE_DIR) + "/assets/data/";
    for (const std::string& file : listFiles(dir, ".std")) {
        const std::vector<std::string> lines = splitLines(loadStringFromFile(dir + file));
        ASSERT_GE(lines.size(), 3u) << file;
        const bool english = !lines[0].empty() && lines[0].back() == '#';
        ++sets;
        for (std::size_t a = 2; a < lines.size(); a += 2) {
            ++questions;
            const std::string& code = lines[a];
            for (const VariantTable& guide : guides) {
                const std::string styles[] = {spellLine(code, nullptr, hepburn), spellLine(code, nullptr, kunrei),
                                              spellLine(code, &mix, VariantTable{})};
                for (const std::string& keys : styles) {
                    const std::string& typed = english ? code : keys;
                    m.start(code, guide, english, MatchOptions{true, false});
                    std::string shown = Changer(code, guide, english);
                    if (auto blank = shown.find(' '); blank != std::string::npos) shown[blank] = '_';
                    ASSERT_EQ(m.remaining(), shown) << file << ": " << code;
                    EXPECT_EQ(m.flexible(), !english) << code;
                    for (char k : typed) ASSERT_EQ(m.key(k).judgement, KeyJudgement::Hit) << code << " / " << typed;
                    ASSERT_TRUE(m.complete()) << code << " / " << typed;
                    EXPECT_EQ(m.rowBytes(), static_cast<int>(english ? shown.size() : typed.size()));
                }
            }
        }
    }
    EXPECT_EQ(sets, 14);
    EXPECT_GT(questions, 300);
}

}  // namespace
}  // namespace keyrook
