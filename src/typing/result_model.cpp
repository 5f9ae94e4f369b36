#include "typing/result_model.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "base/cp932.h"
#include "base/files.h"
#include "base/text.h"
#include "typing/record_file.h"

namespace keyrook {

namespace {

// A 32-bit field, as every integer of a record is written; anything wider is no record value,
// and keeping differences within 64 bits keeps their arithmetic defined.
std::optional<long long> intField(const std::vector<std::string>& fields, std::size_t number) {
    if (number == 0 || number > fields.size()) return std::nullopt;
    const std::string& text = fields[number - 1];
    std::int32_t v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return v;
}

std::optional<long double> floatField(const std::vector<std::string>& fields, std::size_t number) {
    if (number == 0 || number > fields.size()) return std::nullopt;
    return parseNumber(fields[number - 1]);
}

// Percent rounded to three decimals, as the miss rate is kept.
long double rate3(long double rate) { return parseNumber(formatFixed(rate, 3)).value_or(0); }

std::string sign(bool minus) { return minus ? "-" : "+"; }

std::vector<std::pair<ResultLabel*, int>> taggedLabels(ResultModel& m) {
    // Tag 1: a decrease is the improvement.
    std::vector<std::pair<ResultLabel*, int>> out = {
        {&m.lbldate, 0},     {&m.lblTheme, 0},   {&m.lblScore, 0},    {&m.lblTime, 0},
        {&m.lblMiss, 0},     {&m.lblAverage, 0}, {&m.lblMaxcombo, 0}, {&m.lblBonus, 0},
        {&m.lblScore_, 0},   {&m.lblTime_, 1},   {&m.lblMiss_, 1},    {&m.lblAverage_, 0},
        {&m.lblMaxCombo_, 0}};
    for (auto& l : m.lblResult) out.emplace_back(&l, 0);
    for (auto& l : m.lblResult_) out.emplace_back(&l, 0);
    return out;
}

// GetOnceLog: the difference labels and their colours.
void compareWithPrevious(ResultModel& m, const std::vector<std::string>& prev) {
    // A field that does not read as a number leaves its difference empty.
    if (auto p = intField(prev, 9))
        m.lblScore_.caption = sign(*p > m.score) + SplitThousand(std::llabs(m.score - *p));
    if (auto p = intField(prev, 4))
        m.lblTime_.caption = sign(*p >= m.typingTime) + ChangeTime(std::llabs(m.typingTime - *p));
    if (auto miss = intField(prev, 6), keys = intField(prev, 7); miss && keys) {
        long double p = *keys != 0 ? rate3(static_cast<long double>(*miss) / *keys * 100) : 0;
        m.lblMiss_.caption = sign(p >= m.missRate) + formatFixed(std::fabs(m.missRate - p), 3) + " %";
    }
    if (!m.invader) {
        if (auto p = floatField(prev, 5))
            m.lblAverage_.caption =
                sign(*p > m.speed) + formatFixed(std::fabs(m.speed - *p), 1) + " Hits/Min";
    }
    if (auto p = intField(prev, 8))
        m.lblMaxCombo_.caption = sign(*p > m.maxCombo) + std::to_string(std::llabs(m.maxCombo - *p));
    if (!m.invader) {
        for (std::size_t i = 0; i < 4; ++i) {
            if (auto p = intField(prev, 10 + i)) {
                long long cur = m.barPositions[i];
                m.lblResult_[i].caption = sign(cur < *p) + std::to_string(std::llabs(cur - *p));
            }
        }
    }

    // Aqua is the improvement: up for tag 0, down for tag 1. The rule looks at captions only,
    // so a title beginning with a sign is coloured as well.
    for (auto [label, tag] : taggedLabels(m)) {
        if (label->caption.empty()) continue;
        char first = label->caption.front();
        if (first == '+') label->colour = tag == 0 ? kResultAqua : kResultGrey;
        if (first == '-') label->colour = tag == 0 ? kResultGrey : kResultAqua;
    }
    // A longer survival is the better invader game.
    if (m.invader && !m.lblTime_.caption.empty())
        m.lblTime_.colour = m.lblTime_.caption.front() == '+' ? kResultAqua : kResultGrey;
}

// A report field in CSV quotes when it holds a comma or a quote, so a question or title
// keeps its column.
std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"") == std::string::npos) return text;
    return "\"" + rep(text, "\"", "\"\"") + "\"";
}

}  // namespace

