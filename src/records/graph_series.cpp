#include "records/graph_series.h"

#include <algorithm>

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

GraphPlot GetGraph(const std::vector<LogRow>& rows, int column, int suffixPosition,
                   int suffixLength) {
    GraphPlot plot;
    long double maximum = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        auto v = parseNumber(cutSuffix(rows[i].column(column), suffixPosition, suffixLength));
        if (!v) continue;
        maximum = std::max(maximum, *v);
        plot.points.push_back({static_cast<int>(i), *v, markText(*v)});
    }
    plot.axisMaximum = roundHalfEven(maximum * 1.05L + 0.5L);
    // All values 0 (no mistype at all) would leave the axis no height to draw the line in.
    if (plot.axisMaximum < 1) plot.axisMaximum = 1;
    return plot;
}

}  // namespace keyrook
