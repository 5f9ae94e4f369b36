// The record viewer as a user drives it: users picked in the list, a title chosen, headers
// clicked, a session opened in the detail panel, and the graphs of one user's sessions.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QChart>
#include <QComboBox>
#include <QGraphicsSimpleTextItem>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTableView>
#include <QValueAxis>

#include "app/main_window.h"
#include "base/files.h"
#include "records/graph_window.h"
#include "records/log_window.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "widgets/progress_bar_rex.h"

namespace keyrook {
namespace {

using fakes::FakeDialogs;
using fakes::FakeSounds;

// CP932 "太郎" and "ことわざ集".
const std::string kTaro = "\x91\xbe\x98\x59";
const std::string kKotowaza = "\x82\xb1\x82\xc6\x82\xed\x82\xb4\x8f\x57";

std::string rec(const std::string& date, const std::string& user, const std::string& title,
                long long score, long long timeMs) {
    std::string body = date + "," + user + "," + title + "," + std::to_string(timeMs) +
                       ",244.9,12,1012,156," + std::to_string(score) + ",82,83,91,86";
    return body + "," + std::to_string(Checksum(body));
}

struct LogFixture : ::testing::Test {
    testing::TempDir app;
    FakeSounds sounds;
    FakeDialogs dialogs;
    std::unique_ptr<TMainForm> main;

    void SetUp() override {
        saveStringToFile(app / "user/user.log", "amy\r\namy\r\n" + kTaro + "\r\nbob\r\n");
        saveStringToFile(app / "user/amy.rec",
                         joinLinesCrLf({"", rec("24/03/20 9:00:00", "amy", kKotowaza, 800, 83500),
                                        rec("24/03/25 9:00:00", "amy", kKotowaza, 1234, 245000),
                                        rec("24/03/25 9:30:00", "amy", "ABC", 5, 1000),
                                        rec("24/03/21 9:00:00", "amy", kKotowaza, 950, 60230)}));
        saveStringToFile(app / "user/\xe5\xa4\xaa\xe9\x83\x8e.rec",  // 太郎.rec
                         joinLinesCrLf({rec("24/03/22 9:00:00", kTaro, kKotowaza, 500, 90000),
                                        rec("24/03/23 9:00:00", kTaro, "abc", 5, 1000)}));
        main = std::make_unique<TMainForm>(app.dir(), sounds, dialogs);
    }

    std::unique_ptr<TLog> openLog() {
        auto log = std::make_unique<TLog>(main->context());
        log->now = [] { return DateTime{2024, 3, 25, 18, 0, 0}; };
        log->setUsers(main->users().items);
        log->show();
        return log;
    }
    static void clickUser(TLog& log, int row, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QListWidget* list = log.lstUser();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, mods,
                          list->visualItemRect(list->item(row)).center());
    }
    static void clickHeader(TLog& log, int column) {
        QHeaderView* h = log.lslog()->horizontalHeader();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(h->sectionViewportPosition(column) + 5, h->height() / 2));
    }
    static void clickRow(TLog& log, int row) {
        QTableView* list = log.lslog();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualRect(list->model()->index(row, 0)).center());
    }
    static int rows(TLog& log) { return log.lslog()->model()->rowCount(); }
    static QStringList column(TLog& log, int c) {
        QStringList out;
        for (int i = 0; i < rows(log); ++i) out << log.cellText(i, c);
        return out;
    }
    static QStringList titles(TLog& log) {
        QStringList out;
        for (int i = 0; i < log.cmbTitle()->count(); ++i) out << log.cmbTitle()->itemText(i);
        return out;
    }
    // Runs f on the modal window that the next action opens, then closes that window.
    template <class F>
    static void onModal(F f) {
        QTimer::singleShot(0, [f] {
            QWidget* w = QApplication::activeModalWidget();
            ASSERT_NE(w, nullptr);
            f(w);
            w->close();
        });
    }
};

