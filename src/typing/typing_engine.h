// The typing session: the state machine behind the typing window. The window turns its key
// presses, commands and timer ticks into calls on TypingEngine and, after each call, repaints
// the controls whose bits takeChanges() reports from view(). Time, timers, randomness, sound
// and message boxes come in through the base services, so a test can run a whole session on
// virtual time.
//
// States: at rest (F1 enabled), countdown ("Ready !!" fading, then "Go !!"), question (romaji
// on screen), between questions (romaji typed, tmrInterval running), paused (F2; countdowns and
// question changes still complete), ended (list exhausted: the ended hook runs, then the quit
// action brings the engine back to rest).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/cp932.h"
#include "base/services.h"
#include "problemsets/kana_matcher.h"
#include "problemsets/romaji_matcher.h"
#include "problemsets/variant_table.h"
#include "typing/key_stats.h"
#include "typing/scoring.h"

namespace keyrook {

// The check boxes of the settings window that a session reads.
struct TypingOptions {
    bool chkTypesound = true;  // sound on every correct key
    bool chkTypemiss = true;   // sound on every counted miss
    bool chkFlash = true;      // red flash on a counted miss
    bool chkLC = false;        // romaji shown (and expected) in lower case
    bool chkYomi = false;      // reading shown above the question
    bool chkFlexible = false;  // practice: every valid spelling is a hit, the line keeps the user's
    bool chkKana = false;      // practice of roman-type sets typed on the JIS kana layout
};

// The live settings. Read each time they are needed, so a change made while paused takes
// effect from the next key or question on.
class TypingSettings {
public:
    virtual ~TypingSettings() = default;
    virtual TypingOptions options() const = 0;
    virtual const VariantTable& variants() const = 0;
};

// Settings held by value: for tests, tools and a window that copies its check boxes in.
class FixedTypingSettings : public TypingSettings {
public:
    TypingOptions options() const override { return opts; }
    const VariantTable& variants() const override { return table; }

    TypingOptions opts;
    VariantTable table;
};

struct TypingServices {
    Clock& clock;
    Timers& timers;
    Random& random;
    Sounds& sounds;
    Dialogs& dialogs;
};

enum class TextAlign { Left, Center, Right };

// Colours as 0xRRGGBB.
inline constexpr std::uint32_t kColorBlack = 0x000000;
inline constexpr std::uint32_t kColorWhite = 0xFFFFFF;
inline constexpr std::uint32_t kColorRed = 0xFF0000;
inline constexpr std::uint32_t greyColor(std::uint8_t level) {
    return (std::uint32_t{level} << 16) | (std::uint32_t{level} << 8) | level;
}

// What the window shows. Every text is CP932 bytes (question texts come from the set's file);
// the window converts at the edge. Menu items mirror their buttons.
struct TypingView {
    Cp932Text lblScore = "0";
    Cp932Text lblCombo = "0";
    Cp932Text lblMaxCombo = "0";  // the session's highest combo lives only here
    Cp932Text lblMiss = "0";      // so does the miss count
    Cp932Text lblMondai;          // "3 / 20", or "Level : 4" in an invader session
    Cp932Text lblYomi;
    Cp932Text lblQuestion;
    Cp932Text lblTyping;          // the romaji still to type: the expected text itself
    TextAlign lblTypingAlign = TextAlign::Center;
    Cp932Text lblNext;
    Cp932Text lblTitle;           // lblTitle and lblTitle2; decides the mode (FInvader)

    Cp932Text lblStartCaption = "Ready !!";
    bool lblStartVisible = false;
    std::uint32_t lblStartColor = kColorBlack;

    Cp932Text lblBonusUpCaption;
    bool lblBonusUpVisible = false;
    int lblBonusUpLeft = 16;
    std::uint32_t lblBonusUpColor = kColorWhite;

    std::uint32_t color = kColorBlack;  // the window's background: red during a miss flash
    bool pnlPowerVisible = false;

