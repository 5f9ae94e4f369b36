#include "records/record_log.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <numeric>
#include <unordered_map>
#include <unordered_set>

#include "base/cp932.h"
#include "base/files.h"
#include "base/line_reader.h"
#include "base/text.h"
#include "typing/record_file.h"

namespace keyrook {
namespace {

std::optional<long long> readInt(std::string_view text) {
    long long v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return v;
}

long long intOrZero(std::string_view text) { return readInt(text).value_or(0); }

// A fixed count of decimals with "#" before the point: no leading zero ("0.4" becomes ".4").
std::string hashFixed(long double value, int decimals) {
    std::string text = formatFixed(value, decimals);
    const std::size_t digits = text.front() == '-' ? 1 : 0;
    if (text.compare(digits, 2, "0.") == 0) text.erase(digits, 1);
    return text;
}

std::string_view datePart(std::string_view field1) { return field1.substr(0, field1.find(' ')); }

int signOf(long long v) { return (v > 0) - (v < 0); }

// The order of two numeric column texts read as leadingNumber: the sign of (a - b) x 1000
// rounded to an integer, so differences up to 0.0005 count as equal. Taken in 64 bits: large
// scores must not wrap into the wrong sign. For any difference that fits, the sign follows
// without forming the integer (ties go to even, so +-0.5 gives 0).
int compareNumbers(long double a, long double b) {
    const long double d = (a - b) * 1000;
    if (!(std::fabs(d) < 0x1p62L)) return signOf(roundHalfEven(d));
    return (d > 0.5L) - (d < -0.5L);
}

// The fields of a line that belongs in the list for title, split at its 13 commas.
bool listedSession(std::string_view line, std::string_view title,
                   std::array<std::string_view, kRecordFields>& f) {
    std::size_t n = 0, start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        // A line written with a comma inside its title or name has its fields shifted; its
        // numbers would be read from the wrong places.
        if (n == kRecordFields - 1) {
            if (comma != std::string_view::npos) return false;
            f[n] = line.substr(start);
            break;
        }
        if (comma == std::string_view::npos) return false;
        f[n++] = line.substr(start, comma - start);
        // Most lines of a long history name another title: they go first.
        if (n == 3 && f[2] != title) return false;
        start = comma + 1;
    }
    return isValidRecordLine(line) && readInt(f[3]) && readInt(f[5]) && readInt(f[6]) &&
           readInt(f[8]);
}

// Title choices, the first spelling kept of titles that differ only in letter case.
class TitleSet {
public:
    explicit TitleSet(std::vector<std::string>& titles) : titles_(titles) {
        for (const std::string& t : titles_) known_.insert(upperCp932(t));
    }
    void addLine(std::string_view line) {
        const std::size_t first = line.find(',');
        if (first == std::string_view::npos) return;
        const std::size_t second = line.find(',', first + 1);
        if (second == std::string_view::npos) return;
        const std::size_t third = line.find(',', second + 1);
        if (third == std::string_view::npos || third == second + 1) return;
        const std::string_view title = line.substr(second + 1, third - second - 1);
        // Sessions of one title follow each other: the same bytes need no second look.
        if (title == last_) return;
        last_.assign(title);
        if (known_.insert(upperCp932(title)).second) titles_.push_back(last_);
    }

private:
    std::vector<std::string>& titles_;
    std::unordered_set<std::string> known_;
    std::string last_;
};

}  // namespace

std::string LogRow::column(int k) const {
    switch (k) {
        case 1: return std::to_string(number) + (today ? "*" : "");
        case 2: return field(1);
        case 3: return field(2);
        case 4: return field(9);
        case 5: return sessionTimeText(intOrZero(field(4)));
        case 6: return mistypeRateText(intOrZero(field(6)), intOrZero(field(7)));
        case 7: return field(8);
        case 8: return deviation;
        default: return std::string();
    }
}

std::vector<std::string> recordTitles(std::string_view fileText) {
    std::vector<std::string> titles;
    addRecordTitles(fileText, titles);
    return titles;
}

void addRecordTitles(std::string_view fileText, std::vector<std::string>& titles) {
    TitleSet set(titles);
    for (const std::string& line : splitNonEmptyLines(fileText)) set.addLine(line);
}

