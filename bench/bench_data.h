// Inputs of the sizes a year or more of daily practice produces, shared by the benchmarks and
// the generator behind the measurement scripts.
#pragma once

#include <cstdio>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>

#include "support/temp_dir.h"
#include "typing/scoring.h"

namespace keyrook::bench {

// Session i of a user's history of one title, as the result dialog stores it: a date that
// steps back one day every few sessions, and figures that vary as real ones do.
inline std::string sessionLine(const std::string& user, const std::string& title, long long i) {
    std::mt19937 rng(static_cast<unsigned>(i * 2654435761u));
    const long long day = i / 3;
    char date[40];
    std::snprintf(date, sizeof date, "%02lld/%02lld/%02lld %lld:%02lld:%02lld", 24 - day / 360 % 20,
                  day / 30 % 12 + 1, day % 30 + 1, 8 + i % 12, i * 7 % 60, i * 13 % 60);
    const long long keys = 300 + rng() % 900;
    const long long misses = rng() % (keys / 10);
    std::string body = std::string(date) + "," + user + "," + title + "," +
                       std::to_string(30000 + rng() % 270000) + "," +
                       std::to_string(150 + rng() % 250) + "." + std::to_string(rng() % 10) + "," +
                       std::to_string(misses) + "," + std::to_string(keys) + "," +
                       std::to_string(rng() % 200) + "," + std::to_string(rng() % 200000) + "," +
                       std::to_string(rng() % 101) + "," + std::to_string(rng() % 101) + "," +
                       std::to_string(rng() % 101) + "," + std::to_string(rng() % 101);
    return body + "," + std::to_string(Checksum(body));
}

// A record file of n sessions of title, written line by line (CR LF).
inline void writeRecordFile(const std::string& path, const std::string& user,
                            const std::string& title, long long n) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    for (long long i = 0; i < n; ++i) {
        const std::string line = sessionLine(user, title, i) + "\r\n";
        std::fwrite(line.data(), 1, line.size(), f);
    }
    std::fclose(f);
}

// A fresh folder under the system temp folder, removed at the end.
using ScratchDir = keyrook::testing::TempDir;

}  // namespace keyrook::bench
