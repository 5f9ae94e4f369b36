#include "typing/result_model.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "base/cp932.h"
#include "base/files.h"
#include "typing/record_file.h"

namespace keyrook {
namespace {

const std::string kKotowaza = "\x82\xb1\x82\xc6\x82\xed\x82\xb4\x8f\x57";  // ことわざ集
const std::string kPracticeLine = "01/03/24 11:45:43,player1," + kKotowaza +
                                  ",245000,244.9,12,1012,156,91750,82,83,91,86,10632";
const std::string kInvaderLine =
    "01/03/24 11:52:10,player1,Radovu Didarez,95310,---,4,318,57,13280,N/A,N/A,N/A,N/A,10310";

std::string sj(const char* utf8) { return utf8ToCp932(utf8).value(); }

// Four questions of 250 bytes: `typingMs` and `reactionMs` each.
SessionFigures practiceSession(int typingMs, int reactionMs, int misses, int maxCombo, int score) {
    SessionFigures f{false, "player1", kKotowaza, {2001, 3, 24, 11, 45, 43}, {}, 0, 0,
                     misses, maxCombo, score};
    for (int i = 1; i <= 4; ++i)
        f.rows.push_back({i, "Q" + std::to_string(i), 250, reactionMs, typingMs,
                          speedIndexText(typingMs, 250)});
    return f;
}

// The session of the sample practice record: 1000 bytes in 245000 ms, mean reaction 821 ms.
SessionFigures samplePractice() { return practiceSession(61250, 821, 12, 156, 45670); }

SessionFigures sampleInvader() {
    return {true, "player1", "Radovu Didarez", {2001, 3, 24, 11, 52, 10}, {}, 314, 95310, 4, 57, 13280};
}

// Each named label's caption and colour.
void expectLabels(const ResultModel& m,
                  const std::map<std::string, std::pair<std::string, std::uint32_t>>& expected) {
    const auto labels = m.labels();
    std::map<std::string, const ResultLabel*> all(labels.begin(), labels.end());
    for (const auto& [name, want] : expected) {
        ASSERT_TRUE(all.count(name)) << name;
        EXPECT_EQ(all[name]->caption, want.first) << name;
        EXPECT_EQ(all[name]->colour, want.second) << name;
    }
}

constexpr auto W = kResultWhite, A = kResultAqua, G = kResultGrey;

TEST(ResultModel, SampleSessionsBuildSampleRecords) {
    ResultModel m = buildResultModel(samplePractice(), std::nullopt);
    EXPECT_EQ(m.recordLine, kPracticeLine);
    EXPECT_EQ(m.barPositions, (std::array<int, 4>{82, 83, 91, 86}));
    expectLabels(m, {{"lbldate", {"Date : 2001/03/24 11:45:43", W}},
                     {"lblScore", {"91,750", W}},
                     {"lblBonus", {"46,080", W}},
                     {"lblTime", {"4:05`00", W}},
                     {"lblMiss", {"1.186 %", W}},
                     {"lblResult4", {"86", W}},
                     {"lblScore_", {"", W}},  // first session of the title
                     {"lblTime_", {"", W}},
                     {"lblResult4_", {"", W}}});

    ResultModel inv = buildResultModel(sampleInvader(), std::nullopt);
    EXPECT_EQ(inv.recordLine, kInvaderLine);
    expectLabels(inv, {{"lblResult1", {"N/A", W}},
                       {"lblAverage", {"*** Hits/Min", W}},
                       {"lblBonus", {"******", W}},
                       {"lblScore", {"13,280", W}}});

    // Neither hits nor misses: still 14 fields.
    SessionFigures empty = sampleInvader();
    empty.hitCount = empty.missCount = 0;
    ResultModel e = buildResultModel(empty, std::nullopt);
    EXPECT_EQ(splitRecordFields(e.recordLine).size(), 14u);
    EXPECT_TRUE(isValidRecordLine(e.recordLine));
}

TEST(ResultModel, SecondSessionShowsDifferencesInColour) {
    // 1000 bytes in 250000 ms, 10 misses, mean reaction 600: ratings 80, 94, 93, 87.
    SessionFigures f = practiceSession(62500, 600, 10, 150, 40000);
    ResultModel m = buildResultModel(f, splitRecordFields(kPracticeLine));
    EXPECT_EQ(m.barPositions, (std::array<int, 4>{80, 94, 93, 87}));
    expectLabels(m, {{"lblScore_", {"+5,850", A}},          // 97600 against 91750
                     {"lblTime_", {"+0:05`00", G}},         // slower
                     {"lblMiss_", {"-0.196 %", A}},         // 0.990 % against 1.186 %
                     {"lblAverage_", {"-4.9 Hits/Min", G}},
                     {"lblMaxCombo_", {"-6", G}},
                     {"lblResult1_", {"-2", G}},
                     {"lblResult2_", {"+11", A}},
                     {"lblResult3_", {"+2", A}},
                     {"lblResult4_", {"+1", A}},
                     {"lblTheme", {kKotowaza, W}}});
}

TEST(ResultModel, EqualSessionsAndSignedTitle) {
    ResultModel m = buildResultModel(samplePractice(), splitRecordFields(kPracticeLine));
    expectLabels(m, {{"lblScore_", {"+0", A}},
                     {"lblTime_", {"-0:00`00", A}},
                     {"lblMiss_", {"-0.000 %", A}},
                     {"lblAverage_", {"+0.0 Hits/Min", A}},
                     {"lblMaxCombo_", {"+0", A}},
                     {"lblResult3_", {"+0", A}}});

    SessionFigures minus = samplePractice();
    minus.title = "-abc";
    EXPECT_EQ(buildResultModel(minus, splitRecordFields(kPracticeLine)).lblTheme.colour, G);
    EXPECT_EQ(buildResultModel(minus, std::nullopt).lblTheme.colour, W);

    // Invader: a longer survival is aqua, an equal one grey; no speed or rating differences.
    ResultModel same = buildResultModel(sampleInvader(), splitRecordFields(kInvaderLine));
    SessionFigures longer = sampleInvader();
    longer.survivalMs += 1000;
    ResultModel better = buildResultModel(longer, splitRecordFields(kInvaderLine));
    expectLabels(same, {{"lblTime_", {"-0:00`00", G}},
                        {"lblAverage_", {"", W}},
                        {"lblResult1_", {"", W}}});
    expectLabels(better, {{"lblTime_", {"+0:01`00", A}}});
}

// A stored line is only text: values beyond 32 bits or not written as plain numbers leave
// their difference empty instead of overflowing.
TEST(ResultModel, ForeignPreviousFieldsLeaveDifferencesEmpty) {
    std::vector<std::string> prev = splitRecordFields(kPracticeLine);
    prev[3] = "-9223372036854775808";  // time
    prev[4] = "nan";                   // speed
    prev[5] = "2147483648";            // misses
    prev[7] = "99999999999999999999";  // max combo
    prev[8] = "-9223372036854775808";  // score
    prev[9] = "inf";
    prev[10] = "1e2";
    SessionFigures f = samplePractice();
    f.score = 0;
    ResultModel m = buildResultModel(f, prev);
    expectLabels(m, {{"lblTime_", {"", W}},
                     {"lblAverage_", {"", W}},
                     {"lblMiss_", {"", W}},
                     {"lblMaxCombo_", {"", W}},
                     {"lblScore_", {"", W}},
                     {"lblResult1_", {"", W}},
                     {"lblResult2_", {"", W}},
                     {"lblResult3_", {"+0", A}}});

    prev[4] = "1e400";
    prev[8] = "-2147483648";
    m = buildResultModel(f, prev);
    EXPECT_EQ(m.lblAverage_.caption, "");
    EXPECT_EQ(m.lblScore_.caption, "+2,147,529,728");  // the bonus 46080 against -2147483648
}

TEST(ResultModel, MakeResultComparesWithStoredRecordOfSameTitle) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("keyrook_result_model_test_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    const std::string path = (dir / "player1.rec").string();

    SessionFigures f = samplePractice();
    f.title = "Hello, world";
    saveStringToFile(path, kInvaderLine + "\r\n");  // another title only
    ResultModel first = makeResult(f, path);
    EXPECT_EQ(first.lblScore_.caption, "");
    EXPECT_NE(first.recordLine.find(",Hello\x81\x43 world,"), std::string::npos);
    // A damaged record of the title leaves the differences empty.
    appendStringToFile(path, "01/03/24 1:00:00,p,Hello\x81\x43 world,x\r\n");
    EXPECT_EQ(makeResult(f, path).lblTime_.caption, "");
    writeRecord(path, first.recordLine);

    f.score += 100;
    ResultModel second = makeResult(f, path);
    EXPECT_EQ(second.lblScore_.caption, "+100");
    fs::remove_all(dir);
}

TEST(ResultModel, ReportText) {
    ResultModel m = buildResultModel(samplePractice(), std::nullopt);
    std::vector<QuestionRow> rows(m.rows.begin(), m.rows.begin() + 2);
    rows[1].question = "a,b";
    const std::string hyphens(37, '-');
    const std::string expected =
        "Date2001/03/24 11:45:43\r\n"
        "\xc3\xb0\xcf," + kKotowaza + "\r\n" +  // ﾃｰﾏ
        sj("得点,91750\r\n") + sj("所要時間,4:05`00\r\n") + sj("ﾐｽﾀｲﾌﾟ数,1.186 %\r\n") +
        sj("ﾀｲﾋﾟﾝｸﾞ速度,244.9 Hits/Min\r\n") + sj("ﾏｯｸｽｺﾝﾎﾞ, 156\r\n") + "\r\n" +
        sj("◆ﾊﾟﾗﾒｰﾀ分析") + hyphens + "\r\n" + sj("ﾀｲﾌﾟ速度,82\r\n") + sj("反射神経,83\r\n") +
        sj("ﾀｲﾌﾟ精度,91\r\n") + sj("総合評価,86\r\n") + "\r\n" + sj("◆結果分析") + hyphens +
        "\r\n" + sj("No,問題,ﾊﾞｲﾄ数,反射神経,ﾀｲﾋﾟﾝｸﾞ速度,速度指数\r\n") +
        "1,Q1,250,821,61250,245.0\r\n"
        "2,\"a,b\",250,821,61250,245.0\r\n";
    EXPECT_EQ(reportText(m, rows), expected);

    // A list emptied by a new session: the report ends with the column header.
    const std::string header = sj("No,問題,ﾊﾞｲﾄ数,反射神経,ﾀｲﾋﾟﾝｸﾞ速度,速度指数\r\n");
    const std::string noRows = reportText(buildResultModel(sampleInvader(), std::nullopt), {});
    EXPECT_EQ(noRows.substr(noRows.size() - header.size()), header);
    EXPECT_NE(noRows.find(sj("ﾀｲﾌﾟ速度,N/A\r\n")), std::string::npos);
}

}  // namespace
}  // namespace keyrook