std::vector<std::vector<std::string>> titleSessions(std::string_view fileText,
                                                    std::string_view title) {
    std::vector<std::vector<std::string>> sessions;
    std::array<std::string_view, kRecordFields> f;
    for (const std::string& line : splitNonEmptyLines(fileText))
        if (listedSession(line, title, f)) sessions.emplace_back(f.begin(), f.end());
    return sessions;
}

namespace {

// whole + "." + decimals digits of fraction, for the exact figures below.
std::string decimalText(long long whole, long long fraction, int decimals, bool hashWhole) {
    std::string text = hashWhole && whole == 0 ? std::string() : std::to_string(whole);
    text += '.';
    std::string digits = std::to_string(fraction);
    text.append(static_cast<std::size_t>(decimals) - digits.size(), '0');
    return text + digits;
}

}  // namespace

std::string sessionTimeText(long long ms) {
    // Milliseconds are thousandths: the hundredths rounded half up, in integers, as the
    // fixed-point text would round them (it sees all 15 digits of ms / 1000 below 10^12).
    if (ms >= 0 && ms < 1'000'000'000'000) {
        const long long hundredths = (ms + 5) / 10;
        return decimalText(hundredths / 100, hundredths % 100, 2, true) + " \x95\x62";  // 秒
    }
    return hashFixed(static_cast<long double>(ms) / 1000, 2) + " \x95\x62";
}

