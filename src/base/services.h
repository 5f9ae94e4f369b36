// The outside world as engines and rules see it: time, timers, chance, sound and the user's
// answers to message boxes. The program wires Qt implementations; tests wire fakes and step
// virtual time. Texts passed to Dialogs are UTF-8 (they are shown, not stored).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/cp932.h"

namespace keyrook {

// Millisecond tick; differences are taken as unsigned 32-bit, so wrap-around is harmless.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint32_t tickCount() = 0;
};

// Named timers owned by one engine. The owner calls the engine's handler when a timer fires.
class Timers {
public:
    virtual ~Timers() = default;
    virtual void setEnabled(const std::string& name, bool enabled) = 0;
    virtual bool enabled(const std::string& name) const = 0;
    virtual void setInterval(const std::string& name, int milliseconds) = 0;
    virtual int interval(const std::string& name) const = 0;
};

class Random {
public:
    virtual ~Random() = default;
    virtual void randomize() = 0;         // reseed from the clock
    virtual int next(int range) = 0;      // 0 <= result < range (0 when range <= 0)
};

// One sound at a time: starting any sound ends the one playing, a loop included.
class Sounds {
public:
    virtual ~Sounds() = default;
    virtual void play(const std::string& name) = 0;
    virtual void playLoop(const std::string& name) = 0;
};

enum class Answer { Yes, No, Cancel };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void message(const Utf8Text& text) = 0;
    virtual bool confirm(const Utf8Text& text) = 0;                     // Yes / No
    virtual Answer confirmCancel(const Utf8Text& text) = 0;            // Yes / No / Cancel, a warning
    // One-line input; nullopt when cancelled.
    virtual std::optional<Utf8Text> input(const Utf8Text& caption, const Utf8Text& prompt,
                                          const Utf8Text& value) = 0;
    // File chooser for saving; nullopt when cancelled.
    virtual std::optional<Utf8Text> saveFileName(const Utf8Text& caption, const Utf8Text& initial,
                                                 const Utf8Text& filter) {
        (void)caption;
        (void)initial;
        (void)filter;
        return std::nullopt;
    }
    // File chooser for opening; nullopt when cancelled.
    virtual std::optional<Utf8Text> openFileName(const Utf8Text& caption, const Utf8Text& initial,
                                                 const Utf8Text& filter) {
        (void)caption;
        (void)initial;
        (void)filter;
        return std::nullopt;
    }
};

}  // namespace keyrook
