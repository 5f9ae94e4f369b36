// The record viewer and the graphs with long histories: every column readable beside the scroll
// bar, row numbers of six digits whole, five names in view; the graph's points and marks inside
// the plot, marks thinned where they would crowd and still shown and hidden by "ﾃﾞｰﾀを表示".
#include <gtest/gtest.h>

#include <algorithm>

#include <QApplication>
#include <QChart>
#include <QComboBox>
#include <QGraphicsSimpleTextItem>
#include <QHeaderView>
#include <QLineSeries>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <QTableView>
#include <QValueAxis>

#include "app/main_window.h"
#include "base/files.h"
#include "records/graph_window.h"
#include "records/log_window.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace keyrook {
namespace {

using fakes::FakeDialogs;
using fakes::FakeSounds;

std::string history(int sessions) {
    std::string text;
    for (int i = 0; i < sessions; ++i) {
        std::string body = "24/03/0" + std::to_string(1 + i % 9) + " 9:00:00,amy,T," +
                           std::to_string(60000 + i * 37 % 9000) + ",244.9,12,1012,156," +
                           std::to_string(1000 + i * 7919 % 90000) + ",82,83,91,86";
        text += body + "," + std::to_string(Checksum(body)) + "\r\n";
    }
    return text;
}

struct Viewer : ::testing::Test {
    testing::TempDir app;
    FakeSounds sounds;
    FakeDialogs dialogs;
    std::unique_ptr<TMainForm> main;
    std::unique_ptr<TLog> log;

    void open(int sessions) {
        saveStringToFile(app / "user/user.log", "amy\r\namy\r\nbob\r\ncarol\r\ndave\r\neve\r\nfrank\r\n");
        saveStringToFile(app / "user/amy.rec", history(sessions));
        main = std::make_unique<TMainForm>(app.dir(), sounds, dialogs);
        log = std::make_unique<TLog>(main->context());
        log->now = [] { return DateTime{2024, 3, 1, 18, 0, 0}; };
        log->setUsers(main->users().items);
        log->show();
        log->lstUser()->item(0)->setSelected(true);
        log->lstUserMouseUp();
        log->cmbTitle()->setCurrentIndex(0);
        log->cmbTitleChange();
        // The list lays out, its scroll bar appears and the columns fit beside it (the checks
        // of each test say what is wrong when they never do).
        QTableView* list = log->lslog();
        static_cast<void>(QTest::qWaitFor([list] {
            const QHeaderView* h = list->horizontalHeader();
            return list->verticalScrollBar()->isVisible() &&
                   h->sectionPosition(7) + h->sectionSize(7) <= list->viewport()->width();
        }));
    }
    // Every column ends inside the list's visible width, beside the scroll bar.
    void expectColumnsInView() {
        QTableView* list = log->lslog();
        QHeaderView* h = list->horizontalHeader();
        // On a loaded machine the scroll bar can come later than the first 50 ms.
        EXPECT_TRUE(QTest::qWaitFor([list] { return list->verticalScrollBar()->isVisible(); }, 5000));
        EXPECT_EQ(h->offset(), 0);
        EXPECT_LE(h->sectionPosition(7) + h->sectionSize(7), list->viewport()->width());
        const QFontMetrics fm(list->font());
        EXPECT_GE(h->sectionSize(7), fm.horizontalAdvance("偏差値"));
        for (int row : {0, list->model()->rowCount() - 1})
            for (int c : {0, 7})
                EXPECT_LE(fm.horizontalAdvance(log->cellText(row, c)) + 4, h->sectionSize(c))
                    << row << " " << c;
    }
};

TEST_F(Viewer, TwentyRowsAsLaidOut) {
    open(20);
    EXPECT_EQ(log->lslog()->horizontalHeader()->sectionSize(0), 30);
    expectColumnsInView();
    // Five names in view.
    QListWidget* users = log->lstUser();
    EXPECT_LE(users->visualItemRect(users->item(4)).bottom(), users->viewport()->height());
}

TEST_F(Viewer, SixDigitRowNumbersAreWhole) {
    open(100000);
    ASSERT_EQ(log->lslog()->model()->rowCount(), 100000);
    EXPECT_EQ(log->cellText(99999, 0), "100000*");  // recorded today
    expectColumnsInView();
}

TEST_F(Viewer, ANewListStartsAtItsFirstRow) {
    open(300);
    QScrollBar* bar = log->lslog()->verticalScrollBar();
    bar->setValue(bar->maximum());
    ASSERT_GT(bar->value(), 0);
    log->cmbTitleChange();
    EXPECT_EQ(bar->value(), 0);
}

struct Graph : Viewer {
    std::unique_ptr<TGraph> graph;
    void draw(int sessions) {
        open(sessions);
        graph = std::make_unique<TGraph>(main->context(), log->log());
        graph->show();
        QCoreApplication::processEvents();
        graph->button("btnPoint")->click();
        QCoreApplication::processEvents();
    }
    QRectF markRect(const QGraphicsSimpleTextItem* m) const {
        return graph->LogChart()->mapFromScene(m->sceneBoundingRect()).boundingRect();
    }
};

TEST_F(Graph, ThreePointsAndTheirMarksInsideThePlot) {
    draw(3);
    EXPECT_EQ(graph->bottomAxis()->min(), -0.5);
    EXPECT_EQ(graph->bottomAxis()->max(), 2.5);
    const QRectF plot = graph->LogChart()->plotArea();
    ASSERT_EQ(graph->marks().size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(plot.contains(graph->LogChart()->mapToPosition(graph->Series1()->at(i))));
        EXPECT_TRUE(plot.contains(markRect(graph->marks()[static_cast<std::size_t>(i)]))) << i;
    }
}

TEST_F(Graph, CrowdedMarksThinnedAndStillToggled) {
    draw(3000);
    // More points than pixel columns: a few per column are drawn, the line's extremes among them.
    const QRectF area = graph->LogChart()->plotArea();
    EXPECT_LT(graph->Series1()->count(), 3000);
    EXPECT_LE(graph->Series1()->count(), 4 * static_cast<int>(area.width() + 1));
    qreal top = 0;
    for (const QPointF& p : graph->Series1()->points()) top = std::max(top, p.y());
    EXPECT_EQ(top, 90891);  // the highest score of the 3000
    const auto& marks = graph->marks();
    ASSERT_GT(marks.size(), 0u);
    EXPECT_LT(marks.size(), 300u);
    const QRectF plot = graph->LogChart()->plotArea();
    for (std::size_t a = 0; a < marks.size(); ++a) {
        EXPECT_TRUE(plot.contains(markRect(marks[a])));
        EXPECT_TRUE(marks[a]->isVisible());
        for (std::size_t b = a + 1; b < marks.size(); ++b)
            ASSERT_FALSE(markRect(marks[a]).intersects(markRect(marks[b])));
    }
    graph->button("btnData")->click();
    for (auto* m : marks) EXPECT_FALSE(m->isVisible());
    graph->button("btnData")->click();
    for (auto* m : marks) EXPECT_TRUE(m->isVisible());
}

}  // namespace
}  // namespace keyrook
