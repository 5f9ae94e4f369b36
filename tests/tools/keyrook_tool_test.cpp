// keyrook-tool as its users run it: the binary with stdin, stdout and stderr in files.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <fcntl.h>

#include <string>
#include <vector>

#include "base/cp932.h"
#include "base/files.h"
#include "problemsets/reading_suggester.h"
#include "typing/key_stats.h"
#include "support/temp_dir.h"
#include "typing/scoring.h"

extern char** environ;

namespace keyrook {
namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

class Tool : public ::testing::Test {
protected:
    keyrook::testing::TempDir temp;

    Outcome run(std::vector<std::string> args, const std::string& input = "") {
        const std::string in = temp / "stdin", out = temp / "stdout", err = temp / "stderr";
        saveStringToFile(in, input);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        args.insert(args.begin(), KEYROOK_TOOL_PATH);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_t pid = 0;
        Outcome r;
        if (posix_spawn(&pid, KEYROOK_TOOL_PATH, &actions, nullptr, argv.data(), environ) == 0) {
            int wstatus = 0;
            waitpid(pid, &wstatus, 0);
            if (WIFEXITED(wstatus)) r.status = WEXITSTATUS(wstatus);
        }
        posix_spawn_file_actions_destroy(&actions);
        r.out = loadStringFromFile(out);
        r.err = loadStringFromFile(err);
        return r;
    }

    std::string sj(const std::string& utf8) { return *utf8ToCp932(utf8); }
};

struct FilterCase {
    std::vector<std::string> args;
    std::string input;
    std::string output;
};

TEST_F(Tool, Filters) {
    const FilterCase cases[] = {
        {{"encode"}, "がっこう\nしゃしん\n\nう゛ぁ\n", "GA18KOU\n0501NN\n\nVA\n"},
        {{"encode"}, "っち\r\nちょっと", "1802\n1618TO\n"},  // CR LF, no final line break
        {{"encode"}, "", ""},
        {{"encode"}, "\n\n", "\n\n"},
        // a character CP932 lacks stays a character, in no table
        {{"encode"}, "し😀ゃ\nゔ\n", "01@YA\n\n"},
        {{"romaji"}, "GA18KOU\n0501NN\n1802\n18@U\n", "GAKKOU\nSYASINN\nTTI\nXXU\n"},
        {{"romaji", "--preset", "hepburn"}, "0501NN\n1802\n04\n10\n", "SHASHINN\nCCHI\nHU\nZYA\n"},
        {{"romaji", "--preset", "roman"}, "0501NN\n@A\n", "SYASINN\nXA\n"},
        {{"romaji", "--plain"}, "0501@18\nabc\n", "0501@18\nabc\n"},
        {{"romaji"}, "学校18KA\n", "学校KKA\n"},
        {{"yomi"}, "GA18KOU\n\nFYUKA\n95\n", "がっこう\n\nふゅか\n５\n"},
        // keys judged, the line left, the row's byte count; a line without a TAB has no keys
        {{"type"}, "KANNTANN\tKANTANNX\n0501\tSH\n0501\n", "HHHHHHH.\t\t8\nHM\tYASI\t-\n\tSYASI\t-\n"},
        {{"type", "--flexible"}, "0501NN\tSHASHIN\n1802\tCCHI\n", "HHHHHHH\tN\t-\nHHHH\t\t4\n"},
        {{"type", "--flexible", "--preset", "hepburn", "--lc"}, "0501\tSY\n", "HH\tashi\t-\n"},
        {{"type", "--preset", "roman", "--lc"}, "0501\tSY\n", "HH\tasi\t-\n"},
        {{"yomi", "--plain"}, "GA18KOU\n0501NN\n", "\n\n"},
        // kana presses: a voiced kana is its base and ゛; a precomposed が or a letter is a miss
        {{"type", "--kana"}, "GA18KOU\tかが゛っこうう\nGA18KOU\tか\nGA18KOU\n\tx\n",
         "HMHHHH.\t\t5\nH\t゛っこう\t-\n\tか゛っこう\t-\n.\t\t0\n"},
        {{"type", "--kana"}, "PA-_91!?\tは゜ー_1!?\nVU,.\tう゛、。\nA_I\tあ い\n",
         "HHHHHHH\t\t7\nHHHH\t\t4\nHHH\t\t3\n"},
    };
    for (const auto& c : cases) {
        Outcome r = run(c.args, c.input);
        EXPECT_EQ(r.status, 0) << c.args[0] << " " << c.input << r.err;
        EXPECT_EQ(r.out, c.output) << c.args[0] << " " << c.input;
    }
}

TEST_F(Tool, UsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"--frobnicate"},
        {"encode", "--frobnicate"},
        {"encode", "extra"},
        {"romaji", "--preset", "kunrei"},
        {"romaji", "--preset"},
        {"romaji", "--bogus"},
        {"romaji", "--ini", "missing.ini"},
        {"romaji", "--ini"},
        {"yomi", "-x"},
        {"type", "--preset", "roman", "--ini", "x.ini"},
        {"type", "--flexible", "extra"},
        {"type", "--kana", "--flexible"},
        {"type", "--kana", "--preset", "roman"},
        {"convert", "--title", "t", "ed.txt", "data"},
        {"convert", "--title", "t", "--author", "a", "--description", "d", "ed.txt"},
        {"convert", "--bogus"},
        {"records"},
        {"records", "alice.rec"},
        {"progress"},
        {"progress", "--by", "year", "alice.rec"},
        {"progress", "alice.rec", "bob.rec"},
        {"progress", "missing.rec"},
        {"weak-keys"},
        {"weak-keys", "--last", "0", "a.kst"},
        {"weak-keys", "missing.kst"},
        {"confusions", "a.kst", "b.kst"},
        {"confusions", "--questions", "3", "a.kst"},
        {"practice-set", "a.kst"},
    };
    for (const auto& args : cases) {
        Outcome r = run(args, "GA\n");
        std::string shown;
        for (const auto& a : args) shown += a + " ";
        EXPECT_EQ(r.status, 2) << shown;
        EXPECT_FALSE(r.err.empty()) << shown;
        EXPECT_EQ(r.out, "") << shown;
    }
    EXPECT_NE(run({"romaji", "--ini", "x.ini"}).err.find("x.ini"), std::string::npos);
    EXPECT_NE(run({"records", "x"}).err.find("x"), std::string::npos);  // names the missing file
}

