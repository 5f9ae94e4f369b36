#include "problemsets/maker_engine.h"

#include <algorithm>

#include "base/cp932.h"
#include "base/files.h"
#include "problemsets/problem_set.h"
#include "problemsets/reading_decoder.h"

namespace keyrook {
namespace {

std::size_t utf8CharLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;  // a stray byte stands for itself
}

int cp932Width(std::string_view utf8Char) {
    if (utf8Char.size() == 1) return 1;
    auto s = utf8ToCp932(utf8Char);
    return s && !s->empty() ? static_cast<int>(s->size()) : 2;
}

// Calls f(byteColumn, width) for each character of a UTF-8 line until f returns false.
template <class F>
void eachChar(std::string_view line, F f) {
    int column = 0;
    for (std::size_t i = 0; i < line.size();) {
        std::size_t n = std::min(utf8CharLength(static_cast<unsigned char>(line[i])), line.size() - i);
        int width = cp932Width(line.substr(i, n));
        if (!f(column, width)) return;
        column += width;
        i += n;
    }
}

// Character index of the first character of a UTF-8 line that Shift-JIS lacks, or -1.
int firstUnencodable(std::string_view line) {
    int index = 0, found = -1;
    for (std::size_t i = 0; i < line.size() && found < 0; ++index) {
        std::size_t n = std::min(utf8CharLength(static_cast<unsigned char>(line[i])), line.size() - i);
        if (!utf8ToCp932(line.substr(i, n))) found = index;
        i += n;
    }
    return found;
}

}  // namespace

std::optional<std::string> makerFieldText(std::string_view utf8) {
    for (char c : utf8)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return std::nullopt;
    return utf8ToCp932(utf8);
}

int cp932Column(std::string_view utf8Line, int charIndex) {
    int result = 0, index = 0;
    eachChar(utf8Line, [&](int column, int width) {
        if (index == charIndex) {
            result = column;
            return false;
        }
        ++index;
        result = column + width;
        return true;
    });
    return result;
}

int charIndexAt(std::string_view utf8Line, int cp932Column) {
    int index = 0;
    eachChar(utf8Line, [&](int column, int width) {
        if (cp932Column < column + width) return false;
        ++index;
        return true;
    });
    return index;
}

MakerEngine::MakerEngine(Paths paths, MakerEditor& editor, Dialogs& dialogs, Sounds& sounds)
    : paths_(std::move(paths)), editor_(editor), dialogs_(dialogs), sounds_(sounds) {}

std::string MakerEngine::pathPanel() const {
    if (view_.edtTitle.empty()) return {};
    return paths_.setFileForWriting(view_.edtTitle);
}

std::string MakerEngine::modifiedPanel() const {
    return cp932Of(editor_.modified() ? "変更あり" : "変更なし");
}

void MakerEngine::listSets() {
    // The same titles as the main menu.
    view_.lst = paths_.setTitles();
    view_.lblFileCount = cp932Of("登録されているﾌｧｲﾙ数 : ") + std::to_string(view_.lst.size());
}

void MakerEngine::openFromMenu() {
    listSets();
    view_.lstIndex = -1;
    editor_.clearModified();
}

void MakerEngine::FormShow() { sounds_.play("no"); }

void MakerEngine::FormClose() { sounds_.playLoop("op"); }

void MakerEngine::btnReloadClick() {
    const bool had = view_.lstIndex >= 0;
    const std::string selected = had ? view_.lst[static_cast<std::size_t>(view_.lstIndex)] : std::string();
    listSets();
    view_.lstIndex = had ? indexOf(selected) : -1;
}

int MakerEngine::indexOf(const std::string& title) const {
    auto it = std::find(view_.lst.begin(), view_.lst.end(), title);
    return it == view_.lst.end() ? -1 : static_cast<int>(it - view_.lst.begin());
}

void MakerEngine::selectOpenTitle() { view_.lstIndex = openTitle_.empty() ? -1 : indexOf(openTitle_); }

bool MakerEngine::settleChanges(const char* question) {
    if (!editor_.modified()) return true;
    switch (dialogs_.confirmCancel(question)) {
        case Answer::No:
            return true;
        case Answer::Yes:
            // Only a written file lets the command drop the edits; an empty title writes nothing.
            return btnSaveClick();
        case Answer::Cancel:
            break;
    }
    return false;
}

