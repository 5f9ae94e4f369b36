#include "records/graph_window.h"

#include <QButtonGroup>
#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGuiApplication>
#include <QLineSeries>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QValueAxis>

#include <algorithm>
#include <tuple>
#include <array>
#include <cfloat>
#include <cmath>
#include <string_view>
#include <unordered_map>

#include "app/ui/app_context.h"
#include "widgets/look.h"
#include "widgets/qt_services.h"

namespace keyrook {
namespace {

const QColor kSeries1(64, 0, 128);
const QColor kSeries2(255, 128, 128);
const QColor kTeal(0, 128, 128);

// A tick step of 1, 2 or 5 times a power of ten that gives at most maxTicks intervals.
qreal niceStep(qreal range, int maxTicks) {
    const qreal raw = std::max<qreal>(range / maxTicks, 1);
    const qreal base = std::pow(10.0, std::floor(std::log10(raw)));
    for (qreal m : {1.0, 2.0, 5.0, 10.0})
        if (m * base >= raw) return m * base;
    return 10 * base;
}

// The tick interval and the range change together in the order that never leaves more ticks
// than either end state has: each tick is a label to lay out.
void setAxis(QValueAxis* axis, qreal minimum, qreal maximum, int maxTicks) {
    const qreal step = niceStep(maximum - minimum, maxTicks);
    axis->setTickAnchor(0);
    if (step >= axis->tickInterval()) {
        axis->setTickInterval(step);
        axis->setRange(minimum, maximum);
    } else {
        axis->setRange(minimum, maximum);
        axis->setTickInterval(step);
    }
}

// The red dot drawn at every point of Series1.
QImage pointMarker() {
    QImage dot(7, 7, QImage::Format_ARGB32_Premultiplied);
    dot.fill(Qt::transparent);
    QPainter p(&dot);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(Qt::red));
    p.drawEllipse(QRectF(0.5, 0.5, 6, 6));
    return dot;
}

constexpr qreal kMarkGap = 5;  // between a point and its mark
constexpr qsizetype kDenseLine = 200;  // points across the plot, beyond which they crowd

}  // namespace

