// The maker's text editor: line numbers, visible line ends, and the line list the maker's
// rules read and write through MakerEditor.
#pragma once

#include <QFont>

#include <Qsci/qsciscintilla.h>

#include <string>
#include <vector>

#include "problemsets/maker_engine.h"

namespace keyrook {

// The editor control `TPEditor`. Lines end in LF inside; a file gets CR LF on saving. Its line
// list follows the usual rule of line lists: a final line end starts no further line.
class TPEditor : public QsciScintilla {
    Q_OBJECT
public:
    explicit TPEditor(QWidget* parent = nullptr);

    std::vector<std::string> lineList() const;  // UTF-8
    std::string lineText(int row) const;
    // Replaces the text; the undo history starts afresh and the editor is unmodified.
    void setLineList(const std::vector<std::string>& lines);
    void placeCaret(int row, int charIndex);

    // A font given in pixels (Windows face names are resolved to installed faces).
    void setEditorFont(const QFont& font);
    QFont editorFont() const { return font_; }
    // Selects all text, or removes the selection when all text is already selected.
    void toggleSelectAll();

    // Width of the margins left of the text (line numbers and the rest).
    int marginsWidth() const;
    // Where half-width column 0 starts in the viewport, and the width of one column.
    int columnLeft() const;
    double columnWidth() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QFont font_;
    long caretBeforeSelectAll_ = -1;
};

// The editor as the maker's rules reach it.
class TPEditorLines : public MakerEditor {
public:
    explicit TPEditorLines(TPEditor& e) : e_(e) {}
    std::vector<std::string> lines() const override { return e_.lineList(); }
    std::string line(int row) const override { return e_.lineText(row); }
    void setLines(const std::vector<std::string>& lines) override { e_.setLineList(lines); }
    bool modified() const override { return e_.isModified(); }
    void clearModified() override { e_.setModified(false); }
    void placeCaret(int row, int charIndex) override { e_.placeCaret(row, charIndex); }
    void replaceLines(const std::vector<LineEdit>& edits) override;

private:
    TPEditor& e_;
};

}  // namespace keyrook
