// Inputs for the measurement scripts:
//   keyrook_bench_data records FILE USER TITLE N   a .rec of N sessions (USER, TITLE in UTF-8)
//   keyrook_bench_data readings N                  N hiragana readings, one a line, to stdout
//   keyrook_bench_data questions N                 a maker editor text of N questions, to stdout
//   keyrook_bench_data history DIR USER N DAYS      a learner's history in DIR: USER.rec of N
//                                                  practice sessions over the DAYS days up to
//                                                  today (three titles, a rest day now and then,
//                                                  speed growing), USER.kst beside it, USER.ref
//                                                  of N/3 reflex games, USER.tnk of N/5 drills
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "base/cp932.h"
#include "bench_data.h"
#include "records/progress.h"
#include "typing/key_stats.h"
#include "typing/record_file.h"

namespace {

// Readings of 4 to 20 characters of plain and small kana, small tsu and long vowels.
std::string reading(std::mt19937& rng) {
    static const std::string pool =
        "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよ"
        "らりるれろわをんがぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽ"
        "ゃゅょっーぁぃぇぉ、。";
    std::string out;
    const int n = 4 + static_cast<int>(rng() % 17);
    for (int i = 0; i < n; ++i) out += pool.substr(3 * (rng() % (pool.size() / 3)), 3);
    return out;
}

// Checksummed lines, as the program writes them.
void writeHistory(const std::string& dir, const std::string& user, long long n, long long days) {
    using namespace keyrook;
    std::mt19937 rng(7);
    const DateTime now = localDateTime();
    const std::int64_t today = dayNumber(now.year, now.month, now.day);
    const std::string titles[] = {*utf8ToCp932("ことわざ集"), *utf8ToCp932("基本練習"), "English"};
    std::string rec, kst;
    for (long long i = 0; i < n; ++i) {
        std::int64_t day = today - days + 1 + i * days / std::max(n, 1LL);
        if (day % 11 == 4 && day < today) ++day;  // a rest day now and then
        const DateTime d = dateOfDay(day);
        char date[32];
        std::snprintf(date, sizeof date, "%02d/%02d/%02d %d:%02d:%02d", d.year % 100, d.month, d.day,
                      7 + static_cast<int>(i % 14), static_cast<int>(rng() % 60), static_cast<int>(rng() % 60));
        const double progress = static_cast<double>(i) / static_cast<double>(std::max(n, 1LL));
        const long long speed10 = 1500 + static_cast<long long>(1200 * progress) + rng() % 400;
        const long long keys = 400 + rng() % 600;
        const long long misses = static_cast<long long>(keys * (0.09 - 0.06 * progress)) + rng() % 10;
        const long long time = keys * 60000 * 10 / speed10;
        const std::string& title = titles[rng() % 3];
        std::string body = std::string(date) + "," + user + "," + title + "," + std::to_string(time) + "," +
                           std::to_string(speed10 / 10) +
                           (speed10 % 10 ? "." + std::to_string(speed10 % 10) : std::string()) + "," +
                           std::to_string(misses) + "," + std::to_string(keys) + "," +
                           std::to_string(20 + rng() % 150) + "," + std::to_string(speed10 * 40 + rng() % 5000) +
                           "," + std::to_string(rng() % 101) + "," + std::to_string(rng() % 101) + "," +
                           std::to_string(rng() % 101) + "," + std::to_string(rng() % 101);
        rec += withChecksum(body) + "\r\n";
        KeyCounts counts{};
        for (char c : std::string("AEIOUKSTNHMYRWGZDBP")) {
            const std::uint64_t hits = 5 + rng() % 40;
            counts[static_cast<unsigned char>(c)] = {hits, rng() % (c == 'R' ? 8 : 3), hits * 200, hits - 1};
        }
        kst += keyStatsLine(date, title, counts) + "\r\n";
    }
    std::string ref = "110000\r\n";
    for (long long i = 0; i < n / 3; ++i) {
        const int level = 1 + static_cast<int>(rng() % 6);
        const int dealt = 60, hits = 30 + static_cast<int>(rng() % 30);
        const int mean = 950 - level * 60 - static_cast<int>(300 * i / std::max(n / 3, 1LL)) + static_cast<int>(rng() % 80);
        ref += withChecksum(std::to_string(level) + "," + std::to_string(hits * 360) + "," +
                            std::to_string(hits) + "," + std::to_string(dealt) + "," +
                            std::to_string(rng() % 9) + "," + std::to_string(mean) + "msec") +
               "\r\n";
    }
    std::string tnk;
    for (long long i = 0; i < n / 5; ++i)
        tnk += std::to_string(80 + 120 * i / std::max(n / 5, 1LL) + rng() % 30) + "\r\n";
    const auto file = [&](const char* extension, const std::string& text) {
        std::FILE* f = std::fopen((dir + "/" + user + extension).c_str(), "wb");
        if (!f) throw std::runtime_error("cannot write in " + dir);
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    };
    file(".rec", rec);
    file(".kst", kst);
    file(".ref", ref);
    file(".tnk", tnk);
}

int usage() {
    std::fputs("usage: keyrook_bench_data records FILE USER TITLE N | readings N | questions N |\n"
               "       history DIR USER N DAYS\n",
               stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string command = argv[1];
    if (command == "records" && argc == 6) {
        const auto user = keyrook::utf8ToCp932(argv[3]);
        const auto title = keyrook::utf8ToCp932(argv[4]);
        if (!user || !title) return usage();
        keyrook::bench::writeRecordFile(argv[2], *user, *title, std::atoll(argv[5]));
        return 0;
    }
    if (command == "history" && argc == 6) {
        writeHistory(argv[2], argv[3], std::atoll(argv[4]), std::max(1LL, std::atoll(argv[5])));
        return 0;
    }
    if ((command == "readings" || command == "questions") && argc == 3) {
        std::mt19937 rng(11);
        const long long n = std::atoll(argv[2]);
        for (long long i = 0; i < n; ++i) {
            if (command == "questions") std::printf("問題%lld\n", i + 1);
            std::printf("%s\n", reading(rng).c_str());
        }
        return 0;
    }
    return usage();
}
