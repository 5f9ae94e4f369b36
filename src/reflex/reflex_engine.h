// The reflex game: the state machine behind the game window TReflection. For 62 seconds up to
// six slots deal single letters onto the keyboard picture, each for a random lifetime; typing a
// shown letter destroys it. The window feeds in character keys, its commands and the ticks of
// the named timers, and repaints from view() after every call.
//
// States: idle (keys ignored), running (slot timers dealing, countdown running), judge pause
// (6.5 s between the end and the result), then FinalGame hands the result to the window.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "base/services.h"
#include "base/cp932.h"

namespace keyrook {

struct ReflexServices {
    Clock& clock;
    Timers& timers;
    Random& random;
    Sounds& sounds;
};

// What the game window shows; texts are CP932 (all ASCII here).
struct ReflexView {
    Cp932Text lblScore = "0";
    Cp932Text lblHits = "0";
    Cp932Text lblTotal = "0";
    Cp932Text lblMiss = "0";
    Cp932Text lblTime = "0";
    Cp932Text lblAv = "0";
    // The text of the letter cells "LabelA" to "LabelZ": the letter while it is shown, else "".
    std::array<Cp932Text, 26> cells;
};

// What the result dialog shows and stores.
struct ReflexResult {
    int level = 1;
    Cp932Text recordLine;   // stored only when the player confirms
    Cp932Text lblRate;      // "達成率 : 78.50 %" (CP932)
    Cp932Text lblAvRef;     // "平均反射神経時間 : 789msec"
    Cp932Text lblMiss;      // "ﾐｽﾀｲﾌﾟ数 : 7"
    long double rate = 0;     // the judging rate, two decimals
    bool cleared = false;
    std::array<Cp932Text, 3> levelLines;  // name, condition and mistype lines
};

class ReflexEngine {
public:
    static constexpr int kSlots = 6;
    static constexpr int kGameSeconds = 62;
    static constexpr int kJudgePauseMs = 6500;

    explicit ReflexEngine(ReflexServices services);

    // Hand-over from the level picker: the level (1..6) and its three caption lines.
    void setLevel(int level, std::array<std::string, 3> captions);
    int level() const { return level_; }
    const std::array<std::string, 3>& levelCaptions() const { return captions_; }

    void FormShow();
    void btnStartClick();   // F1
    void Initialized();     // F2, and closing the window: forced stop
    void FormKeyPress(char32_t ch);
    void timerFired(const std::string& name);

    // A letter lifetime in ms for the current level.
    int RNDTime();
    // A letter that no slot holds.
    char GetChar();

    // Runs at the end of the judge pause with the finished game's result; the window shows the
    // result dialog. The clear or not-clear sound has already been started.
    std::function<void(const ReflexResult&)> onFinalGame;

    const ReflexView& view() const { return view_; }
    bool running() const { return phase_ == Phase::Running; }
    bool judging() const { return phase_ == Phase::JudgePause; }

    // The counters, as the result is built from them.
    int score() const { return score_; }
    int hits() const { return hits_; }
    int misses() const { return misses_; }
    int dealt() const { return dealt_; }
    std::int64_t reactionSum() const { return reactionSum_; }
    // The letter a slot (1..6) shows, or 0 when it is empty or was hit.
    char slotLetter(int slot) const;

    static std::string slotTimer(int slot) { return "Timer" + std::to_string(slot); }

private:
    enum class Phase { Idle, Running, JudgePause };
    enum class SlotState { Empty, Letter, Hit };
    struct Slot {
        SlotState state = SlotState::Empty;
        char letter = 0;
        std::uint32_t dealtAt = 0;
    };

    void slotTick(int slot);
    void tmrTimerTimer();
    void tmrJudgeTimer();
    void FinalGame();
    void gettotal();
    void stopTimers();
    void clearCells();
    std::string& cell(char letter) { return view_.cells[static_cast<std::size_t>(letter - 'A')]; }

    ReflexServices s_;
    ReflexView view_;
    Phase phase_ = Phase::Idle;
    bool anyDealt_ = false;
    int level_ = 1;
    int slotCount_ = 1;
    std::array<std::string, 3> captions_;
    std::array<Slot, kSlots> slots_{};
    std::int64_t reactionSum_ = 0;
    int hits_ = 0;
    int misses_ = 0;
    int score_ = 0;
    int dealt_ = 0;
    std::uint32_t startTime_ = 0;
};

}  // namespace keyrook
