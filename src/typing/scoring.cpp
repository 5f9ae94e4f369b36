#include "typing/scoring.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace keyrook {

namespace {

constexpr long long kIntMax = std::numeric_limits<std::int32_t>::max();
constexpr long long kIntMin = std::numeric_limits<std::int32_t>::min();

int clamp32(long long v) { return static_cast<int>(std::clamp(v, kIntMin, kIntMax)); }

// A finite value to 15 significant digits: the digits and how many of them precede the point.
struct Digits {
    bool negative = false;
    std::string digits;
    int point = 1;
};

Digits significant15(long double v) {
    Digits d;
    if (!std::isfinite(v)) v = 0;
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    std::string_view s(buf, static_cast<std::size_t>(res.ptr - buf));
    if (!s.empty() && s.front() == '-') {
        d.negative = true;
        s.remove_prefix(1);
    }
    std::size_t e = s.find('e');
    d.digits.push_back(s[0]);
    d.digits.append(s.substr(2, e - 2));
    std::string_view exp = s.substr(e + 1);
    bool expNegative = exp.front() == '-';
    exp.remove_prefix(1);
    int x = 0;
    std::from_chars(exp.data(), exp.data() + exp.size(), x);
    d.point = (expNegative ? -x : x) + 1;
    return d;
}

long long sumBytes(const SessionFigures& f) {
    long long n = 0;
    for (const QuestionRow& r : f.rows) n += r.bytes;
    return n;
}

// Round(p / q) for p >= 0, q > 0, exactly.
long long roundRatio(long long p, long long q) {
    long long whole = p / q, rest = p % q;
    if (2 * rest > q || (2 * rest == q && whole % 2 != 0)) ++whole;
    return whole;
}

}  // namespace

std::vector<std::string> QuestionRow::texts() const {
    auto opt = [](const std::optional<int>& v) { return v ? std::to_string(*v) : std::string(); };
    return {std::to_string(number), question,    std::to_string(bytes),
            opt(reactionMs),        opt(typingMs), speedIndex};
}

long long halfUp(long double x) {
    // A stored count may be any 64-bit figure: beyond long long the result saturates.
    if (std::isnan(x)) return 0;
    if (x + 0.5L >= 0x1p63L) return std::numeric_limits<long long>::max();
    if (x + 0.5L <= -0x1p63L) return std::numeric_limits<long long>::min();
    return static_cast<long long>(std::trunc(x + 0.5L));
}

long long roundHalfEven(long double x) {
    // Beyond 64 bits (a checksum-valid record may hold any digits) the result saturates.
    if (std::isnan(x)) return 0;
    if (x >= 0x1p63L) return std::numeric_limits<long long>::max();
    if (x < -0x1p63L) return std::numeric_limits<long long>::min();
    long double f = std::floor(x);
    long double diff = x - f;
    if (diff > 0.5L || (diff == 0.5L && std::fmod(f, 2.0L) != 0)) f += 1;
    return static_cast<long long>(f);
}

std::string floatText(long double value) {
    if (!std::isfinite(value) || value == 0) return "0";
    Digits d = significant15(value);
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    const int len = static_cast<int>(d.digits.size());
    std::string out;
    if (d.point <= 0)
        out = "0." + std::string(static_cast<std::size_t>(-d.point), '0') + d.digits;
    else if (d.point >= len)
        out = d.digits + std::string(static_cast<std::size_t>(d.point - len), '0');
    else
        out = d.digits.substr(0, d.point) + "." + d.digits.substr(d.point);
    return d.negative ? "-" + out : out;
}

std::string formatFixed(long double value, int decimals) {
    Digits d = significant15(value);
    std::string a = d.digits;
    int point = d.point;
    if (point <= 0) {
        a.insert(0, static_cast<std::size_t>(1 - point), '0');
        point = 1;
    }
    const std::size_t keep = static_cast<std::size_t>(point + decimals);
    if (a.size() < keep + 1) a.append(keep + 1 - a.size(), '0');
    const bool up = a[keep] >= '5';
    a.resize(keep);
    if (up) {
        std::size_t i = keep;
        while (i > 0 && a[i - 1] == '9') a[--i] = '0';
        if (i == 0) {
            a.insert(0, "1");
            ++point;
        } else {
            ++a[i - 1];
        }
    }
    std::string whole = a.substr(0, static_cast<std::size_t>(point));
    std::size_t firstDigit = std::min(whole.find_first_not_of('0'), whole.size() - 1);
    std::string out = whole.substr(firstDigit);
    if (decimals > 0) out += "." + a.substr(static_cast<std::size_t>(point));
    bool zero = out.find_first_of("123456789") == std::string::npos;
    return d.negative && !zero ? "-" + out : out;
}

std::optional<long double> parseNumber(std::string_view text) {
    // Plain decimals only, as they are written: no exponent, no infinity, no NaN.
    long double v = 0;
    auto [end, ec] =
        std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::fixed);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::string speedIndexText(int typingMs, int bytes) {
    if (bytes <= 0) return "0.0";
    long double x = static_cast<long double>(typingMs) / bytes;
    std::string text = floatText(std::trunc(x * 10 + 0.5L) / 10);
    if (text.find('.') == std::string::npos) text += ".0";
    return text;
}

