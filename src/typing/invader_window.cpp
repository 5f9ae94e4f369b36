#include "typing/invader_window.h"

#include <QKeyEvent>
#include <QLabel>

#include "typing/invader_rules.h"
#include "widgets/fixed_dialog.h"
#include "widgets/look.h"
#include "widgets/shape.h"

namespace keyrook {

TInvader::TInvader(QWidget* parent) : QDialog(parent) {
    fixedDialog(this, "Invader", "ﾀｲﾋﾟﾝｸﾞ ｲﾝﾍﾞｰﾀﾞｰ", kToolFrame, QSize(362, 186), kSilver, 12);
    setMouseTracking(true);

    placeLabel(this, "★ﾚﾍﾞﾙを選んで下さい。高いほど難易度は上がります。", 8, 8,
               pixelFont("MS UI Gothic", 12), kSilver, "lblTitle");
    const int shades[11] = {0, 0xFF, 0xEB, 0xD7, 0xC3, 0xAF, 0x9B, 0x88, 0x73, 0x5F, 0x4B};
    for (int level = 1; level <= 10; ++level) {
        const bool upper = level <= 5;
        const int left = upper ? 72 + (level - 1) * 56 : 16 + (level - 6) * 56;
        const int top = upper ? 40 : 96;
        auto* square = new TShape(TShape::Kind::RoundRect, this);
        square->setObjectName(QString("Shape%1").arg(level + 1));
        square->setGeometry(left, top, 49, 49);
        square->setPenColor(Qt::red);
        square->setBrushColor(Qt::black);
        squares_[level] = square;
        auto* label = new QLabel(QString::number(level), this);
        label->setObjectName(QString("Label%1").arg(level));
        label->setFont(pixelFont("Impact", 35));
        label->setAlignment(Qt::AlignCenter);
        label->setGeometry(left, top, 49, 49);
        setTextColor(label, QColor(shades[level], shades[level], shades[level]));
        label->setCursor(Qt::PointingHandCursor);
        label->setMouseTracking(true);
        label->installEventFilter(this);
        labels_[level] = label;
    }
    lblSpeed_ = placeLabel(this, "Please choose your level !!", 16, 164, pixelFont("Tahoma", 13, true),
                           Qt::white, "lblSpeed", 337);
    lblSpeed_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void TInvader::Label1Click(int level) {
    if (onChoose) onChoose(level);
    accept();
}

void TInvader::Label1MouseMove(int level) {
    lblSpeed_->setText(QString::fromStdString(invaderSpeedText(level)));
    for (int l = 1; l <= 10; ++l) squares_[l]->setPenColor(l == level ? QColor(0, 0xFF, 0) : QColor(Qt::red));
}

void TInvader::FormMouseMove() {
    for (int l = 1; l <= 10; ++l) squares_[l]->setPenColor(Qt::red);
    lblSpeed_->clear();
}

void TInvader::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    // Digits 1 to 9 choose their level; level 10 is for the mouse.
    if (text.size() == 1 && text[0] >= '1' && text[0] <= '9') {
        Label1Click(text[0].digitValue());
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TInvader::eventFilter(QObject* watched, QEvent* event) {
    for (int level = 1; level <= 10; ++level) {
        if (watched != labels_[level]) continue;
        if (event->type() == QEvent::MouseMove) {
            Label1MouseMove(level);
            return true;
        }
        if (event->type() == QEvent::MouseButtonPress) {
            Label1Click(level);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TInvader::mouseMoveEvent(QMouseEvent* event) {
    FormMouseMove();
    QDialog::mouseMoveEvent(event);
}

}  // namespace keyrook
