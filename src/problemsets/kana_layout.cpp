#include "problemsets/kana_layout.h"

#include <array>

#include "base/cp932.h"

namespace keyrook {
namespace {

struct KeySource {
    int code;
    const char* legend;   // UTF-8
    const char* shifted;  // UTF-8 or ""
    char ascii;
    char shiftedAscii;
};

// Row by row, left to right.
constexpr KeySource kDigits[] = {
    {2, "ぬ", "", '1', '!'},  {3, "ふ", "", '2', 0},     {4, "あ", "ぁ", '3', 0},
    {5, "う", "ぅ", '4', 0},  {6, "え", "ぇ", '5', 0},   {7, "お", "ぉ", '6', 0},
    {8, "や", "ゃ", '7', 0},  {9, "ゆ", "ゅ", '8', 0},   {10, "よ", "ょ", '9', 0},
    {11, "わ", "を", '0', 0}, {12, "ほ", "", 0, 0},      {13, "へ", "", 0, 0},
    {kKanaCodeYen, "ー", "", 0, 0},
};
constexpr KeySource kUpper[] = {
    {16, "た", "", 0, 0}, {17, "て", "", 0, 0},   {18, "い", "ぃ", 0, 0}, {19, "す", "", 0, 0},
    {20, "か", "", 0, 0}, {21, "ん", "", 0, 0},   {22, "な", "", 0, 0},   {23, "に", "", 0, 0},
    {24, "ら", "", 0, 0}, {25, "せ", "", 0, 0},   {26, "゛", "", 0, 0},   {27, "゜", "「", 0, 0},
};
constexpr KeySource kHome[] = {
    {30, "ち", "", 0, 0}, {31, "と", "", 0, 0}, {32, "し", "", 0, 0}, {33, "は", "", 0, 0},
    {34, "き", "", 0, 0}, {35, "く", "", 0, 0}, {36, "ま", "", 0, 0}, {37, "の", "", 0, 0},
    {38, "り", "", 0, 0}, {39, "れ", "", 0, 0}, {40, "け", "", 0, 0}, {43, "む", "」", 0, 0},
};
constexpr KeySource kLower[] = {
    {44, "つ", "っ", 0, 0}, {45, "さ", "", 0, 0},   {46, "そ", "", 0, 0},   {47, "ひ", "", 0, 0},
    {48, "こ", "", 0, 0},   {49, "み", "", 0, 0},   {50, "も", "", 0, 0},   {51, "ね", "、", 0, 0},
    {52, "る", "。", 0, 0}, {53, "め", "・", 0, '?'}, {kKanaCodeRo, "ろ", "", 0, 0},
};

// Legend (UTF-8) and the half-width byte its statistics count under.
struct StatSource {
    const char* legend;
    const char* halfWidth;
};
constexpr StatSource kStatBytes[] = {
    {"ぬ", "ﾇ"}, {"ふ", "ﾌ"}, {"あ", "ｱ"}, {"う", "ｳ"}, {"え", "ｴ"}, {"お", "ｵ"}, {"や", "ﾔ"},
    {"ゆ", "ﾕ"}, {"よ", "ﾖ"}, {"わ", "ﾜ"}, {"ほ", "ﾎ"}, {"へ", "ﾍ"}, {"ー", "ｰ"}, {"た", "ﾀ"},
    {"て", "ﾃ"}, {"い", "ｲ"}, {"す", "ｽ"}, {"か", "ｶ"}, {"ん", "ﾝ"}, {"な", "ﾅ"}, {"に", "ﾆ"},
    {"ら", "ﾗ"}, {"せ", "ｾ"}, {"゛", "ﾞ"}, {"゜", "ﾟ"}, {"ち", "ﾁ"}, {"と", "ﾄ"}, {"し", "ｼ"},
    {"は", "ﾊ"}, {"き", "ｷ"}, {"く", "ｸ"}, {"ま", "ﾏ"}, {"の", "ﾉ"}, {"り", "ﾘ"}, {"れ", "ﾚ"},
    {"け", "ｹ"}, {"む", "ﾑ"}, {"つ", "ﾂ"}, {"さ", "ｻ"}, {"そ", "ｿ"}, {"ひ", "ﾋ"}, {"こ", "ｺ"},
    {"み", "ﾐ"}, {"も", "ﾓ"}, {"ね", "ﾈ"}, {"る", "ﾙ"}, {"め", "ﾒ"}, {"ろ", "ﾛ"}, {"ぁ", "ｧ"},
    {"ぃ", "ｨ"}, {"ぅ", "ｩ"}, {"ぇ", "ｪ"}, {"ぉ", "ｫ"}, {"ゃ", "ｬ"}, {"ゅ", "ｭ"}, {"ょ", "ｮ"},
    {"っ", "ｯ"}, {"を", "ｦ"}, {"、", "､"}, {"。", "｡"}, {"・", "･"}, {"「", "｢"}, {"」", "｣"},
};

struct Layout {
    std::vector<KanaKey> keys;
    std::array<int, 256> index{};  // position -> keys index + 1
    std::string ro, longVowel;     // CP932 legends of the ANSI stand-in
    std::vector<std::pair<std::string, unsigned char>> stats;  // CP932 legend -> byte

