// The record viewer at scale keeps rows as their record lines, makes texts when asked and sorts
// by keys made once per row. What it shows and how it orders must stay exactly what the row
// texts and the row comparison give.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/line_reader.h"
#include "records/record_log.h"
#include "support/temp_dir.h"
#include "typing/record_file.h"

namespace keyrook {
namespace {

const DateTime kToday{2024, 3, 25, 12, 0, 0};

std::string hashFixed(long double v, int decimals) {
    std::string t = formatFixed(v, decimals);
    const std::size_t d = t.front() == '-' ? 1 : 0;
    if (t.compare(d, 2, "0.") == 0) t.erase(d, 1);
    return t;
}

TEST(RecordLogTexts, TimeAndRateAsTheFixedPointTextRoundsThem) {
    std::mt19937_64 rng(3);
    std::vector<long long> times;
    for (long long ms = -20; ms < 200000; ++ms) times.push_back(ms);
    for (int i = 0; i < 20000; ++i) times.push_back(static_cast<long long>(rng() % 2'000'000'000'000));
    for (long long ms : times)
        ASSERT_EQ(sessionTimeText(ms), hashFixed(static_cast<long double>(ms) / 1000, 2) + " \x95\x62")
            << ms;
    auto rate = [](long long m, long long k) {
        return k <= 0 ? std::string("0.000 %") : formatFixed(static_cast<long double>(m) / k * 100, 3) + " %";
    };
    for (long long k = -1; k <= 300; ++k)
        for (long long m = 0; m <= 3 * k + 3; ++m) ASSERT_EQ(mistypeRateText(m, k), rate(m, k)) << m << "/" << k;
    for (int i = 0; i < 50000; ++i) {
        const long long k = 1 + static_cast<long long>(rng() % 3'000'000);
        const long long m = static_cast<long long>(rng() % (12 * static_cast<unsigned long long>(k)));
        ASSERT_EQ(mistypeRateText(m, k), rate(m, k)) << m << "/" << k;
    }
}

// A history with ties in every column, today's sessions, names that differ in case, negative
// deviation scores and a field that is no number.
struct History : ::testing::Test {
    testing::TempDir app;
    std::vector<std::string> lines;

    void SetUp() override {
        std::mt19937 rng(17);
        const char* names[] = {"amy", "Amy", "bob", "carol", "B"};
        for (int i = 0; i < 600; ++i) {
            const std::string date = i % 7 == 0 ? "24/03/25 8:00:00" : "24/03/" + std::to_string(10 + i % 9) + " 9:00:00";
            const std::string score = std::to_string(i % 50 == 0 ? 0 : 1000 + rng() % 40 * 25);
            const std::string combo = i % 13 == 0 ? "N/A" : std::to_string(rng() % 30) + (i % 5 ? "" : ".5");
            std::string body = date + "," + names[rng() % 5] + ",T," + std::to_string(rng() % 8 * 1005) +
                               ",300," + std::to_string(rng() % 20) + "," + std::to_string(rng() % 4 * 100) + "," +
                               combo + "," + score + ",1,2,3,4";
            lines.push_back(body + "," + std::to_string(Checksum(body)));
        }
        saveStringToFile(app / "user/amy.rec", joinLinesCrLf(lines));
    }

    // The rows as the list built them before: every field kept, numbered in file order.
    std::vector<LogRow> reference() const {
        std::vector<LogRow> rows;
        std::vector<long long> scores;
        for (auto& f : titleSessions(joinLinesCrLf(lines), "T")) {
            LogRow r;
            r.number = static_cast<int>(rows.size()) + 1;
            r.today = f[0].substr(0, f[0].find(' ')) == recordDateOnly(kToday);
            scores.push_back(std::stoll(f[8]));
            r.fields = f;
            rows.push_back(r);
        }
        const auto dev = deviationScores(scores);
        for (std::size_t i = 0; i < rows.size(); ++i) rows[i].deviation = dev[i];
        return rows;
    }
};

TEST_F(History, ColumnsAndEveryClickedOrderAsTheRowComparisonGives) {
    RecordLog log(app.dir());
    log.cmbTitleChange({"amy"}, "T", kToday);
    std::vector<LogRow> expected = reference();
    ASSERT_EQ(log.rowCount(), expected.size());

    int state = 0;
    const int clicks[] = {4, 4, 3, 5, 5, 6, 8, 8, 7, 2, 1, 1, 3, 3, 6, 7, 7, 5};
    for (int click : clicks) {
        log.lslogColumnClick(click);
        state = click == std::abs(state) ? -state : click;
        const int k = std::abs(state), direction = state < 0 ? -1 : 1;
        std::stable_sort(expected.begin(), expected.end(), [&](const LogRow& a, const LogRow& b) {
            return direction * compareLogRows(a, b, k) < 0;
        });
        ASSERT_EQ(log.sortState(), state);
        for (std::size_t i = 0; i < expected.size(); ++i) {
            ASSERT_EQ(log.rowNumber(i), expected[i].number) << "click " << click << " place " << i;
            for (int c = 1; c <= kLogColumns; ++c)
                ASSERT_EQ(log.columnText(i, c), expected[i].column(c)) << c;
        }
    }
    // The detail panel's row is the whole session.
    EXPECT_EQ(log.row(3).fields, expected[3].fields);
    EXPECT_EQ(log.placeOf(expected[7].number), 7);
    EXPECT_EQ(log.placeOf(100000), -1);
}

TEST(FileLines, SameLinesAsTheWholeFileSplit) {
    testing::TempDir dir;
    const std::string longLine(150000, 'x');
    const std::string texts[] = {
        "", "a", "a\r\nb", "a\r\nb\r\n", "\r\n\r\n", "a\rb\nc\r", "a\n\rb", std::string("a\0b\r\nc", 6),
        std::string(65535, 'y') + "\r\n" + "z", std::string(65536, 'y') + "\r\nz",
        std::string(65535, 'y') + "\r", longLine + "\n" + longLine, std::string("\0\r\n", 3),
        std::string("a\r\n\0\0\0b\r\n\0", 10), std::string(65535, 'y') + std::string("\0\0z", 3),
    };
    for (const std::string& text : texts) {
        saveStringToFile(dir / "f", text);
        std::vector<std::string> got;
        FileLines lines(dir / "f");
        for (std::string_view line; lines.next(line);) got.emplace_back(line);
        EXPECT_EQ(got, splitNonEmptyLines(text)) << text.size();
        // Backwards: the same lines last first, and a stop after the first two.
        std::vector<std::string> back, two;
        forEachLineBackward(dir / "f", [&](std::string_view line) {
            back.emplace_back(line);
            return true;
        });
        forEachLineBackward(dir / "f", [&](std::string_view line) {
            two.emplace_back(line);
            return two.size() < 2;
        });
        EXPECT_EQ(std::vector<std::string>(back.rbegin(), back.rend()), got) << text.size();
        EXPECT_EQ(two, std::vector<std::string>(back.begin(), back.begin() + std::min<std::size_t>(2, back.size())));
        EXPECT_EQ(lastByteOfFile(dir / "f"), text.empty() ? std::nullopt : std::optional<char>(text.back()));
    }
    EXPECT_THROW(FileLines(dir / "missing"), FileError);
    EXPECT_THROW(forEachLineBackward(dir / "missing", [](std::string_view) { return true; }),
                 FileError);
}

}  // namespace
}  // namespace keyrook
