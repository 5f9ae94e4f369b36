// A small line chart for histories of any length: a line per series over a shared x range, the
// y axis from 0 with a few labels, x labels from a function. Where a line has more points than
// the plot has pixel columns, each column shows the line's lowest to highest value as a band
// and the line runs through the columns' means, so a long history draws as fast as a short one.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <utility>
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
    // Counts: the y labels step by whole numbers.
    void setWholeY(bool whole) { wholeY_ = whole; }
    // Shown instead of the plot while there are no points.
    void setEmptyText(const QString& text) { emptyText_ = text; }

    // The plot inside the labels: the left margin fits the widest y label.
    QRect plotRect() const;
    // The y labels from the bottom, and where each x label is drawn (in widget coordinates,
    // inside the widget).
    QStringList yLabels() const;
    std::vector<std::pair<QRect, QString>> xLabels() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    struct Scale {
        bool any = false;
        double xMin = 0, xMax = 0, yTop = 1, yStep = 1;
    };
    Scale scale() const;
    QRect plotRect(const QStringList& yTexts) const;
    QStringList yLabels(const Scale& s) const;
    std::vector<std::pair<QRect, QString>> xLabels(const Scale& s, const QRect& plot) const;

    std::vector<Line> lines_;
    std::function<QString(double)> xLabel_;
    QString yUnit_;
    QString emptyText_;
    bool wholeY_ = false;
};

// x labels for day numbers: "yy/m" when the days span more than four months, "m/d" otherwise.
std::function<QString(double)> dayLabels(std::int64_t firstDay, std::int64_t lastDay);

}  // namespace keyrook
