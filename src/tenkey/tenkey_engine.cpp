#include "tenkey/tenkey_engine.h"

#include <algorithm>

#include "base/files.h"
#include "base/text.h"

namespace keyrook {

int tenkeyHighScore(std::string_view fileText) {
    int best = 0;
    for (const std::string& line : splitNonEmptyLines(fileText)) best = std::max(best, toIntDef(line, 0));
    return best;
}

int loadTenkeyHighScore(const std::string& path) {
    if (!fileExists(path)) return 0;
    return tenkeyHighScore(loadStringFromFile(path, Links::Refuse));
}

void appendTenkeyScore(const std::string& path, int count) {
    appendLinesToFile(path, std::to_string(count) + "\r\n");
}

TenkeyEngine::TenkeyEngine(TenkeyServices services, std::string recordPath)
    : s_(services), recordPath_(std::move(recordPath)) {
    s_.timers.setInterval(kTmrInterval, kLeadInMs);
    s_.timers.setInterval(kTmr, kTickMs);
    s_.timers.setEnabled(kTmrInterval, false);
    s_.timers.setEnabled(kTmr, false);
}

void TenkeyEngine::open() {
    s_.sounds.play("no");
    view_.lblHigh = std::to_string(loadTenkeyHighScore(recordPath_));
}

void TenkeyEngine::FormShow() { s_.sounds.play("no"); }

void TenkeyEngine::FormClose() {
    s_.timers.setEnabled(kTmrInterval, false);
    s_.timers.setEnabled(kTmr, false);
    s_.sounds.play("op");
}

void TenkeyEngine::setTypeCount(int n) {
    typeCount_ = n;
    view_.lblTypeCount = std::to_string(n);
}

void TenkeyEngine::setRestTime(int s) {
    restTime_ = s;
    view_.lblRestTime = std::to_string(s);
}

void TenkeyEngine::forcedStop() {
    view_.lit.fill(false);
    view_.lbl.clear();
    setTypeCount(0);
    setRestTime(kGameSeconds);
    view_.btnStartEnabled = true;
    s_.timers.setEnabled(kTmr, false);
    // A stop during the lead-in cancels it too; otherwise a game would start on its own.
    s_.timers.setEnabled(kTmrInterval, false);
    state_ = TenkeyState::Idle;
}

void TenkeyEngine::btnQuitClick() { forcedStop(); }

void TenkeyEngine::btnStartClick() {
    forcedStop();
    s_.sounds.play("ready");
    s_.timers.setEnabled(kTmrInterval, true);
    view_.btnStartEnabled = false;
    state_ = TenkeyState::LeadIn;
}

void TenkeyEngine::lightNext() {
    view_.lit.fill(false);
    if (!view_.lbl.empty()) view_.lit[static_cast<std::size_t>(view_.lbl.front() - '0')] = true;
}

std::string TenkeyEngine::CreateData() {
    s_.random.randomize();
    std::string digits;
    digits.reserve(kBatchSize);
    while (static_cast<int>(digits.size()) < kBatchSize) {
        char d = static_cast<char>('0' + s_.random.next(10));
        if (!digits.empty() && d == digits.back()) continue;
        digits.push_back(d);
    }
    view_.lit.fill(false);
    view_.lit[static_cast<std::size_t>(digits.front() - '0')] = true;
    return digits;
}

void TenkeyEngine::keypadDigit(int digit) {
    // After the end the result is stored; further keys would only make the screen disagree.
    if (state_ != TenkeyState::Running || digit < 0 || digit > 9) return;
    if (view_.lbl.empty() || view_.lbl.front() != static_cast<char>('0' + digit)) return;
    view_.lbl.erase(0, 1);
    setTypeCount(typeCount_ + 1);
    s_.sounds.play("type");
    if (view_.lbl.empty()) {
        s_.sounds.play("ok");
        view_.lbl = CreateData();
    }
    lightNext();
}

void TenkeyEngine::timerFired(const std::string& name) {
    if (name == kTmrInterval) {
        s_.timers.setEnabled(kTmrInterval, false);
        if (state_ != TenkeyState::LeadIn) return;
        view_.lbl = CreateData();
        s_.timers.setEnabled(kTmr, true);
        state_ = TenkeyState::Running;
    } else if (name == kTmr) {
        if (state_ != TenkeyState::Running) {
            s_.timers.setEnabled(kTmr, false);
            return;
        }
        // The clock shows 0 for the game's last second; the tick after it ends the game, so
        // counts are taken over the same span as the ones already in users' files.
        if (restTime_ > 0)
            setRestTime(restTime_ - 1);
        else
            endGame();
    }
}

void TenkeyEngine::endGame() {
    s_.timers.setEnabled(kTmr, false);
    state_ = TenkeyState::Ended;
    view_.lit.fill(false);
    appendTenkeyScore(recordPath_, typeCount_);
}

}  // namespace keyrook