    bool btnStartEnabled = true;
    bool btnStopEnabled = false;
    bool btnRomanEnabled = true;
    bool btnSettingEnabled = true;
    bool btnQuitEnabled = false;
    Cp932Text btnStopCaption;  // "F2 : ｹﾞｰﾑ中断" or "F2 : ｹﾞｰﾑ再開"
    // The menu item's own caption until a pause or the quit action gives it the button's.
    Cp932Text mnuStopCaption;
};

// Bits of takeChanges(): which parts of the view to repaint.
enum TypingChange : std::uint32_t {
    kChangedScore = 1u << 0,
    kChangedCombo = 1u << 1,
    kChangedMaxCombo = 1u << 2,
    kChangedMiss = 1u << 3,
    kChangedMondai = 1u << 4,
    kChangedQuestion = 1u << 5,  // lblQuestion, lblYomi, lblNext
    kChangedTyping = 1u << 6,    // lblTyping text or alignment
    kChangedStart = 1u << 7,     // lblStart caption, visibility, colour
    kChangedBonus = 1u << 8,     // lblBonusUp caption, visibility, position, colour
    kChangedColor = 1u << 9,     // window background
    kChangedCommands = 1u << 10, // button enables, btnStop and mnuStop captions
    kChangedRows = 1u << 11,     // question rows
    kChangedTitle = 1u << 12,    // lblTitle, pnlPower
    kChangedInvader = 1u << 13,  // gauges kept by the invader rules
    kChangedAll = (1u << 14) - 1,
};

// The session fields, named as the window's fields are. Ticks are the 32-bit millisecond tick.
struct TypingState {
    bool Playing = false;
    std::int32_t Score = 0;
    std::int32_t Combo = 0;
    std::int32_t HitCount = 0;
    std::int32_t InvaderHits = 0;
    std::int32_t QuestionCount = 0;
    std::uint32_t QuestionStart = 0;
    bool FirstKeyPending = false;
    std::uint32_t MissTime = 0;
    std::uint32_t BonusStart = 0;
    std::uint8_t BonusFade = 255;
    std::uint8_t ReadyFade = 255;
    std::uint32_t InvaderStart = 0;  // start tick; the invader rules replace it by the survival time
    std::uint8_t Level = 0;
    std::string CodedAnswer;
};

class TypingEngine;

// What an invader session adds (letter stream, power gauge, level steps). The engine runs the
// common rules and calls these at the points where an invader session differs.
class InvaderRules {
public:
    virtual ~InvaderRules() = default;
    // At F1, after the common resets (lblTyping is already right-aligned, InvaderStart set).
    virtual void start(TypingEngine& engine) = 0;
    // After the common hit steps and the combo points, before lblScore is refreshed.
    virtual void hit(TypingEngine& engine) = 0;
    // Backspace while letters are on the line; never a miss.
    virtual void backspace(TypingEngine& engine) = 0;
    // tmrInvader fired.
    virtual void letterTimer(TypingEngine& engine) = 0;
};

class TypingEngine {
public:
    static constexpr const char* kInvaderTitle = "Radovu Didarez";
    // Timer names, as the window's timers are named.
    static constexpr const char* kTmrDarker = "tmrDarker";
    static constexpr const char* kTmrInterval = "tmrInterval";
    static constexpr const char* kTmrBonus = "tmrBonus";
    static constexpr const char* kTmrFlash = "tmrFlash";
    static constexpr const char* kTmrInvader = "tmrInvader";

    // setLines and plainReadings are the main window's SetLines and PlainReadings; the engine
    // consumes setLines in place and relies on onReloadSetLines to refill it.
    TypingEngine(const TypingServices& services, std::vector<std::string>& setLines,
                 const bool& plainReadings, const TypingSettings& settings);

    TypingEngine(const TypingEngine&) = delete;
    TypingEngine& operator=(const TypingEngine&) = delete;