std::string mistypeRateText(long long misses, long long keys) {
    // No key at all: nothing was mistyped.
    if (keys <= 0) return "0.000 %";
    // Rates below 1000 % of up to a million keys, rounded half up in integers: no such rate
    // lies close enough to a half thousandth for the 15-digit rounding to move it.
    if (keys <= 1'000'000 && misses >= 0 && misses < 10 * keys) {
        const long long thousandths = (misses * 200'000 + keys) / (2 * keys);
        return decimalText(thousandths / 1000, thousandths % 1000, 3, false) + " %";
    }
    return formatFixed(static_cast<long double>(misses) / keys * 100, 3) + " %";
}

std::string deviationText(long double value) { return hashFixed(value, 1); }

DeviationScale::DeviationScale(const std::vector<long long>& scores) {
    const std::size_t n = scores.size();
    single_ = n <= 1;
    if (single_) return;
    long double sum = 0;
    for (long long s : scores) sum += static_cast<long double>(s);
    mean_ = sum / static_cast<long double>(n);
    long double squares = 0;
    for (long long s : scores) squares += (s - mean_) * (s - mean_);
    deviation_ = squares == 0 ? 1 : std::sqrt(squares / static_cast<long double>(n - 1));
}

std::string DeviationScale::text(long long score) const {
    if (single_) return "50.0";
    return deviationText((score - mean_) / deviation_ * 10 + 50);
}

std::vector<std::string> deviationScores(const std::vector<long long>& scores) {
    const DeviationScale scale(scores);
    std::vector<std::string> out;
    out.reserve(scores.size());
    for (long long s : scores) out.push_back(scale.text(s));
    return out;
}

long double leadingNumber(std::string_view text) {
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    long double whole = 0, fraction = 0, scale = 1;
    bool point = false;
    for (char c : text) {
        if (c == '.') {
            if (point) break;
            point = true;
        } else if (c >= '0' && c <= '9') {
            if (point) {
                scale /= 10;
                fraction += (c - '0') * scale;
            } else {
                whole = whole * 10 + (c - '0');
            }
        } else {
            break;
        }
    }
    const long double v = whole + fraction;
    return negative ? -v : v;
}

int compareLogRows(const LogRow& a, const LogRow& b, int column) {
    switch (column) {
        case 1:
            // The number itself: today's "*" must not make a row count as 0.
            return signOf(static_cast<long long>(a.number) - b.number);
        case 3: {
            const int c = std::strcoll(cp932ToUtf8(a.column(3)).c_str(),
                                       cp932ToUtf8(b.column(3)).c_str());
            return (c > 0) - (c < 0);
        }
        default:
            return compareNumbers(leadingNumber(a.column(column)), leadingNumber(b.column(column)));
    }
}

std::string recordDateOnly(const DateTime& when) {
    return std::string(datePart(recordDateText(when)));
}

LogDetails logDetails(const LogRow& row) {
    LogDetails d;
    d.lbldate = "Date : 20" + row.field(1);
    d.dateWhite = row.today;
    d.lblTheme = row.field(3);
    d.lblScore = SplitThousand(intOrZero(row.field(9)));
    d.lblTime = ChangeTime(intOrZero(row.field(4)));
    d.lblMiss = row.field(6) + " / " + row.field(7);
    d.lblAverage = row.field(5) + " Hits/Min";
    d.lblMaxcombo = row.field(8);
    for (std::size_t i = 0; i < 4; ++i) {
        d.lblResult[i] = row.field(10 + i);
        d.positions[i] = toIntDef(d.lblResult[i], 0);
    }
    return d;
}

LogRow LogRows::iterator::operator*() const { return log_->row(place_); }

std::size_t LogRows::size() const { return log_->rowCount(); }

LogRow LogRows::operator[](std::size_t place) const { return log_->row(place); }

RecordLog::RecordLog(Paths paths) : paths_(std::move(paths)) {}

void RecordLog::lstUserMouseUp(const std::vector<std::string>& selectedUsers) {
    std::vector<std::string> titles;
    TitleSet set(titles);
    for (const std::string& user : selectedUsers) {
        const std::string path = paths_.userFile(user, ".rec");
        if (!fileExists(path)) continue;
        FileLines lines(path, Links::Refuse);
        for (std::string_view line; lines.next(line);) set.addLine(line);
    }
    titles_ = std::move(titles);
}

RecordLog::Fields RecordLog::fieldsOf(std::uint32_t index) const {
    const std::string_view line(lines_.data() + starts_[index], starts_[index + 1] - starts_[index]);
    Fields f;
    std::size_t start = 0;
    for (std::size_t n = 0; n + 1 < kRecordFields; ++n) {
        const std::size_t comma = line.find(',', start);
        f[n] = line.substr(start, comma - start);
        start = comma + 1;
    }
    f[kRecordFields - 1] = line.substr(start);
    return f;
}

bool RecordLog::isToday(const Fields& f) const { return datePart(f[0]) == todayText_; }

std::string RecordLog::textOf(std::uint32_t index, int column) const {
    const Fields f = fieldsOf(index);
    switch (column) {
        case 1: return std::to_string(index + 1) + (isToday(f) ? "*" : "");
        case 2: return std::string(f[0]);
        case 3: return std::string(f[1]);
        case 4: return std::string(f[8]);
        case 5: return sessionTimeText(intOrZero(f[3]));
        case 6: return mistypeRateText(intOrZero(f[5]), intOrZero(f[6]));
        case 7: return std::string(f[7]);
        case 8: return scale_.text(scores_[index]);
        default: return std::string();
    }
}

std::string RecordLog::columnText(std::size_t place, int column) const {
    return textOf(order_[place], column);
}

std::string_view RecordLog::dateText(std::size_t place) const {
    const std::uint32_t index = order_[place];
    const std::string_view line(lines_.data() + starts_[index], starts_[index + 1] - starts_[index]);
    return line.substr(0, line.find(','));
}

long long RecordLog::placeOf(int number) const {
    const auto it = std::find(order_.begin(), order_.end(), static_cast<std::uint32_t>(number - 1));
    return it == order_.end() ? -1 : it - order_.begin();
}

LogRow RecordLog::row(std::size_t place) const {
    const std::uint32_t index = order_[place];
    const Fields f = fieldsOf(index);
    LogRow r;
    r.number = static_cast<int>(index) + 1;
    r.today = isToday(f);
    r.fields.assign(f.begin(), f.end());
    r.deviation = scale_.text(scores_[index]);
    return r;
}

void RecordLog::cmbTitleChange(const std::vector<std::string>& selectedUsers,
                               const std::string& title, const DateTime& today) {
    if (title.empty()) return;
    // Built aside: a file that cannot be read leaves the list as it was.
    RecordLog next(paths_);
    next.todayText_ = recordDateOnly(today);
    std::vector<std::string> files;
    std::uintmax_t bytes = 0;
    for (const std::string& user : selectedUsers) {
        // A user who has never stored a session simply has none to list.
        std::string path = paths_.userFile(user, ".rec");
        if (!fileExists(path)) continue;
        bytes += findFile(path);
        files.push_back(std::move(path));
    }
    // Room for every line: the part no session of the title fills is never touched.
    next.lines_.reserve(static_cast<std::size_t>(bytes));
    next.starts_.push_back(0);
    for (const std::string& path : files) next.addSessions(path, title);
    next.scale_ = DeviationScale(next.scores_);
    next.order_.resize(next.scores_.size());
    std::iota(next.order_.begin(), next.order_.end(), 0u);

    lines_ = std::move(next.lines_);
    starts_ = std::move(next.starts_);
    scores_ = std::move(next.scores_);
    order_ = std::move(next.order_);
    todayText_ = std::move(next.todayText_);
    scale_ = next.scale_;
    for (auto& k : keys_) k = {};
}

void RecordLog::addSessions(const std::string& path, const std::string& title) {
    FileLines lines(path, Links::Refuse);
    Fields f;
    for (std::string_view line; lines.next(line);) {
        if (!listedSession(line, title, f)) continue;
        lines_.append(line);
        starts_.push_back(lines_.size());
        scores_.push_back(*readInt(f[8]));
    }
}

void RecordLog::computeKeys(int column) {
    std::vector<long double>& keys = keys_[static_cast<std::size_t>(column)];
    if (keys.size() == scores_.size()) return;
    keys.resize(scores_.size());
    const auto n = static_cast<std::uint32_t>(scores_.size());
    if (column != 3) {
        for (std::uint32_t i = 0; i < n; ++i) keys[i] = leadingNumber(textOf(i, column));
        return;
    }
    // Names: each distinct name once through the locale's comparison, then its rank.
    std::unordered_map<std::string_view, std::uint32_t> ids;
    std::vector<std::string> names;
    std::vector<std::uint32_t> idOf(n);
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::string_view name = fieldsOf(i)[1];
        auto [it, added] = ids.emplace(name, static_cast<std::uint32_t>(names.size()));
        if (added) names.push_back(cp932ToUtf8(name));
        idOf[i] = it->second;
    }
    std::vector<std::uint32_t> byName(names.size());
    std::iota(byName.begin(), byName.end(), 0u);
    std::sort(byName.begin(), byName.end(), [&](std::uint32_t a, std::uint32_t b) {
        return std::strcoll(names[a].c_str(), names[b].c_str()) < 0;
    });
    std::vector<long double> rank(names.size());
    for (std::size_t r = 0; r < byName.size(); ++r) {
        const bool tie =
            r > 0 && std::strcoll(names[byName[r - 1]].c_str(), names[byName[r]].c_str()) == 0;
        rank[byName[r]] = r == 0 ? 0 : tie ? rank[byName[r - 1]] : rank[byName[r - 1]] + 1;
    }
    for (std::uint32_t i = 0; i < n; ++i) keys[i] = rank[idOf[i]];
}

