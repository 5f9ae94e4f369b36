#include "records/class_report.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <vector>

#include "app/user_list.h"
#include "base/cp932.h"
#include "base/files.h"
#include "base/line_reader.h"
#include "records/record_log.h"
#include "typing/record_file.h"
#include "typing/scoring.h"

namespace keyrook {
namespace {

constexpr std::size_t kRecent = 10;

struct Session {
    std::string date;  // yy/mm/dd
    long long score = 0;
    long double speed = 0;
    long double missRate = 0;  // %
};

std::optional<long long> wholeNumber(std::string_view text) {
    long long v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return v;
}

// A stored session, or nullopt for a line the viewer would not list either.
std::optional<Session> sessionOf(std::string_view line, std::string& title) {
    if (!isValidRecordLine(line)) return std::nullopt;
    const std::vector<std::string> f = splitRecordFields(line);
    if (f.size() != kRecordFields) return std::nullopt;
    const auto speed = parseNumber(f[4]);
    const auto misses = wholeNumber(f[5]), keys = wholeNumber(f[6]), score = wholeNumber(f[8]);
    const std::string_view date = std::string_view(f[0]).substr(0, f[0].find(' '));
    if (!speed || !misses || !keys || !score || date.size() != 8) return std::nullopt;
    title = f[2];
    Session s;
    s.date = date;
    s.score = *score;
    s.speed = *speed;
    s.missRate = *keys > 0 ? static_cast<long double>(*misses) / *keys * 100 : 0;
    return s;
}

long double median(std::vector<long double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

}  // namespace

ClassReport classReport(const std::string& userDir) {
    const std::string dir = !userDir.empty() && userDir.back() == '/' ? userDir : userDir + "/";
    UserList users;
    users.load(loadStringFromFile(dir + "user.log", Links::Refuse));
    ClassReport report;
    report.csv = "ユーザー,タイトル,回数,最初の日,最後の日,最高得点,速度(Hits/Min)直近10回の中央値,"
                 "ミスタイプ率(%)直近10回の中央値\n";
    for (const std::string& user : users.items) {
        const std::string path = dir + cp932ToUtf8(user) + ".rec";
        if (!fileExists(path)) continue;
        std::vector<std::string> order;
        std::map<std::string, std::vector<Session>> byTitle;
        FileLines lines(path, Links::Refuse);
        for (std::string_view line; lines.next(line);) {
            std::string title;
            auto s = sessionOf(line, title);
            if (!s) {
                ++report.damaged;
                continue;
            }
            auto [it, added] = byTitle.try_emplace(title);
            if (added) order.push_back(title);
            it->second.push_back(std::move(*s));
        }
        for (const std::string& title : order) {
            const std::vector<Session>& all = byTitle[title];
            std::string first = all.front().date, last = first;
            long long best = all.front().score;
            std::vector<long double> speeds, rates;
            for (std::size_t i = 0; i < all.size(); ++i) {
                first = std::min(first, all[i].date);
                last = std::max(last, all[i].date);
                best = std::max(best, all[i].score);
                if (i + kRecent >= all.size()) {
                    speeds.push_back(all[i].speed);
                    rates.push_back(all[i].missRate);
                }
            }
            report.csv += csvField(cp932ToUtf8(user)) + "," + csvField(cp932ToUtf8(title)) + "," +
                          std::to_string(all.size()) + ",20" + first + ",20" + last + "," +
                          std::to_string(best) + "," + formatFixed(median(speeds), 1) + "," +
                          formatFixed(median(rates), 3) + "\n";
        }
    }
    return report;
}

}  // namespace keyrook
