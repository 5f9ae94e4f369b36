// The letter-shooting variant of a typing session: random capitals march into the typing line,
// the player shoots them from the left, a power gauge buys a bomb that clears the line, and
// every 100 hits the level rises. The typing engine runs the shared rules and calls these.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "typing/typing_engine.h"

namespace keyrook {

// Milliseconds between letters at a level: 1200 at level 1, 110 less per level up to 10, then
// 10 less per level. From level 31 on the formula reaches 0; the stream then keeps 1 ms.
int invaderInterval(int level);

// "Level:3  --- 980msec/character"
std::string invaderSpeedText(int level);

inline constexpr std::uint32_t kGaugeGrey = 0x808080;
inline constexpr std::uint32_t kGaugeSilver = 0xC0C0C0;
inline constexpr std::uint32_t kGaugeLime = 0x00FF00;
inline constexpr std::uint32_t kGaugeYellow = 0xFFFF00;
inline constexpr std::uint32_t kGaugeRed = 0xFF0000;

// What the power panel shows.
struct InvaderGauges {
    int LimitBar = 120;  // 0..120: room left for letters
    std::uint32_t limitColor = kGaugeGrey;
    int PowerBar = 0;  // 0..255
    std::uint32_t powerColor = kGaugeGrey;
    std::array<std::uint32_t, 3> lampColor{kGaugeGrey, kGaugeGrey, kGaugeGrey};  // lblLV1..3
};

class InvaderGame : public InvaderRules {
public:
    static constexpr int kLimitStep = 3;
    static constexpr int kOverflow = 41;  // letters on the line that end the game
    static constexpr int kBombCost = 85;

    // The level picker's choice: sets the typing window up for an invader session.
    void choose(TypingEngine& engine, int level);

    void start(TypingEngine& engine) override;
    void hit(TypingEngine& engine) override;
    void backspace(TypingEngine& engine) override;
    void letterTimer(TypingEngine& engine) override;

    const InvaderGauges& gauges() const { return gauges_; }

    // The power gauge's colour and lamps from its position.
    void RestoreBar();
    // Power, held within 0..255.
    void setPower(int position);

private:
    InvaderGauges gauges_;
};

}  // namespace keyrook
