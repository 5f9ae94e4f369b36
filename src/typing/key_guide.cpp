#include "typing/key_guide.h"

#include <cstring>
#include <string_view>

#include "base/cp932.h"
#include "problemsets/kana_layout.h"
#include "typing/scoring.h"

namespace keyrook {

Finger fingerOf(char key) {
    if (key >= 'a' && key <= 'z') key = static_cast<char>(key - 'a' + 'A');
    struct Column {
        const char* keys;
        Finger finger;
    };
    static const Column columns[] = {
        {"1QAZ", Finger::LeftPinky},        {"2WSX", Finger::LeftRing},
        {"3EDC", Finger::LeftMiddle},       {"45RTFGVB", Finger::LeftIndex},
        {"67YUHJNM", Finger::RightIndex},   {"8IK,", Finger::RightMiddle},
        {"9OL.", Finger::RightRing},        {"_", Finger::Thumb},
    };
    for (const Column& c : columns)
        if (key != 0 && std::strchr(c.keys, key)) return c.finger;
    return Finger::RightPinky;  // 0, -, P, @, ;, :, / and the keys right of them
}

std::uint32_t fingerColor(Finger finger) {
    switch (finger) {
        case Finger::LeftPinky:
        case Finger::RightPinky: return 0xC060E0;
        case Finger::LeftRing:
        case Finger::RightRing: return 0x4080FF;
        case Finger::LeftMiddle:
        case Finger::RightMiddle: return 0x30C050;
        case Finger::LeftIndex:
        case Finger::RightIndex: return 0xF0A020;
        case Finger::Thumb: break;
    }
    return 0x909090;
}

namespace {

class RomajiGuide : public GuideTable {
public:
    std::optional<GuideKey> keyFor(char c) const override {
        if (c >= 'a' && c <= 'z') return GuideKey{static_cast<char>(c - 'a' + 'A'), false};
        if (c == ' ') c = '_';
        // Shifted signs of a JIS keyboard whose base key is on the picture.
        static const char shifted[][2] = {{'!', '1'}, {'"', '2'}, {'#', '3'}, {'$', '4'}, {'%', '5'},
                                          {'&', '6'}, {'\'', '7'}, {'(', '8'}, {')', '9'}, {'=', '-'},
                                          {'+', ';'}, {'*', ':'}, {'<', ','}, {'>', '.'}, {'?', '/'},
                                          {'`', '@'}};
        for (const auto& s : shifted)
            if (c == s[0]) return GuideKey{s[1], true};
        for (const std::string& row : guideRows())
            if (c != 0 && row.find(c) != std::string::npos) return GuideKey{c, false};
        return std::nullopt;
    }
    std::string legend(char key) const override {
        return key == '_' ? std::string() : std::string(1, key);
    }
};

// The JIS key tops of the kana layout's rows, column by column as kanaKeys() numbers them.
const char* const kKanaRows[] = {"1234567890-^|", "QWERTYUIOP@[", "ASDFGHJKL;:]", "ZXCVBNM,./\\", "_"};

char kanaGuideChar(const KanaKey& k) {
    if (k.row < 0 || k.row > 4) return 0;
    const std::string_view row = kKanaRows[k.row];
    return k.column >= 0 && static_cast<std::size_t>(k.column) < row.size() ? row[static_cast<std::size_t>(k.column)] : 0;
}

class KanaGuide : public GuideTable {
public:
    std::optional<GuideKey> keyFor(char c) const override {
        return kanaGuideKey(std::string(1, c));
    }
    std::string legend(char key) const override {
        for (const KanaKey& k : kanaKeys())
            if (kanaGuideChar(k) == key) return k.legend;
        return {};
    }
    const std::vector<std::string>& rows() const override {
        static const std::vector<std::string> rows(std::begin(kKanaRows), std::end(kKanaRows));
        return rows;
    }
};

}  // namespace

const std::vector<std::string>& GuideTable::rows() const { return guideRows(); }

const GuideTable& kanaGuide() {
    static const KanaGuide table;
    return table;
}

std::optional<GuideKey> kanaGuideKey(const std::string& cp932Notation) {
    if (cp932Notation.empty()) return std::nullopt;
    const KanaPress press = kanaPressOf(cp932Notation);
    const KanaKey* k = kanaKeyAt(press.code);
    const char key = k ? kanaGuideChar(*k) : 0;
    if (!key) return std::nullopt;
    return GuideKey{key, press.shift};
}

const GuideTable& romajiGuide() {
    static const RomajiGuide table;
    return table;
}

const std::vector<std::string>& guideRows() {
    static const std::vector<std::string> rows = {"1234567890-", "QWERTYUIOP@", "ASDFGHJKL;:", "ZXCVBNM,./",
                                                  "_"};
    return rows;
}

void LivePace::update(std::int64_t hitCount, std::uint32_t tick) {
    if (hitCount < lastCount_) reset();  // a new session
    if (lastCount_ == 0 && hitCount > 0) firstHit_ = tick;
    for (; lastCount_ < hitCount; ++lastCount_) hits_.push_back(tick);
    while (!hits_.empty() && tick - hits_.front() >= kPaceWindowMs) hits_.pop_front();
}

std::string LivePace::speedText(std::uint32_t now) const {
    const std::string unit = cp932Of(" 打/分");
    if (lastCount_ == 0) return "---" + unit;
    std::uint64_t count = 0;
    for (std::uint32_t t : hits_)
        if (now - t < kPaceWindowMs) ++count;
    std::uint32_t span = now - firstHit_;
    if (span > kPaceWindowMs) span = kPaceWindowMs;
    if (span < 1000) span = 1000;  // a second at least: no thousands from the first two keys
    return std::to_string(count * 60000u / span) + unit;
}

std::string accuracyText(std::int64_t hits, std::int64_t misses) {
    if (hits + misses <= 0) return "---";
    return formatFixed(static_cast<long double>(hits) * 100.0L / static_cast<long double>(hits + misses), 1) +
           " %";
}

}  // namespace keyrook
