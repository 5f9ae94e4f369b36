#include "records/graph_series.h"

#include <algorithm>
#include <cmath>
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

// The points of a metric from the column texts of count rows.
template <class Text>
GraphPlot plotRows(std::size_t count, const Text& text, int suffixPosition, int suffixLength) {
    GraphPlot plot;
    plot.points.reserve(count);
    long double maximum = 0;
    for (std::size_t i = 0; i < count; ++i) {
        auto v = parseNumber(cutSuffix(text(i), suffixPosition, suffixLength));
        if (!v) continue;
        maximum = std::max(maximum, *v);
        plot.points.push_back({static_cast<int>(i), *v, markText(*v)});
    }
    plot.axisMaximum = roundHalfEven(maximum * 1.05L + 0.5L);
    // All values 0 (no mistype at all) would leave the axis no height to draw the line in.
    if (plot.axisMaximum < 1) plot.axisMaximum = 1;
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

GraphPlot GetGraph(const LogRows& rows, int column, int suffixPosition, int suffixLength) {
    return GetGraph(rows.log(), column, suffixPosition, suffixLength);
}

std::vector<bool> thinMarks(const std::vector<MarkBox>& boxes, double gap, double pointRadius) {
    std::vector<bool> keep(boxes.size(), false);
    if (boxes.empty()) return keep;
    // Kept marks and all points filed in grids of cells as large as the largest mark: a mark
    // can only meet what lies in its own cell and the eight around it.
    double cellW = 1, cellH = 1;
    for (const MarkBox& b : boxes) {
        cellW = std::max(cellW, b.width + gap + pointRadius);
        cellH = std::max(cellH, b.height + gap + pointRadius);
    }
    using Grid = std::unordered_map<long long, std::vector<std::size_t>>;
    auto key = [&](double x, double y) {
        const auto cx = static_cast<long long>(std::floor(x / cellW));
        const auto cy = static_cast<long long>(std::floor(y / cellH));
        return std::pair{cx, cy};
    };
    auto cell = [](long long cx, long long cy) { return cx * 1'000'003LL + cy; };
    Grid points, marks;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const auto [cx, cy] = key(boxes[i].pointX, boxes[i].pointY);
        points[cell(cx, cy)].push_back(i);
    }
    auto near = [&](const Grid& grid, const MarkBox& b, auto&& hits) {
        const auto [cx, cy] = key(b.x, b.top);
        for (long long dx = -1; dx <= 1; ++dx)
            for (long long dy = -1; dy <= 1; ++dy) {
                auto it = grid.find(cell(cx + dx, cy + dy));
                if (it == grid.end()) continue;
                for (std::size_t k : it->second)
                    if (hits(k)) return true;
            }
        return false;
    };
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const MarkBox& b = boxes[i];
        const double left = b.x - b.width / 2, right = left + b.width, bottom = b.top + b.height;
        const bool crowded =
            near(marks, b,
                 [&](std::size_t k) {
                     const MarkBox& o = boxes[k];
                     const double oLeft = o.x - o.width / 2;
                     return left < oLeft + o.width + gap && oLeft < right + gap &&
                            b.top < o.top + o.height + gap && o.top < bottom + gap;
                 }) ||
            near(points, b, [&](std::size_t k) {
                const MarkBox& o = boxes[k];
                return k != i && o.pointX + pointRadius > left && o.pointX - pointRadius < right &&
                       o.pointY + pointRadius > b.top && o.pointY - pointRadius < bottom;
            });
        if (crowded) continue;
        keep[i] = true;
        const auto [cx, cy] = key(b.x, b.top);
        marks[cell(cx, cy)].push_back(i);
    }
    return keep;
}

}  // namespace keyrook