TEST_F(Tool, RomajiTakesTheSpellingsOfASettingsFile) {
    // Group 1 (し) with a user's own list of three, the third chosen; group 14 (ちゃ) on item 1.
    saveStringToFile(temp / "alice.ini",
                     "[RadioGroup1]\r\nItemIndex=2\r\nItems0=Obj.Strings = (\r\n"
                     "Items1=    'SI'\r\nItems2=    'SHI'\r\nItems3=    'CI')\r\n\r\n"
                     "[RadioGroup14]\r\nItemIndex=1\r\n\r\n");
    Outcome r = run({"romaji", "--ini", temp / "alice.ini"}, "0114\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "CICHA\n");
    // The preset acts after the file: item 1 of group 1 is "SHI" in the user's list.
    r = run({"romaji", "--ini", temp / "alice.ini", "--preset", "hepburn"}, "0114\n");
    EXPECT_EQ(r.out, "SHICHA\n");
    // type takes the own list: CI is shown, SHI is one of its spellings.
    r = run({"type", "--flexible", "--ini", temp / "alice.ini"}, "0114\tSHICYA\n");
    EXPECT_EQ(r.out, "HHHHHH\t\t6\n");
    saveStringToFile(temp / "bad.ini", "[RadioGroup1]\r\nItems0=Obj.Strings = ('x\r\n");
    r = run({"romaji", "--ini", temp / "bad.ini"}, "01\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("RadioGroup1"), std::string::npos);
}

TEST_F(Tool, RecordsReportEachLineByItsChecksum) {
    const std::string good =
        "01/03/24 11:45:43,player1,\x82\xb1\x82\xc6\x82\xed\x82\xb4\x8f\x57,245000,244.9,12,"
        "1012,156,91750,82,83,91,86,10632";
    std::string bad = good;
    bad[20] = 'X';  // player1 -> plaXer1: the checksum no longer holds
    saveStringToFile(temp / "alice.rec", "\r\n" + good + "\r\n" + bad + "\r\n");
    Outcome r = run({"records", temp / "alice.rec"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "ok " + cp932ToUtf8(good) + "\nbad " + cp932ToUtf8(bad) + "\n");
}

TEST_F(Tool, ProgressByPeriod) {
    auto rec = [](const std::string& date, const std::string& title, const std::string& speed,
                  int misses, int keys, int score) {
        std::string body = date + ",alice," + title + ",60000," + speed + "," +
                           std::to_string(misses) + "," + std::to_string(keys) + ",40," +
                           std::to_string(score) + ",90,80,70,60";
        return body + "," + std::to_string(Checksum(body));
    };
    const std::string kotowazaStored = sj("ことわざ，集");
    std::string broken = rec("24/03/05 9:00:00", "abc", "999", 0, 10, 99999);
    broken[20] = 'X';
    const std::string invader =
        rec("24/03/05 9:00:00", "Radovu Didarez", "---", 4, 318, 88888);
    saveStringToFile(temp / "alice.rec",
                     "\r\n" + rec("24/03/12 9:00:00", kotowazaStored, "300", 10, 100, 900) +
                         "\r\n" + rec("24/03/11 23:59:59", "abc", "200.5", 0, 100, 1200) +
                         "\r\n" + broken + "\r\n" + invader + "\r\n" +
                         rec("24/02/29 0:00:00", "abc", "150", 1, 8, 300) + "\r\n");
    const std::string header = "period,sessions,best_score,median_speed,median_miss_rate\n";
    Outcome r = run({"progress", temp / "alice.rec"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, header + "2024-W09,1,300,150.0,12.5\n2024-W11,2,1200,250.2,5.0\n");
    r = run({"progress", "--by", "day", temp / "alice.rec"});
    EXPECT_EQ(r.out, header + "2024-02-29,1,300,150.0,12.5\n2024-03-11,1,1200,200.5,0.0\n"
                              "2024-03-12,1,900,300.0,10.0\n");
    r = run({"progress", "--by", "month", "--title", "ことわざ,集", temp / "alice.rec"});
    EXPECT_EQ(r.out, header + "2024-03,1,900,300.0,10.0\n");
    r = run({"progress", "--title", "none", temp / "alice.rec"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, header);
}

// Twelve sessions of one title (the medians take the last ten), one of another, a damaged line
// that is counted, and a listed user without records.
TEST_F(Tool, ClassReportSumsUpEachUserAndTitle) {
    const std::string taro = sj("太郎"), title = sj("ﾀｲﾄﾙ");
    auto line = [](const std::string& date, const std::string& user, const std::string& title,
                   int speed, int misses, int score) {
        return withChecksum(date + " 9:00:00," + user + "," + title + ",60000," +
                            std::to_string(speed) + "," + std::to_string(misses) +
                            ",200,10," + std::to_string(score) + ",50,50,50,50");
    };
    std::string rec = "\r\n";
    for (int i = 0; i < 12; ++i)
        rec += line("26/0" + std::to_string(i % 9 + 1) + "/15", taro, title, 100 + 10 * i, i, 1000 - i) + "\r\n";
    rec += line("25/12/31", taro, "B", 55, 0, 7) + "\r\n";
    rec += line("26/01/01", taro, "B", 1, 0, 9).replace(0, 1, "3") + "\r\n";  // checksum broken
    saveStringToFile(temp / "user/" + cp932ToUtf8(taro) + ".rec", rec);
    saveStringToFile(temp / "user/hana.rec", line("26/02/03", "hana", "A", 300, 2, 5) + "\r\n");
    saveStringToFile(temp / "user/user.log", "hana\r\n" + taro + "\r\nnobody\r\nhana\r\n");
    Outcome r = run({"class-report", temp / "user"});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> rows = splitLines(r.out);
    ASSERT_EQ(rows.size(), 4u) << r.out;
    // Speeds 120..210 and mistypes 2..11 of 200 keys in the last ten: medians 165 and 3.25 %.
    EXPECT_EQ(rows[1], "太郎,ﾀｲﾄﾙ,12,2026/01/15,2026/09/15,1000,165.0,3.250");
    EXPECT_EQ(rows[2], "太郎,B,1,2025/12/31,2025/12/31,7,55.0,0.000");
    EXPECT_EQ(rows[3], "hana,A,1,2026/02/03,2026/02/03,5,300.0,1.000");
    EXPECT_NE(r.err.find("1 damaged"), std::string::npos) << r.err;
    EXPECT_EQ(run({"class-report", temp / "none"}).status, 2);
}

TEST_F(Tool, WeakKeysConfusionsAndPracticeSet) {
    // An old line without the keys pressed, then a line with them.
    KeyCounts first{}, second{};
    first['A'] = {30, 1, 0, 0, {}};
    first['R'] = {11, 10, 0, 0, {}};
    second['R'] = {0, 4, 0, 0, {{'T', 3}, {'Y', 1}}};
    second[' '] = {5, 1, 0, 0, {{'N', 1}}};
    second['K'] = {2, 0, 0, 0, {}};
    const std::string kst = temp / "alice.kst";
    saveStringToFile(kst, keyStatsLine("d1", "t", first) + "\r\n" + keyStatsLine("d2", "t", second) + "\r\n");

    Outcome r = run({"weak-keys", kst});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "R\t56.0\t25\t14\n_\t16.7\t6\t1\nA\t3.2\t31\t1\n");
    EXPECT_EQ(run({"weak-keys", "--last", "1", kst}).out, "R\t100.0\t4\t4\n_\t16.7\t6\t1\n");
    EXPECT_EQ(run({"confusions", kst}).out, "R\tT\t3\nR\tY\t1\n_\tN\t1\n");
    EXPECT_EQ(run({"confusions", "--last", "1", kst}).out, run({"confusions", kst}).out);

    saveStringToFile(temp / "set.std", sj("t/me\r\nあいう\r\nAIU\r\nからす\r\nKARASU\r\nん\r\nNN\r\nら\r\nRA\r\n"));
    r = run({"practice-set", "--questions", "2", kst, temp / "set.std", temp / "missing.std"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "苦手ｷｰ: R ｽﾍﾟｰｽ A/Keyrook\nら\nRA\nからす\nKARASU\n");
    EXPECT_EQ(run({"practice-set", kst, temp / "set.std"}).out.size(),
              r.out.size() + std::string("あいう\nAIU\n").size());

    saveStringToFile(temp / "clean.kst", keyStatsLine("d", "t", KeyCounts{}) + "\r\n");
    r = run({"practice-set", temp / "clean.kst", temp / "set.std"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(r.err.empty());
    EXPECT_EQ(run({"weak-keys", temp / "clean.kst"}).out, "");
}

TEST_F(Tool, Help) {
    for (std::vector<std::string> args : {std::vector<std::string>{"--help"}, {"convert", "--help"}}) {
        Outcome r = run(args);
        EXPECT_EQ(r.status, 0);
        EXPECT_NE(r.out.find("keyrook-tool convert"), std::string::npos);
        EXPECT_NE(r.out.find("records FILE"), std::string::npos);
    }
}

TEST_F(Tool, InvalidUtf8) {
    for (const char* command : {"encode", "romaji", "type", "yomi"}) {
        Outcome r = run({command}, "GA\n\xFF\xFE\n");
        EXPECT_EQ(r.status, 2) << command;
        EXPECT_EQ(r.out, "") << command;
        EXPECT_FALSE(r.err.empty()) << command;
    }
}

class ToolConvert : public Tool {
protected:
    Outcome convert(const std::string& editorText, std::vector<std::string> extra = {},
                const std::string& title = "がっこう") {
        saveStringToFile(temp / "editor.txt", editorText);
        std::vector<std::string> args = {"convert", "--title", title, "--author", "編集部",
                                         "--description", "ことわざ集"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back(temp / "editor.txt");
        args.push_back(temp / "data");
        return run(args);
    }
    std::string written(const std::string& title = "がっこう") {
        std::string path = temp / ("data/" + title + ".std");
        return fileExists(path) ? loadStringFromFile(path) : "<none>";
    }
};

TEST_F(ToolConvert, RomanSet) {
    Outcome r = convert("学校\nがっこう\n写真\r\nしゃしん\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(written(), sj("ことわざ集/編集部\r\n学校\r\nGA18KOU\r\n写真\r\n0501NN\r\n"));
}

TEST_F(ToolConvert, EnglishSet) {
    Outcome r = convert("\xEF\xBB\xBF学校\nschool\n", {"--english"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(written(), sj("ことわざ集/編集部#\r\n学校\r\nschool\r\n"));
}

TEST_F(ToolConvert, ProblemsListedNothingWritten) {
    Outcome r = convert("Q\naがっこう\nQ\nか b\n");
    EXPECT_EQ(r.status, 1);
    const std::string path = temp / "data/がっこう.std";
    EXPECT_EQ(r.out,
              "[警告] 2行目 0桁目で半角文字が見つかりました。全角文字で書いて下さい。\n"
              "[警告] 4行目 2桁目で半角文字が見つかりました。全角文字で書いて下さい。\n"
              "[警告] 4行目 3桁目で半角文字が見つかりました。全角文字で書いて下さい。\n"
              "[エラー] 「" + path + "」は作成できませんでした。\n");
    EXPECT_EQ(written(), "<none>");

    Outcome fatal = convert("Q\nschool\n");
    EXPECT_EQ(fatal.status, 1);
    EXPECT_EQ(fatal.out, "[致命的エラー] ローマ字タイプの問題集と英文字タイプの問題集の混同\n");
    EXPECT_EQ(written(), "<none>");
}

TEST_F(ToolConvert, RefusedInputs) {
    struct Case {
        std::string editor;
        std::vector<std::string> extra;
        std::string title;
    };
    const Case cases[] = {
        {"Q\nが\n", {}, "😀"},                 // title CP932 cannot hold
        {"Q\nが\n", {}, ""},                   // empty title
        {"Q\nが\n", {}, "../escape"},          // outside the data folder
        {"Q\n\xFF\n", {}, "t"},                // editor text not UTF-8
        {"Q\nが😀\n", {}, "t"},               // editor text CP932 cannot hold
        {"Q\nが\n", {"--author", "a\nb"}, "t"},  // a line break would split the header
    };
    for (const auto& c : cases) {
        Outcome r = convert(c.editor, c.extra, c.title);
        EXPECT_EQ(r.status, 2) << c.title << c.editor;
        EXPECT_FALSE(r.err.empty()) << c.title << c.editor;
    }
    EXPECT_FALSE(fileExists(temp / "escape.std"));
    std::vector<std::string> args = {"convert", "--title", "t", "--author", "a", "--description", "d",
                                     temp / "missing.txt", temp / "data"};
    EXPECT_EQ(run(args).status, 2);
}

bool haveDictionary() { return openMecabSuggester() != nullptr; }

TEST_F(Tool, ReadingSuggestions) {
    Outcome missing = run({"reading", "--dicdir", temp / "none"}, "学校\n");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("mecab-ipadic-utf8"), std::string::npos) << missing.err;
    if (!haveDictionary()) GTEST_SKIP() << "no MeCab dictionary";
    Outcome r = run({"reading"}, "午後３時に学校へ行きます。\r\nコーヒーを１杯ください！\n\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "ごご３じにがっこうへいきます。\nこーひーを１ぱいください！\n\n");
    EXPECT_EQ(run({"reading"}, "学校\n\xFF\n").status, 2);
}

TEST_F(ToolConvert, FillReadings) {
    Outcome missing = convert("学校\n\n", {"--fill-readings", "--dicdir", temp / "none"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(written(), "<none>");
    if (!haveDictionary()) GTEST_SKIP() << "no MeCab dictionary";
    // Empty reading lines and a last question without one are filled; written ones stay.
    Outcome r = convert("学校\n\n写真\nしゃっしん\n猫\n", {"--fill-readings"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(written(), sj("ことわざ集/編集部\r\n学校\r\nGA18KOU\r\n写真\r\n051801NN\r\n猫\r\nNEKO\r\n"));
}

}  // namespace
}  // namespace keyrook
