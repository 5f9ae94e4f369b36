#include "typing/typing_engine.h"

#include <algorithm>
#include <limits>

#include "base/cp932.h"
#include "base/text.h"
#include "problemsets/reading_decoder.h"
#include "problemsets/romaji_decoder.h"
#include "typing/shuffle.h"

namespace keyrook {

namespace {

// Dialog texts are UTF-8; view texts are CP932.
constexpr const char* kNoQuestionData = "この問題集は問題データがありません。";
constexpr const char* kFullWidthInput = "全角入力になっていますので戻して下さい。";
constexpr const char* kSettingUnused = "このﾎﾞﾀﾝは現段階では使用しません。";

constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::uint32_t kMissGuardMs = 500;

// Score, combo and counts stop at the top of the 32-bit range instead of wrapping negative.
std::int32_t saturatingAdd(std::int32_t a, std::int64_t b) {
    const std::int64_t sum = std::int64_t{a} + b;
    if (sum > kInt32Max) return kInt32Max;
    if (sum < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(sum);
}

// The combo bonus for a combo that is a multiple of 100: 1000 x 2^(combo div 100), held at the
// 32-bit maximum from a combo of 2200 on.
std::int32_t comboBonus(std::int32_t combo) {
    const int power = combo / 100;
    if (power >= 31) return kInt32Max;
    const std::int64_t b = std::int64_t{1000} << power;
    return b > kInt32Max ? kInt32Max : static_cast<std::int32_t>(b);
}

// Times beyond 24 days and absurd lengths are held at the 32-bit maximum rather than wrapped.
template <class T>
int clampToInt(T value) {
    return value > static_cast<T>(kInt32Max) ? kInt32Max : static_cast<int>(value);
}

std::int64_t comboPoints(std::int32_t combo) { return (std::int64_t{combo} / 10 + 1) * 10; }

}  // namespace

const std::string& TypingEngine::stopCaptionRunning() {
    static const std::string caption = cp932Of("F2 : ｹﾞｰﾑ中断");
    return caption;
}

const std::string& TypingEngine::stopCaptionPaused() {
    static const std::string caption = cp932Of("F2 : ｹﾞｰﾑ再開");
    return caption;
}

TypingEngine::TypingEngine(const TypingServices& services, std::vector<std::string>& setLines,
                           const bool& plainReadings, const TypingSettings& settings)
    : services_(services), setLines_(setLines), plainReadings_(plainReadings), settings_(settings) {
    view_.btnStopCaption = stopCaptionRunning();
    view_.mnuStopCaption = cp932Of("ｹﾞｰﾑ中断(&S)");
    Timers& t = services_.timers;
    t.setInterval(kTmrDarker, 100);
    t.setInterval(kTmrInterval, 500);
    t.setInterval(kTmrBonus, 50);
    t.setInterval(kTmrFlash, 1);
    for (const char* name : {kTmrDarker, kTmrInterval, kTmrBonus, kTmrFlash, kTmrInvader})
        t.setEnabled(name, false);
}

void TypingEngine::preparePractice(const std::string& title) {
    setTitle(title);
    state_.QuestionCount = static_cast<std::int32_t>(setLines_.size() / 2);
    view_.lblMondai = "0 / " + std::to_string(state_.QuestionCount);
    view_.pnlPowerVisible = false;
    changed_ |= kChangedMondai | kChangedTitle;
}

void TypingEngine::setTitle(const std::string& title) {
    view_.lblTitle = title;
    changed_ |= kChangedTitle;
}

TypingEngine::Phase TypingEngine::phase() const {
    if (ending_) return Phase::Ended;
    if (atRest()) return Phase::AtRest;
    if (view_.btnStopCaption != stopCaptionRunning()) return Phase::Paused;
    if (view_.lblStartVisible) return Phase::Countdown;
    if (!view_.lblTyping.empty() || FInvader()) return Phase::Question;
    return Phase::BetweenQuestions;
}

void TypingEngine::FormShow() {
    visible_ = true;
    services_.sounds.play("no");  // ends the main menu's music
}

void TypingEngine::FormClose() {
    visible_ = false;
    quitAction();
}

void TypingEngine::setCommandsForSession(bool running) {
    view_.btnStartEnabled = !running;
    view_.btnStopEnabled = running;
    view_.btnRomanEnabled = !running;
    view_.btnSettingEnabled = !running;
    view_.btnQuitEnabled = running;
    view_.btnStopCaption = stopCaptionRunning();
    if (!running) view_.mnuStopCaption = view_.btnStopCaption;
    changed_ |= kChangedCommands;
}

void TypingEngine::btnStartClick() {
    if (!view_.btnStartEnabled) return;
    // A practice session needs one whole pair after the header; an invader session only a set.
    const bool invader = FInvader();
    if (setLines_.size() <= 1 || (!invader && setLines_.size() < 3)) {
        services_.dialogs.message(kNoQuestionData);
        return;
    }
    state_.Playing = true;
    state_.InvaderHits = 0;
    setCommandsForSession(true);
    state_.Score = 0;
    state_.Combo = 0;
    state_.HitCount = 0;
    rows_.clear();
    keyStats_.reset();
    changed_ |= kChangedRows;
    invaderStreaming_ = false;

    kanaSession_ = !invader && !plainReadings_ && settings_.options().chkKana;
    if (!invader) {
        view_.lblTypingAlign = TextAlign::Center;
        Shuffle(setLines_, services_.random);
        // An unpaired last line is no question: drop it so it is neither counted nor shown.
        if (setLines_.size() % 2 != 0) setLines_.pop_back();
        state_.QuestionCount = static_cast<std::int32_t>(setLines_.size() / 2);
        view_.lblMondai = "1 / " + std::to_string(state_.QuestionCount);
        changed_ |= kChangedMondai;
    } else {
        view_.lblTypingAlign = TextAlign::Right;
        state_.InvaderStart = services_.clock.tickCount();
        if (invaderRules) invaderRules->start(*this);
    }
    changed_ |= kChangedTyping;

    view_.lblStartVisible = true;
    changed_ |= kChangedStart;
    services_.timers.setEnabled(kTmrDarker, true);

    if (inputMethodOpen && inputMethodOpen()) {
        services_.dialogs.message(kFullWidthInput);
    }
}

void TypingEngine::btnSettingClick() {
    if (!view_.btnSettingEnabled) return;
    services_.dialogs.message(kSettingUnused);
}

void TypingEngine::tmrDarkerTimer() {
    if (state_.ReadyFade != 0) {
        state_.ReadyFade = static_cast<std::uint8_t>(state_.ReadyFade - 17);
        view_.lblStartColor = greyColor(state_.ReadyFade);
    } else {
        state_.ReadyFade = 255;
        view_.lblStartColor = kColorWhite;
        if (view_.lblStartCaption == "Ready !!") view_.lblStartCaption = "Go !!";
        services_.timers.setEnabled(kTmrDarker, false);
        services_.timers.setEnabled(kTmrInterval, true);
    }
    changed_ |= kChangedStart;
}

void TypingEngine::tmrIntervalTimer() {
    if (!visible_) {
        quitAction();
        return;
    }
    if (FInvader()) {
        view_.lblStartVisible = false;
        changed_ |= kChangedStart;
        services_.timers.setEnabled(kTmrInterval, false);
        services_.timers.setEnabled(kTmrInvader, true);
        invaderStreaming_ = true;
        return;
    }
    showQuestion();
}

bool TypingEngine::questionEmpty(const std::string& code) const {
    if (!kanaSession_) return Changer(code, settings_.variants(), plainReadings_).empty();
    KanaMatcher m;
    m.start(code);
    return m.complete();
}

// Nothing to type could never be completed: questions whose romaji (in a kana session, whose
// presses) are empty are left out of the session. A leading run of them is passed over and erased in one go, so even a long run
// costs one pass.
void TypingEngine::dropEmptyQuestions() {
    std::size_t first = 0;
    while (first + 1 < setLines_.size() && questionEmpty(setLines_[first + 1]))
        first += 2;
    if (first == 0) return;
    setLines_.erase(setLines_.begin(), setLines_.begin() + static_cast<std::ptrdiff_t>(first));
    state_.QuestionCount = static_cast<std::int32_t>(std::max<std::int64_t>(
        0, std::int64_t{state_.QuestionCount} - static_cast<std::int64_t>(first / 2)));
}

void TypingEngine::showQuestion() {
    const TypingOptions opts = settings_.options();
    dropEmptyQuestions();
    if (setLines_.size() < 2) {
        setLines_.clear();  // a stray single line is no question
        endSession();
        return;
    }
    if (kanaSession_) {
        kana_.start(setLines_[1]);
    } else {
        matcher_.start(setLines_[1], settings_.variants(), plainReadings_,
                       MatchOptions{opts.chkFlexible, opts.chkLC});
    }

    view_.lblStartVisible = false;
    view_.lblQuestion = setLines_[0];
    state_.CodedAnswer = setLines_[1];
    view_.lblTyping = kanaSession_ ? kana_.remainingText() : matcher_.remaining();
    // A reading left from an earlier question would be wrong under this one.
    view_.lblYomi = opts.chkYomi ? ChangeYomi(state_.CodedAnswer, plainReadings_) : std::string();
    setLines_.erase(setLines_.begin(), setLines_.begin() + 2);
    // The next question shown is the next one that can be typed.
    dropEmptyQuestions();
    view_.lblNext = setLines_.empty() ? std::string() : setLines_[0];

    QuestionRow row;
    row.number = static_cast<int>(rows_.size() + 1);
    row.question = view_.lblQuestion;
    // In kana the count is of presses, so speed and ratings are per press as in romaji.
    row.bytes = kanaSession_ ? kana_.presses() : clampToInt(view_.lblTyping.size());
    rows_.push_back(std::move(row));

    state_.FirstKeyPending = true;
    keyStats_.newQuestion();
    view_.lblMondai = std::to_string(rows_.size()) + " / " + std::to_string(state_.QuestionCount);
    state_.QuestionStart = services_.clock.tickCount();
    services_.timers.setEnabled(kTmrInterval, false);
    changed_ |= kChangedStart | kChangedQuestion | kChangedTyping | kChangedRows | kChangedMondai;
}

void TypingEngine::endSession() {
    services_.timers.setEnabled(kTmrInterval, false);
    services_.timers.setEnabled(kTmrInvader, false);
    // A practice session in which no question was shown has nothing to rate.
    const bool anything = FInvader() || !rows_.empty();
    if (anything && onEnded) {
        ending_ = true;
        try {
            onEnded();
        } catch (...) {
            // The result could not be made (a record file that cannot be read, say): the
            // session is over all the same, so the window goes back to rest before the error
            // is shown.
            ending_ = false;
            if (!atRest()) quitAction();
            throw;
        }
        ending_ = false;
    }
    if (!atRest()) quitAction();
}

const std::string& TypingEngine::kanaDue() const {
    static const std::string none;
    return kanaSession_ && !view_.lblTyping.empty() ? kana_.due() : none;
}

void TypingEngine::FormKanaPress(KanaPress press) {
    if (!kanaSession_ || !state_.Playing || view_.lblTyping.empty()) return;
    const unsigned char due = kanaStatByte(kana_.due());
    const KeyJudgement judged = kana_.press(press);
    if (judged == KeyJudgement::Ignored) return;
    if (judged == KeyJudgement::Miss) {
        miss(static_cast<char>(kanaStatByte(kanaTypedBy(press))));
        return;
    }
    keyStats_.hit(static_cast<char>(due), services_.clock.tickCount());
    view_.lblTyping = kana_.remainingText();
    changed_ |= kChangedTyping;
    hit();
}

void TypingEngine::FormKeyPress(char key) {
    std::string& s = view_.lblTyping;
    if (!state_.Playing || s.empty() || kanaSession_) return;

    if (FInvader()) {
        // The letters on the line are unrelated: each key must be the first of them.
        if (s[0] == '_' && key == ' ') key = '_';
        if (upperAscii(key) == upperAscii(s[0])) {
            s.erase(0, 1);
            changed_ |= kChangedTyping;
            hit();
        } else if (key == '\b') {
            if (invaderRules) invaderRules->backspace(*this);
        } else {
            miss(key);
        }
        return;
    }

    const char expected = s[0];
    const KeyResult judged = matcher_.key(key);
    if (judged.judgement == KeyJudgement::Ignored) return;
    if (judged.judgement == KeyJudgement::Miss) {
        miss(key);  // counted there for the character expected, unless the miss guard drops it
        return;
    }
    // An N left out by the single-n rule scores as if it had been typed.
    if (judged.skippedN) state_.Score = saturatingAdd(state_.Score, comboPoints(state_.Combo));
    // A hit counts for the key typed: the character expected, or the first of another
    // spelling the matcher accepted (a flexible spelling, the consonant after a left-out N).
    keyStats_.hit(expected == '_' && key == ' ' ? '_' : key, services_.clock.tickCount());
    s = matcher_.remaining();
    changed_ |= kChangedTyping;
    hit();
}

void TypingEngine::hit() {
    const TypingOptions opts = settings_.options();
    const std::uint32_t now = services_.clock.tickCount();

    state_.HitCount = saturatingAdd(state_.HitCount, 1);
    if (opts.chkTypesound) services_.sounds.play("type");
    if (state_.FirstKeyPending) {
        if (!rows_.empty()) rows_.back().reactionMs = clampToInt(now - state_.QuestionStart);
        state_.QuestionStart = now;
        state_.FirstKeyPending = false;
        changed_ |= kChangedRows;
    }
    state_.Combo = saturatingAdd(state_.Combo, 1);
    view_.lblCombo = std::to_string(state_.Combo);
    changed_ |= kChangedCombo;
    if (toIntDef(view_.lblMaxCombo, 0) < state_.Combo) {
        view_.lblMaxCombo = view_.lblCombo;
        changed_ |= kChangedMaxCombo;
    }

    if (state_.Combo % 100 == 0) {
        const std::int32_t bonus = comboBonus(state_.Combo);
        view_.lblBonusUpLeft = 16;
        view_.lblBonusUpCaption = "BONUS +" + std::to_string(bonus) + " ";
        state_.Score = saturatingAdd(state_.Score, bonus);
        view_.lblBonusUpVisible = true;
        state_.BonusStart = now;
        state_.BonusFade = 255;
        services_.timers.setEnabled(kTmrBonus, true);
        changed_ |= kChangedBonus;
    }
    state_.Score = saturatingAdd(state_.Score, comboPoints(state_.Combo));

    const bool invader = FInvader();
    if (invader && invaderRules) invaderRules->hit(*this);

    view_.lblScore = std::to_string(state_.Score);
    changed_ |= kChangedScore;

    if (!invader && (kanaSession_ ? kana_.complete() : matcher_.complete())) completeQuestion();
}

void TypingEngine::completeQuestion() {
    const int typing = clampToInt(services_.clock.tickCount() - state_.QuestionStart);
    if (!rows_.empty()) {
        QuestionRow& row = rows_.back();
        // What was typed, when other spellings were allowed.
        row.bytes = kanaSession_ ? kana_.presses() : matcher_.rowBytes();
        row.typingMs = typing;
        row.speedIndex = speedIndexText(typing, row.bytes);
        changed_ |= kChangedRows;
    }
    services_.timers.setEnabled(kTmrInterval, true);
}

void TypingEngine::miss(char pressed) {
    const std::uint32_t now = services_.clock.tickCount();
    // Unsigned difference: a wrap of the tick count between two misses is harmless.
    if (missCounted_ && now - state_.MissTime <= kMissGuardMs) {
        keyStats_.interrupt();  // not judged, but the next hit is still a recovery
        return;
    }
    if (!FInvader())
        keyStats_.miss(kanaSession_ ? static_cast<char>(kanaStatByte(kana_.due())) : view_.lblTyping[0],
                       pressed);

    if (settings_.options().chkTypemiss) services_.sounds.play("miss");
    Flash();
    state_.MissTime = now;
    missCounted_ = true;
    view_.lblMiss = std::to_string(saturatingAdd(toIntDef(view_.lblMiss, 0), 1));
    state_.Combo /= 2;
    view_.lblCombo = std::to_string(state_.Combo);
    changed_ |= kChangedMiss | kChangedCombo;
}

SessionFigures TypingEngine::sessionFigures() const {
    SessionFigures f;
    f.invader = FInvader();
    f.title = view_.lblTitle;
    // Kana sessions are stored under a title of their own, so their history stays apart.
    if (kanaSession_) f.title += cp932Of(kKanaTitleMark);
    f.rows = rows_;
    f.hitCount = state_.HitCount;
    f.survivalMs = clampToInt(state_.InvaderStart);
    f.missCount = toIntDef(view_.lblMiss, 0);
    f.maxCombo = toIntDef(view_.lblMaxCombo, 0);
    f.score = toIntDef(view_.lblScore, 0);
    return f;
}

void TypingEngine::Flash() { services_.timers.setEnabled(kTmrFlash, true); }

void TypingEngine::tmrFlashTimer() {
    if (!settings_.options().chkFlash) {
        services_.timers.setEnabled(kTmrFlash, false);
        // Switched off mid-flash: do not leave the window red.
        if (view_.color != kColorBlack) {
            view_.color = kColorBlack;
            changed_ |= kChangedColor;
        }
        return;
    }
    if (view_.color == kColorBlack) {
        view_.color = kColorRed;
    } else {
        view_.color = kColorBlack;
        services_.timers.setEnabled(kTmrFlash, false);
    }
    changed_ |= kChangedColor;
}

void TypingEngine::tmrBonusTimer() {
    if (view_.lblBonusUpLeft >= 320) {
        state_.BonusFade = static_cast<std::uint8_t>(state_.BonusFade - 6);
        view_.lblBonusUpColor = greyColor(state_.BonusFade);
    } else {
        view_.lblBonusUpLeft += (view_.lblBonusUpLeft / 16) * 5;
    }
    const std::uint32_t now = services_.clock.tickCount();
    if (now - state_.BonusStart > 4000 || state_.BonusFade == 3) {
        view_.lblBonusUpVisible = false;
        services_.timers.setEnabled(kTmrBonus, false);
        view_.lblBonusUpColor = kColorWhite;
        view_.lblBonusUpLeft = 16;
    }
    changed_ |= kChangedBonus;
}

void TypingEngine::tmrInvaderTimer() {
    if (invaderRules) invaderRules->letterTimer(*this);
}

void TypingEngine::timerFired(const std::string& name) {
    if (name == kTmrDarker) tmrDarkerTimer();
    else if (name == kTmrInterval) tmrIntervalTimer();
    else if (name == kTmrBonus) tmrBonusTimer();
    else if (name == kTmrFlash) tmrFlashTimer();
    else if (name == kTmrInvader) tmrInvaderTimer();
}

void TypingEngine::btnStopClick() {
    if (!view_.btnStopEnabled) return;
    const bool invader = FInvader();
    if (view_.btnStopCaption == stopCaptionRunning()) {
        services_.timers.setEnabled(kTmrInvader, false);
        state_.Playing = false;
        keyStats_.interrupt();  // the pause is no part of the next key's interval
        view_.btnStopCaption = stopCaptionPaused();
        view_.btnRomanEnabled = true;
        view_.btnSettingEnabled = true;
    } else {
        state_.Playing = true;
        // Letters resume only once the stream has begun; a pause in the countdown must not
        // start them before "Go !!".
        if (invader && invaderStreaming_) services_.timers.setEnabled(kTmrInvader, true);
        view_.btnStopCaption = stopCaptionRunning();
        view_.btnRomanEnabled = false;
        view_.btnSettingEnabled = false;
    }
    view_.mnuStopCaption = view_.btnStopCaption;
    changed_ |= kChangedCommands;
}

void TypingEngine::btnQuitClick() {
    if (!view_.btnQuitEnabled) return;
    quitAction();
}

void TypingEngine::quitAction() {
    Timers& t = services_.timers;
    t.setEnabled(kTmrInvader, false);
    t.setEnabled(kTmrDarker, false);
    t.setEnabled(kTmrInterval, false);

    view_.lblScore = view_.lblCombo = view_.lblMaxCombo = view_.lblMiss = "0";
    view_.lblQuestion.clear();
    view_.lblTyping.clear();
    view_.lblNext.clear();
    view_.lblYomi.clear();
    state_.Playing = false;
    state_.FirstKeyPending = false;
    invaderStreaming_ = false;
    kanaSession_ = false;
    setCommandsForSession(false);

    if (!FInvader() && onReloadSetLines) onReloadSetLines();

    // Back to a full, unseen countdown: a quit in mid-fade must not shorten the next one or
    // leave "Ready !!" standing on the resting window.
    view_.lblStartCaption = "Ready !!";
    view_.lblStartVisible = false;
    view_.lblStartColor = kColorBlack;
    state_.ReadyFade = 255;

    changed_ |= kChangedScore | kChangedCombo | kChangedMaxCombo | kChangedMiss | kChangedQuestion |
                kChangedTyping | kChangedStart;
}

}  // namespace keyrook
