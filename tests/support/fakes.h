// Test doubles for the services of base/services.h. Time is virtual: FakeClock holds a 64-bit
// millisecond counter (the tick it reports is its low 32 bits, so wrap-around can be tested) and
// FakeTimers fires the due timers in time order while a test advances that clock.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/services.h"

namespace keyrook::fakes {

class FakeClock : public Clock {
public:
    explicit FakeClock(std::uint64_t start = 0) : now_(start) {}

    std::uint32_t tickCount() override { return static_cast<std::uint32_t>(now_); }

    std::uint64_t now() const { return now_; }
    void set(std::uint64_t ms) { now_ = ms; }
    void advance(std::uint64_t ms) { now_ += ms; }

private:
    std::uint64_t now_;
};

// Named timers. Enabling a disabled timer (or changing the interval of an enabled one) starts
// a new period from the clock's present time; enabling an enabled timer changes nothing. A
// timer with an interval of 0 or less never fires. The handler receives the timer's name.
class FakeTimers : public Timers {
public:
    using Handler = std::function<void(const std::string&)>;

    explicit FakeTimers(FakeClock& clock) : clock_(clock) {}

    void setHandler(Handler handler) { handler_ = std::move(handler); }

    void setEnabled(const std::string& name, bool on) override {
        Entry& e = timers_[name];
        if (on == e.enabled) return;
        if (on) e.due = clock_.now() + periodOf(e);
        e.enabled = on;
        ++e.generation;
    }
    bool enabled(const std::string& name) const override {
        auto it = timers_.find(name);
        return it != timers_.end() && it->second.enabled;
    }
    void setInterval(const std::string& name, int milliseconds) override {
        Entry& e = timers_[name];
        e.interval = milliseconds;
        if (e.enabled) e.due = clock_.now() + periodOf(e);
        ++e.generation;
    }
    int interval(const std::string& name) const override {
        auto it = timers_.find(name);
        return it == timers_.end() ? 1000 : it->second.interval;
    }

    // Moves the clock forward by ms, firing every timer that falls due on the way, in time
    // order (ties in name order). Returns the number of firings.
    int advance(std::uint64_t ms) { return advanceTo(clock_.now() + ms); }

    int advanceTo(std::uint64_t target) {
        int fired = 0;
        for (;;) {
            const std::string* next = nullptr;
            std::uint64_t due = 0;
            for (auto& [name, e] : timers_) {
                if (!e.enabled || e.interval <= 0 || e.due > target) continue;
                if (!next || e.due < due) {
                    next = &name;
                    due = e.due;
                }
            }
            if (!next) break;
            if (++fired > kRunawayLimit) throw std::runtime_error("FakeTimers: runaway timers");
            clock_.set(std::max(clock_.now(), due));
            std::string name = *next;
            Entry& e = timers_[name];
            const unsigned generation = e.generation;
            if (handler_) handler_(name);
            Entry& after = timers_[name];
            // The handler may have restarted or stopped the timer; otherwise the next period runs.
            if (after.enabled && after.generation == generation) after.due += periodOf(after);
            log.push_back(name);
        }
        clock_.set(std::max(clock_.now(), target));
        return fired;
    }

    // Fires one timer now, whether it is due or not (and whether it is enabled or not).
    void fire(const std::string& name) {
        if (handler_) handler_(name);
        log.push_back(name);
    }

    // Names of the timers fired so far, in order.
    std::vector<std::string> log;

private:
    struct Entry {
        bool enabled = false;
        int interval = 1000;
        std::uint64_t due = 0;
        unsigned generation = 0;
    };
    static constexpr int kRunawayLimit = 10'000'000;
    static std::uint64_t periodOf(const Entry& e) {
        return e.interval > 0 ? static_cast<std::uint64_t>(e.interval) : 0;
    }

    FakeClock& clock_;
    std::map<std::string, Entry> timers_;
    Handler handler_;
};

// Scripted draws first (each taken modulo the range asked for), then a seeded generator.
class FakeRandom : public Random {
public:
    explicit FakeRandom(unsigned seed = 1) : engine_(seed) {}

    void script(std::vector<int> values) { scripted_.insert(scripted_.end(), values.begin(), values.end()); }

    void randomize() override { ++randomizeCount; }
    int next(int range) override {
        ++drawCount;
        if (range <= 0) return 0;
        if (!scripted_.empty()) {
            int v = scripted_.front();
            scripted_.pop_front();
            return ((v % range) + range) % range;
        }
        return std::uniform_int_distribution<int>(0, range - 1)(engine_);
    }

    int randomizeCount = 0;
    int drawCount = 0;

private:
    std::mt19937 engine_;
    std::deque<int> scripted_;
};

class FakeSounds : public Sounds {
public:
    struct Played {
        std::string name;
        bool loop = false;
    };

    void play(const std::string& name) override { played.push_back({name, false}); }
    void playLoop(const std::string& name) override { played.push_back({name, true}); }

    int count(const std::string& name) const {
        return static_cast<int>(std::count_if(played.begin(), played.end(),
                                              [&](const Played& p) { return p.name == name; }));
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& p : played) out.push_back(p.name);
        return out;
    }
    void clear() { played.clear(); }

    std::vector<Played> played;
};

// Answers come from the scripts in order; when a script runs dry the default answer is used.
// Every text shown is recorded in `shown` (messages, questions and prompts alike).
class FakeDialogs : public Dialogs {
public:
    void message(const std::string& text) override {
        shown.push_back(text);
        messages.push_back(text);
    }
    bool confirm(const std::string& text) override {
        shown.push_back(text);
        return take(confirms, defaultConfirm);
    }
    Answer confirmCancel(const std::string& text) override {
        shown.push_back(text);
        return take(confirmCancels, defaultConfirmCancel);
    }
    std::optional<std::string> input(const std::string& caption, const std::string& prompt,
                                     const std::string& value) override {
        shown.push_back(prompt);
        inputRequests.push_back({caption, prompt, value});
        return take(inputs, std::optional<std::string>());
    }
    std::optional<std::string> saveFileName(const std::string& caption, const std::string& initial,
                                            const std::string& filter) override {
        shown.push_back(caption);
        fileRequests.push_back({caption, initial, filter});
        return take(saveNames, std::optional<std::string>());
    }
    std::optional<std::string> openFileName(const std::string& caption, const std::string& initial,
                                            const std::string& filter) override {
        shown.push_back(caption);
        fileRequests.push_back({caption, initial, filter});
        return take(openNames, std::optional<std::string>());
    }

    struct Request {
        std::string caption, prompt, value;
    };

    // Scripts.
    std::deque<bool> confirms;
    std::deque<Answer> confirmCancels;
    std::deque<std::optional<std::string>> inputs;
    std::deque<std::optional<std::string>> saveNames;
    std::deque<std::optional<std::string>> openNames;
    bool defaultConfirm = false;
    Answer defaultConfirmCancel = Answer::Cancel;

    // Records.
    std::vector<std::string> messages;
    std::vector<std::string> shown;
    std::vector<Request> inputRequests;
    std::vector<Request> fileRequests;

private:
    template <class T>
    static T take(std::deque<T>& script, T fallback) {
        if (script.empty()) return fallback;
        T v = std::move(script.front());
        script.pop_front();
        return v;
    }
};

}  // namespace keyrook::fakes
