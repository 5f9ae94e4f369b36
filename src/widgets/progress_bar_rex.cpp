#include "widgets/progress_bar_rex.h"

#include <QPainter>

#include <algorithm>

namespace keyrook {

TProgressBarREX::TProgressBarREX(QWidget* parent) : QWidget(parent) {}

void TProgressBarREX::setRange(int minimum, int maximum) {
    min_ = minimum;
    max_ = std::max(minimum, maximum);
    setPosition(pos_);
    update();
}

void TProgressBarREX::setPosition(int position) {
    int clamped = std::clamp(position, min_, max_);
    if (clamped == pos_) return;
    pos_ = clamped;
    update();
}

void TProgressBarREX::setBarColor(const QColor& color) {
    color_ = color;
    update();
}

void TProgressBarREX::setSmooth(bool on) {
    smooth_ = on;
    update();
}

void TProgressBarREX::setVertical(bool on) {
    vertical_ = on;
    update();
}

void TProgressBarREX::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect outer = rect();
    p.fillRect(outer, QColor(0xD4, 0xD0, 0xC8));
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawLine(outer.topLeft(), outer.topRight());
    p.drawLine(outer.topLeft(), outer.bottomLeft());
    p.setPen(Qt::white);
    p.drawLine(outer.bottomLeft(), outer.bottomRight());
    p.drawLine(outer.topRight(), outer.bottomRight());
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    if (max_ == min_ || pos_ == min_ || inner.isEmpty()) return;
    const double fraction = double(pos_ - min_) / double(max_ - min_);
    const int length = vertical_ ? inner.height() : inner.width();
    const int filled = static_cast<int>(length * fraction + 0.5);
    if (smooth_) {
        QRect bar = vertical_ ? QRect(inner.left(), inner.bottom() - filled + 1, inner.width(), filled)
                              : QRect(inner.left(), inner.top(), filled, inner.height());
        p.fillRect(bar, color_);
        return;
    }
    // Blocks as wide as two thirds of the bar's thickness, with a one-pixel gap.
    const int thickness = vertical_ ? inner.width() : inner.height();
    const int block = std::max(2, thickness * 2 / 3);
    for (int at = 0; at < filled; at += block + 1) {
        int size = std::min(block, filled - at);
        QRect r = vertical_ ? QRect(inner.left(), inner.bottom() - at - size + 1, inner.width(), size)
                            : QRect(inner.left() + at, inner.top(), size, inner.height());
        p.fillRect(r, color_);
    }
}

}  // namespace keyrook
