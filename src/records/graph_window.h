// The progress graphs "過去の記録をｸﾞﾗﾌ化": one column of the record viewer's list, in the
// list's current order, drawn as a line with its values marked at the points.
#pragma once

#include <QDialog>

#include <vector>

#include "records/graph_series.h"

class QChart;
class QChartView;
class QGraphicsSimpleTextItem;
class QLineSeries;
class QToolButton;
class QValueAxis;

namespace keyrook {

class AppContext;

class TGraph : public QDialog {
    Q_OBJECT
public:
    // source is the open viewer's state; its rows are read each time a metric is drawn.
    TGraph(AppContext& app, const RecordLog& source, QWidget* parent = nullptr);

    void GetGraph(int column, int suffixPosition, int suffixLength);
    void btnDataClick();
    void btnCloseWindowClick();
    void btnHelpClick();

    QChart* LogChart() const { return chart_; }
    QChartView* chartView() const { return view_; }
    QLineSeries* Series1() const { return series1_; }
    QLineSeries* Series2() const { return series2_; }
    QValueAxis* leftAxis() const { return left_; }
    QValueAxis* bottomAxis() const { return bottom_; }
    QToolButton* button(const char* name) const;
    // The value marks drawn at the points of Series1, in point order: one per point unless
    // marks would overlap, then the ones that fit.
    const std::vector<QGraphicsSimpleTextItem*>& marks() const { return marks_; }

private:
    void placeMarks();

    AppContext& app_;
    const RecordLog& source_;
    QChartView* view_ = nullptr;
    QChart* chart_ = nullptr;
    QLineSeries* series1_ = nullptr;
    QLineSeries* series2_ = nullptr;
    QValueAxis* left_ = nullptr;
    QValueAxis* bottom_ = nullptr;
    GraphPlot plot_;  // the metric drawn last
    std::vector<QGraphicsSimpleTextItem*> marks_;
};

}  // namespace keyrook
