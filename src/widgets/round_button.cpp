#include "widgets/round_button.h"

#include <QPainter>

#include "widgets/look.h"

namespace keyrook {

TRoundButton::TRoundButton(int diameter, Picture picture, QWidget* parent)
    : QAbstractButton(parent), picture_(std::move(picture)) {
    setFixedSize(diameter, diameter);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);  // the outline lights up under the pointer
}

void TRoundButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QRectF r = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    QRadialGradient g(r.center() - QPointF(r.width() / 5, r.height() / 5), r.width() * 0.7);
    g.setColorAt(0, isDown() ? QColor(0x30, 0x30, 0x60) : QColor(0x50, 0x60, 0xA0));
    g.setColorAt(1, QColor(0x10, 0x10, 0x30));
    p.setBrush(g);
    p.setPen(QPen(underMouse() ? QColor(Qt::white) : kSilver, 2));
    p.drawEllipse(r);
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    if (picture_) picture_(p, width(), height());
}

}  // namespace keyrook
