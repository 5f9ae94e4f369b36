#include "problemsets/reading_decoder.h"

#include <gtest/gtest.h>

#include "problemsets/sjis.h"

namespace keyrook {
namespace {

using testing::sj;

struct YomiCase {
    std::string code;
    const char* reading;  // UTF-8
};

TEST(ChangeYomi, Codes) {
    const YomiCase cases[] = {
        {"", ""},
        {"GA18KOU", "がっこう"},
        {"0501NN", "しゃしん"},
        {"1618TO", "ちょっと"},
        {"FYU", "ふゅ"},
        {"FYUKA", "ふゅか"},
        {"VU", "う゛"},  // う and the separate mark ゛
        {"VA", "う゛ぁ"},
        {"WI", "うぃ"},
        {"95", "５"},
        {"909599", "０５９"},
        {"-_,.!?", "ー　、。！？"},
        {"NNA", "んあ"},
        {"1818", "っっ"},
        {"KA18", "かっ"},
        {"TO@U", "とぅ"},
        {"@YA@A", "ゃぁ"},
        {"1415161720", "ちゃちゅちょちぇちぃ"},
        {"2223", "しぃてぃ"},
        // spellings the encoder does not write
        {"SITITUHUZI", "しちつふじ"},
        {"JAJUJOJEJI", "じゃじゅじょじぇじ"},
        {"TSUTHIFYESYI", "つてぃふぇしぃ"},
        {"SHI", "ひ"},
        // numbers with no kana are still consumed whole; others are skipped digit by digit
        {"21A", "あ"},
        {"00", ""},
        {"24", ""},
        {"9", ""},
        {"K", ""},
        {"ka", ""},
        {"\x82\xA0" "A", "あ"},
    };
    for (const auto& c : cases) EXPECT_EQ(ChangeYomi(c.code, false), sj(c.reading)) << c.code;
}

TEST(ChangeYomi, PlainReadingsGivesNothing) {
    for (std::string code : {"GA18KOU", "", "school", "95"}) EXPECT_EQ(ChangeYomi(code, true), "");
}

}  // namespace
}  // namespace keyrook