    // Hooks the window attaches.
    std::function<void()> onReloadSetLines;  // the main window's title selection (rgpTitleClick)
    // The result procedure. Runs while the session's figures are intact; the engine runs the
    // quit action right after it (unless the hook already did).
    std::function<void()> onEnded;
    std::function<bool()> inputMethodOpen;   // asked at F1: an input method composes for the window
    InvaderRules* invaderRules = nullptr;

    // Set-up by the main menu before a practice session: titles, question count, "0 / n".
    void preparePractice(const std::string& title);
    void setTitle(const std::string& title);

    // Window events. FormShow must be called when the window is shown: a question change that
    // finds the window hidden ends the session instead.
    void FormShow();
    void FormClose();                // also what Escape (btnMenuClick) leads to
    void FormKeyPress(char key);
    // A key press by position in a kana session (see kanaInput); ignored otherwise.
    void FormKanaPress(KanaPress press);
    // This practice session is typed in kana: the window hands over key positions, not
    // characters. Decided at F1 and kept until the session ends.
    bool kanaInput() const { return kanaSession_; }
    // The next kana press due (press notation, CP932), empty when none is.
    const std::string& kanaDue() const;
    void btnStartClick();            // F1
    void btnStopClick();             // F2
    void btnQuitClick();             // F12
    void btnSettingClick();          // F5
    void tmrDarkerTimer();
    void tmrIntervalTimer();
    void tmrBonusTimer();
    void tmrFlashTimer();
    void tmrInvaderTimer();
    void timerFired(const std::string& name);  // dispatches by timer name

    // Operations.
    void quitAction();
    void endSession();  // the list is done (or the invader line overflowed)
    void Flash();
    bool FInvader() const { return view_.lblTitle == kInvaderTitle; }

    enum class Phase { AtRest, Countdown, Question, BetweenQuestions, Paused, Ended };
    Phase phase() const;

    const TypingView& view() const { return view_; }
    const TypingState& state() const { return state_; }
    // The question rows of the session (the result dialog's list); kept until the next F1.
    const std::vector<QuestionRow>& rows() const { return rows_; }
    // The keys judged in this practice session (none in an invader session); kept until the
    // next F1.
    const KeyStatsCounter& keyStats() const { return keyStats_; }
    // What the result procedure needs of the session, read while the ended hook runs (the quit
    // action resets the counters afterwards). User and end time are the caller's.
    SessionFigures sessionFigures() const;
    std::uint32_t takeChanges() {
        std::uint32_t c = changed_;
        changed_ = 0;
        return c;
    }

    // For the invader rules (and the window's set-up): direct access to the shared fields.
    TypingView& mutableView() { return view_; }
    TypingState& mutableState() { return state_; }
    void markChanged(std::uint32_t bits) { changed_ |= bits; }
    const TypingServices& services() const { return services_; }
    const TypingSettings& settings() const { return settings_; }

    // Captions of btnStop (CP932).
    static const std::string& stopCaptionRunning();
    static const std::string& stopCaptionPaused();

private:
    void showQuestion();
    void dropEmptyQuestions();
    bool questionEmpty(const std::string& code) const;
    void hit();
    void miss(char pressed);
    void completeQuestion();
    void setCommandsForSession(bool running);
    bool atRest() const { return view_.btnStartEnabled; }

    TypingServices services_;
    std::vector<std::string>& setLines_;
    const bool& plainReadings_;
    const TypingSettings& settings_;

    TypingView view_;
    TypingState state_;
    std::vector<QuestionRow> rows_;
    RomajiMatcher matcher_;  // the practice question on screen (invader letters are matched inline)
    KanaMatcher kana_;       // the same in a kana session
    bool kanaSession_ = false;
    KeyStatsCounter keyStats_;
    std::uint32_t changed_ = kChangedAll;

    bool visible_ = false;
    bool missCounted_ = false;     // MissTime holds a real miss
    bool invaderStreaming_ = false;
    bool ending_ = false;
};

}  // namespace keyrook
