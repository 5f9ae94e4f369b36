// Inputs for the measurement scripts:
//   keyrook_bench_data records FILE USER TITLE N   a .rec of N sessions (USER, TITLE in UTF-8)
//   keyrook_bench_data readings N                  N hiragana readings, one a line, to stdout
//   keyrook_bench_data questions N                 a maker editor text of N questions, to stdout
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "base/cp932.h"
#include "bench_data.h"

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

int usage() {
    std::fputs("usage: keyrook_bench_data records FILE USER TITLE N | readings N | questions N\n",
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
