#include "problemsets/maker_convert.h"

#include <gtest/gtest.h>

#include "base/files.h"
#include "problemsets/problem_set.h"
#include "problemsets/reading_decoder.h"
#include "problemsets/sjis.h"
#include "support/temp_dir.h"

namespace keyrook {
namespace {

using testing::sj;

std::vector<std::string> sjLines(std::initializer_list<const char*> utf8) {
    std::vector<std::string> out;
    for (const char* l : utf8) out.push_back(sj(l));
    return out;
}

struct WriterCase {
    std::vector<std::string> editor;
    const char* roman;    // UTF-8 file text
    const char* english;
};

TEST(ProblemSetWriters, ByteExact) {
    const WriterCase cases[] = {
        {sjLines({"学校", "がっこう"}), "ことわざ集/編集部\r\n学校\r\nGA18KOU\r\n",
         "ことわざ集/編集部#\r\n学校\r\nがっこう\r\n"},
        {sjLines({}), "ことわざ集/編集部\r\n", "ことわざ集/編集部#\r\n"},
        // odd count: the last question has no reading line
        {sjLines({"学校", "がっこう", "写真"}), "ことわざ集/編集部\r\n学校\r\nGA18KOU\r\n写真\r\n",
         "ことわざ集/編集部#\r\n学校\r\nがっこう\r\n写真\r\n"},
        // blank lines keep their place
        {sjLines({"", "", "a b", "しゃしん"}), "ことわざ集/編集部\r\n\r\n\r\na b\r\n0501NN\r\n",
         "ことわざ集/編集部#\r\n\r\n\r\na b\r\nしゃしん\r\n"},
    };
    const std::string d = sj("ことわざ集"), a = sj("編集部");
    for (const auto& c : cases) {
        EXPECT_EQ(romanSetText(d, a, c.editor), sj(c.roman));
        EXPECT_EQ(englishSetText(d, a, c.editor), sj(c.english));
    }
}

struct CheckCase {
    std::vector<std::string> lines;
    std::vector<const char*> entries;
    bool fatal;
};

TEST(CheckRomanLines, Entries) {
    const char* kFatal = "[致命的エラー] ローマ字タイプの問題集と英文字タイプの問題集の混同";
    const CheckCase cases[] = {
        {sjLines({}), {}, false},
        {sjLines({"only a question"}), {}, false},
        {sjLines({"half-width question", "がっこう"}), {}, false},
        {sjLines({"Q", "aがっこう"}), {"[警告] 2行目 0桁目で半角文字が見つかりました。全角文字で書いて下さい。"}, false},
        {sjLines({"Q", "がa", "Q", "か b"}),
         {"[警告] 2行目 2桁目で半角文字が見つかりました。全角文字で書いて下さい。",
          "[警告] 4行目 2桁目で半角文字が見つかりました。全角文字で書いて下さい。",
          "[警告] 4行目 3桁目で半角文字が見つかりました。全角文字で書いて下さい。"},
         false},
        // the first reading decides that the set is English-type, and nothing else is said
        {sjLines({"Q", ""}), {kFatal}, true},
        {sjLines({"Q", "school", "Q", "aa"}), {kFatal}, true},
        // a half-width katakana is a single byte too
        {sjLines({"Q", "あｱ"}), {"[警告] 2行目 2桁目で半角文字が見つかりました。全角文字で書いて下さい。"}, false},
    };
    for (const auto& c : cases) {
        RomanCheck check = checkRomanLines(c.lines);
        std::vector<std::string> expected;
        for (const char* e : c.entries) expected.push_back(sj(e));
        EXPECT_EQ(check.entries, expected);
        EXPECT_EQ(check.fatal, c.fatal);
    }
}

TEST(CheckRomanLines, Progress) {
    std::vector<int> seen;
    checkRomanLines(sjLines({"aa", "ああ", "bb", "いい"}), [&](int p) { seen.push_back(p); });
    // text length 20: 6 of it done after the first pair, 12 after the second
    EXPECT_EQ(seen, (std::vector<int>{0, 30, 60, 100}));
}

class ConvertAndSave : public ::testing::Test {
protected:
    keyrook::testing::TempDir temp;
    std::string dataDir() const { return temp / "data"; }

