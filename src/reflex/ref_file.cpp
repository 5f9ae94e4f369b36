#include "reflex/ref_file.h"

#include <vector>

#include "base/files.h"
#include "typing/scoring.h"

namespace keyrook {
namespace {

constexpr std::size_t kFlags = 6;

bool isFlagsLine(std::string_view line) {
    if (line.size() > kFlags) return false;
    for (char c : line)
        if (c != '0' && c != '1') return false;
    return true;
}

}  // namespace

std::string reflexRecordLine(int level, int score, std::string_view hits, std::string_view dealt,
                             std::string_view mistypes, std::string_view mean) {
    std::string line = std::to_string(level) + "," + std::to_string(score);
    for (std::string_view field : {hits, dealt, mistypes, mean}) {
        line += ",";
        line += field;
    }
    return line + "," + std::to_string(Checksum(line));
}

std::array<bool, 6> readClearMarks(const std::string& path) {
    std::array<bool, 6> marks{};
    if (!fileExists(path)) return marks;
    const std::string head = loadStringFromFileLimit(path, kFlags);
    if (head.size() < kFlags) return marks;
    for (std::size_t i = 0; i < kFlags; ++i) marks[i] = head[i] == '1';
    return marks;
}

void storeReflexRecord(const std::string& path, std::string_view recordLine, int level,
                       bool cleared) {
    std::vector<std::string> lines;
    if (fileExists(path)) {
        const std::string text = loadStringFromFile(path);
        // Lines end at a NUL byte, so rewriting such a file would drop everything after it.
        if (text.find('\0') != std::string::npos)
            throw FileError(path + "に壊れた部分があるため、記録を保存できません。");
        lines = splitLines(text);
    }
    // A short flags line is padded; anything else keeps its place below a new flags line, so
    // no stored game is lost.
    if (lines.empty() || !isFlagsLine(lines.front()))
        lines.insert(lines.begin(), std::string(kFlags, '0'));
    else
        lines.front().resize(kFlags, '0');
    lines.emplace_back(recordLine);
    if (cleared && level >= 1 && level <= static_cast<int>(kFlags))
        lines.front()[static_cast<std::size_t>(level - 1)] = '1';
    saveStringToFile(path, joinLinesCrLf(lines));
}

}  // namespace keyrook
