#include "records/graph_series.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <map>
#include <unordered_map>

#include "typing/scoring.h"

namespace keyrook {

const std::array<GraphMetric, 4>& graphMetrics() {
    static const std::array<GraphMetric, 4> metrics{{
        {"btnPoint", "総合得点", 4, 0, 0},
        {"btnTime", "所用時間", 5, 2, 3},     // " 秒": a blank and a two-byte character
        {"btnMiss", "ﾐｽﾀｲﾌﾟ率", 6, 1, 2},     // " %"
        {"btnMaxCombo", "ﾏｯｸｽｺﾝﾎﾞ", 7, 0, 0},
    }};
    return metrics;
}

std::string cutSuffix(std::string_view text, int suffixPosition, int suffixLength) {
    std::string out(text);
    if (suffixLength <= 0) return out;
    const long long start = static_cast<long long>(out.size()) - suffixPosition - 1;
    if (start < 0) return std::string();
    out.erase(static_cast<std::size_t>(start), static_cast<std::size_t>(suffixLength));
    return out;
}

std::string markText(long double value) {
    // Whole numbers (scores, combos) need no rounding.
    if (value == std::trunc(value) && std::fabs(value) < 1e15L && !std::signbit(value))
        return SplitThousand(static_cast<long long>(value));
    std::string text = formatFixed(value, 3);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    const std::size_t begin = text.front() == '-' ? 1 : 0;
    std::size_t point = text.find('.');
    if (point == std::string::npos) point = text.size();
    // Thousands separators, counted from the point.
    std::string out = text.substr(0, begin);
    for (std::size_t i = begin; i < point; ++i) {
        if (i > begin && (point - i) % 3 == 0) out += ',';
        out += text[i];
    }
    out += text.substr(point);
    return out;
}

namespace {

// The top of the left axis over values up to maximum.
long double axisMaximumOf(long double maximum) {
    // A record may hold a number of any size: above 2^62 the axis is the bare figure with its
    // room, and never below the largest point.
    const long double top = maximum * 1.05L + 0.5L;
    long double axis = top < 0x1p62L ? static_cast<long double>(roundHalfEven(top))
                                     : std::isfinite(top) ? std::ceil(top) : maximum;
    // All values 0 (no mistype at all) would leave the axis no height to draw the line in.
    return axis < 1 ? 1 : axis;
}

// The points of a metric from the column texts of count rows.
template <class Text>
GraphPlot plotRows(std::size_t count, const Text& text, int suffixPosition, int suffixLength,
                   bool marks = true) {
    GraphPlot plot;
    plot.points.reserve(count);
    long double maximum = 0;
    for (std::size_t i = 0; i < count; ++i) {
        auto v = parseNumber(cutSuffix(text(i), suffixPosition, suffixLength));
        if (!v) continue;
        maximum = std::max(maximum, *v);
        plot.points.push_back({static_cast<int>(i), *v, marks ? markText(*v) : std::string()});
    }
    plot.axisMaximum = axisMaximumOf(maximum);
    return plot;
}

}  // namespace

GraphPlot GetGraph(const std::vector<LogRow>& rows, int column, int suffixPosition,
                   int suffixLength) {
    return plotRows(
        rows.size(), [&](std::size_t i) { return rows[i].column(column); }, suffixPosition,
        suffixLength);
}

GraphPlot GetGraph(const RecordLog& log, int column, int suffixPosition, int suffixLength) {
    return plotRows(
        log.rowCount(), [&](std::size_t i) { return log.columnText(i, column); }, suffixPosition,
        suffixLength);
}

std::optional<long double> graphValue(const RecordLog& log, std::size_t place, int column,
                                      int suffixPosition, int suffixLength) {
    return parseNumber(cutSuffix(log.columnText(place, column), suffixPosition, suffixLength));
}

GraphValues graphValues(const RecordLog& log, int column, int suffixPosition, int suffixLength) {
    GraphValues out;
    out.places.reserve(log.rowCount());
    out.values.reserve(log.rowCount());
    long double maximum = 0;
    for (std::size_t i = 0; i < log.rowCount(); ++i) {
        auto v = graphValue(log, i, column, suffixPosition, suffixLength);
        if (!v) continue;
        maximum = std::max(maximum, *v);
        out.places.push_back(static_cast<std::uint32_t>(i));
        out.values.push_back(static_cast<double>(std::clamp<long double>(*v, -DBL_MAX, DBL_MAX)));
    }
    out.axisMaximum = axisMaximumOf(maximum);
    return out;
}

std::vector<bool> thinMarks(const std::vector<MarkBox>& boxes, double gap, double pointRadius) {
    std::vector<bool> keep(boxes.size(), false);
    if (boxes.empty()) return keep;
    using Grid = std::unordered_map<long long, std::vector<std::size_t>>;
    auto cell = [](long long cx, long long cy) { return cx * 1'000'003LL + cy; };
    auto index = [](double v, double size) { return static_cast<long long>(std::floor(v / size)); };

    // Kept marks in cells as large as the largest mark: a mark can only meet the kept marks in
    // its own cell and the eight around it.
    double markW = 1, markH = 1;
    for (const MarkBox& b : boxes) {
        markW = std::max(markW, b.width + gap);
        markH = std::max(markH, b.height + gap);
    }
    Grid marks;
    // Every point in small cells: only the cells under a mark are looked at, and where points
    // crowd the first of them already holds one.
    constexpr double kPointCell = 8;
    Grid points;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        points[cell(index(boxes[i].pointX, kPointCell), index(boxes[i].pointY, kPointCell))].push_back(i);

    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const MarkBox& b = boxes[i];
        const double left = b.x - b.width / 2, right = left + b.width, bottom = b.top + b.height;
        bool crowded = false;
        const long long mx = index(b.x, markW), my = index(b.top, markH);
        for (long long dx = -1; dx <= 1 && !crowded; ++dx)
            for (long long dy = -1; dy <= 1 && !crowded; ++dy) {
                auto it = marks.find(cell(mx + dx, my + dy));
                if (it == marks.end()) continue;
                for (std::size_t k : it->second) {
                    const MarkBox& o = boxes[k];
                    const double oLeft = o.x - o.width / 2;
                    if (left < oLeft + o.width + gap && oLeft < right + gap &&
                        b.top < o.top + o.height + gap && o.top < bottom + gap) {
                        crowded = true;
                        break;
                    }
                }
            }
        const long long x0 = index(left - pointRadius, kPointCell), x1 = index(right + pointRadius, kPointCell);
        const long long y0 = index(b.top - pointRadius, kPointCell), y1 = index(bottom + pointRadius, kPointCell);
        for (long long cx = x0; cx <= x1 && !crowded; ++cx)
            for (long long cy = y0; cy <= y1 && !crowded; ++cy) {
                auto it = points.find(cell(cx, cy));
                if (it == points.end()) continue;
                for (std::size_t k : it->second) {
                    const MarkBox& o = boxes[k];
                    if (k != i && o.pointX + pointRadius > left && o.pointX - pointRadius < right &&
                        o.pointY + pointRadius > b.top && o.pointY - pointRadius < bottom) {
                        crowded = true;
                        break;
                    }
                }
            }
        if (crowded) continue;
        keep[i] = true;
        marks[cell(mx, my)].push_back(i);
    }
    return keep;
}

