#include "records/key_analysis.h"

#include "problemsets/kana_layout.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "base/cp932.h"
#include "base/files.h"
#include "base/line_reader.h"
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

bool typedInKana(std::string_view title) {
    static const std::string mark = cp932Of(kKanaTitleMark);
    return title.ends_with(mark);
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

std::vector<StoredKeyStats> readLastKeyStats(const std::string& path, std::size_t last,
                                             std::optional<bool> kana) {
    std::vector<StoredKeyStats> out;
    if (!fileExists(path)) return out;
    auto take = [&](std::string_view line) {
        auto s = parseKeyStatsLine(line);
        if (s && (!kana || typedInKana(s->title) == *kana)) out.push_back(std::move(*s));
    };
    if (last == 0) {
        FileLines lines(path, Links::Refuse);
        for (std::string_view line; lines.next(line);) take(line);
        return out;
    }
    forEachLineBackward(
        path,
        [&](std::string_view line) {
            take(line);
            return out.size() < last;
        },
        Links::Refuse);
    std::reverse(out.begin(), out.end());
    return out;
}

KeyAnalysis analyseKeyStats(const std::vector<StoredKeyStats>& sessions, std::size_t last) {
    KeyAnalysis a;
    const std::size_t first = last == 0 || last >= sessions.size() ? 0 : sessions.size() - last;
    for (std::size_t i = first; i < sessions.size(); ++i) {
        for (const KeyEntry& e : sessions[i].entries) {
            KeyCount& k = a.keys[keyOf(e.key)];
            k.hits += e.count.hits;
            k.misses += e.count.misses;
            k.intervalSum += e.count.intervalSum;
            k.intervalCount += e.count.intervalCount;
            for (const auto& [pressed, n] : e.count.confusions) k.confusions[keyOf(pressed)] += n;
            a.total.hits += e.count.hits;
            a.total.misses += e.count.misses;
            a.total.intervalSum += e.count.intervalSum;
            a.total.intervalCount += e.count.intervalCount;
        }
        ++a.sessions;
    }
    std::array<double, 256> weakness{};
    for (int b = 0; b < 256; ++b) {
        const auto key = static_cast<unsigned char>(b);
        if (a.keys[key].misses == 0) continue;
        weakness[key] = keyWeakness(a, key);
        a.weakest.push_back(key);
    }
    std::stable_sort(a.weakest.begin(), a.weakest.end(), [&](unsigned char x, unsigned char y) {
        if (weakness[x] != weakness[y]) return weakness[x] > weakness[y];
        return meanInterval(a.keys[x]).value_or(0) > meanInterval(a.keys[y]).value_or(0);
    });
    return a;
}

double overallMissRate(const KeyAnalysis& analysis) {
    const KeyCount& t = analysis.total;
    const double presses = static_cast<double>(t.hits) + static_cast<double>(t.misses);
    return presses > 0 ? static_cast<double>(t.misses) / presses : 0.0;
}

double keyWeakness(const KeyAnalysis& analysis, unsigned char key) {
    const KeyCount& c = analysis.keys[keyOf(key)];
    if (c.misses == 0) return 0.0;
    // Counts summed from damaged files can be near the top of their type: presses are added as
    // doubles so that they cannot wrap, and the share stays a share.
    const double presses = static_cast<double>(c.hits) + static_cast<double>(c.misses);
    const double w = (static_cast<double>(c.misses) + kWeaknessPriorPresses * overallMissRate(analysis)) /
                     (presses + kWeaknessPriorPresses);
    return std::clamp(w, 0.0, 1.0);
}

std::vector<Confusion> confusionList(const KeyAnalysis& analysis) {
    std::vector<Confusion> out;
    for (int b = 0; b < 256; ++b)
        for (const auto& [pressed, n] : analysis.keys[static_cast<std::size_t>(b)].confusions)
            if (n > 0) out.push_back({static_cast<unsigned char>(b), pressed, n});
    std::stable_sort(out.begin(), out.end(),
                     [](const Confusion& x, const Confusion& y) { return x.count > y.count; });
    return out;
}

std::string confusionText(const Confusion& c) {
    return keyLabel(c.expected) + cp932Of(" → ") + keyLabel(c.pressed) + " " + countText(c.count) +
           cp932Of("回");
}

namespace {

// "\n誤打 T 14回、Y 3回、H 1回": the keys pressed most often at this key's misses.
std::string topConfusions(const KeyCount& c) {
    std::vector<std::pair<unsigned char, std::uint64_t>> pressed(c.confusions.begin(), c.confusions.end());
    std::stable_sort(pressed.begin(), pressed.end(),
                     [](const auto& x, const auto& y) { return x.second > y.second; });
    std::string out;
    for (std::size_t i = 0; i < pressed.size() && i < kTooltipConfusions; ++i) {
        out += i == 0 ? cp932Of("\n誤打 ") : cp932Of("、");
        out += keyLabel(pressed[i].first) + " " + countText(pressed[i].second) + cp932Of("回");
    }
    return out;
}

}  // namespace

bool enoughPresses(const KeyAnalysis& analysis, unsigned char key) {
    return analysis.keys[keyOf(key)].presses() >= kEnoughPresses;
}

KeyCell keyCell(const KeyAnalysis& analysis, unsigned char key) {
    KeyCell cell;
    const KeyCount& c = analysis.keys[keyOf(key)];
    const std::string name = keyLabel(keyOf(key));
    cell.enough = enoughPresses(analysis, key);
    if (!cell.enough) {
        cell.tooltip = name + cp932Of("\nﾃﾞｰﾀ不足 (打鍵数 ") + countText(c.presses()) +
                       cp932Of("、") + std::to_string(kEnoughPresses) + cp932Of("回から表示)") +
                       topConfusions(c);
        return cell;
    }
    const double rate = missRate(c);
    const double heat = std::clamp(rate / kFullHeatPercent, 0.0, 1.0);
    cell.fill = static_cast<std::uint32_t>(std::lround(heat * 255.0)) << 16;
    cell.tooltip = name + cp932Of("\nﾐｽ率 ") + percentText(rate) + cp932Of("\n平均間隔 ") + msText(c) +
                   cp932Of("\n打鍵数 ") + countText(c.presses()) + topConfusions(c);
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
