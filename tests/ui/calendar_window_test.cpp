// The practice calendar through the real windows: Ctrl+D opens it for the current user, the
// record viewer's "ｶﾚﾝﾀﾞｰ" for the one selected user; the days, streaks, weekly figures and the
// reflex and ten-key histories come from the user's files.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDate>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include <functional>

#include "app/main_window.h"
#include "app/program_window.h"
#include "base/files.h"
#include "records/calendar_window.h"
#include "records/log_window.h"
#include "support/program_fixture.h"
#include "typing/scoring.h"
#include "widgets/radio_group.h"
#include "widgets/trend_chart.h"

namespace keyrook {
namespace {

struct CalendarFixture : keyrook::testing::ProgramFixture {
    std::int64_t today = localToday();

    std::string session(std::int64_t day, const char* title, const char* speed, int misses, int keys) {
        const DateTime d = dateOfDay(day);
        char date[32];
        std::snprintf(date, sizeof date, "%02d/%02d/%02d 9:00:00", d.year % 100, d.month, d.day);
        return withChecksum(std::string(date) + ",taro," + title + ",600000," + speed + "," +
                            std::to_string(misses) + "," + std::to_string(keys) + ",40,900,90,80,70,60") +
               "\r\n";
    }
    void SetUp() override {
        writeMinimalProgram();
        saveStringToFile(app / "user/user.log", "taro\r\ntaro\r\nhana\r\n");
        // Today and the two days before; five days in a row a month back; one day last year.
        std::string rec = "\r\n";
        for (int back : {2, 1, 0}) rec += session(today - back, "a", "200", 2, 100);
        rec += session(today, "b", "300", 10, 100);
        for (int back = 34; back >= 30; --back) rec += session(today - back, "a", "150", 4, 100);
        rec += session(today - 400, "a", "100", 9, 100);
        rec += withChecksum("01/03/24 11:52:10,taro,Radovu Didarez,95310,---,4,318,57,13280,N/A,N/A,N/A,N/A") + "\r\n";
        saveStringToFile(app / "user/taro.rec", rec);
        saveStringToFile(app / "user/taro.ref", "100000\r\n" + withChecksum("1,100,50,60,2,800msec") +
                                                     "\r\n" + withChecksum("3,100,40,60,2,700msec") + "\r\n");
        saveStringToFile(app / "user/taro.tnk", "100\r\n120\r\n130\r\n");
        startProgram();
    }
    // Runs then inside the calendar's modal loop, opened by open().
    void withCalendar(const std::function<void()>& open, const std::function<void(TCalendar&)>& then) {
        bool opened = false;
        QTimer::singleShot(0, [&] {
            auto* window = qobject_cast<TCalendar*>(QApplication::activeModalWidget());
            ASSERT_NE(window, nullptr);
            opened = true;
            then(*window);
            window->reject();
        });
        open();
        EXPECT_TRUE(opened);
    }
};

TEST_F(CalendarFixture, CtrlDShowsTheCurrentUsersDaysStreaksAndHistories) {
    w->MainForm().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w->MainForm()));
    withCalendar([&] { QTest::keyClick(&w->MainForm(), Qt::Key_D, Qt::ControlModifier); },
                 [&](TCalendar& c) {
                     EXPECT_EQ(c.label("lblUser")->text(), "taro");
                     EXPECT_EQ(c.label("lblStreak")->text(), "3日");
                     EXPECT_EQ(c.label("lblLongest")->text(), "5日");
                     EXPECT_EQ(c.label("lblDays")->text(), "8日");        // last year's day is out
                     EXPECT_EQ(c.label("lblTotal")->text(), "1時間30分");  // 9 sessions of 10 minutes
                     EXPECT_EQ(c.history().days.timeOn(today), 1200000u);  // both titles of today

                     // Weekly miss rates, oldest week first: last year's day alone.
                     c.rgpWeek()->setItemIndex(3);
                     c.rgpWeekClick();
                     const auto& week = c.weekChart()->lines().at(0).points;
                     ASSERT_EQ(week.size(), c.history().weeks.size());
                     EXPECT_DOUBLE_EQ(week.front().y(), 9.0);
                     EXPECT_EQ(week.front().x(), static_cast<double>(weekStart(today - 400)));

                     const auto& reflex = c.reflexChart()->lines();
                     ASSERT_EQ(reflex.size(), 6u);
                     EXPECT_EQ(reflex[0].points, (std::vector<QPointF>{{1, 800}}));
                     EXPECT_EQ(reflex[2].points, (std::vector<QPointF>{{2, 700}}));
                     c.rgpReflex()->setItemIndex(1);
                     c.rgpReflexClick();
                     EXPECT_NEAR(c.reflexChart()->lines()[2].points.at(0).y(), 66.67, 0.01);
                     EXPECT_EQ(c.tenkeyChart()->lines().at(0).points.size(), 3u);
                 });
}

TEST_F(CalendarFixture, TheViewerOpensTheCalendarOfItsOneSelectedUser) {
    TLog log(w->MainForm().context());
    log.setUsers(w->MainForm().users().items);
    log.Image6Click();
    EXPECT_EQ(dialogs.messages.back(), "ﾕｰｻﾞｰを1人選んで下さい。");
    log.lstUser()->item(1)->setSelected(true);  // hana, who has no files yet
    withCalendar([&] { log.Image6Click(); }, [](TCalendar& c) {
        EXPECT_EQ(c.label("lblUser")->text(), "hana");
        EXPECT_EQ(c.label("lblStreak")->text(), "0日");
        EXPECT_TRUE(c.weekChart()->lines().at(0).points.empty());
    });
}

// Long histories make wide labels: "1500ms" on the y axis, "20000" at the right end of x. Each
// is drawn whole inside the small chart.
TEST(TrendChart, WideLabelsFitTheChart) {
    TTrendChart chart;
    chart.resize(280, 92);
    chart.setYUnit("ms");
    std::vector<TTrendChart::Line> lines(1);
    for (int i = 1; i <= 20000; ++i) lines[0].points.emplace_back(i, 400 + i % 1000);
    chart.setLines(std::move(lines));
    const QFontMetrics fm(chart.font());
    ASSERT_EQ(chart.yLabels().back(), "1500ms");
    for (const QString& text : chart.yLabels())
        EXPECT_LT(fm.horizontalAdvance(text), chart.plotRect().left() - 2) << text.toStdString();
    const auto xs = chart.xLabels();
    ASSERT_FALSE(xs.empty());
    EXPECT_EQ(xs.back().second, "20000");
    for (const auto& [r, text] : xs) {
        EXPECT_TRUE(chart.rect().contains(r)) << text.toStdString();
        EXPECT_GE(r.width(), fm.horizontalAdvance(text)) << text.toStdString();
    }
}

}  // namespace
}  // namespace keyrook
