// The presses of one question on the JIS kana layout, matched press by press: what a practice
// session in kana input and the tool's "type --kana" judge presses with.
//
// The reading is the reading decoder's. Each of its characters is typed with the key whose
// legend it is; a voiced kana is its base kana and ゛ (が = か ゛, ゔ = う ゛), a semi-voiced one its
// base and ゜; small kana, っ, を and 、。・「」 are shifted keys; full-width digits, ！ and ？ their
// ASCII keys; the blank the space bar. A press is a hit when it types the next press due;
// anything else is a miss and nothing advances.
#pragma once

#include <string>
#include <vector>

#include "problemsets/kana_layout.h"
#include "problemsets/romaji_matcher.h"

namespace keyrook {

class KanaMatcher {
public:
    // A new question: its answer line as stored in the set (a romanization code string).
    void start(const std::string& code);

    // One press. Ignored once the question is complete.
    KeyJudgement press(KanaPress press);

    // The next press due (one character of the press notation, CP932: a legend, ゛, ゜, ー, a
    // digit, ! or ?, or " " for the space bar); empty when complete.
    const std::string& due() const;
    // The presses still due in the press notation, the space bar as "_" (か゛っこう).
    std::string remainingPresses() const;
    // What is still to type as the player reads it (がっこう; ゛っこう once its か is typed; the
    // blank as "_").
    std::string remainingText() const;
    bool complete() const { return unit_ >= units_.size(); }
    // The presses of the whole question.
    int presses() const { return presses_; }
    // The key statistics byte of every press of the question, in order (see kanaStatByte).
    std::string statBytes() const;

private:
    struct Unit {
        std::string text;                  // the reading's character (CP932)
        std::vector<std::string> presses;  // notations
    };

    std::vector<Unit> units_;
    std::size_t unit_ = 0;   // the unit being typed
    std::size_t press_ = 0;  // presses of it done
    int presses_ = 0;
};

}  // namespace keyrook
