// A label that never cuts a glyph at its edges: text wider than the label ends in "…". With
// more lines allowed, the text wraps over at most that many lines, spaced to fit the label's
// height, and the last line shown is elided. text() stays the whole text.
#pragma once

#include <QLabel>
#include <QStringList>

namespace keyrook {

class TElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit TElidedLabel(QWidget* parent = nullptr, int maxLines = 1);

    // The lines as they are painted.
    QStringList shownLines() const;
    // Pixels from one line's top to the next line's.
    int lineStep() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int maxLines_;
};

}  // namespace keyrook
