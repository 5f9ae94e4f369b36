#include "problemsets/reading_suggester.h"

#include <gtest/gtest.h>

namespace keyrook {
namespace {

Morpheme number(const char* surface, const char* reading = "") { return {surface, "名詞", "数", "*", reading}; }
Morpheme counter(const char* surface, const char* reading) { return {surface, "名詞", "接尾", "助数詞", reading}; }

struct CounterCase {
    std::vector<Morpheme> words;
    const char* reading;
};

// The sound changes after a number are this program's own rules, whatever the dictionary says.
TEST(ReadingRules, CounterAfterANumber) {
    const CounterCase cases[] = {
        {{number("３"), counter("時", "ジ")}, "３じ"},
        {{number("３"), counter("本", "ホン")}, "３ぼん"},
        {{number("１"), counter("本", "ホン")}, "１ぽん"},
        {{number("２"), counter("本", "ホン")}, "２ほん"},
        {{number("1"), number("0"), counter("分", "フン")}, "１０ぷん"},  // a number cut in two
        {{number("５"), counter("分", "フン")}, "５ふん"},
        {{number("４"), counter("分", "フン")}, "４ぷん"},
        {{number("１"), counter("杯", "ハイ")}, "１ぱい"},
        {{number("３０００"), counter("杯", "ハイ")}, "３０００ばい"},
        {{number("６"), counter("匹", "ヒキ")}, "６ぴき"},
        {{number("１００"), counter("匹", "ヒキ")}, "１００ぴき"},
        {{number("３"), counter("階", "カイ")}, "３がい"},
        {{number("３"), counter("日", "ニチ")}, "３か"},
        {{number("２４"), counter("日", "ニチ")}, "２４か"},
        {{number("１１"), counter("日", "ニチ")}, "１１にち"},
        {{number("２"), counter("人", "ニン")}, "２り"},
        {{number("１２"), counter("人", "ニン")}, "１２にん"},
        {{number("５"), {"月", "名詞", "一般", "*", "ツキ"}}, "５がつ"},
        {{number("３"), counter("個", "コ")}, "３こ"},  // the digit changes, not the counter
        {{number("三", "サン"), counter("本", "ホン")}, "さんぼん"},
        {{number("一", "イチ"), counter("歩", "ホ")}, "いっぽ"},
        {{number("二", "ニ"), number("十", "ジュウ"), counter("日", "ニチ")}, "はつか"},
        {{number("何", "ナン"), counter("階", "カイ")}, "なんがい"},
        {{{"何本", "名詞", "一般", "*", "ナンホン"}}, "なんぼん"},
        // a counter only counts right after the number
        {{number("３"), {"の", "助詞", "連体化", "*", "ノ"}, {"本", "名詞", "一般", "*", "ホン"}}, "３のほん"},
    };
    for (const auto& c : cases) {
        std::string text;
        for (const auto& w : c.words) text += w.surface;
        EXPECT_EQ(readingOfMorphemes(c.words), c.reading) << text;
    }
}

TEST(ReadingRules, KanaSignsAndUnknownWords) {
    EXPECT_EQ(hiraganaOf("ヴァイオリンとコーヒー、ヶ所"), "う゛ぁいおりんとこーひー、け所");
    const std::vector<Morpheme> words = {
        {"「", "記号", "括弧開", "*", "「"},    {"ケロロン", "名詞", "一般", "*", ""},  // unknown
        {"」", "記号", "括弧閉", "*", "」"},    {"は", "助詞", "係助詞", "*", "ハ"},
        {"驫", "名詞", "一般", "*", ""},        {"3", "名詞", "数", "*", ""},
        {"!", "記号", "一般", "*", ""},         {"?", "記号", "一般", "*", ""},
    };
    EXPECT_EQ(readingOfMorphemes(words), "「けろろん」は驫３！？");
}

// Whole sentences through MeCab and the IPA dictionary, where they are installed.
TEST(ReadingSuggester, Sentences) {
    // The library comes with the build's own requirements; only the dictionary may be missing.
    ASSERT_TRUE(mecabLibraryLoads());
    EXPECT_EQ(openMecabSuggester({"/nonexistent/dictionary"}), nullptr);
    auto suggester = openMecabSuggester();
    if (!suggester) GTEST_SKIP() << "no MeCab dictionary (" << kSuggesterPackages << ")";
    const std::pair<const char*, const char*> cases[] = {
        {"今日は駅へ行きます。", "きょうはえきへいきます。"},
        {"父は毎朝コーヒーを飲みます。", "ちちはまいあさこーひーをのみます。"},
        {"私の誕生日は５月３日です。", "わたしのたんじょうびは５がつ３かです。"},
        {"駅まで歩いて１０分かかります。", "えきまであるいて１０ぷんかかります。"},
        {"鉛筆を２本と紙を３枚ください！", "えんぴつを２ほんとかみを３まいください！"},
        {"庭に犬が６匹いますか？", "にわにいぬが６ぴきいますか？"},
        {"母に「ありがとう」と言いました。", "ははに「ありがとう」といいました。"},
        {"日本の東京タワーは３３３メートルです。", "にほんのとうきょうたわーは３３３めーとるです。"},
        {"雨が降りそうです。", "あめがふりそうです。"},
        {"今年は雪がたくさん降りましたが、電車を降りました。", "ことしはゆきがたくさんふりましたが、でんしゃをおりました。"},
        {"このお店は何時まで開いていますか？", "このおみせはなんじまであいていますか？"},
        {"１日中雨でした。", "１にちじゅうあめでした。"},
        {"今日は ２月です", "きょうは　２がつです"},  // a half-width blank
        {"", ""},
    };
    for (const auto& [question, reading] : cases) EXPECT_EQ(suggester->suggest(question), reading) << question;
}

}  // namespace
}  // namespace keyrook