TEST_F(LogFixture, PickUsersAndTitleSortOpenDetails) {
    auto log = openLog();
    EXPECT_EQ(log->windowTitle(), "過去の記録");
    EXPECT_EQ(log->size(), QSize(799, 375));
    ASSERT_EQ(log->lstUser()->count(), 3);
    EXPECT_EQ(log->lstUser()->item(1)->text(), "太郎");

    // Nothing chosen: the graphs refuse.
    log->image(1)->click();
    EXPECT_EQ(dialogs.messages.back(), "ﾃﾞｰﾀは2つ以上ないと結果表示できません。");

    clickUser(*log, 0);
    EXPECT_EQ(titles(*log), (QStringList{"ことわざ集", "ABC"}));
    clickUser(*log, 1, Qt::ControlModifier);
    EXPECT_EQ(titles(*log), (QStringList{"ことわざ集", "ABC"}));  // "abc" is "ABC"

    // Typing into the title box chooses nothing.
    QTest::keyClicks(log->cmbTitle(), "ABC");
    EXPECT_EQ(log->cmbTitle()->currentIndex(), -1);
    EXPECT_EQ(rows(*log), 0);

    QTest::keyClick(log->cmbTitle(), Qt::Key_Home);
    ASSERT_EQ(rows(*log), 4);
    EXPECT_EQ(column(*log, 0), (QStringList{"1", "2*", "3", "4"}));
    EXPECT_EQ(column(*log, 2), (QStringList{"amy", "amy", "amy", "太郎"}));
    EXPECT_EQ(column(*log, 3), (QStringList{"800", "1234", "950", "500"}));
    EXPECT_EQ(column(*log, 7), (QStringList{"47.7", "61.9", "52.6", "37.9"}));
    EXPECT_TRUE(log->lslog()->isColumnHidden(1));

    // Two users: no graphs.
    log->image(1)->click();
    EXPECT_EQ(dialogs.messages.back(),
              "ﾕｰｻﾞｰは1人に限ります。複数のﾕｰｻﾞｰﾃﾞｰﾀを同時に見る事はできません。");

    clickRow(*log, 1);
    EXPECT_EQ(log->label("lbldate")->text(), "Date : 2024/03/25 9:00:00");
    EXPECT_EQ(log->label("lbldate")->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(log->label("lblTheme")->text(), "ことわざ集");
    EXPECT_EQ(log->label("lblScore")->text(), "1,234");
    EXPECT_EQ(log->label("lblResult3")->text(), "91");
    EXPECT_EQ(log->bar(4)->position(), 86);

    // Score header: ascending, then descending; the chosen session stays chosen.
    clickHeader(*log, 3);
    EXPECT_EQ(column(*log, 3), (QStringList{"500", "800", "950", "1234"}));
    clickHeader(*log, 3);
    EXPECT_EQ(column(*log, 3), (QStringList{"1234", "950", "800", "500"}));
    EXPECT_EQ(log->cellText(log->lslog()->currentIndex().row(), 0), "2*");
    clickHeader(*log, 0);
    EXPECT_EQ(column(*log, 0), (QStringList{"1", "2*", "3", "4"}));

    // A key released in the list shows the row it moved to; an older session's date is silver.
    log->lslog()->setFocus();
    QTest::keyClick(log->lslog(), Qt::Key_Down);
    EXPECT_EQ(log->label("lbldate")->text(), "Date : 2024/03/21 9:00:00");
    EXPECT_EQ(log->label("lbldate")->palette().color(QPalette::WindowText), QColor(0xC0, 0xC0, 0xC0));

    // Moving through the users by keyboard offers the titles of the user moved to (none).
    log->lstUser()->setFocus();
    QTest::keyClick(log->lstUser(), Qt::Key_Down);
    EXPECT_TRUE(titles(*log).isEmpty());
    EXPECT_EQ(rows(*log), 4);
}

TEST_F(LogFixture, GraphsOfOneUserFollowTheListOrder) {
    auto log = openLog();
    clickUser(*log, 0);
    QTest::keyClick(log->cmbTitle(), Qt::Key_Home);
    ASSERT_EQ(rows(*log), 3);  // 800, 1234, 950

    bool ran = false;
    onModal([&](QWidget* w) {
        auto* g = qobject_cast<TGraph*>(w);
        ASSERT_NE(g, nullptr);
        ran = true;
        EXPECT_EQ(g->windowTitle(), "過去の記録をｸﾞﾗﾌ化");
        EXPECT_EQ(g->Series1()->count(), 0);  // empty axes until a metric is chosen
        EXPECT_FALSE(g->button("btnPoint")->isChecked());
        EXPECT_TRUE(g->button("btnData")->isChecked());

        g->button("btnPoint")->click();
        ASSERT_EQ(g->Series1()->count(), 3);
        EXPECT_EQ(g->Series1()->at(1), QPointF(1, 1234));
        EXPECT_EQ(g->leftAxis()->max(), 1296);
        EXPECT_EQ(g->Series2()->count(), 0);
        ASSERT_EQ(g->marks().size(), 3u);
        EXPECT_EQ(g->marks()[1]->text(), "1,234");
        EXPECT_TRUE(g->marks()[1]->isVisible());

        g->button("btnData")->click();  // up: the marks go
        EXPECT_FALSE(g->marks()[0]->isVisible());
        g->button("btnTime")->click();
        EXPECT_TRUE(g->button("btnTime")->isChecked());
        EXPECT_FALSE(g->button("btnPoint")->isChecked());
        EXPECT_EQ(g->Series1()->at(2), QPointF(2, 60.23));
        EXPECT_FALSE(g->marks()[2]->isVisible());
        g->button("btnData")->click();  // down again
        EXPECT_TRUE(g->marks()[2]->isVisible());

        g->button("btnHelp")->click();
    });
    log->image(1)->click();
    EXPECT_TRUE(ran);
    EXPECT_EQ(dialogs.messages.back(), "ヘルプファイル『help.hlp』が見つかりません。");

}

TEST_F(LogFixture, RecordEntrySwitchesTheBackgroundLoop) {
    sounds.clear();
    bool ran = false;
    onModal([&](QWidget* w) {
        auto* log = qobject_cast<TLog*>(w);
        ASSERT_NE(log, nullptr);
        ran = true;
        EXPECT_EQ(log->lstUser()->count(), 3);
        ASSERT_FALSE(sounds.played.empty());
        EXPECT_EQ(sounds.played.back().name, "log");
        EXPECT_TRUE(sounds.played.back().loop);
    });
    openRecord(main->context());
    EXPECT_TRUE(ran);
    ASSERT_FALSE(sounds.played.empty());
    EXPECT_EQ(sounds.played.back().name, "op");
    EXPECT_TRUE(sounds.played.back().loop);
}

}  // namespace
}  // namespace keyrook
