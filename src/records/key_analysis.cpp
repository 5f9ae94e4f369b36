#include "records/key_analysis.h"

#include "problemsets/kana_layout.h"

#include <algorithm>
#include <cmath>

#include "base/cp932.h"
#include "typing/scoring.h"

namespace keyrook {

namespace {

std::string percentText(double percent) { return formatFixed(percent, 1) + " %"; }

std::string msText(const KeyCount& c) {
    const auto mean = meanInterval(c);
    return mean ? std::to_string(halfUp(*mean)) + " ms" : std::string("---");
}

std::string countText(std::uint64_t n) {
    return SplitThousand(static_cast<long long>(std::min<std::uint64_t>(n, 0x7FFFFFFFFFFFFFFFull)));
}

}  // namespace

std::size_t rangeSessions(KeyRange range) {
    switch (range) {
        case KeyRange::Last10: return 10;
        case KeyRange::Last50: return 50;
        case KeyRange::All: break;
    }
    return 0;
}

unsigned char keyOf(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 'a' + 'A');
    if (c == ' ') return '_';
    return c;
}

std::vector<StoredKeyStats> sessionsTypedIn(std::vector<StoredKeyStats> sessions, bool kana) {
    static const std::string mark = cp932Of(kKanaTitleMark);
    std::erase_if(sessions, [kana](const StoredKeyStats& s) {
        return s.title.ends_with(mark) != kana;
    });
    return sessions;
}

std::string keyLabel(unsigned char key) {
    if (key == '_') return cp932Of("ｽﾍﾟｰｽ");
    if (key > 0x20 && key < 0x7F) return std::string(1, static_cast<char>(key));
    if (key >= 0xA1 && key <= 0xDF) return std::string(1, static_cast<char>(key));  // kana keys
    static constexpr char hex[] = "0123456789ABCDEF";
    return std::string{'<', hex[key >> 4], hex[key & 15], '>'};
}

double missRate(const KeyCount& c) {
    const std::uint64_t presses = c.presses();
    return presses ? static_cast<double>(c.misses) * 100.0 / static_cast<double>(presses) : 0.0;
}

std::optional<double> meanInterval(const KeyCount& c) {
    if (c.intervalCount == 0) return std::nullopt;
    return static_cast<double>(c.intervalSum) / static_cast<double>(c.intervalCount);
}

KeyAnalysis analyseKeyStats(const std::vector<StoredKeyStats>& sessions, std::size_t last) {
    KeyAnalysis a;
    const std::size_t first = last == 0 || last >= sessions.size() ? 0 : sessions.size() - last;
    for (std::size_t i = first; i < sessions.size(); ++i) {
        for (const KeyEntry& e : sessions[i].entries) {
            a.keys[keyOf(e.key)] += e.count;
            a.total += e.count;
        }
        ++a.sessions;
    }
    for (int b = 0; b < 256; ++b)
        if (a.keys[static_cast<std::size_t>(b)].presses() >= kEnoughPresses)
            a.weakest.push_back(static_cast<unsigned char>(b));
    std::stable_sort(a.weakest.begin(), a.weakest.end(), [&a](unsigned char x, unsigned char y) {
        const KeyCount& cx = a.keys[x];
        const KeyCount& cy = a.keys[y];
        // Cross-multiplied so that equal rates (1/20 and 2/40) compare equal.
        const long double rx = static_cast<long double>(cx.misses) * static_cast<long double>(cy.presses());
        const long double ry = static_cast<long double>(cy.misses) * static_cast<long double>(cx.presses());
        if (rx != ry) return rx > ry;
        return meanInterval(cx).value_or(0) > meanInterval(cy).value_or(0);
    });
    return a;
}

KeyCell keyCell(const KeyAnalysis& analysis, unsigned char key) {
    KeyCell cell;
    const KeyCount& c = analysis.keys[keyOf(key)];
    const std::string name = keyLabel(keyOf(key));
    cell.enough = c.presses() >= kEnoughPresses;
    if (!cell.enough) {
        cell.tooltip = name + cp932Of("\nﾃﾞｰﾀ不足 (打鍵数 ") + countText(c.presses()) +
                       cp932Of("、") + std::to_string(kEnoughPresses) + cp932Of("回から表示)");
        return cell;
    }
    const double rate = missRate(c);
    const double heat = std::clamp(rate / kFullHeatPercent, 0.0, 1.0);
    cell.fill = static_cast<std::uint32_t>(std::lround(heat * 255.0)) << 16;
    cell.tooltip = name + cp932Of("\nﾐｽ率 ") + percentText(rate) + cp932Of("\n平均間隔 ") + msText(c) +
                   cp932Of("\n打鍵数 ") + countText(c.presses());
    return cell;
}

std::vector<WeakKeyRow> weakKeyRows(const KeyAnalysis& analysis, std::size_t count) {
    std::vector<WeakKeyRow> rows;
    for (std::size_t i = 0; i < analysis.weakest.size() && i < count; ++i) {
        const unsigned char key = analysis.weakest[i];
        const KeyCount& c = analysis.keys[key];
        rows.push_back({keyLabel(key), countText(c.presses()), percentText(missRate(c)), msText(c)});
    }
    return rows;
}

RangeTotals rangeTotals(const KeyAnalysis& analysis) {
    RangeTotals t;
    const KeyCount& c = analysis.total;
    t.accuracy = c.presses() ? percentText(static_cast<double>(c.hits) * 100.0 / static_cast<double>(c.presses()))
                             : std::string("---");
    t.meanInterval = msText(c);
    t.keys = countText(c.presses());
    t.sessions = std::to_string(analysis.sessions);
    return t;
}

}  // namespace keyrook
