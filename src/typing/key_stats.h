// Per-key statistics of practice sessions and their file "user/<name>.kst".
//
// While a session runs, KeyStatsCounter is told of every key the session judges: the expected
// character, hit or miss (with the key pressed instead), and the tick. It keeps per character
// the hits, the misses, the keys pressed at its misses and the intervals between consecutive
// hits of one question. When the session is stored, one line is appended to the user's .kst
// file:
//
//   <date>,<title>,<entries>,<checksum>
//
// date and title as in the record line; entries "HH=hits/misses/interval_sum/interval_count"
// joined by ";" in ascending byte order (HH the character's byte in upper-case hex); the
// checksum is Checksum of the text before the last comma. CP932, CR LF.
//
// An entry whose misses recorded the key pressed carries them as a fifth field: "PPxN" for
// key byte PP (upper-case hex) pressed N times, joined by ":" in ascending byte order, e.g.
// "52=12/3/2400/11/54x2:59x1" (R due, T pressed twice and Y once). Lines written before the
// field existed have none and read as they always did; the counts of the field never add up
// to more than the entry's misses.
//
// An interval is measured only between two hits typed on without a break: the first hit of a
// question, the hit after a miss and the first hit after a pause have none.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace keyrook {

// The keys pressed at the misses of one character: key byte to count.
using Confusions = std::map<unsigned char, std::uint64_t>;

struct KeyCount {
    std::uint64_t hits = 0;
    std::uint64_t misses = 0;
    std::uint64_t intervalSum = 0;    // ms between a hit and the previous hit of its question
    std::uint64_t intervalCount = 0;  // hits that have such an interval
    Confusions confusions = {};       // at the misses that recorded the key pressed

    std::uint64_t presses() const { return hits + misses; }
    bool empty() const { return hits == 0 && misses == 0 && intervalCount == 0; }
    KeyCount& operator+=(const KeyCount& o) {
        hits += o.hits;
        misses += o.misses;
        intervalSum += o.intervalSum;
        intervalCount += o.intervalCount;
        for (const auto& [key, n] : o.confusions) confusions[key] += n;
        return *this;
    }
};

// Indexed by the character's byte.
using KeyCounts = std::array<KeyCount, 256>;

// The counting of one session.
class KeyStatsCounter {
public:
    // A new session: everything counted so far goes.
    void reset();
    // A new question appeared: its first hit has no interval.
    void newQuestion() { lastHitValid_ = false; }
    // A break in the typing (a pause, a miss within the miss guard): the next hit has no
    // interval.
    void interrupt() { lastHitValid_ = false; }
    // A hit, counted for the key typed; a to z count as A to Z.
    void hit(char key, std::uint32_t tick);
    // A counted miss: expected is the first character still to type, pressed the key pressed
    // instead (a to z count as A to Z for both). The next hit has no interval.
    void miss(char expected, char pressed);

    const KeyCounts& counts() const { return counts_; }
    bool empty() const;

private:
    KeyCounts counts_{};
    bool lastHitValid_ = false;
    std::uint32_t lastHit_ = 0;
};

// The entries field of a line: "41=52/3/9870/40/53x2:57x1;4B=20/0/4120/18".
std::string keyStatsEntries(const KeyCounts& counts);

// A whole line without its CR LF: date and title as they stand in the record line.
std::string keyStatsLine(std::string_view date, std::string_view title, const KeyCounts& counts);

// One stored session: the characters that occurred, in ascending byte order.
struct KeyEntry {
    unsigned char key = 0;
    KeyCount count;
};
struct StoredKeyStats {
    std::string date;   // CP932, as in the record line
    std::string title;  // CP932
    std::vector<KeyEntry> entries;
};

// nullopt for a line whose checksum does not match or that does not parse.
std::optional<StoredKeyStats> parseKeyStatsLine(std::string_view line);

// Every readable session of a file's text, oldest first. Damaged lines are skipped; a run of
// NUL bytes (left by a crash during an append) separates lines, so the sessions after it are
// read as well.
std::vector<StoredKeyStats> readKeyStats(std::string_view fileText);

// Appends one line with CR LF to the file, creating it when missing.
void appendKeyStats(const std::string& path, std::string_view line);

}  // namespace keyrook