DatedPlot datedPlot(const RecordLog& log, int column, int suffixPosition, int suffixLength) {
    DatedPlot plot;
    plot.points.reserve(log.rowCount());
    long double maximum = 0;
    for (std::size_t i = 0; i < log.rowCount(); ++i) {
        auto when = parseRecordDate(log.dateText(i));
        if (!when) continue;
        auto v = graphValue(log, i, column, suffixPosition, suffixLength);
        if (!v) continue;
        maximum = std::max(maximum, *v);
        const double day = static_cast<double>(dayNumber(when->year, when->month, when->day)) +
                           (when->hour * 3600 + when->minute * 60 + when->second) / 86400.0;
        plot.points.push_back({day, static_cast<std::uint32_t>(i), *v});
    }
    // In place, without the buffer a stable sort takes; a list in time order is left as it is.
    auto before = [](const DatedPoint& a, const DatedPoint& b) {
        return a.day < b.day || (a.day == b.day && a.place < b.place);
    };
    if (!std::is_sorted(plot.points.begin(), plot.points.end(), before))
        std::sort(plot.points.begin(), plot.points.end(), before);
    plot.axisMaximum = axisMaximumOf(maximum);
    return plot;
}

std::vector<DatedPoint> datedPoints(const RecordLog& log, int column, int suffixPosition,
                                    int suffixLength) {
    return datedPlot(log, column, suffixPosition, suffixLength).points;
}

