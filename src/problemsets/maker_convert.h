// The problem-set maker's convert-and-save without its window: the check of every reading line
// of a roman-type set, which fills the error list, and the writing of the set file. All texts
// here (lines, entries, messages) are CP932.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace keyrook {

enum class SetKind { Roman, English };

struct MakerDocument {
    std::string title;
    std::string description;
    std::string author;
    SetKind kind = SetKind::Roman;
    std::vector<std::string> lines;  // editor lines: question, reading, question, ...
};

// Progress of the pass in percent, 0..100, reported each time the percentage changes.
using ProgressFn = std::function<void(int)>;

struct RomanCheck {
    std::vector<std::string> entries;  // error-list entries in order; empty when savable
    bool fatal = false;  // the set looks English-type; the pass stopped at its first reading
};

// Checks the reading lines (2nd, 4th, ...) of a roman-type set: the first reading must hold a
// two-byte character, and every single-byte character of a reading gets a warning entry.
RomanCheck checkRomanLines(const std::vector<std::string>& lines, const ProgressFn& progress = {});

// The longest title in Shift-JIS bytes.
inline constexpr std::size_t kMaxTitleBytes = 200;

// Whether a title (CP932) entered for a new set can name a set file here and on Windows: not
// empty, "." or "..", no / \ : * ? " < > | or control character, no blank at either end and
// no final ".", at most kMaxTitleBytes bytes, and a file name the file system takes.
bool newTitleAllowed(const std::string& title);

// The message for a title that cannot name a set file (CP932); beyond an empty one it names
// the characters that are not allowed.
std::string badTitleMessage(const std::string& title);

enum class SaveStatus {
    Saved,       // the file was written
    EmptyTitle,  // nothing written, not a problem: the user is only told
    BadTitle,    // nothing written: the title cannot name a file in the data folder
    Problems,    // nothing written: errors holds the error-list entries
};

struct SaveResult {
    SaveStatus status = SaveStatus::Saved;
    std::string message;              // for EmptyTitle and BadTitle
    std::vector<std::string> errors;  // for Problems, in the order the error list shows them

    // Whether the save counts as failed (the maker then keeps the window open).
    bool reportedProblem() const {
        return status == SaveStatus::BadTitle || status == SaveStatus::Problems;
    }
};

// Convert and save: an English-type set is written without any check; a roman-type set only
// when its check found nothing. Replaces any existing file. File errors throw FileError.
SaveResult convertAndSave(const MakerDocument& doc, const std::string& dataDir,
                          const ProgressFn& progress = {});

// Line (from 1) and byte column (from 0) named by a warning entry such as
// "[警告] 12行目 5桁目で半角文字が見つかりました。" (column 0 for "[確認] 12行目の読み…");
// nullopt for entries naming no line.
struct EntryPosition {
    int line = 0;
    int column = 0;
};
std::optional<EntryPosition> entryPosition(const std::string& entry);

}  // namespace keyrook
