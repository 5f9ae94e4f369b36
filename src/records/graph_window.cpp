#include "records/graph_window.h"

#include <QButtonGroup>
#include <QChart>
#include <QChartView>
#include <QGraphicsSimpleTextItem>
#include <QGuiApplication>
#include <QLineSeries>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QValueAxis>

#include <cmath>

#include "app/main_window.h"
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

void setAxis(QValueAxis* axis, qreal maximum, int maxTicks) {
    axis->setRange(0, maximum);
    axis->setTickAnchor(0);
    axis->setTickInterval(niceStep(maximum, maxTicks));
}

}  // namespace

TGraph::TGraph(TMainForm& main, const RecordLog& source, QWidget* parent)
    : QDialog(parent), main_(main), source_(source) {
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
    series1_->setPointsVisible(true);
    series1_->setMarkerSize(7);
    series2_ = new QLineSeries;
    series2_->setName("Series2");
    series2_->setPen(QPen(kSeries2, 2));
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
    for (QLineSeries* s : {series1_, series2_}) {
        s->attachAxis(left_);
        s->attachAxis(bottom_);
    }
    setAxis(left_, 105, 10);
    setAxis(bottom_, 10, 20);

    view_ = new QChartView(chart_, this);
    view_->setObjectName("LogChartView");
    view_->setGeometry(8, 8, 705, 425);
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setFrameShape(QFrame::NoFrame);
    view_->setBackgroundBrush(kSilver);
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
    connect(addButton("btnCloseWindow", "閉じる", false), &QToolButton::clicked, this,
            [this] { btnCloseWindowClick(); });
    connect(addButton("btnHelp", "ﾍﾙﾌﾟ", false), &QToolButton::clicked, this,
            [this] { btnHelpClick(); });

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QToolButton* TGraph::button(const char* name) const { return findChild<QToolButton*>(name); }

void TGraph::GetGraph(int column, int suffixPosition, int suffixLength) {
    series1_->clear();
    series2_->clear();
    series1_->clearPointsConfiguration();
    for (QGraphicsSimpleTextItem* m : marks_) delete m;
    marks_.clear();

    const std::vector<LogRow>& rows = source_.rows();
    const GraphPlot plot = keyrook::GetGraph(rows, column, suffixPosition, suffixLength);
    const bool shown = button("btnData")->isChecked();
    QFont markFont = pixelFont("Arial", 11);
    for (const GraphPoint& p : plot.points) {
        series1_->append(p.x, static_cast<qreal>(p.y));
        series1_->setPointConfiguration(series1_->count() - 1, QXYSeries::PointConfiguration::Color,
                                        QColor(Qt::red));
        auto* mark = new QGraphicsSimpleTextItem(QString::fromStdString(p.mark), chart_);
        mark->setBrush(kTeal);
        mark->setFont(markFont);
        mark->setZValue(10);
        mark->setVisible(shown);
        marks_.push_back(mark);
    }
    setAxis(left_, static_cast<qreal>(plot.axisMaximum), 10);
    setAxis(bottom_, std::max<qreal>(1, static_cast<qreal>(rows.size()) - 1), 20);
    placeMarks();
    view_->viewport()->update();
}

// Each mark sits centred just above its point.
void TGraph::placeMarks() {
    for (std::size_t i = 0; i < marks_.size() && static_cast<int>(i) < series1_->count(); ++i) {
        const QPointF at = chart_->mapToPosition(series1_->at(static_cast<int>(i)), series1_);
        const QRectF box = marks_[i]->boundingRect();
        marks_[i]->setPos(at.x() - box.width() / 2, at.y() - box.height() - 5);
    }
}

void TGraph::btnDataClick() {
    const bool shown = button("btnData")->isChecked();
    for (QGraphicsSimpleTextItem* m : marks_) m->setVisible(shown);
    view_->viewport()->update();
}

void TGraph::btnCloseWindowClick() { close(); }

void TGraph::btnHelpClick() { main_.Helper(14); }

}  // namespace keyrook