void MakerEngine::lstClick(int index) {
    if (index < 0 || index >= static_cast<int>(view_.lst.size())) return;
    view_.lstIndex = index;
    const std::string title = view_.lst[static_cast<std::size_t>(index)];
    if (!fileExists(paths_.setFile(title))) {
        dialogs_.message("ファイルが存在しません！");
        view_.lst.erase(view_.lst.begin() + index);
        selectOpenTitle();
        return;
    }
    if (!settleChanges("変更があります。セーブしてから新しいデータを開きますか？")) {
        selectOpenTitle();
        return;
    }
    try {
        openSet(title);
    } catch (...) {
        selectOpenTitle();
        throw;
    }
}

void MakerEngine::openSet(const std::string& title) {
    // Read before anything changes, so an unreadable file leaves the editor as it was.
    std::vector<std::string> fileLines = loadProblemSet(paths_.setFile(title));
    const bool empty = fileLines.empty();
    std::vector<std::string> editorLines;
    SetHeader header;
    if (!empty) {
        header = parseHeader(fileLines.front());
        if (header.plainReadings)
            editorLines.assign(fileLines.begin() + 1, fileLines.end());
        else
            editorLines = editorLinesOf(std::move(fileLines));
    }

    openTitle_ = title;
    view_.edtTitle = title;
    if (empty) {
        editor_.setLines({});
        view_.countPanel = cp932Of("問題数 : 0");
        dialogs_.message("データファイルの中身が存在しません！");
        return;
    }
    view_.kind = header.plainReadings ? SetKind::English : SetKind::Roman;
    view_.edtExpress = header.description;
    view_.edtAuthor = header.author;
    std::vector<std::string> utf8Lines;
    utf8Lines.reserve(editorLines.size());
    for (const auto& l : editorLines) utf8Lines.push_back(cp932ToUtf8(l));
    editor_.setLines(utf8Lines);
    view_.countPanel = cp932Of("問題数 : ") + std::to_string(utf8Lines.size() / 2);
}

bool MakerEngine::btnSaveClick() {
    MakerDocument doc;
    doc.title = view_.edtTitle;
    doc.kind = view_.kind;
    std::vector<std::string> advice;  // never keeps the set from being saved
    if (!doc.title.empty()) {
        doc.description = view_.edtExpress;
        doc.author = view_.edtAuthor;
        // The header line is split at its first "/" and a final "#" marks an English-type set;
        // either in the wrong field would make the saved set read back differently.
        if (doc.description.find('/') != std::string::npos) {
            dialogs_.message("説明文に「/」は使えません。");
            return false;
        }
        if (doc.kind == SetKind::Roman && !doc.author.empty() && doc.author.back() == '#') {
            dialogs_.message("ローマ字タイプの問題集では、作者名の最後に「#」は使えません。");
            return false;
        }
        std::vector<std::string> lines = editor_.lines();
        doc.lines.reserve(lines.size());
        for (std::size_t r = 0; r < lines.size(); ++r) {
            auto line = utf8ToCp932(lines[r]);
            if (!line) {
                // Writing it anyway would lose the character; the user must replace it.
                editor_.placeCaret(static_cast<int>(r), firstUnencodable(lines[r]));
                dialogs_.message(unencodableLineMessage(static_cast<int>(r), lines[r]));
                return false;
            }
            doc.lines.push_back(std::move(*line));
        }
        if (doc.kind == SetKind::Roman) advice = readingPitfalls(lines);
    }

    const bool pass = doc.kind == SetKind::Roman && !doc.title.empty();
    struct ProgressBar {
        MakerView& v;
        bool on;
        ~ProgressBar() {
            if (!on) return;
            v.progressVisible = false;
            v.progressPosition = 0;
        }
    } bar{view_, pass};
    if (pass) {
        view_.lstError.clear();
        view_.progressVisible = true;
        view_.progressPosition = 0;
    }
    SaveResult result = convertAndSave(doc, paths_.setDirForWriting(), [this](int percent) {
        view_.progressPosition = percent;
        if (onProgress) onProgress();
    });
    switch (result.status) {
        case SaveStatus::EmptyTitle:
        case SaveStatus::BadTitle:
            dialogs_.message(cp932ToUtf8(result.message));
            return false;
        case SaveStatus::Problems:
            view_.lstError = std::move(result.errors);
            // Beside the warnings, before the entry of the file that was not made.
            if (view_.lstError.size() > 1)
                view_.lstError.insert(view_.lstError.end() - 1, advice.begin(), advice.end());
            view_.pnlErrorVisible = true;
            return false;
        case SaveStatus::Saved:
            break;
    }
    editor_.clearModified();
    if (pass) {
        view_.lstError = std::move(advice);
        view_.pnlErrorVisible = !view_.lstError.empty();
        sounds_.play("ok");
    }
    return true;
}

