#include "problemsets/maker_readings.h"

#include <algorithm>

#include "base/cp932.h"
#include "problemsets/maker_engine.h"

namespace keyrook {
namespace {

// One character of a UTF-8 line: its text and its index among the line's characters.
template <class F>
void eachCharacter(const std::string& line, F f) {
    int index = 0;
    for (std::size_t i = 0; i < line.size(); ++index) {
        auto c = static_cast<unsigned char>(line[i]);
        std::size_t n = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 1;
        n = std::min(n, line.size() - i);
        f(std::string_view(line).substr(i, n), index);
        i += n;
    }
}

std::u32string_view::value_type codePoint(std::string_view c) {
    auto b = [&](std::size_t k) { return static_cast<char32_t>(static_cast<unsigned char>(c[k])); };
    switch (c.size()) {
        case 2: return (b(0) & 0x1F) << 6 | (b(1) & 0x3F);
        case 3: return (b(0) & 0x0F) << 12 | (b(1) & 0x3F) << 6 | (b(2) & 0x3F);
        case 4: return (b(0) & 0x07) << 18 | (b(1) & 0x3F) << 12 | (b(2) & 0x3F) << 6 | (b(3) & 0x3F);
        default: return b(0);
    }
}

// CP932 of a text for an entry; a character CP932 lacks shows as "〓".
std::string entryText(const std::string& utf8) {
    if (auto whole = utf8ToCp932(utf8)) return *whole;
    std::string out;
    eachCharacter(utf8, [&](std::string_view c, int) { out += utf8ToCp932(c).value_or(cp932Of("〓")); });
    return out;
}

std::string lineHead(int row) { return cp932Of("[確認] ") + std::to_string(row + 1) + cp932Of("行目"); }

std::string placeHead(int row, const std::string& line, int charIndex) {
    return lineHead(row) + " " + std::to_string(cp932Column(line, charIndex)) + cp932Of("桁目 ");
}

bool isBlank(std::string_view c) { return c == " " || c == "\t" || c == "　"; }

}  // namespace

bool readingIsEmpty(const std::string& line) {
    bool empty = true;
    eachCharacter(line, [&](std::string_view c, int) { empty = empty && isBlank(c); });
    return empty;
}

std::vector<LineEdit> readingFills(const std::vector<std::string>& lines, ReadingSuggester& suggester,
                                   std::optional<RowRange> rows) {
    std::vector<LineEdit> edits;
    const int count = static_cast<int>(lines.size());
    for (int q = 0; q < count; q += 2) {
        const bool hasReading = q + 1 < count;
        if (rows) {
            if (rows->last < q || rows->first > q + 1) continue;
        } else if (hasReading && !readingIsEmpty(lines[static_cast<std::size_t>(q + 1)])) {
            continue;
        }
        const std::string& question = lines[static_cast<std::size_t>(q)];
        if (readingIsEmpty(question)) continue;
        std::string reading = suggester.suggest(question);
        if (hasReading && reading == lines[static_cast<std::size_t>(q + 1)]) continue;
        edits.push_back({q + 1, std::move(reading)});
    }
    return edits;
}

std::vector<std::string> readingPitfalls(const std::vector<std::string>& lines) {
    std::vector<std::string> entries;
    for (std::size_t r = 1; r < lines.size(); r += 2) {
        const std::string& line = lines[r];
        const int row = static_cast<int>(r);
        int katakana = -1, bracket = -1, kanji = -1, vu = -1;
        eachCharacter(line, [&](std::string_view c, int index) {
            const char32_t cp = codePoint(c);
            auto first = [index](int& at) {
                if (at < 0) at = index;
            };
            if (cp == U'ゔ') first(vu);
            else if ((cp >= U'ァ' && cp <= U'ヶ') || (cp >= U'ｦ' && cp <= U'ﾝ' && cp != U'ｰ')) first(katakana);
            else if (cp == U'「' || cp == U'」') first(bracket);
            else if ((cp >= 0x4E00 && cp <= 0x9FFF) || cp == U'々') first(kanji);
        });
        if (katakana >= 0)
            entries.push_back(placeHead(row, line, katakana) +
                              cp932Of("読みにカタカナがあります。カタカナは入力されないので、ひらがなで書いて下さい。"));
        if (bracket >= 0)
            entries.push_back(placeHead(row, line, bracket) +
                              cp932Of("読みの「」は変換で取り除かれ、入力されません。"));
        if (kanji >= 0)
            entries.push_back(placeHead(row, line, kanji) +
                              cp932Of("読みに漢字があります。問題と読みの行がずれている可能性があります。"));
        if (vu >= 0)
            entries.push_back(placeHead(row, line, vu) + cp932Of("ひらがなの「ヴ」は使えません。「う゛」と書いて下さい。"));
    }
    return entries;
}

namespace {

std::string mismatchEntry(int row, const std::string& reading, const std::string& suggested) {
    return lineHead(row) + cp932Of("の読み「") + entryText(reading) + cp932Of("」は解析結果「") +
           entryText(suggested) + cp932Of("」と異なります");
}

bool skipped(const std::vector<LineEdit>& skipping, int row) {
    return std::any_of(skipping.begin(), skipping.end(), [row](const LineEdit& e) { return e.row == row; });
}

}  // namespace

std::vector<std::string> readingMismatches(const std::vector<std::string>& lines, ReadingSuggester& suggester,
                                           const std::vector<LineEdit>& skipping) {
    std::vector<std::string> entries;
    for (std::size_t r = 1; r < lines.size(); r += 2) {
        const int row = static_cast<int>(r);
        if (readingIsEmpty(lines[r]) || readingIsEmpty(lines[r - 1]) || skipped(skipping, row)) continue;
        const std::string suggested = suggester.suggest(lines[r - 1]);
        if (suggested != lines[r]) entries.push_back(mismatchEntry(row, lines[r], suggested));
    }
    return entries;
}

std::vector<std::string> readingAdvice(const std::vector<std::string>& lines, ReadingSuggester* suggester,
                                       const std::vector<LineEdit>& skipping) {
    std::vector<std::string> entries = readingPitfalls(lines);
    if (suggester) {
        std::vector<std::string> mismatches = readingMismatches(lines, *suggester, skipping);
        entries.insert(entries.end(), mismatches.begin(), mismatches.end());
        // Editor order: by line number, a line's pitfalls before its difference.
        std::stable_sort(entries.begin(), entries.end(), [](const std::string& a, const std::string& b) {
            return entryPosition(a).value_or(EntryPosition{}).line < entryPosition(b).value_or(EntryPosition{}).line;
        });
    }
    return entries;
}

bool isMismatchEntry(const std::string& entry) {
    static const std::string mark = cp932Of("」は解析結果「");
    return entry.starts_with(cp932Of("[確認] ")) && entry.find(mark) != std::string::npos;
}

std::string unencodableLineMessage(int row, const std::string& utf8Line) {
    const std::string line = std::to_string(row + 1) + "行目";
    if (utf8Line.find("ゔ") != std::string::npos)
        return line + "の「ゔ」はShift-JISで表せません。「う゛」と書いて下さい。";
    return line + "にShift-JISで表せない文字があります。";
}

}  // namespace keyrook