std::string SplitThousand(long long n) {
    // The magnitude as unsigned: the most negative value has no positive counterpart.
    const unsigned long long magnitude =
        n < 0 ? 0ull - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
    std::string digits = std::to_string(magnitude);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return n < 0 ? "-" + out : out;
}

std::string ChangeTime(long long ms) {
    if (ms < 0) ms = 0;
    auto two = [](long long v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    long long hundredths = (ms % 1000) / 10;
    long long seconds = (ms / 1000) % 60;
    // The label has room for three digits of minutes.
    std::string minutes = std::to_string((ms / 1000) / 60).substr(0, 3);
    return minutes + ":" + two(seconds) + "`" + two(hundredths);
}

int Checksum(std::string_view cp932) {
    std::uint32_t sum = 0;
    for (unsigned char c : cp932) sum += c;
    return static_cast<std::int32_t>(sum * 2u);
}

std::string withChecksum(std::string line) {
    const int sum = Checksum(line);
    line += ',';
    line += std::to_string(sum);
    return line;
}

int bonusFactor(int rating) {
    if (rating >= 100) return 20;
    if (rating >= 95) return 15;
    if (rating >= 90) return 10;
    if (rating >= 20) return rating / 10;
    return 1;
}

SpeedRating GetSpeed(const SessionFigures& figures, std::string& recordLine) {
    long long time = 0;
    for (const QuestionRow& r : figures.rows) time += r.typingMs.value_or(0);
    if (figures.invader) time = figures.survivalMs;
    const long long bytes = sumBytes(figures);

    SpeedRating out;
    out.typingTime = clamp32(time);
    recordLine += "," + std::to_string(out.typingTime);
    out.lblTime = ChangeTime(out.typingTime);
    if (figures.invader) {
        recordLine += ",---";
        out.lblAverage = "*** Hits/Min";
        return out;
    }
    if (time > 0 && bytes > 0) {
        const long double perByte = static_cast<long double>(time) / bytes;
        out.speed = std::trunc(60000.0L / perByte * 10 + 0.5L) / 10;
        const long long ms = halfUp(perByte);
        out.parameter = ms <= 200 ? 100 : static_cast<int>(roundHalfEven(20000.0L / ms));
    } else {
        // No measurable typing time (every question one key long): no speed was measured, so
        // the rating agrees with the "0 Hits/Min" beside it.
        out.speed = 0;
        out.parameter = 0;
    }
    const std::string text = floatText(out.speed);
    out.lblAverage = text + " Hits/Min";
    recordLine += "," + text;
    return out;
}

int GetReflection(const SessionFigures& figures) {
    if (figures.invader || figures.rows.empty()) return 0;
    long long sum = 0;
    for (const QuestionRow& r : figures.rows) sum += r.reactionMs.value_or(0);
    const long long mean =
        halfUp(static_cast<long double>(sum) / static_cast<long double>(figures.rows.size()));
    if (mean <= 500) return 100;
    if (mean <= 2500) return 99 - static_cast<int>(roundHalfEven((mean - 501) / 20.0L));
    return 0;
}

AccuracyRating GetAccuracy(const SessionFigures& figures, std::string& recordLine) {
    const long long total = figures.invader ? figures.hitCount : sumBytes(figures);
    const long long miss = figures.missCount;
    AccuracyRating out;
    if (miss == 0 && total == 0) {
        // Still two fields, so the line keeps its 14 fields and readers stay aligned.
        out.lblMiss = "0.000 %";
        recordLine += ",0,0";
        return out;
    }
    const long double rate = static_cast<long double>(miss) / (miss + total) * 100;
    const std::string rateText = formatFixed(rate, 3);
    out.missRate = parseNumber(rateText).value_or(0);
    out.lblMiss = rateText + " %";
    recordLine += "," + std::to_string(miss) + "," + std::to_string(miss + total);
    if (!figures.invader) out.parameter = 100 - static_cast<int>(roundHalfEven(rate * 7.25L));
    return out;
}

Evaluation GetEvaluation(const SessionFigures& figures, int speed, int reflex, int accuracy,
                         std::string& recordLine) {
    Evaluation out;
    if (figures.invader) {
        out.score = figures.score;
        out.lblScore = SplitThousand(figures.score);
        out.lblBonus = "******";
        recordLine += "," + std::to_string(figures.score);
        return out;
    }
    const int s = std::clamp(speed, 0, 100);
    const int r = std::clamp(reflex, 0, 100);
    const int a = std::clamp(accuracy, 0, 100);
    out.evaluation = static_cast<int>(roundRatio(4 * s + 3 * a + r, 8));

    long long m = bonusFactor(s);
    if (a / 10 != 0) m *= a / 10;
    m *= bonusFactor(r);
    if (out.evaluation / 10 != 0) m *= out.evaluation / 10;

    // m x bytes in 64 bits: a long set must not wrap into a negative bonus. Bonus and score
    // are held at the 32-bit maximum, which every reader of the record can still read.
    const long long bonus = roundRatio(m * sumBytes(figures), 1000) * 10;
    out.bonus = clamp32(bonus);
    out.score = clamp32(static_cast<long long>(figures.score) + out.bonus);
    out.lblScore = SplitThousand(out.score);
    out.lblBonus = SplitThousand(out.bonus);
    recordLine += "," + std::to_string(out.score);
    return out;
}

}  // namespace keyrook
