#include "problemsets/encoder.h"

#include <gtest/gtest.h>

#include "problemsets/sjis.h"

namespace keyrook {
namespace {

using testing::sj;

struct EncodeCase {
    const char* reading;  // UTF-8
    const char* code;
};

TEST(Encoder, Readings) {
    const EncodeCase cases[] = {
        {"", ""},
        {"がっこう", "GA18KOU"},
        {"しゃしん", "0501NN"},
        {"っち", "1802"},
        {"ちょっと", "1618TO"},
        {"きゃ", "KYA"},
        {"ぁ", "@A"},
        {"ゃ", "@YA"},
        {"ぅぅ", "@U@U"},
        {"ゃゅょぃぅぇぉ", "@YU@I@E@O"},  // a small kana is dropped before any but ぅ
        // voiced mark: only う takes it
        {"か゛", "KA"},
        {"う゛", "VU"},
        {"゛", ""},
        // small tsu before a combining character gives nothing
        {"っゃ", "@YA"},
        {"っぁ", "@A"},
        {"っ゛", ""},
        {"かっ", "KA18"},
        {"っぅ", "18@U"},
        {"ゐゑ", "WIWE"},
        {"うぃうぇ", "WIWE"},
        {"カタカナ", ""},
        {"漢じ", "09"},
        {"０５９", "909599"},
        {"ー　、。！？", "-_,.!?"},
        // small ぅ starts no combination
        {"とぅ", "TO@U"},
        {"ふぅ", "04@U"},
        // three-character combinations, and う゛ before a small kana that makes none
        {"う゛ぁう゛ぃう゛ぇう゛ぉ", "VAVIVEVO"},
        {"う゛ぅ", "VU@U"},
        {"う゛ゃ", "VU@YA"},
        // a pair outside the table falls back to an ordinary first character plus the small kana
        {"かぁ", "KA@A"},
        {"うぁ", "U@A"},
        {"ゐぃ", "WI@I"},
        {"ゃゃ", "@YA"},
        {"ーゃ", "@YA"},
        {"５ゃ", "@YA"},
        {"アゃ", "@YA"},
        {"つゃ", "03@YA"},
        // the table of pairs
        {"しゃしゅしょしぇしぃ", "0506070822"},
        {"じゃじゅじょじぇじぃ", "1011121319"},
        {"ちゃちゅちょちぇちぃ", "1415161720"},
        {"ぢゃぢゅぢょぢぇぢぃ", "DYADYUDYODYEDYI"},
        {"ぎぇりぃぴょみゅにゃひぃびぇ", "GYERYIPYOMYUNYAHYIBYE"},
        {"てゃてゅてょてぃてぇ", "THATHUTHO23THE"},
        {"でゃでゅでょでぇでぃ", "DHADHUDHODHEDHI"},
        {"ふぁふぃふぇふぉふゃふゅふょ", "FAFIFEFOFYAFYUFYO"},
        {"つぁつぃつぇつぉ", "TSATSITSETSO"},
        {"ふじさん", "0409SANN"},
    };
    for (const auto& c : cases) EXPECT_EQ(encodeReading(sj(c.reading)), c.code) << c.reading;
}

// Single bytes are reported by the maker before encoding; they must still never shift the
// two-byte characters around them.
TEST(Encoder, SingleBytesAndCutCharacters) {
    EXPECT_EQ(encodeReading(sj("aか1し")), "KA01");
    EXPECT_EQ(encodeReading(sj("しaゃ")), "01@YA");
    EXPECT_EQ(encodeReading(sj("か") + "\x82"), "KA");
    EXPECT_EQ(encodeReading(std::string("\x82")), "");
}

}  // namespace
}  // namespace keyrook
