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

std::vector<bool> thinMarks(const std::vector<MarkBox>& boxes, double gap) {
    std::vector<bool> keep(boxes.size(), false);
    if (boxes.empty()) return keep;
    // Kept marks filed in a grid of cells as large as the largest mark: a mark can only meet
    // kept marks in its own cell and the eight around it.
    double cellW = 1, cellH = 1;
    for (const MarkBox& b : boxes) {
        cellW = std::max(cellW, b.width + gap);
        cellH = std::max(cellH, b.height + gap);
    }
    std::unordered_map<long long, std::vector<std::size_t>> cells;
    auto cellOf = [&](double x, double y) {
        const auto cx = static_cast<long long>(std::floor(x / cellW));
        const auto cy = static_cast<long long>(std::floor(y / cellH));
        return std::pair{cx, cy};
    };
    auto key = [](long long cx, long long cy) { return cx * 1'000'003LL + cy; };
    auto apart = [gap](const MarkBox& a, const MarkBox& b) {
        const double aLeft = a.x - a.width / 2, bLeft = b.x - b.width / 2;
        return aLeft + a.width + gap <= bLeft || bLeft + b.width + gap <= aLeft ||
               a.top + a.height + gap <= b.top || b.top + b.height + gap <= a.top;
    };
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const MarkBox& b = boxes[i];
        const auto [cx, cy] = cellOf(b.x, b.top);
        bool free = true;
        for (long long dx = -1; dx <= 1 && free; ++dx)
            for (long long dy = -1; dy <= 1 && free; ++dy) {
                auto it = cells.find(key(cx + dx, cy + dy));
                if (it == cells.end()) continue;
                for (std::size_t k : it->second)
                    if (!apart(b, boxes[k])) {
                        free = false;
                        break;
                    }
            }
        if (!free) continue;
        keep[i] = true;
        cells[key(cx, cy)].push_back(i);
    }
    return keep;
}

}  // namespace keyrook
