// A drawn shape with pen and fill colours: rectangle, rounded rectangle or circle.
#pragma once

#include <QColor>
#include <QWidget>

namespace keyrook {

class TShape : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Rectangle, RoundRect, Circle };
    TShape(Kind kind, QWidget* parent = nullptr);

    void setPenColor(const QColor& c);
    void setBrushColor(const QColor& c);
    void setPenWidth(int w);
    QColor penColor() const { return pen_; }
    QColor brushColor() const { return brush_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    Kind kind_;
    QColor pen_{Qt::black};
    QColor brush_{Qt::white};
    int penWidth_ = 1;
};

}  // namespace keyrook
