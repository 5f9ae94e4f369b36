// The ten-key drill: a batch of random digits erased from the front by typing each first digit
// on the numeric keypad, counted for 60 seconds after a 2.5-second lead-in. The window feeds
// keypad digits, commands and timer ticks in and repaints view() after every call.
//
// States: idle (F1 enabled, display empty), lead-in (tmrInterval running), running (digits
// counted, tmr counting down), ended (result appended to the .tnk file; keys ignored).
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "base/services.h"
#include "base/cp932.h"

namespace keyrook {

// The best count in the text of a .tnk file: its largest line value, where a line that is not
// a decimal integer counts as 0. An empty text gives 0.
int tenkeyHighScore(std::string_view fileText);

// The best count in the .tnk file at path; 0 when there is no such file.
int loadTenkeyHighScore(const std::string& path);

// Appends count and CR LF to the .tnk file at path, creating it when missing. A last line left
// without its line break gets one first, so two counts never run together.
void appendTenkeyScore(const std::string& path, int count);

struct TenkeyServices {
    Timers& timers;
    Random& random;
    Sounds& sounds;
};

// What the window shows. Texts are ASCII digits.
struct TenkeyView {
    Cp932Text lbl;                 // the digits still to type, the next one first
    Cp932Text lblTypeCount = "0";  // correctly typed digits in this game
    Cp932Text lblRestTime = "60";  // seconds left
    Cp932Text lblHigh = "0";       // best count on file when the window opened
    std::array<bool, 10> lit{};      // pad key of each digit drawn lime
    bool btnStartEnabled = true;
};

enum class TenkeyState { Idle, LeadIn, Running, Ended };

class TenkeyEngine {
public:
    static constexpr const char* kTmrInterval = "tmrInterval";
    static constexpr const char* kTmr = "tmr";
    static constexpr int kLeadInMs = 2500;
    static constexpr int kTickMs = 1000;
    static constexpr int kGameSeconds = 60;
    static constexpr int kBatchSize = 100;

    // recordPath is the user's .tnk file.
    TenkeyEngine(TenkeyServices services, std::string recordPath);

    const TenkeyView& view() const { return view_; }
    TenkeyState state() const { return state_; }

    // The main menu's steps before showing the window: "no" ends the opening loop, and the
    // best count on file becomes lblHigh (it stays as read while the window is open).
    void open();
    void FormShow();
    // The window closes: the game is dropped unstored.
    void FormClose();

    void btnStartClick();  // F1
    void btnQuitClick();   // F2: forced stop
    // A digit key of the numeric keypad; other keys never reach the engine.
    void keypadDigit(int digit);
    void timerFired(const std::string& name);

    // A new batch of kBatchSize digits in which no digit follows itself; lights the key of
    // its first digit.
    std::string CreateData();

private:
    void forcedStop();
    void lightNext();
    void setTypeCount(int n);
    void setRestTime(int s);
    void endGame();

    TenkeyServices s_;
    std::string recordPath_;
    TenkeyView view_;
    TenkeyState state_ = TenkeyState::Idle;
    int typeCount_ = 0;
    int restTime_ = kGameSeconds;
};

}  // namespace keyrook
