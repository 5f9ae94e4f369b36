#include "problemsets/maker_convert.h"

#include <cmath>

#include "base/cp932.h"
#include "base/files.h"
#include "base/text.h"
#include "problemsets/problem_set.h"

namespace keyrook {
namespace {

const std::string& fatalEntry() {
    static const std::string s = cp932Of("[致命的エラー] ローマ字タイプの問題集と英文字タイプの問題集の混同");
    return s;
}

std::string warningEntry(std::size_t row, std::size_t column) {
    static const std::string head = cp932Of("[警告] ");
    static const std::string lineMark = cp932Of("行目 ");
    static const std::string tail = cp932Of("桁目で半角文字が見つかりました。全角文字で書いて下さい。");
    return head + std::to_string(row + 1) + lineMark + std::to_string(column) + tail;
}

std::string cannotCreateEntry(const std::string& pathText) {
    static const std::string head = cp932Of("[エラー] 「");
    static const std::string tail = cp932Of("」は作成できませんでした。");
    return head + pathText + tail;
}

bool hasLeadByte(const std::string& line) {
    for (char c : line)
        if (isLeadByte(static_cast<unsigned char>(c))) return true;
    return false;
}

// Byte offset of needle in a CP932 text, matching only at character starts (a trail byte can
// look like a lead byte or a letter).
std::size_t findCp932(const std::string& text, const std::string& needle, std::size_t from = 0) {
    for (std::size_t i = from; i + needle.size() <= text.size();) {
        if (text.compare(i, needle.size(), needle) == 0) return i;
        i += isLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    }
    return std::string::npos;
}

}  // namespace

RomanCheck checkRomanLines(const std::vector<std::string>& lines, const ProgressFn& progress) {
    RomanCheck check;
    std::size_t total = 0;
    for (const auto& l : lines) total += l.size() + 2;
    std::size_t done = 0;
    // Each position once: a large set has far more lines than the bar has positions.
    int shown = -1;
    auto report = [&](int percent) {
        if (!progress || percent == shown) return;
        shown = percent;
        progress(percent);
    };
    report(0);
    for (std::size_t r = 1; r < lines.size(); r += 2) {
        const std::string& line = lines[r];
        if (r == 1 && !hasLeadByte(line)) {
            check.entries.push_back(fatalEntry());
            check.fatal = true;
            return check;
        }
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (isLeadByte(static_cast<unsigned char>(line[i])))
                ++i;
            else
                check.entries.push_back(warningEntry(r, i));
        }
        done += lines[r - 1].size() + line.size();
        report(static_cast<int>(std::nearbyint(100.0 * done / total)));
    }
    report(100);
    return check;
}

bool newTitleAllowed(const std::string& title) {
    if (title.empty() || title == "." || title == ".." || title.size() > kMaxTitleBytes) return false;
    // The file name itself, in the file system's encoding, with its extension.
    if (cp932ToUtf8(title).size() + 4 > 255) return false;
    static const std::string fullWidthBlank = cp932Of("　");
    auto blankAt = [&](std::size_t i) {
        return title[i] == ' ' || title.compare(i, fullWidthBlank.size(), fullWidthBlank) == 0;
    };
    bool lastBlank = false;
    for (std::size_t i = 0; i < title.size(); ++i) {
        auto c = static_cast<unsigned char>(title[i]);
        const bool blank = blankAt(i);
        if (i == 0 && blank) return false;
        lastBlank = blank;
        if (isLeadByte(c)) {
            ++i;
        } else if (forbiddenInFileName(c)) {
            return false;
        }
    }
    // Windows drops a final blank or dot from a file name, so such a title names another file.
    return !lastBlank && title.back() != '.';
}

std::string badTitleMessage(const std::string& title) {
    std::string message = cp932Of("ﾀｲﾄﾙ名が不正です。きちんと入力して下さい。");
    if (!title.empty())
        message += cp932Of("\n（\\ / : * ? \" < > | と制御文字は使えません。先頭と末尾の空白、"
                           "末尾の「.」、「.」「..」だけの名前も使えません）");
    return message;
}

namespace {

// Whether a title (CP932) can be saved as it stands: it stays inside the data folder (no "/"
// or "\", not "." or "..") and holds no control character. Looser than newTitleAllowed, so
// that every set already on disk can be saved again under its own title.
bool titleNamesFile(const std::string& title) {
    if (title == "." || title == "..") return false;
    for (std::size_t i = 0; i < title.size(); ++i) {
        auto c = static_cast<unsigned char>(title[i]);
        if (isLeadByte(c))
            ++i;
        else if (c == '/' || c == '\\' || c < 0x20 || c == 0x7F)
            return false;
    }
    return true;
}

// File of a set: dataDir + "/" + title + ".std", in the file-name encoding (UTF-8). A file of
// that title whose extension differs only in letter case is that file.
std::string setFilePath(const std::string& dataDir, const std::string& title) {
    return fileWithExtension(dataDir, cp932ToUtf8(title), ".std");
}

}  // namespace

SaveResult convertAndSave(const MakerDocument& doc, const std::string& dataDir,
                          const ProgressFn& progress) {
    SaveResult result;
    if (doc.title.empty()) {
        result.status = SaveStatus::EmptyTitle;
        result.message = cp932Of("タイトルが記入されておりません。");
        return result;
    }
    if (!titleNamesFile(doc.title)) {
        result.status = SaveStatus::BadTitle;
        result.message = badTitleMessage(doc.title);
        return result;
    }
    const std::string path = setFilePath(dataDir, doc.title);
    if (doc.kind == SetKind::English) {
        saveStringToFile(path, englishSetText(doc.description, doc.author, doc.lines));
        return result;
    }
    RomanCheck check = checkRomanLines(doc.lines, progress);
    if (!check.entries.empty()) {
        result.status = SaveStatus::Problems;
        result.errors = std::move(check.entries);
        // The fatal entry stands alone; warnings end with the file that was not made.
        if (!check.fatal)
            result.errors.push_back(cannotCreateEntry(utf8ToCp932(path).value_or(doc.title + ".std")));
        return result;
    }
    saveStringToFile(path, romanSetText(doc.description, doc.author, doc.lines));
    return result;
}

std::optional<EntryPosition> entryPosition(const std::string& entry) {
    static const std::string lineMark = cp932Of("行目");
    static const std::string columnMark = cp932Of("桁目");
    constexpr std::size_t kLineStart = 7;  // the 8th byte: just after "[警告] "
    std::size_t lineEnd = findCp932(entry, lineMark);
    if (lineEnd == std::string::npos || lineEnd < kLineStart) return std::nullopt;
    // "[確認] 12行目の読み…" names a whole line: its start.
    static const std::string ofLine = cp932Of("行目の");
    if (entry.compare(lineEnd, ofLine.size(), ofLine) == 0) {
        int line = toIntDef(std::string_view(entry).substr(kLineStart, lineEnd - kLineStart), -1);
        if (line < 1) return std::nullopt;
        return EntryPosition{line, 0};
    }
    std::size_t columnStart = lineEnd + lineMark.size() + 1;
    std::size_t columnEnd = findCp932(entry, columnMark, lineEnd);
    if (columnEnd == std::string::npos || columnEnd < columnStart) return std::nullopt;
    int line = toIntDef(std::string_view(entry).substr(kLineStart, lineEnd - kLineStart), -1);
    int column =
        toIntDef(std::string_view(entry).substr(columnStart, columnEnd - columnStart), -1);
    if (line < 1 || column < 0) return std::nullopt;
    return EntryPosition{line, column};
}

}  // namespace keyrook
