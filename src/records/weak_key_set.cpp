#include "records/weak_key_set.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_set>

#include "base/cp932.h"
#include "base/files.h"
#include "problemsets/kana_matcher.h"
#include "problemsets/problem_set.h"
#include "problemsets/romaji_decoder.h"

namespace keyrook {

namespace {

struct Candidate {
    std::string question;
    std::string answer;
    WeakKeyScore score;
};

// a denser than b: weighted / keystrokes compared without division.
bool denser(const WeakKeyScore& a, const WeakKeyScore& b) {
    return a.weighted * b.keystrokes > b.weighted * a.keystrokes;
}

}  // namespace

std::vector<WeakKey> weakSetKeys(const KeyAnalysis& analysis, std::size_t count) {
    std::vector<WeakKey> keys;
    for (std::size_t i = 0; i < analysis.weakest.size() && i < count; ++i) {
        const unsigned char key = analysis.weakest[i];
        const auto weight = static_cast<std::int64_t>(std::lround(keyWeakness(analysis, key) * 1000.0));
        keys.push_back({key, std::max<std::int64_t>(weight, 1)});
    }
    return keys;
}

WeakKeyScore weakKeyScore(std::string_view romaji, const std::vector<WeakKey>& keys) {
    std::array<std::int64_t, 256> weight{};
    for (const WeakKey& k : keys) weight[keyOf(k.key)] = k.weight;
    WeakKeyScore score;
    for (char c : romaji) score.weighted += weight[keyOf(static_cast<unsigned char>(c))];
    score.keystrokes = static_cast<std::int64_t>(romaji.size());
    return score;
}

std::string weakSetHeader(const std::vector<WeakKey>& keys) {
    std::string names;
    for (const WeakKey& k : keys) {
        if (!names.empty()) names += ' ';
        names += k.key == '/' ? cp932Of("／") : keyLabel(k.key);
    }
    return cp932Of("苦手ｷｰ: ") + names + "/Keyrook";
}

std::optional<std::string> buildWeakKeySet(const std::vector<std::string>& setFiles,
                                           const std::vector<WeakKey>& keys,
                                           const VariantTable& variants, std::size_t questions, bool kana) {
    std::vector<Candidate> candidates;
    KanaMatcher presses;
    auto typed = [&](const std::string& code) {
        if (!kana) return Changer(code, variants, false);
        presses.start(code);
        return presses.statBytes();
    };
    for (const std::string& file : setFiles) {
        std::vector<std::string> lines;
        try {
            lines = loadProblemSet(file);
        } catch (const FileError&) {
            continue;  // one unreadable or oversized set must not keep the others from being used
        }
        if (lines.empty() || parseHeader(lines[0]).plainReadings) continue;
        for (std::size_t i = 1; i + 1 < lines.size(); i += 2) {
            const WeakKeyScore score = weakKeyScore(typed(lines[i + 1]), keys);
            if (score.weighted > 0) candidates.push_back({lines[i], lines[i + 1], score});
        }
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return denser(a.score, b.score); });

    std::string text = weakSetHeader(keys) + "\r\n";
    std::unordered_set<std::string> taken;
    for (const Candidate& c : candidates) {
        if (taken.size() == questions) break;
        if (!taken.insert(c.question).second) continue;
        text += c.question + "\r\n" + c.answer + "\r\n";
    }
    if (taken.empty()) return std::nullopt;
    return text;
}

}  // namespace keyrook