std::vector<std::pair<std::string, const ResultLabel*>> ResultModel::labels() const {
    std::vector<std::pair<std::string, const ResultLabel*>> out = {
        {"lbldate", &lbldate},         {"lblTheme", &lblTheme},     {"lblScore", &lblScore},
        {"lblTime", &lblTime},         {"lblMiss", &lblMiss},       {"lblAverage", &lblAverage},
        {"lblMaxcombo", &lblMaxcombo}, {"lblBonus", &lblBonus},     {"lblScore_", &lblScore_},
        {"lblTime_", &lblTime_},       {"lblMiss_", &lblMiss_},     {"lblAverage_", &lblAverage_},
        {"lblMaxCombo_", &lblMaxCombo_}};
    for (std::size_t i = 0; i < 4; ++i) {
        out.emplace_back("lblResult" + std::to_string(i + 1), &lblResult[i]);
        out.emplace_back("lblResult" + std::to_string(i + 1) + "_", &lblResult_[i]);
    }
    return out;
}

ResultModel buildResultModel(const SessionFigures& figures,
                             const std::optional<std::vector<std::string>>& previous) {
    ResultModel m;
    m.invader = figures.invader;
    m.rows = figures.rows;

    std::string line = recordDateText(figures.ended);
    m.lbldate.caption = "Date : 20" + line;
    line += "," + recordFieldText(figures.user) + "," + recordFieldText(figures.title);
    m.lblTheme.caption = figures.title;

    auto bar = [](int v) { return std::clamp(v, 0, 100); };
    const SpeedRating speed = GetSpeed(figures, line);
    m.barPositions[0] = bar(speed.parameter);
    m.lblTime.caption = speed.lblTime;
    m.lblAverage.caption = speed.lblAverage;
    m.typingTime = speed.typingTime;
    m.speed = speed.speed;

    m.barPositions[1] = bar(GetReflection(figures));

    const AccuracyRating accuracy = GetAccuracy(figures, line);
    m.barPositions[2] = bar(accuracy.parameter);
    m.lblMiss.caption = accuracy.lblMiss;
    m.missRate = accuracy.missRate;

    m.maxCombo = figures.maxCombo;
    m.lblMaxcombo.caption = std::to_string(figures.maxCombo);
    line += "," + m.lblMaxcombo.caption;

    const Evaluation ev =
        GetEvaluation(figures, m.barPositions[0], m.barPositions[1], m.barPositions[2], line);
    m.barPositions[3] = bar(ev.evaluation);
    m.lblScore.caption = ev.lblScore;
    m.lblBonus.caption = ev.lblBonus;
    m.score = ev.score;

    for (std::size_t i = 0; i < 4; ++i)
        m.lblResult[i].caption = figures.invader ? "N/A" : std::to_string(m.barPositions[i]);

    if (previous) compareWithPrevious(m, *previous);

    for (const ResultLabel& l : m.lblResult) line += "," + l.caption;
    m.recordLine = withChecksum(std::move(line));
    return m;
}

ResultModel makeResult(const SessionFigures& figures, const std::string& recordPath) {
    return buildResultModel(figures, findPreviousRecord(recordPath, figures.title));
}

const std::array<std::string, 4>& parameterNames() {
    static const std::array<std::string, 4> names = {cp932Of("ﾀｲﾌﾟ速度"), cp932Of("反射神経"),
                                                     cp932Of("ﾀｲﾌﾟ精度"), cp932Of("総合評価")};
    return names;
}

std::string reportText(const ResultModel& model, const std::vector<QuestionRow>& rows) {
    const std::string hyphens(37, '-');
    std::string date = model.lbldate.caption;
    if (std::size_t at = date.find(" : "); at != std::string::npos) date.erase(at, 3);

    std::vector<std::string> lines = {
        date,
        cp932Of("ﾃｰﾏ,") + csvField(model.lblTheme.caption),
        cp932Of("得点,") + rep(model.lblScore.caption, ",", ""),
        cp932Of("所要時間,") + model.lblTime.caption,
        cp932Of("ﾐｽﾀｲﾌﾟ数,") + model.lblMiss.caption,
        cp932Of("ﾀｲﾋﾟﾝｸﾞ速度,") + model.lblAverage.caption,
        cp932Of("ﾏｯｸｽｺﾝﾎﾞ, ") + model.lblMaxcombo.caption,
        "",
        cp932Of("◆ﾊﾟﾗﾒｰﾀ分析") + hyphens,
    };
    for (std::size_t i = 0; i < 4; ++i)
        lines.push_back(parameterNames()[i] + "," + model.lblResult[i].caption);
    lines.push_back("");
    lines.push_back(cp932Of("◆結果分析") + hyphens);
    lines.push_back(cp932Of("No,問題,ﾊﾞｲﾄ数,反射神経,ﾀｲﾋﾟﾝｸﾞ速度,速度指数"));
    for (const QuestionRow& row : rows) {
        std::vector<std::string> cells = row.texts();
        std::string text;
        for (std::size_t i = 0; i < cells.size(); ++i)
            text += (i ? "," : "") + csvField(cells[i]);
        lines.push_back(text);
    }
    return joinLinesCrLf(lines);
}

}  // namespace keyrook
