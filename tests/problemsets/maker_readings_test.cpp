#include "problemsets/maker_readings.h"

#include <gtest/gtest.h>

#include <map>

#include "problemsets/maker_convert.h"
#include "problemsets/sjis.h"

namespace keyrook {
namespace {

using testing::sj;

class TableSuggester : public ReadingSuggester {
public:
    std::map<std::string, std::string, std::less<>> readings;
    std::string suggest(std::string_view question) override {
        auto it = readings.find(question);
        return it == readings.end() ? "？" : it->second;
    }
};

TEST(MakerReadings, FillsEmptyReadingsOrTheChosenRows) {
    TableSuggester s;
    s.readings = {{"学校", "がっこう"}, {"写真", "しゃしん"}, {"猫", "ねこ"}, {"犬", "いぬ"}};
    const std::vector<std::string> lines = {"学校", "", "写真", "しゃしn", "", "", "猫", "　", "犬"};
    // Empty and blank readings, and the last question's missing line; an empty question stays.
    EXPECT_EQ(readingFills(lines, s), (std::vector<LineEdit>{{1, "がっこう"}, {7, "ねこ"}, {9, "いぬ"}}));
    // A range replaces what is written on the pairs it touches, question or reading row.
    EXPECT_EQ(readingFills(lines, s, RowRange{3, 6}), (std::vector<LineEdit>{{3, "しゃしん"}, {7, "ねこ"}}));
    EXPECT_TRUE(readingFills({"学校", "がっこう"}, s, RowRange{0, 1}).empty());  // nothing to change
}

TEST(MakerReadings, AdviceInEditorOrder) {
    TableSuggester s;
    s.readings = {{"学校", "がっこう"}, {"写真", "しゃしん"}, {"猫", "ねこ"}, {"会話", "かいわ"}};
    const std::vector<std::string> lines = {"学校", "がっこお", "写真", "しゃしン", "猫", "「ねこ」",
                                            "会話", "会話", "犬", ""};
    const std::vector<std::string> expected = {
        sj("[確認] 2行目の読み「がっこお」は解析結果「がっこう」と異なります"),
        sj("[確認] 4行目 6桁目 読みにカタカナがあります。カタカナは入力されないので、ひらがなで書いて下さい。"),
        sj("[確認] 4行目の読み「しゃしン」は解析結果「しゃしん」と異なります"),
        sj("[確認] 6行目 0桁目 読みの「」は変換で取り除かれ、入力されません。"),
        sj("[確認] 6行目の読み「「ねこ」」は解析結果「ねこ」と異なります"),
        sj("[確認] 8行目 0桁目 読みに漢字があります。問題と読みの行がずれている可能性があります。"),
        sj("[確認] 8行目の読み「会話」は解析結果「かいわ」と異なります"),
    };
    EXPECT_EQ(readingAdvice(lines, &s), expected);
    // Without the suggester only the pitfalls; rows a fill writes are not compared.
    EXPECT_EQ(readingAdvice(lines, nullptr).size(), 3u);
    EXPECT_EQ(readingMismatches(lines, s, {{1, "がっこう"}, {3, "しゃしん"}}).size(), 2u);

    // A double click goes to the line; only differences can be accepted.
    EXPECT_EQ(entryPosition(expected[0])->line, 2);
    EXPECT_EQ(entryPosition(expected[0])->column, 0);
    EXPECT_EQ(entryPosition(expected[1])->column, 6);
    EXPECT_TRUE(isMismatchEntry(expected[4]));
    EXPECT_FALSE(isMismatchEntry(expected[3]));
    EXPECT_FALSE(isMismatchEntry(sj("[警告] 2行目 0桁目で半角文字が見つかりました。全角文字で書いて下さい。")));
}

TEST(MakerReadings, VuIsWrittenWithTheVoicedMark) {
    EXPECT_EQ(readingPitfalls({"ヴァイオリン", "ゔぁいおりん"}),
              std::vector<std::string>{sj("[確認] 2行目 0桁目 ひらがなの「ヴ」は使えません。「う゛」と書いて下さい。")});
    EXPECT_EQ(unencodableLineMessage(1, "ゔぁいおりん"), "2行目の「ゔ」はShift-JISで表せません。「う゛」と書いて下さい。");
    EXPECT_EQ(unencodableLineMessage(2, "😀"), "3行目にShift-JISで表せない文字があります。");
}

}  // namespace
}  // namespace keyrook
