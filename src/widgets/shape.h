// A drawn shape with pen and fill colours: rectangle, rounded rectangle or circle.
#pragma once

#include <QColor>
#include <QHash>
#include <QPixmap>
#include <QRegion>
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
    // The part of the parent's area (in its coordinates) that the shape covers whole with an
    // opaque fill, so that what lies beneath never shows there: empty for a see-through fill.
    QRegion coveredRegion() const;
    // The plain colour the parent shows beneath the shape. Once given, the shape is drawn onto
    // it once, kept as a picture (one for each backdrop) and copied on each paint. The caller
    // repaints what the new colour changes.
    void setBackdrop(const QColor& c);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    static constexpr int kCornerRadius = 8;
    Kind kind_;
    QColor pen_{Qt::black};
    QColor brush_{Qt::white};
    int penWidth_ = 1;
    QColor backdrop_;
    QHash<QRgb, QPixmap> pictures_;  // by backdrop
    void draw(QPainter& p) const;
};

}  // namespace keyrook
