// The problem-set maker without its window: the set list, opening a set into the editor, convert
// and save, a new set, quitting, and the status texts. The window turns its events into calls
// here and shows view(); the editor control is reached through MakerEditor.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/paths.h"
#include "base/services.h"
#include "problemsets/maker_convert.h"
#include "problemsets/maker_readings.h"
#include "base/cp932.h"

namespace keyrook {

// The text editor as the maker's rules see it. Lines are UTF-8, as the control holds them, and
// carry no line end; an empty editor has no lines. Rows and character indexes count from 0.
class MakerEditor {
public:
    virtual ~MakerEditor() = default;
    virtual std::vector<std::string> lines() const = 0;
    virtual std::string line(int row) const = 0;  // "" past the last line
    // Replaces every line; the undo history starts afresh and the editor is unmodified.
    virtual void setLines(const std::vector<std::string>& lines) = 0;
    virtual bool modified() const = 0;
    virtual void clearModified() = 0;
    // Caret to a row and character, scrolled into view, with the input focus.
    virtual void placeCaret(int row, int charIndex) = 0;
    // Lines replaced (or appended at the end) in one undo step; the editor is modified.
    virtual void replaceLines(const std::vector<LineEdit>& edits) = 0;
};

// What the window shows. Titles, fields and entries are CP932; the file path is UTF-8.
struct MakerView {
    Cp932Text edtTitle;
    Cp932Text edtAuthor;
    Cp932Text edtExpress;  // description
    SetKind kind = SetKind::Roman;

    std::vector<Cp932Text> lst;  // set titles
    int lstIndex = -1;             // selected title, -1: none
    Cp932Text lblFileCount;      // "登録されているﾌｧｲﾙ数 : n"

    std::vector<Cp932Text> lstError;
    bool pnlErrorVisible = false;
    bool progressVisible = false;
    int progressPosition = 0;  // 0..100

    Cp932Text countPanel;  // status panel 1: "問題数 : n" once a set is opened
    int caretColumn = 0;     // Shift-JIS byte column, as the ruler marks it
    Cp932Text caretPanel;  // status panel 3: "1行 0桁"
    Cp932Text linePanel;   // status panel 4: "問題" or "問題の読み"
};

class MakerEngine {
public:
    MakerEngine(Paths paths, MakerEditor& editor, Dialogs& dialogs, Sounds& sounds);

    const MakerView& view() const { return view_; }
    const std::string& OpenTitle() const { return openTitle_; }

    // Status panel 0: the file a save writes (the title's .std in the folder sets are written
    // to), or "" while the title field is empty.
    std::string pathPanel() const;
    // Status panel 2: "変更あり" or "変更なし", the editor's modified flag.
    std::string modifiedPanel() const;

    // Field edits and the kind toggles (CP932 text).
    void setTitle(std::string title) { view_.edtTitle = std::move(title); }
    void setAuthor(std::string author) { view_.edtAuthor = std::move(author); }
    void setDescription(std::string description) { view_.edtExpress = std::move(description); }
    void setKind(SetKind kind) { view_.kind = kind; }

    // Called while a conversion runs, after the progress position changed.
    std::function<void()> onProgress;

    // Opening from the main menu: the sets listed, their count shown, the editor unmodified.
    void openFromMenu();
    void FormShow();   // plays "no"
    void FormClose();  // loops "op"

    void btnReloadClick();
    // A title chosen in the list: opens its set into the editor.
    void lstClick(int index);
    // Convert and save; true when the file was written.
    bool btnSaveClick();
    void btnCreateClick();
    // Quit by menu or Esc: true when the window may close (unsaved changes saved or dropped).
    bool mayClose();

    // Suggested readings: none (nullptr) without MeCab's dictionary.
    void setSuggester(ReadingSuggester* suggester) { suggester_ = suggester; }
    bool suggestionsAvailable() const { return suggester_ != nullptr; }
    // "読みを補完": the suggestion into every empty reading line, or into those of the rows
    // chosen, in one undo step; the error list then holds the advice on every reading.
    void fillReadings(std::optional<RowRange> rows = std::nullopt);
    // The suggestion for the line of a difference entry written into it.
    void acceptSuggestion(int index);
    // The editor's text changed: the question count follows it.
    void textChanged();

    void caretMoved(int row, int charIndex);
    void lstErrorDblClick(int index);
    void btnCloseErrorClick() { view_.pnlErrorVisible = false; }

private:
    void listSets();
    void selectOpenTitle();
    int indexOf(const std::string& title) const;  // in the list, or -1
    // Asks the question about unsaved changes; true when the command may go on.
    bool settleChanges(const char* question);
    void openSet(const std::string& title);

    Paths paths_;
    MakerEditor& editor_;
    Dialogs& dialogs_;
    Sounds& sounds_;
    MakerView view_;
    std::string openTitle_;
    ReadingSuggester* suggester_ = nullptr;
};

// CP932 form of a header field or title as typed (UTF-8); nullopt when Shift-JIS cannot hold it
// or it holds a control character (a line break would split the header line).
std::optional<std::string> makerFieldText(std::string_view utf8);

// Shift-JIS byte column of the character at charIndex of a UTF-8 line; a character Shift-JIS
// lacks counts as two bytes.
int cp932Column(std::string_view utf8Line, int charIndex);

// Character index of a Shift-JIS byte column of a UTF-8 line: a column on the second byte of a
// two-byte character gives that character, a column past the end the end of the line.
int charIndexAt(std::string_view utf8Line, int cp932Column);

}  // namespace keyrook