    Layout() {
        const auto addRow = [this](int row, const auto& sources) {
            int column = 0;
            for (const KeySource& s : sources) {
                KanaKey k;
                k.code = s.code;
                k.row = row;
                k.column = column++;
                k.legend = cp932Of(s.legend);
                k.shifted = cp932Of(s.shifted);
                k.ascii = s.ascii;
                k.shiftedAscii = s.shiftedAscii;
                keys.push_back(std::move(k));
                index[static_cast<std::size_t>(s.code)] = static_cast<int>(keys.size());
            }
        };
        addRow(0, kDigits);
        addRow(1, kUpper);
        addRow(2, kHome);
        addRow(3, kLower);
        KanaKey space;
        space.code = kKanaCodeSpace;
        space.row = 4;
        space.ascii = ' ';
        keys.push_back(space);
        index[kKanaCodeSpace] = static_cast<int>(keys.size());
        ro = cp932Of("ろ");
        longVowel = cp932Of("ー");
        for (const StatSource& s : kStatBytes)
            stats.emplace_back(cp932Of(s.legend),
                               static_cast<unsigned char>(cp932Of(s.halfWidth).at(0)));
    }
};

const Layout& layout() {
    static const Layout l;
    return l;
}

bool isSpaceNotation(const std::string& n) { return n == " " || n == "_"; }

}  // namespace

const std::vector<KanaKey>& kanaKeys() { return layout().keys; }

const KanaKey* kanaKeyAt(int code) {
    if (code <= 0 || code >= 256) return nullptr;
    const int i = layout().index[static_cast<std::size_t>(code)];
    return i == 0 ? nullptr : &layout().keys[static_cast<std::size_t>(i - 1)];
}

bool kanaPressTypes(KanaPress press, const std::string& n) {
    if (n.empty()) return false;
    if (press.code == kKanaCodeSpace) return isSpaceNotation(n);  // Shift or not
    if (press.code == kKanaCodeGrave) return n == (press.shift ? layout().longVowel : layout().ro);
    const KanaKey* k = kanaKeyAt(press.code);
    if (!k) return false;
    if (press.shift)
        return (!k->shifted.empty() && n == k->shifted) ||
               (k->shiftedAscii != 0 && n == std::string(1, k->shiftedAscii));
    return n == k->legend || (k->ascii != 0 && n == std::string(1, k->ascii));
}

std::string kanaTypedBy(KanaPress press) {
    if (press.code == kKanaCodeSpace) return " ";
    if (press.code == kKanaCodeGrave) return press.shift ? layout().longVowel : layout().ro;
    const KanaKey* k = kanaKeyAt(press.code);
    if (!k) return {};
    if (!press.shift) return k->legend;
    if (!k->shifted.empty()) return k->shifted;
    return k->shiftedAscii ? std::string(1, k->shiftedAscii) : std::string();
}

KanaPress kanaPressOf(const std::string& n) {
    if (isSpaceNotation(n)) return {kKanaCodeSpace, false};
    if (n.empty()) return {};
    for (const KanaKey& k : kanaKeys()) {
        if (k.code == kKanaCodeSpace) continue;
        if (n == k.legend) return {k.code, false};
        if (!k.shifted.empty() && n == k.shifted) return {k.code, true};
        if (n.size() == 1 && k.ascii != 0 && n[0] == k.ascii) return {k.code, false};
        if (n.size() == 1 && k.shiftedAscii != 0 && n[0] == k.shiftedAscii) return {k.code, true};
    }
    return {};
}

unsigned char kanaStatByte(const std::string& n) {
    if (isSpaceNotation(n)) return '_';
    if (n.size() == 1) {
        const char c = n[0];
        return (c >= '0' && c <= '9') || c == '!' || c == '?' ? static_cast<unsigned char>(c) : 0;
    }
    for (const auto& [legend, byte] : layout().stats)
        if (legend == n) return byte;
    return 0;
}

}  // namespace keyrook
