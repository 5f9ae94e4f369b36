// The progress graphs "過去の記録をｸﾞﾗﾌ化": one column of the record viewer's list, in the
// list's current order, drawn as a line with its values marked at the points.
#pragma once

#include <QDialog>

#include <vector>

#include "records/graph_series.h"

class QChart;
class QDateTimeAxis;
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
    // "回数" / "日付": the bottom axis counts the rows or runs through the sessions' dates;
    // "週平均" / "月平均": with dates, the weekly or monthly median drawn as Series2.
    void btnAxisClick();
    void btnDataClick();
    void btnCloseWindowClick();
    void btnHelpClick();

    QChart* LogChart() const { return chart_; }
    QChartView* chartView() const { return view_; }
    QLineSeries* Series1() const { return series1_; }
    QLineSeries* Series2() const { return series2_; }
    QValueAxis* leftAxis() const { return left_; }
    QValueAxis* bottomAxis() const { return bottom_; }
    QDateTimeAxis* dateAxis() const { return dates_; }
    QToolButton* button(const char* name) const;
    // The value marks drawn at the points of Series1, in point order: one per point unless
    // marks would overlap, then the ones that fit.
    const std::vector<QGraphicsSimpleTextItem*>& marks() const { return marks_; }

private:
    void draw();
    void placeMarks();

    AppContext& app_;
    const RecordLog& source_;
    QChartView* view_ = nullptr;
    QChart* chart_ = nullptr;
    QLineSeries* series1_ = nullptr;
    QLineSeries* series2_ = nullptr;
    QValueAxis* left_ = nullptr;
    QValueAxis* bottom_ = nullptr;
    QDateTimeAxis* dates_ = nullptr;
    int column_ = 0, suffixPosition_ = 0, suffixLength_ = 0;  // the metric drawn last, 0: none
    GraphPlot plot_;            // the points drawn, at most a few per pixel column
    std::vector<double> drawnX_;  // their x on the bottom axis in use
    std::vector<QGraphicsSimpleTextItem*> marks_;
};

}  // namespace keyrook
