// A round button with a small picture drawn on it (the About box links, the record viewer's
// commands).
#pragma once

#include <QAbstractButton>

#include <functional>

class QPainter;

namespace keyrook {

class TRoundButton : public QAbstractButton {
public:
    // Draws the picture in a diameter x diameter square; the pen is white, 2 px, round caps.
    using Picture = std::function<void(QPainter& p, qreal w, qreal h)>;
    TRoundButton(int diameter, Picture picture, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    Picture picture_;
};

}  // namespace keyrook