void MakerEngine::btnCreateClick() {
    if (!settleChanges("このﾃﾞｰﾀは変更されていますが、ｾｰﾌﾞ（ｺﾝﾊﾞｰﾄ）してから新規ﾌｧｲﾙを作成しますか？"))
        return;
    auto typed = dialogs_.input("ﾀｲﾄﾙを決定", "新規に作成するﾀｲﾄﾙ名を入力して下さい。", "");
    if (!typed) return;
    // A title no file can carry is refused now, before the author has typed the whole set.
    auto title = makerFieldText(*typed);
    if (!title || !newTitleAllowed(*title)) {
        dialogs_.message(cp932ToUtf8(badTitleMessage(title.value_or(cp932Of("?")))));
        return;
    }
    // A file not (yet) in the list counts too: the first save would replace it.
    bool exists = fileExists(paths_.setFile(*title));
    for (const auto& t : view_.lst) exists = exists || sameTextIgnoreCase(t, *title);
    if (exists) {
        dialogs_.message("そのﾀｲﾄﾙ名はすでに存在しています。別の名前を入力して下さい。");
        return;
    }
    view_.lst.push_back(*title);
    view_.lstIndex = static_cast<int>(view_.lst.size()) - 1;
    editor_.setLines({});
    view_.countPanel = cp932Of("問題数 : 0");
    view_.pnlErrorVisible = false;
    view_.edtTitle = *title;
    // The editor now holds this set: abandoning a later opening comes back to it.
    openTitle_ = *title;
}

bool MakerEngine::mayClose() {
    return settleChanges("ﾃﾞｰﾀが変更されています。ｾｰﾌﾞ（ｺﾝﾊﾞｰﾄ）してから終了しますか？");
}

void MakerEngine::fillReadings(std::optional<RowRange> rows) {
    // The second line of an English-type pair is the text to type, not a reading.
    if (!suggester_ || view_.kind == SetKind::English) return;
    std::vector<std::string> lines = editor_.lines();
    std::vector<LineEdit> edits = readingFills(lines, *suggester_, rows);
    for (const LineEdit& e : edits) {
        if (e.row == static_cast<int>(lines.size()))
            lines.push_back(e.text);
        else
            lines[static_cast<std::size_t>(e.row)] = e.text;
    }
    if (!edits.empty()) editor_.replaceLines(edits);
    view_.lstError = readingAdvice(lines, suggester_, edits);
    view_.pnlErrorVisible = !view_.lstError.empty();
}

void MakerEngine::acceptSuggestion(int index) {
    if (!suggester_ || index < 0 || index >= static_cast<int>(view_.lstError.size())) return;
    const std::string& entry = view_.lstError[static_cast<std::size_t>(index)];
    auto position = entryPosition(entry);
    if (!isMismatchEntry(entry) || !position) return;
    const int row = position->line - 1;
    // The question may have changed since: its suggestion now.
    const std::vector<std::string> lines = editor_.lines();
    if (row % 2 == 0 || row >= static_cast<int>(lines.size())) return;
    const std::string reading = suggester_->suggest(lines[static_cast<std::size_t>(row - 1)]);
    if (reading != lines[static_cast<std::size_t>(row)]) editor_.replaceLines({{row, reading}});
    view_.lstError.erase(view_.lstError.begin() + index);
    if (view_.lstError.empty()) view_.pnlErrorVisible = false;
    editor_.placeCaret(row, 0);
}

void MakerEngine::textChanged() {
    view_.countPanel = cp932Of("問題数 : ") + std::to_string(editor_.lines().size() / 2);
}

void MakerEngine::caretMoved(int row, int charIndex) {
    const int column = cp932Column(editor_.line(row), charIndex);
    view_.caretColumn = column;
    view_.caretPanel = std::to_string(row + 1) + cp932Of("行 ") + std::to_string(column) + cp932Of("桁");
    view_.linePanel = cp932Of(row % 2 == 0 ? "問題" : "問題の読み");
}

void MakerEngine::lstErrorDblClick(int index) {
    if (index < 0 || index >= static_cast<int>(view_.lstError.size())) return;
    auto position = entryPosition(view_.lstError[static_cast<std::size_t>(index)]);
    if (!position) return;
    // The text may have changed since the pass; stay inside it.
    const int count = static_cast<int>(editor_.lines().size());
    const int row = std::clamp(position->line - 1, 0, std::max(count - 1, 0));
    editor_.placeCaret(row, charIndexAt(editor_.line(row), position->column));
}

}  // namespace keyrook
