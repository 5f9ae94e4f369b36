#include "records/record_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/cp932.h"
#include "base/files.h"
#include "typing/record_file.h"
#include "support/temp_dir.h"

namespace keyrook {
namespace {

// CP932: "ことわざ集", "太郎", "秒".
const std::string kKotowaza = "\x82\xb1\x82\xc6\x82\xed\x82\xb4\x8f\x57";
const std::string kTaro = "\x91\xbe\x98\x59";
const std::string kByou = "\x95\x62";

// The sample practice line, stored exactly as the typing result writes it.
const std::string kSample =
    "01/03/24 11:45:43,player1,\x82\xb1\x82\xc6\x82\xed\x82\xb4\x8f\x57,245000,244.9,12,1012,"
    "156,91750,82,83,91,86,10632";
const std::string kInvader =
    "01/03/24 11:52:10,player1,Radovu Didarez,95310,---,4,318,57,13280,N/A,N/A,N/A,N/A,10310";

// A record line with a correct checksum; score and date vary, the rest is fixed.
std::string rec(const std::string& date, const std::string& user, const std::string& title,
                long long score, const std::string& time = "83500", const std::string& miss = "5",
                const std::string& keys = "500") {
    std::string body = date + "," + user + "," + title + "," + time + ",300," + miss + "," + keys +
                       ",40," + std::to_string(score) + ",90,80,70,60";
    return body + "," + std::to_string(Checksum(body));
}

const DateTime kToday{2024, 3, 25, 12, 0, 0};

struct RecordLogFixture : ::testing::Test {
    testing::TempDir app;
    RecordLog log{app.dir()};

