#include "typing/invader_rules.h"

#include <algorithm>
#include <limits>

namespace keyrook {

int invaderInterval(int level) {
    const int ms = level <= 10 ? 1200 - (level - 1) * 110 : 200 - (level - 11) * 10;
    return std::max(ms, 1);
}

std::string invaderSpeedText(int level) {
    return "Level:" + std::to_string(level) + "  --- " + std::to_string(invaderInterval(level)) +
           "msec/character";
}

void InvaderGame::choose(TypingEngine& engine, int level) {
    engine.services().timers.setInterval(TypingEngine::kTmrInvader, invaderInterval(level));
    engine.setTitle(TypingEngine::kInvaderTitle);
    engine.mutableView().lblMondai = "Level : " + std::to_string(level);
    engine.mutableState().Level = static_cast<std::uint8_t>(level);
    engine.mutableView().pnlPowerVisible = true;
    engine.markChanged(kChangedMondai | kChangedTitle);
}

void InvaderGame::start(TypingEngine& engine) {
    gauges_.LimitBar = 120;
    gauges_.limitColor = kGaugeGrey;
    gauges_.PowerBar = 0;
    // Without this the lamps of the last game would stay lit over an empty gauge.
    RestoreBar();
    engine.markChanged(kChangedInvader);
}

void InvaderGame::setPower(int position) { gauges_.PowerBar = std::clamp(position, 0, 255); }

void InvaderGame::RestoreBar() {
    const int p = gauges_.PowerBar;
    const std::uint32_t colour = p < 85    ? kGaugeGrey
                                 : p < 170 ? kGaugeLime
                                 : p < 255 ? kGaugeYellow
                                           : kGaugeRed;
    const int lamps = p / kBombCost;
    for (int i = 1; i <= 3; ++i) gauges_.lampColor[static_cast<std::size_t>(i - 1)] = i <= lamps ? colour : kGaugeGrey;
    gauges_.powerColor = colour;
}

void InvaderGame::hit(TypingEngine& engine) {
    TypingState& s = engine.mutableState();
    if (s.InvaderHits < std::numeric_limits<std::int32_t>::max()) ++s.InvaderHits;
    const std::int64_t score = std::int64_t{s.Score} + std::int64_t{s.Level} * 10;
    s.Score = static_cast<std::int32_t>(std::min<std::int64_t>(score, std::numeric_limits<std::int32_t>::max()));
    setPower(gauges_.PowerBar + (s.Combo < 100 ? s.Combo / 50 + 1 : 3));
    RestoreBar();
    if (s.InvaderHits % 100 == 0) {
        engine.services().sounds.play("ok");
        if (s.Level < 255) ++s.Level;
        engine.mutableView().lblMondai = "Level : " + std::to_string(s.Level);
        engine.services().timers.setInterval(TypingEngine::kTmrInvader, invaderInterval(s.Level));
        engine.markChanged(kChangedMondai);
    }
    engine.markChanged(kChangedInvader);
}

void InvaderGame::backspace(TypingEngine& engine) {
    // The bomb leaves the score label and the gauge colours as they are; the next hit
    // refreshes them.
    if (gauges_.PowerBar < kBombCost) return;
    engine.mutableView().lblTyping.clear();
    TypingState& s = engine.mutableState();
    s.Score = static_cast<std::int32_t>(
        std::min<std::int64_t>(std::int64_t{s.Score} + 2000, std::numeric_limits<std::int32_t>::max()));
    gauges_.PowerBar -= kBombCost;
    engine.services().sounds.play("vanish");
    engine.markChanged(kChangedTyping | kChangedInvader);
}

void InvaderGame::letterTimer(TypingEngine& engine) {
    engine.services().random.randomize();
    std::string& line = engine.mutableView().lblTyping;
    line += static_cast<char>('A' + engine.services().random.next(26));
    const int length = static_cast<int>(line.size());
    gauges_.limitColor = length < 16 ? kGaugeGrey : length < 32 ? kGaugeSilver : kGaugeRed;
    gauges_.LimitBar = std::max(0, 120 - kLimitStep * std::min(length, 41));
    engine.markChanged(kChangedTyping | kChangedInvader);
    if (length >= kOverflow) {
        TypingState& s = engine.mutableState();
        s.InvaderStart = engine.services().clock.tickCount() - s.InvaderStart;
        engine.endSession();
    }
}

}  // namespace keyrook
