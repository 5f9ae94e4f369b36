#include "records/weak_key_set.h"

#include <algorithm>
#include <array>
#include <unordered_set>

#include "base/cp932.h"
#include "base/files.h"
#include "problemsets/kana_matcher.h"
#include "problemsets/problem_set.h"
#include "problemsets/romaji_decoder.h"
#include "records/key_analysis.h"

namespace keyrook {

namespace {

struct Candidate {
    std::string question;
    std::string answer;
    int score = 0;
};

}  // namespace

int weakKeyScore(std::string_view romaji, const std::vector<unsigned char>& keys) {
    std::array<bool, 256> weak{};
    for (unsigned char k : keys) weak[keyOf(k)] = true;
    int score = 0;
    for (char c : romaji) score += weak[keyOf(static_cast<unsigned char>(c))] ? 1 : 0;
    return score;
}

std::string weakSetHeader(const std::vector<unsigned char>& keys) {
    std::string names;
    for (unsigned char k : keys) {
        if (!names.empty()) names += ' ';
        names += k == '/' ? cp932Of("／") : keyLabel(k);
    }
    return cp932Of("苦手ｷｰ: ") + names + "/Keyrook";
}

std::optional<std::string> buildWeakKeySet(const std::vector<std::string>& setFiles,
                                           const std::vector<unsigned char>& keys,
                                           const VariantTable& variants, bool kana) {
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
            const int score = weakKeyScore(typed(lines[i + 1]), keys);
            if (score > 0) candidates.push_back({lines[i], lines[i + 1], score});
        }
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.score > b.score; });

    std::string text = weakSetHeader(keys) + "\r\n";
    std::unordered_set<std::string> taken;
    for (const Candidate& c : candidates) {
        if (taken.size() == kWeakSetQuestions) break;
        if (!taken.insert(c.question).second) continue;
        text += c.question + "\r\n" + c.answer + "\r\n";
    }
    if (taken.empty()) return std::nullopt;
    return text;
}

}  // namespace keyrook