    void store(const std::string& utf8User, const std::vector<std::string>& lines) {
        saveStringToFile(app / ("user/" + utf8User + ".rec"), joinLinesCrLf(lines));
    }
    std::vector<int> numbers() const {
        std::vector<int> out;
        for (const LogRow& r : log.rows()) out.push_back(r.number);
        return out;
    }
    std::vector<std::string> columnTexts(int k) const {
        std::vector<std::string> out;
        for (const LogRow& r : log.rows()) out.push_back(r.column(k));
        return out;
    }
};

TEST_F(RecordLogFixture, TitleChoicesComeFromEverySelectedFileWithoutCaseDuplicates) {
    std::string damaged = rec("24/03/01 9:00:00", "amy", "Damaged", 10);
    damaged.back() = damaged.back() == '0' ? '1' : '0';
    store("amy", {"", rec("24/03/01 9:00:00", "amy", "Abc", 10), "no,title", damaged,
                  rec("24/03/02 9:00:00", "amy", "ABC", 20), kSample});
    store(cp932ToUtf8(kTaro), {rec("24/03/03 9:00:00", kTaro, "abc", 5),
                               rec("24/03/03 9:10:00", kTaro, "Zed", 5)});

    struct Case {
        std::vector<std::string> users;
        std::vector<std::string> titles;
    } cases[] = {
        {{}, {}},
        {{"amy"}, {"Abc", "Damaged", kKotowaza}},
        {{kTaro, "amy"}, {"abc", "Zed", "Damaged", kKotowaza}},
        {{"nobody", "amy"}, {"Abc", "Damaged", kKotowaza}},
    };
    for (const Case& c : cases) {
        log.lstUserMouseUp(c.users);
        EXPECT_EQ(log.titles(), c.titles) << c.users.size();
    }
}

TEST_F(RecordLogFixture, SessionsOfTheTitleInUserAndFileOrderWithColumns) {
    std::string damaged = rec("24/03/25 9:30:00", "amy", "Abc", 700);
    damaged.replace(damaged.find(",700,"), 5, ",701,");  // altered score, stale checksum
    // A comma in an old title shifts the fields; a damaged number cannot be read.
    std::string shifted = "24/03/25 9:40:00,amy,Abc,x,83500,300,5,500,40,900,90,80,70,60";
    shifted += "," + std::to_string(Checksum(shifted));
    std::string unreadable = "24/03/25 9:50:00,amy,Abc,x,300,5,500,40,900,90,80,70,60";
    unreadable += "," + std::to_string(Checksum(unreadable));
    store("amy", {"", rec("24/03/24 23:59:59", "amy", "Abc", 800),
                  rec("24/03/25 0:00:01", "amy", "abc", 999), damaged, shifted, unreadable,
                  rec("24/03/25 10:00:00", "amy", "Abc", 1234, "500", "12", "1012")});
    store("bob", {rec("24/03/25 11:00:00", "bob", "Abc", 950, "245000", "0", "0")});

    log.cmbTitleChange({"amy", "nobody", "bob"}, "Abc", kToday);
    const std::vector<std::vector<std::string>> expected = {
        {"1", "24/03/24 23:59:59", "amy", "800", "83.50 " + kByou, "1.000 %", "40", "41.2"},
        {"2*", "24/03/25 10:00:00", "amy", "1234", ".50 " + kByou, "1.186 %", "40", "60.9"},
        {"3*", "24/03/25 11:00:00", "bob", "950", "245.00 " + kByou, "0.000 %", "40", "48.0"},
    };
    ASSERT_EQ(log.rows().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        for (int k = 1; k <= kLogColumns; ++k)
            EXPECT_EQ(log.rows()[i].column(k), expected[i][static_cast<std::size_t>(k - 1)]) << i << k;

    // An empty title leaves the list as it is; a title nobody played empties it.
    log.cmbTitleChange({"amy"}, "", kToday);
    EXPECT_EQ(log.rows().size(), 3u);
    log.cmbTitleChange({"amy"}, "Nothing", kToday);
    EXPECT_TRUE(log.rows().empty());
}

// Sessions stored after the NUL bytes a power cut left are listed like the others.
TEST_F(RecordLogFixture, SessionsAfterNulBytesAreListed) {
    const std::string text = "\r\n" + rec("24/03/24 9:00:00", "amy", "Abc", 800) + "\r\n" +
                             std::string(64, '\0') + "\r\n" +
                             rec("24/03/25 9:00:00", "amy", "New", 900) + "\r\n" +
                             rec("24/03/25 9:10:00", "amy", "Abc", 950) + "\r\n";
    saveStringToFile(app / "user/amy.rec", text);
    EXPECT_EQ(recordTitles(text), (std::vector<std::string>{"Abc", "New"}));
    log.cmbTitleChange({"amy"}, "Abc", kToday);
    EXPECT_EQ(log.rows().size(), 2u);
}

TEST(RecordLogStatistics, DeviationScoresAndColumnTexts) {
    std::vector<long long> outlier(29, 1000);
    outlier.push_back(0);
    struct Case {
        std::vector<long long> scores;
        std::vector<std::string> texts;
    } cases[] = {
        {{}, {}},
        {{91750}, {"50.0"}},
        {{500, 500}, {"50.0", "50.0"}},
        {{0, 100}, {"42.9", "57.1"}},
        // 2^31 - 1 and 0: the sum and squares need more than 32 bits.
        {{2147483647, 0, 2147483647}, {"55.8", "38.5", "55.8"}},
    };
    for (const Case& c : cases) EXPECT_EQ(deviationScores(c.scores), c.texts);
    EXPECT_EQ(deviationScores(outlier).back(), "-2.9");

    struct Text {
        std::string text, expected;
    } texts[] = {
        {sessionTimeText(5), ".01 " + kByou},       // "##.00": no leading zero
        {mistypeRateText(2, 3), "66.667 %"},
        {deviationText(49.95L), "50.0"},
        {deviationText(0.44L), ".4"},
        {deviationText(-2.96L), "-3.0"},
    };
    for (const Text& t : texts) EXPECT_EQ(t.text, t.expected);
}

TEST_F(RecordLogFixture, SortingByHeaderClicks) {
    store("amy", {rec("24/03/25 9:00:00", "carol", "T", 3000000, "90000"),
                  rec("24/03/01 9:00:00", "amy", "T", 0, "9000"),
                  rec("24/03/02 9:00:00", "Bob", "T", 1500, "120500"),
                  rec("24/03/25 8:00:00", "amy", "T", 1500, "120500")});
    log.cmbTitleChange({"amy"}, "T", kToday);
    ASSERT_EQ(columnTexts(1), (std::vector<std::string>{"1*", "2", "3", "4*"}));

    struct Step {
        int click;
        int state;
        std::vector<int> order;
    } steps[] = {
        {4, 4, {2, 3, 4, 1}},    // scores ascending; 3 and 4 tie and keep their order
        {4, -4, {1, 3, 4, 2}},   // again: descending
        {5, 5, {2, 1, 3, 4}},    // time 9.00 < 90.00 < 120.50 = 120.50
        {1, 1, {1, 2, 3, 4}},    // the number, "*" or not
        {1, -1, {4, 3, 2, 1}},
        {8, 8, {4, 3, 2, 1}},    // deviation: three times "45.0" keep their order, then 65.0
        {2, 2, {4, 3, 2, 1}},    // hidden key: its leading "24" ties, order kept
        {-1, 2, {4, 3, 2, 1}},   // not a column
    };
    for (const Step& s : steps) {
        log.lslogColumnClick(s.click);
        EXPECT_EQ(log.sortState(), s.state) << s.click;
        EXPECT_EQ(numbers(), s.order) << s.click;
    }
    // Names by the locale's comparison, which keeps lower and upper case apart.
    log.lslogColumnClick(3);
    EXPECT_EQ(columnTexts(3).front(), "Bob");  // "B" before lower-case letters in the C locale
    EXPECT_EQ(columnTexts(3).back(), "carol");

    // A new title keeps the sort state but lists in file order until the next click.
    log.cmbTitleChange({"amy"}, "T", kToday);
    EXPECT_EQ(log.sortState(), 3);
    EXPECT_EQ(numbers(), (std::vector<int>{1, 2, 3, 4}));
    log.lslogColumnClick(4);
    EXPECT_EQ(numbers(), (std::vector<int>{2, 3, 4, 1}));

    // What the numeric columns compare: a negative deviation reads as negative.
    for (auto [text, value] : std::vector<std::pair<std::string, double>>{
             {"83.50 " + kByou, 83.5}, {".4", 0.4}, {"-2.9", -2.9}, {"N/A", 0}, {"1.2.3", 1.2}})
        EXPECT_DOUBLE_EQ(static_cast<double>(leadingNumber(text)), value) << text;
}

TEST(RecordLogDetails, PanelTextsOfPracticeAndInvaderSessions) {
    struct Case {
        std::string line;
        bool today;
        std::vector<std::string> texts;
        std::array<int, 4> positions;
    } cases[] = {
        {kSample, true, {"Date : 2001/03/24 11:45:43", kKotowaza, "91,750", "4:05`00", "12 / 1012",
                         "244.9 Hits/Min", "156", "86"}, {82, 83, 91, 86}},
        {kInvader, false, {"Date : 2001/03/24 11:52:10", "Radovu Didarez", "13,280", "1:35`31",
                           "4 / 318", "--- Hits/Min", "57", "N/A"}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        LogRow row;
        row.today = c.today;
        row.fields = splitRecordFields(c.line);
        const LogDetails d = logDetails(row);
        EXPECT_EQ((std::vector<std::string>{d.lbldate, d.lblTheme, d.lblScore, d.lblTime, d.lblMiss,
                                            d.lblAverage, d.lblMaxcombo, d.lblResult[3]}),
                  c.texts);
        EXPECT_EQ(d.dateWhite, c.today);
        EXPECT_EQ(d.positions, c.positions);
    }
}

}  // namespace
}  // namespace keyrook
