// Per-key statistics files (with and without the keys pressed at misses), the weak-key
// analysis over them and the practice keys taken from it. Round trip: the counts of any
// stored session written as a line parse back to the same session.
#include "base/files.h"
#include "fuzz_check.h"
#include "records/key_analysis.h"
#include "records/weak_key_set.h"
#include "typing/key_stats.h"

using namespace keyrook;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = fuzzInput(data, size);
    const std::vector<StoredKeyStats> sessions = readKeyStats(text);
    FUZZ_CHECK(sessions.size() <= splitNonEmptyLines(text).size());
    for (KeyRange range : {KeyRange::Last10, KeyRange::Last50, KeyRange::All}) {
        const KeyAnalysis analysis = analyseKeyStats(sessions, rangeSessions(range));
        // The cells of the keys that occurred, and one that did not.
        keyCell(analysis, ' ');
        for (int key = 0; key < 256; ++key)
            if (analysis.keys[key].presses() > 0) keyCell(analysis, static_cast<unsigned char>(key));
        weakKeyRows(analysis, 10);
        rangeTotals(analysis);
        std::uint64_t confused = 0;
        for (const Confusion& c : confusionList(analysis)) {
            FUZZ_CHECK(c.count > 0);
            confused += c.count;
            confusionText(c);
        }
        FUZZ_CHECK(confused <= analysis.total.misses);
        // The weakest keys all have a miss; the practice keys weigh the weakest most.
        for (unsigned char key : analysis.weakest) FUZZ_CHECK(analysis.keys[key].misses > 0);
        const std::vector<WeakKey> keys = weakSetKeys(analysis);
        for (std::size_t i = 1; i < keys.size(); ++i) FUZZ_CHECK(keys[i].weight <= keys[i - 1].weight);
        weakSetHeader(keys);
    }
    std::size_t checked = 0;
    for (const StoredKeyStats& s : sessions) {
        if (checked++ == 8) break;
        KeyCounts counts{};
        std::vector<KeyEntry> kept;
        for (const KeyEntry& e : s.entries) {
            counts[e.key] = e.count;
            if (!e.count.empty()) kept.push_back(e);
        }
        const auto back = parseKeyStatsLine(keyStatsLine(s.date, s.title, counts));
        FUZZ_CHECK(back && back->date == s.date && back->title == s.title);
        FUZZ_CHECK(back->entries.size() == kept.size());
        for (std::size_t i = 0; i < kept.size(); ++i) {
            const KeyCount& a = back->entries[i].count;
            const KeyCount& b = kept[i].count;
            FUZZ_CHECK(back->entries[i].key == kept[i].key && a.hits == b.hits &&
                       a.misses == b.misses && a.intervalSum == b.intervalSum &&
                       a.intervalCount == b.intervalCount && a.confusions == b.confusions);
        }
    }
    return 0;
}
