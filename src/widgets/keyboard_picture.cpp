#include "widgets/keyboard_picture.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

#include "widgets/look.h"
#include "widgets/shape.h"

namespace keyrook {
namespace {

QPixmap transparentPixmap(int w, int h) {
    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    return pm;
}

// A round rubber stamp, slightly turned, in the given ink.
QPixmap stamp(const QColor& ink, const QString& word) {
    QPixmap pm = transparentPixmap(72, 73);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(36, 36.5);
    p.rotate(-18);
    p.setPen(QPen(ink, 3.5));
    p.setBrush(QColor(0, 0, 0, 185));  // dims the text underneath so the word reads
    p.drawEllipse(QPointF(0, 0), 33, 33);
    p.setPen(QPen(ink, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), 27.5, 27.5);
    p.setPen(ink);
    p.setFont(pixelFont("Arial", word.size() > 5 ? 11 : 13, true));
    p.drawText(QRectF(-27, -10, 54, 20), Qt::AlignCenter, word);
    return pm;
}

}  // namespace

const KeyboardLayout& reflexKeyboard() {
    static const KeyboardLayout layout{
        {{40, 72, "1234567890"}, {72, 128, "QWERTYUIOP"}, {104, 184, "ASDFGHJKL;"}, {144, 240, "ZXCVBNM,./"}},
        56, 49, 0, false};
    return layout;
}

KeyboardPicture buildKeyboardPicture(QWidget* parent, const QFont& font, const QColor& text,
                                     const KeyboardLayout& layout) {
    KeyboardPicture kb;
    int index = 0;
    for (const KeyboardLayout::Row& row : layout.rows) {
        int x = row.left;
        for (int k = 0; row.keys[k]; ++k, ++index) {
            const char key = row.keys[k];
            const int width = key == '_' && layout.spaceWidth > 0 ? layout.spaceWidth : layout.frame;
            auto* frame = new TShape(TShape::Kind::RoundRect, parent);
            frame->setObjectName(QString("Shape%1").arg(index + 1));
            frame->setGeometry(x, row.top, width, layout.frame);
            frame->setPenColor(Qt::red);
            frame->setBrushColor(Qt::black);
            kb.frames.push_back(frame);

            auto* cell = new QLabel(parent);
            cell->setGeometry(x + 2, row.top + 3, width - 4, layout.frame - 6);
            cell->setAlignment(Qt::AlignCenter);
            cell->setFont(font);
            setTextColor(cell, text);
            if (key >= 'A' && key <= 'Z') {
                cell->setObjectName(QString("Label") + QChar(key));
                kb.letterCells[static_cast<std::size_t>(key - 'A')] = cell;
            }
            const auto byte = static_cast<unsigned char>(key);
            if (layout.captions)
                cell->setText(key == '_' ? QString("SPACE")
                              : byte >= 0xA1 && byte <= 0xDF  // half-width katakana (CP932)
                                  ? QString(QChar(char16_t(0xFF61 + (byte - 0xA1))))
                                  : QString(QChar(key)));
            kb.cells.push_back(cell);
            kb.keys.push_back(key);
            x += width + layout.pitch - layout.frame;
        }
    }
    return kb;
}

QPixmap levelIcon(int level) {
    static const QColor colours[6] = {QColor(0x20, 0xA0, 0x40), QColor(0x10, 0x90, 0x90),
                                      QColor(0x20, 0x60, 0xD0), QColor(0x80, 0x30, 0xC0),
                                      QColor(0xE0, 0x80, 0x10), QColor(0xD0, 0x10, 0x20)};
    const QColor c = colours[(level < 1 ? 1 : level > 6 ? 6 : level) - 1];
    QPixmap pm = transparentPixmap(50, 50);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 50);
    g.setColorAt(0, c.lighter(150));
    g.setColorAt(1, c.darker(160));
    p.setBrush(g);
    p.setPen(QPen(kSilver, 1.5));
    p.drawRoundedRect(QRectF(1.5, 1.5, 47, 47), 9, 9);
    // One pip per level along the bottom: the harder, the more.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    const qreal pipsLeft = 25 - (level * 6 - 2) / 2.0;
    for (int i = 0; i < level; ++i) p.drawEllipse(QRectF(pipsLeft + i * 6, 40, 4, 4));
    p.setPen(Qt::white);
    p.setFont(pixelFont("Arial", 10, true));
    p.drawText(QRectF(0, 3, 50, 12), Qt::AlignCenter, "LEVEL");
    p.setFont(pixelFont("Arial Black", 26, true));
    p.drawText(QRectF(0, 11, 50, 30), Qt::AlignCenter, QString::number(level));
    return pm;
}

QPixmap clearStamp() { return stamp(QColor(0xFF, 0x30, 0x30), "CLEAR"); }

QPixmap unclearStamp() { return stamp(QColor(0x50, 0x90, 0xFF), "FAILED"); }

QPixmap pickerOrnament(int width, int height) {
    // A single key cap with a letter lighting up on it, as in the game.
    QPixmap pm = transparentPixmap(width, height);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(width, height) - 4;
    QRectF key((width - side) / 2, (height - side) / 2, side, side);
    p.setPen(QPen(Qt::red, 1.5));
    p.setBrush(Qt::black);
    p.drawRoundedRect(key, side / 6, side / 6);
    QRadialGradient glow(key.center(), side / 2);
    glow.setColorAt(0, QColor(0xFF, 0xFF, 0x80, 120));
    glow.setColorAt(1, QColor(0xFF, 0xFF, 0x80, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(key.adjusted(2, 2, -2, -2));
    p.setPen(kSilver);
    p.setFont(pixelFont("Arial", static_cast<int>(side * 0.6), true));
    p.drawText(key, Qt::AlignCenter, "F");
    return pm;
}

}  // namespace keyrook
