#include "widgets/shape.h"

#include <QPainter>

#include <algorithm>

namespace keyrook {

TShape::TShape(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void TShape::setPenColor(const QColor& c) {
    if (pen_ == c) return;
    pen_ = c;
    pictures_.clear();
    update();
}

void TShape::setBrushColor(const QColor& c) {
    if (brush_ == c) return;
    brush_ = c;
    pictures_.clear();
    update();
}

void TShape::setPenWidth(int w) {
    penWidth_ = w;
    pictures_.clear();
    update();
}

void TShape::setBackdrop(const QColor& c) { backdrop_ = c; }

QRegion TShape::coveredRegion() const {
    if (brush_.alpha() != 255 || (pen_.alpha() != 255 && penWidth_ > 0)) return {};
    // A pixel more than the pen's width inside the edge is neither an edge pixel that the
    // smoothing blends with the background nor outside a rounded corner.
    const QRect g = geometry();
    const int edge = std::max(penWidth_, 1) + 1;
    switch (kind_) {
        case Kind::Rectangle: return QRegion(g.adjusted(edge, edge, -edge, -edge));
        case Kind::RoundRect: {
            const int corner = edge + kCornerRadius;
            return QRegion(g.adjusted(edge, corner, -edge, -corner)) +
                   QRegion(g.adjusted(corner, edge, -corner, -edge));
        }
        case Kind::Circle: {
            // The square inside the circle, with a pixel to spare at its corners.
            const int inset = g.width() * 3 / 20 + edge;
            return QRegion(g.adjusted(inset, inset, -inset, -inset));
        }
    }
    return {};
}

void TShape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!backdrop_.isValid()) {
        draw(p);
        return;
    }
    QPixmap& picture = pictures_[backdrop_.rgba()];
    if (picture.isNull() || picture.deviceIndependentSize().toSize() != size() ||
        picture.devicePixelRatio() != devicePixelRatioF()) {
        picture = QPixmap(size() * devicePixelRatioF());
        picture.setDevicePixelRatio(devicePixelRatioF());
        picture.fill(backdrop_);
        QPainter onto(&picture);
        draw(onto);
    }
    p.drawPixmap(0, 0, picture);
}

void TShape::draw(QPainter& p) const {
    p.setRenderHint(QPainter::Antialiasing, kind_ != Kind::Rectangle);
    QPen pen(pen_);
    pen.setWidth(penWidth_);
    p.setPen(pen);
    p.setBrush(brush_);
    qreal half = penWidth_ / 2.0;
    QRectF r = QRectF(rect()).adjusted(half, half, -half, -half);
    switch (kind_) {
        case Kind::Rectangle: p.drawRect(r); break;
        case Kind::RoundRect: p.drawRoundedRect(r, kCornerRadius, kCornerRadius); break;
        case Kind::Circle: p.drawEllipse(r); break;
    }
}

}  // namespace keyrook
