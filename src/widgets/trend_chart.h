// A small line chart for histories of any length: a line per series over a shared x range, the
// y axis from 0 with a few labels, x labels from a function. Where a line has more points than
// the plot has pixel columns, each column shows the line's lowest to highest value as a band
// and the line runs through the columns' means, so a long history draws as fast as a short one.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

namespace keyrook {

class TTrendChart : public QWidget {
public:
    struct Line {
        QColor colour;
        std::vector<QPointF> points;  // in x order
    };
    explicit TTrendChart(QWidget* parent = nullptr);

    void setLines(std::vector<Line> lines);
    const std::vector<Line>& lines() const { return lines_; }
    // The text of an x label at a value; numbers by default.
    void setXLabel(std::function<QString(double)> label) { xLabel_ = std::move(label); }
    // The unit after the top y label ("分", "%").
    void setYUnit(const QString& unit) { yUnit_ = unit; }
    // Shown instead of the plot while there are no points.
    void setEmptyText(const QString& text) { emptyText_ = text; }

    QRect plotRect() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    std::vector<Line> lines_;
    std::function<QString(double)> xLabel_;
    QString yUnit_;
    QString emptyText_;
};

}  // namespace keyrook
