// A progress bar with a settable bar colour and smooth / vertical styles. The position is held
// clamped to the range, since ratings can come out below zero.
#pragma once

#include <QColor>
#include <QWidget>

namespace keyrook {

class TProgressBarREX : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Position READ position WRITE setPosition)
    Q_PROPERTY(QColor BarColor READ barColor WRITE setBarColor)
    Q_PROPERTY(bool Smooth READ smooth WRITE setSmooth)
    Q_PROPERTY(bool Vertical READ vertical WRITE setVertical)
public:
    explicit TProgressBarREX(QWidget* parent = nullptr);

    int minimum() const { return min_; }
    int maximum() const { return max_; }
    void setRange(int minimum, int maximum);
    int position() const { return pos_; }
    void setPosition(int position);
    void setStep(int step) { step_ = step; }
    void stepIt() { setPosition(pos_ + step_); }
    QColor barColor() const { return color_; }
    void setBarColor(const QColor& color);
    bool smooth() const { return smooth_; }
    void setSmooth(bool on);
    bool vertical() const { return vertical_; }
    void setVertical(bool on);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int min_ = 0, max_ = 100, pos_ = 0, step_ = 10;
    QColor color_{0x00, 0x00, 0x80};
    bool smooth_ = false;
    bool vertical_ = false;
};

}  // namespace keyrook
