#include "reflex/ref_file.h"

#include <vector>

#include "base/files.h"
#include "typing/scoring.h"

namespace keyrook {
namespace {

constexpr std::size_t kFlags = 6;

bool isFlagsLine(std::string_view line) {
    if (line.size() != kFlags) return false;
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
    return withChecksum(std::move(line));
}

std::array<bool, 6> clearMarksOf(std::string_view head) {
    std::array<bool, 6> marks{};
    const std::string_view first = head.substr(0, head.find_first_of(std::string_view("\r\n\0", 3)));
    if (!isFlagsLine(first)) return marks;
    for (std::size_t i = 0; i < kFlags; ++i) marks[i] = first[i] == '1';
    return marks;
}

std::array<bool, 6> readClearMarks(const std::string& path) {
    if (!fileExists(path)) return {};
    // One byte more than the flags: a longer first line is no flags line.
    return clearMarksOf(loadStringFromFileLimit(path, kFlags + 1, Links::Refuse));
}

std::optional<std::string> reflexTextWithRecord(std::string_view text, std::string_view recordLine,
                                                int level, bool cleared) {
    // Lines end at a NUL byte, so rewriting such a text would drop everything after it.
    if (text.find('\0') != std::string_view::npos) return std::nullopt;
    std::vector<std::string> lines = splitLines(text);
    if (lines.empty() || !isFlagsLine(lines.front()))
        lines.insert(lines.begin(), std::string(kFlags, '0'));
    lines.emplace_back(recordLine);
    if (cleared && level >= 1 && level <= static_cast<int>(kFlags))
        lines.front()[static_cast<std::size_t>(level - 1)] = '1';
    return joinLinesCrLf(lines);
}

void storeReflexRecord(const std::string& path, std::string_view recordLine, int level,
                       bool cleared) {
    // Flags and records as they are on disk now, under the lock: another program's game stored
    // since this one started is kept.
    updateFile(path, [&](const std::optional<std::string>& now) {
        auto text = reflexTextWithRecord(now.value_or(std::string()), recordLine, level, cleared);
        if (!text) throw FileError(path + "に壊れた部分があるため、記録を保存できません。");
        return *text;
    });
}

}  // namespace keyrook
