#include "widgets/elided_label.h"

#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace keyrook {
namespace {

// Where the ink of a line of this font starts above the baseline and ends below it: the
// font's ascent and descent leave room that Japanese glyphs never use.
struct Ink {
    int ascent;
    int height;
};

Ink inkOf(const QFontMetrics& fm) {
    const QRect r = fm.tightBoundingRect(QStringLiteral("漢あｱAgjy|…"));
    return {-r.top(), r.height()};
}

}  // namespace

TElidedLabel::TElidedLabel(QWidget* parent, int maxLines)
    : QLabel(parent), maxLines_(std::max(1, maxLines)) {}

int TElidedLabel::lineStep() const {
    const QFontMetrics fm(font());
    return maxLines_ == 1 ? contentsRect().height()
                          : std::min(fm.lineSpacing(), contentsRect().height() / maxLines_);
}

QStringList TElidedLabel::shownLines() const {
    const QString all = text();
    const QFontMetrics fm(font());
    const int width = contentsRect().width();
    QStringList lines;
    if (all.isEmpty() || width <= 0) return lines;
    if (maxLines_ == 1) {
        lines << fm.elidedText(all, Qt::ElideRight, width);
        return lines;
    }
    QTextLayout layout(all, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (int i = 0; i < maxLines_; ++i) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) break;
        line.setLineWidth(width);
        const int start = line.textStart();
        if (i == maxLines_ - 1 && start + line.textLength() < all.size()) {
            // The rest does not fit: the last line shows as much of it as it can.
            lines << fm.elidedText(all.mid(start).simplified(), Qt::ElideRight, width);
            break;
        }
        lines << all.mid(start, line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

void TElidedLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    p.setFont(font());
    const QRect area = contentsRect();
    const QStringList lines = shownLines();
    if (maxLines_ == 1) {
        if (!lines.isEmpty()) p.drawText(area, static_cast<int>(alignment()) | Qt::TextSingleLine, lines.front());
        return;
    }
    const QFontMetrics fm(font());
    const Ink ink = inkOf(fm);
    const int step = lineStep();
    // Each line's ink sits in the middle of its share of the height.
    const int offset = ink.ascent + std::max(0, step - ink.height) / 2;
    for (int i = 0; i < lines.size(); ++i)
        p.drawText(area.left(), area.top() + i * step + offset, lines[i]);
}

}  // namespace keyrook