TGraph::TGraph(AppContext& app, const RecordLog& source, QWidget* parent)
    : QDialog(parent), app_(app), source_(source) {
    setObjectName("Graph");
    setWindowTitle("過去の記録をｸﾞﾗﾌ化");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setFixedSize(722, 468);
    setFont(pixelFont("MS UI Gothic", 12));

    chart_ = new QChart;
    chart_->setObjectName("LogChart");
    chart_->setBackgroundBrush(kSilver);
    chart_->setBackgroundRoundness(0);
    chart_->setPlotAreaBackgroundVisible(false);
    chart_->legend()->hide();
    chart_->setMargins(QMargins(4, 8, 8, 4));
    chart_->setAnimationOptions(QChart::NoAnimation);

    series1_ = new QLineSeries;
    series1_->setName("Series1");
    series1_->setPen(QPen(kSeries1, 2));
    // One picture for every point: a colour per point would make each point its own entry.
    series1_->setLightMarker(pointMarker());
    series1_->setMarkerSize(7);
    series2_ = new QLineSeries;
    series2_->setName("Series2");
    series2_->setPen(QPen(kSeries2, 2));
    series2_->setMarkerSize(6);
    chart_->addSeries(series1_);
    chart_->addSeries(series2_);

    left_ = new QValueAxis;
    left_->setLabelFormat("%d");
    left_->setLabelsAngle(-90);
    left_->setTruncateLabels(false);
    left_->setTickType(QValueAxis::TicksDynamic);
    bottom_ = new QValueAxis;
    bottom_->setLabelFormat("%d");
    bottom_->setTickType(QValueAxis::TicksDynamic);
    chart_->addAxis(left_, Qt::AlignLeft);
    chart_->addAxis(bottom_, Qt::AlignBottom);
    // The dates' axis takes the bottom axis's place while "日付" is down.
    dates_ = new QDateTimeAxis;
    dates_->setVisible(false);
    chart_->addAxis(dates_, Qt::AlignBottom);
    for (QLineSeries* s : {series1_, series2_}) {
        s->attachAxis(left_);
        s->attachAxis(bottom_);
    }
    setAxis(left_, 0, 105, 10);
    setAxis(bottom_, 0, 10, 20);

    view_ = new QChartView(chart_, this);
    view_->setObjectName("LogChartView");
    view_->setGeometry(8, 8, 705, 425);
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setFrameShape(QFrame::NoFrame);
    view_->setBackgroundBrush(kSilver);
    // Nothing in the chart reacts to the mouse; hover tests against a long line cost time.
    view_->setInteractive(false);
    connect(chart_, &QChart::plotAreaChanged, this, [this] { placeMarks(); });

    auto* toolBar = new QToolBar(this);
    toolBar->setObjectName("ToolBar1");
    toolBar->setGeometry(0, 440, 722, 28);
    toolBar->setMovable(false);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto addButton = [this, toolBar](const char* name, const QString& caption, bool checkable) {
        auto* b = new QToolButton(toolBar);
        b->setObjectName(name);
        b->setText(caption);
        b->setCheckable(checkable);
        b->setFixedWidth(64);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        toolBar->addWidget(b);
        return b;
    };
    // At most one metric is down; none until the first is pressed.
    auto* metrics = new QButtonGroup(this);
    metrics->setExclusive(true);
    for (const GraphMetric& m : graphMetrics()) {
        QToolButton* b = addButton(m.button, QString::fromUtf8(m.caption), true);
        metrics->addButton(b);
        const int column = m.column, position = m.suffixPosition, length = m.suffixLength;
        connect(b, &QToolButton::clicked, this,
                [this, column, position, length] { GetGraph(column, position, length); });
    }
    toolBar->addSeparator();
    QToolButton* data = addButton("btnData", "ﾃﾞｰﾀを表示", true);
    data->setChecked(true);
    connect(data, &QToolButton::toggled, this, [this] { btnDataClick(); });
    toolBar->addSeparator();
    // The bottom axis: rows (as always) or dates, and with dates the median line's period.
    for (auto [names, captions, first] :
         {std::tuple{std::array{"btnRows", "btnDates"}, std::array{"回数", "日付"}, true},
          std::tuple{std::array{"btnWeek", "btnMonth"}, std::array{"週平均", "月平均"}, true}}) {
        auto* group = new QButtonGroup(this);
        group->setExclusive(true);
        for (int i = 0; i < 2; ++i) {
            QToolButton* b = addButton(names[i], QString::fromUtf8(captions[i]), true);
            b->setFixedWidth(44);
            b->setChecked(first && i == 0);
            group->addButton(b);
            connect(b, &QToolButton::clicked, this, [this] { btnAxisClick(); });
        }
        toolBar->addSeparator();
    }
    button("btnWeek")->setEnabled(false);
    button("btnMonth")->setEnabled(false);
    connect(addButton("btnCloseWindow", "閉じる", false), &QToolButton::clicked, this,
            [this] { btnCloseWindowClick(); });
    connect(addButton("btnHelp", "ﾍﾙﾌﾟ", false), &QToolButton::clicked, this,
            [this] { btnHelpClick(); });

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QToolButton* TGraph::button(const char* name) const { return findChild<QToolButton*>(name); }

void TGraph::GetGraph(int column, int suffixPosition, int suffixLength) {
    column_ = column;
    suffixPosition_ = suffixPosition;
    suffixLength_ = suffixLength;
    draw();
}

void TGraph::btnAxisClick() {
    const bool byDate = button("btnDates")->isChecked();
    button("btnWeek")->setEnabled(byDate);
    button("btnMonth")->setEnabled(byDate);
    if (column_ != 0) draw();
}

namespace {

// Milliseconds since 1970 of a moment given in local days, as the dates' axis reads them; the
// local offset is taken once per day.
class LocalMsecs {
public:
    qint64 operator()(double day) {
        const auto whole = static_cast<std::int64_t>(std::floor(day));
        auto it = offsets_.find(whole);
        if (it == offsets_.end()) {
            const DateTime d = dateOfDay(whole);
            const QDateTime midnight(QDate(d.year, d.month, d.day), QTime(0, 0));
            it = offsets_.emplace(whole, midnight.isValid() ? midnight.offsetFromUtc() : 0).first;
        }
        return static_cast<qint64>(std::llround((day * 86400.0 - it->second) * 1000.0));
    }

private:
    std::unordered_map<std::int64_t, int> offsets_;
};

}  // namespace

void TGraph::draw() {
    const bool byDate = button("btnDates")->isChecked();
    // The axes change while the series is empty: the chart lays the line out once, for the
    // new points on the new axes.
    series1_->clear();
    series2_->clear();
    // Beyond the range of a double the line stays at the axis's top.
    const auto shown = [](long double v) {
        return static_cast<qreal>(std::clamp<long double>(v, -DBL_MAX, DBL_MAX));
    };
    // Beyond a few points per pixel column more points draw the same pixels.
    // (The plot is about 650 pixels wide; before the first layout its width is not known yet.)
    const int columns = std::max(600, static_cast<int>(chart_->plotArea().width()));
    plot_.points.clear();
    drawnX_.clear();

    QAbstractAxis* active = byDate ? static_cast<QAbstractAxis*>(dates_) : bottom_;
    QAbstractAxis* idle = byDate ? static_cast<QAbstractAxis*>(bottom_) : dates_;
    for (QLineSeries* s : {series1_, series2_}) {
        if (s->attachedAxes().contains(idle)) s->detachAxis(idle);
        if (!s->attachedAxes().contains(active)) s->attachAxis(active);
    }
    idle->setVisible(false);
    active->setVisible(true);

    QList<QPointF> points, medians;
    bool thinned = false;  // more points than pixel columns
    if (!byDate) {
        const GraphValues all = graphValues(source_, column_, suffixPosition_, suffixLength_);
        setAxis(left_, 0, shown(all.axisMaximum), 10);
        plot_.axisMaximum = all.axisMaximum;
        // Half a row of room on either side: the first and last points and their marks stay
        // inside.
        const auto rows = static_cast<qreal>(source_.rowCount());
        // As many row numbers as fit side by side, at most 20.
        const int digits = static_cast<int>(std::to_string(source_.rowCount()).size());
        setAxis(bottom_, -0.5, std::max<qreal>(1, rows) - 0.5, std::clamp(560 / (digits * 7 + 16), 1, 20));
        const auto keep = columnPoints(
            all.places.size(), [&](std::size_t i) { return static_cast<double>(all.places[i]); },
            [&](std::size_t i) { return static_cast<long double>(all.values[i]); }, -0.5,
            std::max<double>(1, rows) - 0.5, columns);
        thinned = keep.size() < all.places.size();
        points.reserve(static_cast<qsizetype>(keep.size()));
        for (std::size_t i : keep) {
            const auto x = static_cast<int>(all.places[i]);
            // The exact figure for the mark, read again for the few points drawn.
            const long double y =
                graphValue(source_, all.places[i], column_, suffixPosition_, suffixLength_).value_or(all.values[i]);
            points.append(QPointF(x, shown(y)));
            plot_.points.push_back({x, y, markText(y)});
            drawnX_.push_back(x);
        }
    } else {
        const DatedPlot plot = datedPlot(source_, column_, suffixPosition_, suffixLength_);
        const std::vector<DatedPoint>& dated = plot.points;
        setAxis(left_, 0, shown(plot.axisMaximum), 10);
        plot_.axisMaximum = plot.axisMaximum;
        LocalMsecs msecs;
        double first = dated.empty() ? 0 : dated.front().day, last = dated.empty() ? 1 : dated.back().day;
        // A little room either side, and at least a day in view.
        const double margin = std::max(0.5, (last - first) * 0.02);
        first -= margin;
        last += margin;
        dates_->setRange(QDateTime::fromMSecsSinceEpoch(msecs(first)), QDateTime::fromMSecsSinceEpoch(msecs(last)));
        // Months over a long span, days over a shorter one, hours over a day or two; no more
        // ticks than the span has days, so that no date is written twice.
        const double span = last - first;
        dates_->setFormat(span > 92 ? "yyyy/MM" : span > 3 ? "MM/dd" : "MM/dd hh:mm");
        dates_->setTickCount(span > 92 || span <= 3 ? (span <= 3 ? 4 : 7)
                                                    : std::clamp(static_cast<int>(span) + 1, 2, 7));
        const auto keep = columnPoints(
            dated.size(), [&](std::size_t i) { return dated[i].day; }, [&](std::size_t i) { return dated[i].y; },
            first, last, columns);
        thinned = keep.size() < dated.size();
        points.reserve(static_cast<qsizetype>(keep.size()));
        for (std::size_t i : keep) {
            const qint64 x = msecs(dated[i].day);
            points.append(QPointF(static_cast<qreal>(x), shown(dated[i].y)));
            plot_.points.push_back({0, dated[i].y, markText(dated[i].y)});
            drawnX_.push_back(static_cast<double>(x));
        }
        const bool monthly = button("btnMonth")->isChecked();
        for (const DatedPoint& m : periodMedians(dated, monthly ? ProgressBy::Month : ProgressBy::Week))
            medians.append(QPointF(static_cast<qreal>(msecs(std::clamp(m.day, first, last))),
                                   shown(m.y)));
    }
    // Where points crowd closer than a few pixels a wider line only thickens the band; a line
    // one pixel wide is drawn many times faster.
    series1_->setPen(QPen(kSeries1, points.size() > kDenseLine ? 1 : 2));
    // A dot per point where the line is thinned to pixel columns would only paint a red band.
    series1_->setLightMarker(thinned ? QImage() : pointMarker());
    series1_->replace(points);
    // The medians of a period or two make no line: they are drawn as dots then.
    series2_->setPointsVisible(medians.size() <= 2);
    series2_->replace(medians);
    placeMarks();
    view_->viewport()->update();
}

// Each mark sits centred just above its point (below it where the top of the plot would cut
// it), inside the plot; marks that would overlap a mark already placed are left out.
void TGraph::placeMarks() {
    const QRectF area = chart_->plotArea();
    const QFont font = pixelFont("Arial", 11);
    const QFontMetricsF metrics(font);
    std::array<qreal, 128> advance{};
    for (char c : std::string_view("0123456789,.-")) advance[static_cast<std::size_t>(c)] = metrics.horizontalAdvance(QChar(c));
    const qreal height = metrics.height();
    const bool byDate = dates_->isVisible();
    const qreal xMin = byDate ? static_cast<qreal>(dates_->min().toMSecsSinceEpoch()) : bottom_->min();
    const qreal xSpan = byDate ? static_cast<qreal>(dates_->max().toMSecsSinceEpoch()) - xMin
                               : bottom_->max() - bottom_->min();
    const qreal yMin = left_->min(), ySpan = left_->max() - left_->min();

    std::vector<MarkBox> boxes;
    boxes.reserve(plot_.points.size());
    for (std::size_t i = 0; i < plot_.points.size(); ++i) {
        const GraphPoint& p = plot_.points[i];
        qreal width = 0;
        for (char c : p.mark) width += advance[static_cast<unsigned char>(c) & 0x7F];
        const qreal px = area.left() + (drawnX_[i] - xMin) / xSpan * area.width();
        const qreal py = area.bottom() - (static_cast<qreal>(std::clamp<long double>(p.y, -DBL_MAX, DBL_MAX)) - yMin) / ySpan * area.height();
        // At the top of the plot a mark closes in on its point, or goes below it.
        qreal top = std::max(area.top(), py - kMarkGap - height);
        if (top + height > py - 2) top = py + kMarkGap;
        const qreal x = std::clamp(px, area.left() + width / 2, std::max(area.left() + width / 2, area.right() - width / 2));
        boxes.push_back({x, top, width, height, px, py});
    }
    const std::vector<bool> keep = thinMarks(boxes, 2, 3);

    const bool shown = button("btnData")->isChecked();
    std::size_t used = 0;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (!keep[i]) continue;
        if (used == marks_.size()) {
            // Each mark on a patch of the chart's background, in the scene above the chart, so
            // that no line runs through its digits.
            auto* patch = new QGraphicsRectItem;
            patch->setPen(Qt::NoPen);
            patch->setBrush(kSilver);
            patch->setZValue(1);
            chart_->scene()->addItem(patch);
            auto* mark = new QGraphicsSimpleTextItem(patch);
            mark->setBrush(kTeal);
            mark->setFont(font);
            marks_.push_back(mark);
        }
        QGraphicsSimpleTextItem* mark = marks_[used++];
        mark->setText(QString::fromStdString(plot_.points[i].mark));
        QGraphicsItem* patch = mark->parentItem();
        const QRectF box = mark->boundingRect();
        patch->setPos(chart_->mapToScene(boxes[i].x - box.width() / 2, boxes[i].top));
        static_cast<QGraphicsRectItem*>(patch)->setRect(box.adjusted(-1, 1, 1, -1));
        patch->setVisible(shown);
    }
    for (std::size_t i = used; i < marks_.size(); ++i) delete marks_[i]->parentItem();
    marks_.resize(used);
}

void TGraph::btnDataClick() {
    const bool shown = button("btnData")->isChecked();
    for (QGraphicsSimpleTextItem* m : marks_) m->parentItem()->setVisible(shown);
    view_->viewport()->update();
}

void TGraph::btnCloseWindowClick() { close(); }

void TGraph::btnHelpClick() { app_.Helper(HelpContext::Record); }

}  // namespace keyrook