void RecordLog::lslogColumnClick(int column) {
    if (column < 1 || column > kLogColumns) return;
    sortState_ = column == std::abs(sortState_) ? -sortState_ : column;
    const int k = std::abs(sortState_);
    const int direction = sortState_ < 0 ? -1 : 1;
    if (k == 1) {
        std::stable_sort(order_.begin(), order_.end(), [direction](std::uint32_t a, std::uint32_t b) {
            return direction * signOf(static_cast<long long>(a) - b) < 0;
        });
        return;
    }
    computeKeys(k);
    const std::vector<long double>& keys = keys_[static_cast<std::size_t>(k)];
    if (k == 3) {
        std::stable_sort(order_.begin(), order_.end(), [&](std::uint32_t a, std::uint32_t b) {
            return direction * ((keys[a] > keys[b]) - (keys[a] < keys[b])) < 0;
        });
        return;
    }
    std::stable_sort(order_.begin(), order_.end(), [&](std::uint32_t a, std::uint32_t b) {
        return direction * compareNumbers(keys[a], keys[b]) < 0;
    });
}

std::optional<std::string> RecordLog::graphRefusal(std::size_t selectedUsers) const {
    if (order_.size() < 2) return std::string(kGraphNeedsTwoRows);
    if (selectedUsers > 1) return std::string(kGraphOneUserOnly);
    return std::nullopt;
}

}  // namespace keyrook
