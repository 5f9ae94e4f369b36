// The progress graphs' rules: which column of the record list a metric button draws, how the
// number is cut from its text, the points in the list's current order, the marks at the points
// and the range of the left axis.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/progress.h"
#include "records/record_log.h"

namespace keyrook {

struct GraphMetric {
    const char* button;   // control name
    const char* caption;  // UTF-8
    int column;           // column of the record list, 1-based
    int suffixPosition;   // the unit is cut from byte (length - suffixPosition), 1-based,
    int suffixLength;     // for suffixLength bytes
};

// btnPoint, btnTime, btnMiss, btnMaxCombo.
const std::array<GraphMetric, 4>& graphMetrics();

struct GraphPoint {
    int x = 0;          // the row's place in the list, from 0
    long double y = 0;
    std::string mark;   // "#,##0.###"
};

struct GraphPlot {
    std::vector<GraphPoint> points;
    long double axisMaximum = 105;  // the left axis runs from 0 to this, a whole number
};

// The column text without its unit, as the metric's suffix position and length say.
std::string cutSuffix(std::string_view text, int suffixPosition, int suffixLength);

// "#,##0.###": 1234 -> "1,234", 83.5 -> "83.5", 0.25 -> "0.25".
std::string markText(long double value);

// One metric over the rows in their current order. A row whose text does not read as a number
// gets no point; the others keep their place on the bottom axis.
GraphPlot GetGraph(const std::vector<LogRow>& rows, int column, int suffixPosition,
                   int suffixLength);
GraphPlot GetGraph(const RecordLog& log, int column, int suffixPosition, int suffixLength);

// One metric over a long list, compactly: the places of the rows that read as numbers, their
// values as doubles (enough to choose the points to draw; a drawn point's exact value is read
// again with graphValue) and the left axis as GetGraph gives it.
struct GraphValues {
    std::vector<std::uint32_t> places;
    std::vector<double> values;
    long double axisMaximum = 1;
};
GraphValues graphValues(const RecordLog& log, int column, int suffixPosition, int suffixLength);
// The metric's value of the row at a place, or nullopt when its text does not read.
std::optional<long double> graphValue(const RecordLog& log, std::size_t place, int column,
                                      int suffixPosition, int suffixLength);

// Where a value mark would be drawn, in pixels: centred on x, top edge at top; and the point
// it belongs to.
struct MarkBox {
    double x = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    double pointX = 0;
    double pointY = 0;
};

// Which marks are drawn when many points crowd the plot: in point order, a mark is kept unless
// it would overlap (or come closer than gap to) a mark already kept, or cover another mark's
// point (a dot of the given radius). Marks that do not crowd each other are all kept.
std::vector<bool> thinMarks(const std::vector<MarkBox>& boxes, double gap, double pointRadius);

// A metric over calendar time: each session at its date and time, in days since 1970-01-01
// with the time of day as the fraction.
struct DatedPoint {
    double day = 0;
    std::uint32_t place = 0;  // the row's place in the list (in the room the layout leaves)
    long double y = 0;
};

// The metric's points at their sessions' dates, oldest first (sessions of one moment keep the
// list's order); rows whose date or value does not read are left out. Each row is read once;
// the left axis covers the points as GetGraph's covers its own.
struct DatedPlot {
    std::vector<DatedPoint> points;
    long double axisMaximum = 1;
};
DatedPlot datedPlot(const RecordLog& log, int column, int suffixPosition, int suffixLength);
std::vector<DatedPoint> datedPoints(const RecordLog& log, int column, int suffixPosition,
                                    int suffixLength);

// The median of each ISO week's or month's values (of an even count the mean of the middle
// two), placed at the middle of its period, oldest first; periods without points have none.
// Points in time order are taken a period at a time, without a copy of them all.
std::vector<DatedPoint> periodMedians(const std::vector<DatedPoint>& points, ProgressBy by);

// The points to draw of n points in x order when they crowd a plot `columns` pixels wide over
// [xMin, xMax]: of each pixel column the first, the lowest, the highest and the last, in
// order, so the line drawn through them covers the same pixels as the whole line. Every point
// when there are no more points than columns.
std::vector<std::size_t> columnPoints(std::size_t n, const std::function<double(std::size_t)>& x,
                                      const std::function<long double(std::size_t)>& y,
                                      double xMin, double xMax, int columns);

}  // namespace keyrook
