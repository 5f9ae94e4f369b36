#include "widgets/trend_chart.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "records/progress.h"
#include "widgets/look.h"

namespace keyrook {
namespace {

// The first and last points stand this far inside the plot's sides, so their dots show whole.
constexpr int kInset = 3;

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

std::function<QString(double)> dayLabels(std::int64_t firstDay, std::int64_t lastDay) {
    const bool months = lastDay - firstDay > 120;
    return [months](double x) {
        const DateTime d = dateOfDay(static_cast<std::int64_t>(std::llround(x)));
        return months ? QString("%1/%2").arg(d.year % 100, 2, 10, QChar('0')).arg(d.month)
                      : QString("%1/%2").arg(d.month).arg(d.day);
    };
}

TTrendChart::TTrendChart(QWidget* parent) : QWidget(parent), xLabel_(numberText) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(pixelFont("Arial", 10));
}

void TTrendChart::setLines(std::vector<Line> lines) {
    lines_ = std::move(lines);
    update();
}

TTrendChart::Scale TTrendChart::scale() const {
    Scale s;
    double yMax = 0;
    for (const Line& l : lines_)
        for (const QPointF& pt : l.points) {
            if (!s.any) s.xMin = s.xMax = pt.x();
            s.xMin = std::min(s.xMin, pt.x());
            s.xMax = std::max(s.xMax, pt.x());
            yMax = std::max(yMax, pt.y());
            s.any = true;
        }
    if (s.xMax <= s.xMin) {  // a single x: the points stand in the middle
        s.xMin -= 1;
        s.xMax += 1;
    }
    s.yStep = niceStep(std::max(yMax, 1.0) * 1.05, 4);
    if (wholeY_) s.yStep = std::max(1.0, s.yStep);
    s.yTop = std::ceil(std::max(yMax, 1.0) * 1.05 / s.yStep) * s.yStep;
    return s;
}

QStringList TTrendChart::yLabels(const Scale& s) const {
    QStringList out;
    if (!s.any) return out;
    for (double y = 0; y <= s.yTop + s.yStep / 2; y += s.yStep) {
        QString text = numberText(y);
        if (y + s.yStep > s.yTop + s.yStep / 2) text += yUnit_;
        out << text;
    }
    return out;
}

// The plot's area, its left margin as wide as the widest y label.
QRect TTrendChart::plotRect(const QStringList& yTexts) const {
    const QFontMetrics fm(font());
    int widest = 0;
    for (const QString& text : yTexts) widest = std::max(widest, fm.horizontalAdvance(text));
    return rect().adjusted(std::max(34, widest + 6), 8, -8, -16);
}

QRect TTrendChart::plotRect() const { return plotRect(yLabels(scale())); }

QStringList TTrendChart::yLabels() const { return yLabels(scale()); }

// As many x labels as fit side by side, at most six; the first and last are kept inside the
// widget rather than centred on a point near its edge.
std::vector<std::pair<QRect, QString>> TTrendChart::xLabels(const Scale& s, const QRect& plot) const {
    std::vector<std::pair<QRect, QString>> out;
    if (!s.any) return out;
    const QFontMetrics fm(font());
    const int labelWidth = std::max(fm.horizontalAdvance(xLabel_(s.xMax)), fm.horizontalAdvance(xLabel_(s.xMin))) + 12;
    const int xTicks = std::max(1, std::min(6, plot.width() / std::max(labelWidth, 1)));
    // Every x is a whole number (a day, a game's place): so is every label.
    const double xStep = std::max(1.0, niceStep(s.xMax - s.xMin, xTicks));
    for (double x = std::ceil(s.xMin / xStep) * xStep; x <= s.xMax + 1e-9; x += xStep) {
        const QString text = xLabel_(x);
        const int w = fm.horizontalAdvance(text) + 4;
        const int at = static_cast<int>(
            std::lround(plot.left() + kInset + (x - s.xMin) / (s.xMax - s.xMin) * (plot.width() - 1 - 2 * kInset)));
        const int left = std::clamp(at - w / 2, 0, std::max(0, width() - w));
        out.emplace_back(QRect(left, plot.bottom() + 2, w, 13), text);
    }
    return out;
}

std::vector<std::pair<QRect, QString>> TTrendChart::xLabels() const {
    const Scale s = scale();
    return xLabels(s, plotRect(yLabels(s)));
}

void TTrendChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    const Scale s = scale();
    const QStringList yTexts = yLabels(s);
    const QRect plot = plotRect(yTexts);
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.drawRect(plot);
    if (!s.any) {
        p.setPen(kSilver);
        p.drawText(plot, Qt::AlignCenter | Qt::TextWordWrap, emptyText_);
        return;
    }
    const double xMin = s.xMin, xMax = s.xMax, yTop = s.yTop, yStep = s.yStep;
    auto px = [&](double x) {
        return plot.left() + kInset + (x - xMin) / (xMax - xMin) * (plot.width() - 1 - 2 * kInset);
    };
    auto py = [&](double y) { return plot.bottom() - y / yTop * plot.height(); };

    // Grid and labels.
    for (int i = 0; i < yTexts.size(); ++i) {
        const double y = i * yStep;
        const int at = static_cast<int>(std::lround(py(y)));
        p.setPen(QColor(0x30, 0x30, 0x30));
        if (y > 0) p.drawLine(plot.left() + 1, at, plot.right() - 1, at);
        p.setPen(kSilver);
        p.drawText(QRect(0, std::max(0, at - 7), plot.left() - 3, 14), Qt::AlignRight | Qt::AlignVCenter, yTexts[i]);
    }
    p.setPen(kSilver);
    for (const auto& [r, text] : xLabels(s, plot)) p.drawText(r, Qt::AlignCenter, text);

    p.setClipRect(plot.adjusted(1, 1, 0, 0));
    p.setRenderHint(QPainter::Antialiasing);
    const int columns = std::max(1, plot.width() - 2 * kInset);
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
            const double x = plot.left() + kInset + c + 0.5;
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
