#include "widgets/trend_chart.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "widgets/look.h"

namespace keyrook {
namespace {

// A step of 1, 2 or 5 times a power of ten giving at most `ticks` intervals over range.
double niceStep(double range, int ticks) {
    const double raw = std::max(range / ticks, 1e-9);
    const double base = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * base >= raw) return m * base;
    return 10 * base;
}

QString numberText(double v) {
    return std::fabs(v - std::round(v)) < 1e-9 ? QString::number(static_cast<long long>(std::llround(v)))
                                             : QString::number(v, 'f', 1);
}

}  // namespace

TTrendChart::TTrendChart(QWidget* parent) : QWidget(parent), xLabel_(numberText) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(pixelFont("Arial", 10));
}

void TTrendChart::setLines(std::vector<Line> lines) {
    lines_ = std::move(lines);
    update();
}

QRect TTrendChart::plotRect() const { return rect().adjusted(34, 6, -8, -16); }

void TTrendChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    const QRect plot = plotRect();
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.drawRect(plot);

    double xMin = 0, xMax = 0, yMax = 0;
    bool any = false;
    for (const Line& l : lines_)
        for (const QPointF& pt : l.points) {
            if (!any) xMin = xMax = pt.x();
            xMin = std::min(xMin, pt.x());
            xMax = std::max(xMax, pt.x());
            yMax = std::max(yMax, pt.y());
            any = true;
        }
    if (!any) {
        p.setPen(kSilver);
        p.drawText(plot, Qt::AlignCenter | Qt::TextWordWrap, emptyText_);
        return;
    }
    if (xMax <= xMin) {  // a single x: the points stand in the middle
        xMin -= 1;
        xMax += 1;
    }
    const double yStep = niceStep(std::max(yMax, 1.0) * 1.05, 4);
    const double yTop = std::ceil(std::max(yMax, 1.0) * 1.05 / yStep) * yStep;
    auto px = [&](double x) { return plot.left() + (x - xMin) / (xMax - xMin) * plot.width(); };
    auto py = [&](double y) { return plot.bottom() - y / yTop * plot.height(); };

    // Grid and labels.
    const QFontMetrics fm(font());
    for (double y = 0; y <= yTop + yStep / 2; y += yStep) {
        const int at = static_cast<int>(std::lround(py(y)));
        p.setPen(QColor(0x30, 0x30, 0x30));
        if (y > 0) p.drawLine(plot.left() + 1, at, plot.right() - 1, at);
        p.setPen(kSilver);
        QString text = numberText(y);
        if (y + yStep > yTop + yStep / 2 && !yUnit_.isEmpty()) text += yUnit_;
        p.drawText(QRect(0, at - 7, plot.left() - 3, 14), Qt::AlignRight | Qt::AlignVCenter, text);
    }
    // x labels: as many as fit side by side, at most six.
    const int labelWidth = fm.horizontalAdvance(xLabel_(xMax)) + 12;
    const int xTicks = std::max(1, std::min(6, plot.width() / std::max(labelWidth, 1)));
    // Every x is a whole number (a day, a game's place): so is every label.
    const double xStep = std::max(1.0, niceStep(xMax - xMin, xTicks));
    for (double x = std::ceil(xMin / xStep) * xStep; x <= xMax + 1e-9; x += xStep) {
        const int at = static_cast<int>(std::lround(px(x)));
        p.setPen(kSilver);
        p.drawText(QRect(at - labelWidth / 2, plot.bottom() + 2, labelWidth, 13), Qt::AlignCenter,
                   xLabel_(x));
    }

    p.setClipRect(plot.adjusted(1, 1, 0, 0));
    p.setRenderHint(QPainter::Antialiasing);
    const int columns = std::max(1, plot.width());
    for (const Line& l : lines_) {
        if (l.points.empty()) continue;
        if (static_cast<int>(l.points.size()) <= columns) {
            QPainterPath path;
            path.moveTo(px(l.points[0].x()), py(l.points[0].y()));
            for (std::size_t i = 1; i < l.points.size(); ++i)
                path.lineTo(px(l.points[i].x()), py(l.points[i].y()));
            p.setPen(QPen(l.colour, 1.5));
            p.setBrush(Qt::NoBrush);
            p.drawPath(path);
            p.setPen(Qt::NoPen);
            p.setBrush(l.colour);
            if (static_cast<int>(l.points.size()) * 6 <= columns)
                for (const QPointF& pt : l.points) p.drawEllipse(QPointF(px(pt.x()), py(pt.y())), 2, 2);
            continue;
        }
        // One column per pixel: the band from the lowest to the highest value, the line
        // through the means.
        std::vector<double> lo(static_cast<std::size_t>(columns), 0), hi(lo), sum(lo), n(lo);
        for (const QPointF& pt : l.points) {
            auto c = static_cast<std::size_t>(std::clamp<long>(
                std::lround((pt.x() - xMin) / (xMax - xMin) * (columns - 1)), 0, columns - 1));
            if (n[c] == 0 || pt.y() < lo[c]) lo[c] = pt.y();
            if (n[c] == 0 || pt.y() > hi[c]) hi[c] = pt.y();
            sum[c] += pt.y();
            n[c] += 1;
        }
        QColor band = l.colour;
        band.setAlpha(90);
        p.setPen(QPen(band, 1));
        QPainterPath mean;
        bool started = false;
        for (int c = 0; c < columns; ++c) {
            const auto i = static_cast<std::size_t>(c);
            if (n[i] == 0) continue;
            const double x = plot.left() + c + 0.5;
            p.drawLine(QPointF(x, py(lo[i])), QPointF(x, py(hi[i])));
            const QPointF at(x, py(sum[i] / n[i]));
            if (started)
                mean.lineTo(at);
            else
                mean.moveTo(at);
            started = true;
        }
        p.setPen(QPen(l.colour, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawPath(mean);
    }
}

}  // namespace keyrook
