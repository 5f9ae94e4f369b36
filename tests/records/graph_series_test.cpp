#include "records/graph_series.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "base/files.h"
#include "support/temp_dir.h"
#include "typing/scoring.h"

namespace keyrook {
namespace {

// Rows whose score, time (ms), misses / keys and max combo columns come from the given values.
LogRow row(int number, const std::string& score, const std::string& timeMs,
           const std::string& misses, const std::string& keys, const std::string& combo) {
    LogRow r;
    r.number = number;
    r.fields = {"24/03/01 9:00:00", "amy", "T", timeMs, "300", misses, keys, combo, score,
                "0", "0", "0", "0", "0"};
    return r;
}

const GraphMetric& metric(const char* button) {
    for (const GraphMetric& m : graphMetrics())
        if (std::string(m.button) == button) return m;
    throw std::logic_error(button);
}

GraphPlot draw(const std::vector<LogRow>& rows, const char* button) {
    const GraphMetric& m = metric(button);
    return GetGraph(rows, m.column, m.suffixPosition, m.suffixLength);
}

std::vector<double> ys(const GraphPlot& p) {
    std::vector<double> out;
    for (const GraphPoint& g : p.points) out.push_back(static_cast<double>(g.y));
    return out;
}

TEST(GraphSeries, EachMetricReadsItsColumnWithoutTheUnit) {
    const std::vector<LogRow> rows = {row(1, "800", "83500", "12", "1012", "156"),
                                      row(2, "1234", "245000", "0", "0", "7"),
                                      row(3, "950", "500", "1", "3", "40")};
    struct Case {
        const char* button;
        std::vector<double> values;
        long long axis;
        std::vector<std::string> marks;
    } cases[] = {
        // 1234 x 1.05 + 0.5 = 1296.2
        {"btnPoint", {800, 1234, 950}, 1296, {"800", "1,234", "950"}},
        // 245 x 1.05 + 0.5 = 257.75
        {"btnTime", {83.5, 245, 0.5}, 258, {"83.5", "245", "0.5"}},
        // 33.333 x 1.05 + 0.5 = 35.49965
        {"btnMiss", {1.186, 0, 33.333}, 35, {"1.186", "0", "33.333"}},
        // 156 x 1.05 + 0.5 = 164.3
        {"btnMaxCombo", {156, 7, 40}, 164, {"156", "7", "40"}},
    };
    for (const Case& c : cases) {
        GraphPlot p = draw(rows, c.button);
        ASSERT_EQ(p.points.size(), 3u) << c.button;
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(p.points[i].x, static_cast<int>(i));
            EXPECT_NEAR(ys(p)[i], c.values[i], 1e-9) << c.button;
            EXPECT_EQ(p.points[i].mark, c.marks[i]) << c.button;
        }
        EXPECT_EQ(p.axisMaximum, c.axis) << c.button;
    }
}

TEST(GraphSeries, PointsFollowTheListOrderAndSkipUnreadableTexts) {
    std::vector<LogRow> rows = {row(1, "300", "1000", "0", "10", "5"),
                                row(2, "N/A", "1000", "0", "10", "5"),
                                row(3, "100", "1000", "0", "10", "5")};
    GraphPlot p = draw(rows, "btnPoint");
    ASSERT_EQ(p.points.size(), 2u);
    EXPECT_EQ(p.points[1].x, 2);
    EXPECT_EQ(ys(p), (std::vector<double>{300, 100}));

    std::swap(rows[0], rows[2]);  // the viewer sorted its list
    EXPECT_EQ(ys(draw(rows, "btnPoint")), (std::vector<double>{100, 300}));

    // No mistype at all still leaves the axis a height.
    EXPECT_EQ(draw(rows, "btnMiss").axisMaximum, 1);
}

// Checksum-valid records may hold any 64-bit figures: every metric still draws, on an axis
// that holds its largest point.
TEST(GraphSeries, HugeFiguresDrawOnAnAxisThatHoldsThem) {
    const std::string big = "9223372036854775807", nearBig = "922337203685477580";
    const std::vector<LogRow> rows = {row(1, big, big, big, "1", big),
                                      row(2, nearBig, "1", nearBig, nearBig, "1")};
    for (const GraphMetric& m : graphMetrics()) {
        const GraphPlot p = draw(rows, m.button);
        ASSERT_EQ(p.points.size(), 2u) << m.button;
        for (const GraphPoint& g : p.points) EXPECT_LE(g.y, p.axisMaximum) << m.button;
        EXPECT_TRUE(std::isfinite(p.axisMaximum)) << m.button;
    }
    EXPECT_EQ(rows[1].column(6), "100.000 %");
    EXPECT_EQ(draw({row(1, "1" + std::string(400, '0'), "1", "1", "1", "1")}, "btnPoint").points.size(), 1u);
}

TEST(GraphSeries, MarkTexts) {
    for (auto [value, text] : std::vector<std::pair<long double, std::string>>{
             {0, "0"}, {0.25L, "0.25"}, {999, "999"}, {1000, "1,000"},
             {1234567.5L, "1,234,567.5"}, {2.0005L, "2.001"}, {-1234, "-1,234"}})
        EXPECT_EQ(markText(value), text);
}

}  // namespace
}  // namespace keyrook

