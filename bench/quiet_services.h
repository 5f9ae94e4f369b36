// Sounds that play nothing and dialogs that answer at once, for the benchmarks.
#pragma once

#include <optional>
#include <string>

#include "base/services.h"

namespace keyrook::bench {

// Counts what it is asked to play, so that a benchmark can keep the calls from being dropped.
struct QuietSounds : Sounds {
    void play(const std::string&) override { ++count; }
    void playLoop(const std::string&) override { ++count; }
    int count = 0;
};

// Declines whatever it is asked: nothing is saved, overwritten or typed in.
struct QuietDialogs : Dialogs {
    void message(const std::string&) override {}
    bool confirm(const std::string&) override { return false; }
    Answer confirmCancel(const std::string&) override { return Answer::No; }
    std::optional<std::string> input(const std::string&, const std::string&,
                                     const std::string&) override {
        return std::nullopt;
    }
};

}  // namespace keyrook::bench