    MakerDocument doc(SetKind kind, std::initializer_list<const char*> lines,
                      const char* title = "がっこう") {
        MakerDocument d;
        d.title = sj(title);
        d.description = sj("ことわざ集");
        d.author = sj("編集部");
        d.kind = kind;
        d.lines = sjLines(lines);
        return d;
    }
    std::string file(const char* title = "がっこう") { return temp / (std::string("data/") + title + ".std"); }
};

TEST_F(ConvertAndSave, RomanSetWritten) {
    saveStringToFile(file(), "old");
    SaveResult r = convertAndSave(doc(SetKind::Roman, {"学校", "がっこう"}), dataDir());
    EXPECT_EQ(r.status, SaveStatus::Saved);
    EXPECT_FALSE(r.reportedProblem());
    EXPECT_EQ(loadStringFromFile(file()), sj("ことわざ集/編集部\r\n学校\r\nGA18KOU\r\n"));
}

TEST_F(ConvertAndSave, EnglishSetWrittenWithoutCheck) {
    SaveResult r = convertAndSave(doc(SetKind::English, {"学校", "school"}), dataDir());
    EXPECT_EQ(r.status, SaveStatus::Saved);
    EXPECT_EQ(loadStringFromFile(file()), sj("ことわざ集/編集部#\r\n学校\r\nschool\r\n"));
}

TEST_F(ConvertAndSave, WarningsWriteNothing) {
    saveStringToFile(file(), "old");
    SaveResult r = convertAndSave(doc(SetKind::Roman, {"Q", "aが"}), dataDir());
    EXPECT_EQ(r.status, SaveStatus::Problems);
    EXPECT_TRUE(r.reportedProblem());
    ASSERT_EQ(r.errors.size(), 2u);
    EXPECT_EQ(r.errors[0], sj("[警告] 2行目 0桁目で半角文字が見つかりました。全角文字で書いて下さい。"));
    EXPECT_EQ(r.errors[1], sj("[エラー] 「" + file() + "」は作成できませんでした。"));
    EXPECT_EQ(loadStringFromFile(file()), "old");
}

// The fatal check writes nothing and, unlike a bare end of the pass, counts as a failed save.
TEST_F(ConvertAndSave, FatalEntryAlone) {
    SaveResult r = convertAndSave(doc(SetKind::Roman, {"Q", "school"}), dataDir());
    EXPECT_EQ(r.status, SaveStatus::Problems);
    EXPECT_TRUE(r.reportedProblem());
    EXPECT_EQ(r.errors.size(), 1u);
    EXPECT_FALSE(fileExists(file()));
}

TEST_F(ConvertAndSave, Titles) {
    SaveResult empty = convertAndSave(doc(SetKind::Roman, {"Q", "が"}, ""), dataDir());
    EXPECT_EQ(empty.status, SaveStatus::EmptyTitle);
    EXPECT_FALSE(empty.reportedProblem());
    EXPECT_EQ(empty.message, sj("タイトルが記入されておりません。"));
    for (const char* bad : {"../escape", "a/b", "..", ".", "a\\b", "tab\there"}) {
        SaveResult r = convertAndSave(doc(SetKind::English, {"Q", "a"}, bad), dataDir());
        EXPECT_EQ(r.status, SaveStatus::BadTitle) << bad;
        EXPECT_TRUE(r.reportedProblem());
    }
    EXPECT_FALSE(fileExists(temp / "escape.std"));
    // Sets already on disk under titles a new set may not take are saved again as they are.
    const std::string long201(201, 'x');
    for (const char* kept : {"Q&A: part1", "trail ", " lead", "dot.", "a*b", long201.c_str()}) {
        EXPECT_EQ(convertAndSave(doc(SetKind::English, {"Q", "a"}, kept), dataDir()).status,
                  SaveStatus::Saved) << kept;
        EXPECT_TRUE(fileExists(file(kept))) << kept;
    }
    // ソ ends in the byte of "\": a whole character, so the title is fine
    EXPECT_EQ(convertAndSave(doc(SetKind::Roman, {"Q", "そ"}, "ソース"), dataDir()).status,
              SaveStatus::Saved);
    EXPECT_TRUE(fileExists(file("ソース")));
}

// Save and reopen gives back the editor text, less what the code scheme cannot carry.
TEST_F(ConvertAndSave, ReopenedInTheEditor) {
    MakerDocument d = doc(SetKind::Roman, {"学校", "がっこう", "井戸", "ゐど", "漢字", "かんじカナ",
                                          "点", "か゛っゃ", "", "", "最後"});
    ASSERT_EQ(convertAndSave(d, dataDir()).status, SaveStatus::Saved);
    EXPECT_EQ(LoadData(file()), sjLines({"学校", "がっこう", "井戸", "うぃど", "漢字", "かんじ",
                                         "点", "かゃ", "", "", "最後"}));
}

TEST_F(ConvertAndSave, ReopenLineEndsAndHeaderOnly) {
    const struct {
        const char* text;
        std::vector<std::string> editor;
    } cases[] = {
        {"d/a\nQ\nGA18KOU\n", sjLines({"Q", "がっこう"})},
        {"d/a\rQ\rGA18KOU", sjLines({"Q", "がっこう"})},
        {"d/a\r\n", {}},
        {"", {}},
    };
    for (const auto& c : cases) {
        saveStringToFile(file(), c.text);
        EXPECT_EQ(LoadData(file()), c.editor) << c.text;
    }
}

TEST(EntryPosition, Parse) {
    auto p = entryPosition(sj("[警告] 12行目 5桁目で半角文字が見つかりました。全角文字で書いて下さい。"));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->line, 12);
    EXPECT_EQ(p->column, 5);
    for (const char* none : {"[致命的エラー] ローマ字タイプの問題集と英文字タイプの問題集の混同",
                             "[エラー] 「/tmp/行目.std」は作成できませんでした。", "行目", ""})
        EXPECT_FALSE(entryPosition(sj(none))) << none;
}

}  // namespace
}  // namespace keyrook
