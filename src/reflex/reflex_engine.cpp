#include "reflex/reflex_engine.h"

#include <algorithm>

#include "base/cp932.h"
#include "reflex/ref_file.h"
#include "reflex/reflex_levels.h"
#include "typing/scoring.h"

namespace keyrook {
namespace {

const char* const kCountdown = "tmrTimer";
const char* const kJudge = "tmrJudge";

}  // namespace

ReflexEngine::ReflexEngine(ReflexServices services) : s_(services) {
    s_.timers.setInterval(kCountdown, 1000);
    s_.timers.setInterval(kJudge, kJudgePauseMs);
    stopTimers();
}

void ReflexEngine::setLevel(int level, std::array<std::string, 3> captions) {
    level_ = std::clamp(level, 1, kReflexLevels);
    captions_ = std::move(captions);
}

char ReflexEngine::slotLetter(int slot) const {
    if (slot < 1 || slot > kSlots) return 0;
    const Slot& s = slots_[static_cast<std::size_t>(slot - 1)];
    return s.state == SlotState::Letter ? s.letter : 0;
}

void ReflexEngine::FormShow() { s_.sounds.play("no"); }

void ReflexEngine::btnStartClick() {
    slotCount_ = level_;
    reactionSum_ = 0;
    hits_ = misses_ = score_ = dealt_ = 0;
    Initialized();
    // Every slot starts empty, also those a higher level used before a forced stop, so no
    // stale letter is kept out of the draw.
    slots_.fill(Slot{});
    anyDealt_ = false;
    for (int i = 1; i <= slotCount_; ++i) {
        s_.timers.setInterval(slotTimer(i), RNDTime() + i * 1000);
        s_.timers.setEnabled(slotTimer(i), true);
    }
    phase_ = Phase::Running;
    s_.sounds.play("ready");
    startTime_ = s_.clock.tickCount();
    view_.lblTime = std::to_string(kGameSeconds);
    s_.timers.setEnabled(kCountdown, true);
}

void ReflexEngine::Initialized() {
    stopTimers();
    clearCells();
    for (std::string* l : {&view_.lblScore, &view_.lblHits, &view_.lblTotal, &view_.lblMiss,
                           &view_.lblTime, &view_.lblAv})
        *l = "0";
    phase_ = Phase::Idle;
}

int ReflexEngine::RNDTime() {
    s_.random.randomize();
    const int r = 1000 + s_.random.next(1000);
    return static_cast<int>(roundHalfEven(r * (4.0L - level_ / 2.0L)));
}

char ReflexEngine::GetChar() {
    for (;;) {
        s_.random.randomize();
        const char c = static_cast<char>('A' + s_.random.next(26));
        const bool held = std::any_of(slots_.begin(), slots_.end(), [c](const Slot& s) {
            return s.state == SlotState::Letter && s.letter == c;
        });
        if (!held) return c;
    }
}

void ReflexEngine::timerFired(const std::string& name) {
    if (name == kCountdown) {
        tmrTimerTimer();
    } else if (name == kJudge) {
        tmrJudgeTimer();
    } else {
        for (int i = 1; i <= kSlots; ++i)
            if (name == slotTimer(i)) slotTick(i);
    }
}

void ReflexEngine::slotTick(int i) {
    if (phase_ != Phase::Running || i > slotCount_) return;
    if (i == 4) {
        // Slot 4 ignores the level: its letters always live one to two seconds.
        s_.random.randomize();
        s_.timers.setInterval(slotTimer(i), 1000 + s_.random.next(1000));
    } else {
        s_.timers.setInterval(slotTimer(i), RNDTime());
    }
    Slot& slot = slots_[static_cast<std::size_t>(i - 1)];
    if (slot.state == SlotState::Letter) cell(slot.letter).clear();  // vanishes unhit
    slot.letter = GetChar();
    slot.state = SlotState::Letter;
    cell(slot.letter) = std::string(1, slot.letter);
    gettotal();
    slot.dealtAt = s_.clock.tickCount();
    anyDealt_ = true;
}

void ReflexEngine::gettotal() {
    ++dealt_;
    view_.lblTotal = std::to_string(dealt_);
}

void ReflexEngine::FormKeyPress(char32_t ch) {
    // Keys count once the game runs and something has been dealt to hit. (Waiting for slot 1
    // alone would ignore hits on a letter that slot 2 dealt first.)
    if (phase_ != Phase::Running || !anyDealt_) return;
    if (ch >= U'a' && ch <= U'z') ch -= U'a' - U'A';
    Slot* hit = nullptr;
    for (int i = 0; i < slotCount_ && !hit; ++i) {
        Slot& s = slots_[static_cast<std::size_t>(i)];
        if (s.state == SlotState::Letter && static_cast<char32_t>(s.letter) == ch) hit = &s;
    }
    if (!hit) {
        s_.sounds.play("miss2");
        ++misses_;
        view_.lblMiss = std::to_string(misses_);
        return;
    }
    const std::uint32_t reaction = s_.clock.tickCount() - hit->dealtAt;
    ++hits_;
    reactionSum_ += reaction;
    view_.lblAv = std::to_string(*shownMeanReaction(reactionSum_, hits_)) + "msec";
    view_.lblHits = std::to_string(hits_);
    cell(hit->letter).clear();
    s_.sounds.play("miss");  // the hit sound
    // A key in the very tick of the deal counts as 1 ms rather than dividing by zero.
    const long long perMs = roundHalfEven(10000.0L / std::max<std::uint32_t>(reaction, 1));
    score_ += static_cast<int>(perMs * level_ * 10);
    view_.lblScore = std::to_string(score_);
    hit->state = SlotState::Hit;
}

void ReflexEngine::tmrTimerTimer() {
    if (phase_ != Phase::Running) return;
    const std::uint32_t elapsed = s_.clock.tickCount() - startTime_;
    const long long left = kGameSeconds - static_cast<long long>(elapsed / 1000);
    view_.lblTime = std::to_string(left);
    if (left > 0) return;
    s_.timers.setEnabled(kCountdown, false);
    view_.lblTime = "0";
    s_.sounds.play("judge");
    stopTimers();
    clearCells();
    slots_.fill(Slot{});
    phase_ = Phase::JudgePause;
    s_.timers.setEnabled(kJudge, true);
}

void ReflexEngine::tmrJudgeTimer() {
    s_.timers.setEnabled(kJudge, false);
    if (phase_ != Phase::JudgePause) return;
    phase_ = Phase::Idle;
    FinalGame();
}

void ReflexEngine::FinalGame() {
    ReflexResult r;
    r.level = level_;
    r.recordLine = reflexRecordLine(level_, score_, view_.lblHits, view_.lblTotal, view_.lblMiss,
                                    view_.lblAv);
    const long double rate = dealt_ > 0 ? static_cast<long double>(hits_) / dealt_ * 100 : 0;
    const std::string rateText = formatFixed(rate, 2);
    r.rate = parseNumber(rateText).value_or(0);
    r.lblRate = cp932Of("達成率 : ") + rateText + " %";
    r.lblAvRef = cp932Of("平均反射神経時間 : ") + view_.lblAv;
    r.lblMiss = cp932Of("ﾐｽﾀｲﾌﾟ数 : ") + std::to_string(misses_);
    r.cleared = Judgement(reactionSum_, hits_, misses_, level_, r.rate);
    s_.sounds.play(r.cleared ? "clear" : "unclear");
    r.levelLines = captions_;
    if (onFinalGame) onFinalGame(r);
}

void ReflexEngine::stopTimers() {
    for (int i = 1; i <= kSlots; ++i) s_.timers.setEnabled(slotTimer(i), false);
    s_.timers.setEnabled(kCountdown, false);
    s_.timers.setEnabled(kJudge, false);
}

void ReflexEngine::clearCells() {
    for (std::string& c : view_.cells) c.clear();
}

}  // namespace keyrook