namespace keyrook {
namespace {

TEST(GraphOverTime, SessionsAtTheirDatesWithWeeklyAndMonthlyMedians) {
    testing::TempDir app;
    auto line = [](const std::string& date, int score) {
        return withChecksum(date + ",amy,T,60000,300,1,100,40," + std::to_string(score) + ",1,2,3,4") + "\r\n";
    };
    // Stored out of time order; one line without a readable date.
    saveStringToFile(app / "user/amy.rec", line("24/03/12 12:00:00", 30) + line("24/03/04 6:00:00", 10) +
                                               line("24/02/30 9:00:00", 99) + line("24/03/05 0:00:00", 40) +
                                               line("24/03/06 0:00:00", 20) + line("24/04/01 0:00:00", 50));
    RecordLog log(app.dir());
    log.cmbTitleChange({"amy"}, "T", DateTime{2024, 4, 2, 0, 0, 0});
    const std::vector<DatedPoint> points = datedPoints(log, 4, 0, 0);
    ASSERT_EQ(points.size(), 5u);
    const double mar4 = static_cast<double>(dayNumber(2024, 3, 4));
    EXPECT_DOUBLE_EQ(points[0].day, mar4 + 0.25);
    EXPECT_EQ(points[0].y, 10);
    EXPECT_EQ(points[4].y, 50);

    auto medians = [&](ProgressBy by) {
        std::vector<std::pair<double, double>> out;
        for (const DatedPoint& p : periodMedians(points, by)) out.push_back({p.day, static_cast<double>(p.y)});
        return out;
    };
    // Week of 4 March: 10, 40, 20; of 11 March: 30; of 1 April: 50. Weeks centred 3.5 days in.
    EXPECT_EQ(medians(ProgressBy::Week),
              (std::vector<std::pair<double, double>>{{mar4 + 3.5, 20}, {mar4 + 10.5, 30}, {mar4 + 31.5, 50}}));
    const double mar1 = static_cast<double>(dayNumber(2024, 3, 1));
    EXPECT_EQ(medians(ProgressBy::Month),
              (std::vector<std::pair<double, double>>{{mar1 + 15.5, 25}, {mar1 + 31 + 15, 50}}));
}

// The compact values of a long list agree with GetGraph; the dates of a list sorted by score
// come back in time order, sessions of one moment in list order, on an axis of their own.
TEST(GraphOverTime, CompactValuesAndDatesOfASortedList) {
    testing::TempDir app;
    auto line = [](const std::string& date, int score) {
        return withChecksum(date + ",amy,T,60000,300,1,100,40," + std::to_string(score) + ",1,2,3,4") + "\r\n";
    };
    saveStringToFile(app / "user/amy.rec", line("24/03/04 6:00:00", 30) + line("24/03/04 6:00:00", 10) +
                                               line("24/02/30 9:00:00", 99) + line("24/03/01 0:00:00", 20));
    RecordLog log(app.dir());
    log.cmbTitleChange({"amy"}, "T", DateTime{2024, 4, 2, 0, 0, 0});
    log.lslogColumnClick(4);  // by score: 10, 20, 30, 99
    const GraphPlot whole = GetGraph(log, 4, 0, 0);
    const GraphValues compact = graphValues(log, 4, 0, 0);
    EXPECT_EQ(compact.places, (std::vector<std::uint32_t>{0, 1, 2, 3}));
    EXPECT_EQ(compact.values, (std::vector<double>{10, 20, 30, 99}));
    EXPECT_EQ(compact.axisMaximum, whole.axisMaximum);
    EXPECT_EQ(graphValue(log, 3, 4, 0, 0), 99);

    const DatedPlot dated = datedPlot(log, 4, 0, 0);
    std::vector<double> ys;
    for (const DatedPoint& p : dated.points) ys.push_back(static_cast<double>(p.y));
    EXPECT_EQ(ys, (std::vector<double>{20, 10, 30}));  // 1 March, then 4 March in list order
    EXPECT_EQ(dated.axisMaximum, 32);                   // 30 x 1.05 + 0.5: the undated 99 is not drawn
}

TEST(GraphOverTime, CrowdedPointsKeepEachPixelColumnsExtremes) {
    std::vector<double> y(10000);
    for (std::size_t i = 0; i < y.size(); ++i) y[i] = static_cast<double>((i * 7919) % 1000);
    auto xOf = [](std::size_t i) { return static_cast<double>(i); };
    auto yOf = [&](std::size_t i) { return static_cast<long double>(y[i]); };
    const auto few = columnPoints(500, xOf, yOf, 0, 499, 600);
    EXPECT_EQ(few.size(), 500u);  // fewer points than columns: every one
    const int columns = 300;
    const auto kept = columnPoints(y.size(), xOf, yOf, 0, 10000, columns);
    EXPECT_LE(kept.size(), static_cast<std::size_t>(columns) * 4);
    EXPECT_TRUE(std::is_sorted(kept.begin(), kept.end()));
    EXPECT_EQ(kept.front(), 0u);
    EXPECT_EQ(kept.back(), y.size() - 1);
    // Each column's lowest and highest value is among the kept points.
    for (int c = 0; c < columns; ++c) {
        double lo = 1e9, hi = -1, keptLo = 1e9, keptHi = -1;
        for (std::size_t i = 0; i < y.size(); ++i)
            if (static_cast<int>(std::floor(i * columns / 10000.0)) == c) {
                lo = std::min(lo, y[i]);
                hi = std::max(hi, y[i]);
            }
        for (std::size_t i : kept)
            if (static_cast<int>(std::floor(i * columns / 10000.0)) == c) {
                keptLo = std::min(keptLo, y[i]);
                keptHi = std::max(keptHi, y[i]);
            }
        ASSERT_EQ(keptLo, lo) << c;
        ASSERT_EQ(keptHi, hi) << c;
    }
}

}  // namespace
}  // namespace keyrook
