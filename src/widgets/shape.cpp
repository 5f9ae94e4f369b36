#include "widgets/shape.h"

#include <QPainter>

namespace keyrook {

TShape::TShape(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void TShape::setPenColor(const QColor& c) {
    if (pen_ == c) return;
    pen_ = c;
    update();
}

void TShape::setBrushColor(const QColor& c) {
    if (brush_ == c) return;
    brush_ = c;
    update();
}

void TShape::setPenWidth(int w) {
    penWidth_ = w;
    update();
}

void TShape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, kind_ != Kind::Rectangle);
    QPen pen(pen_);
    pen.setWidth(penWidth_);
    p.setPen(pen);
    p.setBrush(brush_);
    qreal half = penWidth_ / 2.0;
    QRectF r = QRectF(rect()).adjusted(half, half, -half, -half);
    switch (kind_) {
        case Kind::Rectangle: p.drawRect(r); break;
        case Kind::RoundRect: p.drawRoundedRect(r, 8, 8); break;
        case Kind::Circle: p.drawEllipse(r); break;
    }
}

}  // namespace keyrook