std::vector<DatedPoint> periodMedians(const std::vector<DatedPoint>& points, ProgressBy by) {
    auto byDay = [](const DatedPoint& a, const DatedPoint& b) { return a.day < b.day; };
    if (!std::is_sorted(points.begin(), points.end(), byDay)) {
        std::vector<DatedPoint> sorted = points;
        std::stable_sort(sorted.begin(), sorted.end(), byDay);
        return periodMedians(sorted, by);
    }
    // The first day of the period that holds a day, and the period's length.
    auto periodOf = [by](std::int64_t day) -> std::pair<std::int64_t, double> {
        if (by == ProgressBy::Day) return {day, 1};
        if (by == ProgressBy::Week) return {weekStart(day), 7};
        const DateTime d = dateOfDay(day);
        const std::int64_t first = dayNumber(d.year, d.month, 1);
        return {first, static_cast<double>(dayNumber(d.month == 12 ? d.year + 1 : d.year,
                                                     d.month == 12 ? 1 : d.month + 1, 1) -
                                           first)};
    };
    std::vector<DatedPoint> out;
    std::vector<long double> values;
    std::size_t i = 0;
    while (i < points.size()) {
        const auto [first, length] = periodOf(static_cast<std::int64_t>(std::floor(points[i].day)));
        const double end = static_cast<double>(first) + length;
        values.clear();
        for (; i < points.size() && points[i].day < end; ++i) values.push_back(points[i].y);
        const std::size_t n = values.size();
        const auto middle = values.begin() + static_cast<std::ptrdiff_t>(n / 2);
        std::nth_element(values.begin(), middle, values.end());
        const long double median = n % 2 ? *middle : (*std::max_element(values.begin(), middle) + *middle) / 2;
        out.push_back({static_cast<double>(first) + length / 2, 0, median});
    }
    return out;
}

std::vector<std::size_t> columnPoints(std::size_t n, const std::function<double(std::size_t)>& x,
                                      const std::function<long double(std::size_t)>& y,
                                      double xMin, double xMax, int columns) {
    std::vector<std::size_t> out;
    if (columns < 1 || n <= static_cast<std::size_t>(columns) || !(xMax > xMin)) {
        out.resize(n);
        for (std::size_t i = 0; i < n; ++i) out[i] = i;
        return out;
    }
    out.reserve(static_cast<std::size_t>(columns) * 4);
    const double scale = columns / (xMax - xMin);
    std::size_t i = 0;
    while (i < n) {
        const auto column = static_cast<long long>(std::floor((x(i) - xMin) * scale));
        std::size_t first = i, low = i, high = i, last = i;
        for (++i; i < n && static_cast<long long>(std::floor((x(i) - xMin) * scale)) == column; ++i) {
            if (y(i) < y(low)) low = i;
            if (y(i) > y(high)) high = i;
            last = i;
        }
        std::size_t picks[4] = {first, std::min(low, high), std::max(low, high), last};
        for (std::size_t k : picks)
            if (out.empty() || out.back() != k) out.push_back(k);
    }
    return out;
}

}  // namespace keyrook
