// The keyboard guide under the typing window: which key the next character of the romaji line
// is typed with, the finger that types it, and the live pace of the session.
//
// The keys are named by the character of their key top in the guide's rows (upper-case letter,
// digit or sign, "_" for the space bar), whatever layout the characters come from: a guide for
// another input (kana) supplies its own GuideTable and keeps the rows, fingers and colours.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace keyrook {

enum class Finger { LeftPinky, LeftRing, LeftMiddle, LeftIndex, Thumb, RightIndex, RightMiddle, RightRing, RightPinky };

// Standard touch-typing fingering of a key of the guide's rows; the thumbs take the space bar.
Finger fingerOf(char key);
// The colour of a finger as 0xRRGGBB: the same finger of either hand has the same colour.
std::uint32_t fingerColor(Finger finger);

// A key to press: its key top and whether Shift is held for it.
struct GuideKey {
    char key = 0;
    bool shift = false;
    bool operator==(const GuideKey&) const = default;
};

// How the characters of a line are typed and what the key tops show.
class GuideTable {
public:
    virtual ~GuideTable() = default;
    // The key for a character of the line; nullopt for one the picture has no key for.
    virtual std::optional<GuideKey> keyFor(char c) const = 0;
    // The legend of a key top (CP932).
    virtual std::string legend(char key) const = 0;
    // The rows of key tops the picture shows, left to right (the last is the space bar).
    virtual const std::vector<std::string>& rows() const;
};

// Romaji input on a JIS keyboard: letters in either case unshifted, "_" the space bar, the
// signs of the code alphabet on their keys ("!" and "?" with Shift).
const GuideTable& romajiGuide();

// Kana input on the JIS kana layout. Its keys are named by their JIS key tops ('|' for the ¥ key,
// '\\' for the ろ key), its legends are the kana; keyFor takes the ASCII keys of the line (digits,
// ! and ?) and the blank.
const GuideTable& kanaGuide();
// The key and Shift of the next kana press due (press notation, CP932); nullopt for none.
std::optional<GuideKey> kanaGuideKey(const std::string& cp932Notation);

// The rows of the romaji guide's picture, left to right (the last row is the space bar). Home-row
// marks go on F and J.
const std::vector<std::string>& guideRows();

// Keys per minute over the last kPaceWindowMs of hits (over the time since the first hit
// while that is shorter), and the session's accuracy.
inline constexpr std::uint32_t kPaceWindowMs = 10000;
class LivePace {
public:
    void reset() {
        hits_.clear();
        lastCount_ = 0;
    }
    // The session's hit count as it stands at tick: new hits are taken at that tick.
    void update(std::int64_t hitCount, std::uint32_t tick);
    // "312 打/分" (CP932); "--- 打/分" before the first hit.
    std::string speedText(std::uint32_t now) const;

private:
    std::deque<std::uint32_t> hits_;  // within the window
    std::uint32_t firstHit_ = 0;      // of the session
    std::int64_t lastCount_ = 0;
};

// "97.3 %" of hits among hits and misses; "---" before any.
std::string accuracyText(std::int64_t hits, std::int64_t misses);

}  // namespace keyrook
