// The romaji of one question, matched key by key: what the typing session and the tool's
// "type" command judge keys with.
//
// Plain matching (the flexible option off, an English-type set, or a line the kana units
// cannot reproduce): the line is Changer's romaji with its first blank shown as "_", and each
// key must be its first character; an N before a consonant may be left out (single-n rule).
//
// Flexible matching: the answer line is split into kana units with the reading decoder's
// tables, and a key is a hit when some accepted spelling of the units still to type goes on
// with it (SHI for し while the line shows SI, CCHI, TTI or TCHI for っち, a lone N for ん
// before a consonant, N' for ん, the spellings input methods teach: WHA, KWA, THI...). A
// spelling counts for the kana it types even where the line codes them one by one (NYA for
// に and a separate ゃ). The line shown stays the user's chosen spellings, except for the unit being
// typed, which shows the spelling the player has begun.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "problemsets/variant_table.h"

namespace keyrook {

struct MatchOptions {
    bool flexible = false;   // accept every valid spelling (the settings' chkFlexible)
    bool lowerCase = false;  // show the line in lower case (chkLC); keys fold either way
};

enum class KeyJudgement { Ignored, Hit, Miss };

struct KeyResult {
    KeyJudgement judgement = KeyJudgement::Ignored;
    bool skippedN = false;  // single-n rule: an N was accepted without a key of its own (with
                            // flexible matching: a lone N for ん completed by this key)
};

class SpellingBook;

class RomajiMatcher {
public:
    RomajiMatcher();
    ~RomajiMatcher();
    RomajiMatcher(const RomajiMatcher&) = delete;
    RomajiMatcher& operator=(const RomajiMatcher&) = delete;

    // A new question: its answer line as stored in the set. plainReadings (an English-type
    // set) always matches plainly.
    void start(const std::string& code, const VariantTable& variants, bool plainReadings,
               MatchOptions options);

    // One key as the keyboard gives it. Ignored once the question is complete.
    KeyResult key(char key);

    // The romaji still to type, as shown (lblTyping); its first character is the one expected
    // next. Empty exactly when the question is complete.
    const std::string& remaining() const { return remaining_; }
    bool complete() const { return remaining_.empty(); }
    // This question is matched by kana units (flexible option on and the units reproduce the
    // line); false for plain matching.
    bool flexible() const { return flexible_; }
    // The byte count of the question's row: the line's length as first shown, or, for a
    // flexible question once complete, the romaji as typed.
    int rowBytes() const;

private:
    struct Unit;
    // How a state types its unit beyond following a spelling.
    enum class Way : std::uint8_t {
        Spelled,
        LoneN,  // ん as a single N: complete only before a fitting key
        Tch,    // っ as the T of Hepburn's TCH: what follows must begin with CH
    };
    struct State {
        int unit = -1;             // -1: before the first unit
        std::string_view spelling; // the spelling this state follows
        std::size_t pos = 0;       // characters of it typed
        Way way = Way::Spelled;
        bool loneN() const { return way == Way::LoneN; }
    };

    bool buildUnits(const std::string& code, const VariantTable& variants);
    KeyResult flexibleKey(char key);
    KeyResult plainKey(char key);
    // Whether key k goes on from the current states other than by completing a lone N.
    bool readsWithoutLoneN(char k) const;
    template <class Fn> void forEachSpelling(int unit, Fn&& fn) const;
    void enter(int unit, std::string_view need, char key, std::vector<State>& out) const;
    std::string_view needOf(const State& s) const;
    bool atEnd(const State& s) const;
    std::string_view spellingStartingWith(int unit, std::string_view start) const;
    void showBest();

    std::unique_ptr<SpellingBook> book_;
    std::vector<Unit> units_;
    std::string guide_;                  // the units' guides joined: the line at the start
    std::vector<std::size_t> guideFrom_; // where each unit's guide starts in guide_
    std::vector<bool> nullableFrom_;     // every unit from here on may be typed as nothing
    std::vector<State> states_, next_;
    std::string remaining_;
    MatchOptions options_;
    bool flexible_ = false;
    int typed_ = 0;
    int shownBytes_ = 0;
};

}  // namespace keyrook
