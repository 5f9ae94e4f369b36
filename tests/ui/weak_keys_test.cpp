// Per-key statistics through the real windows: a stored session appends its .kst line, Ctrl+K
// opens "苦手ｷｰ分析" on it, and "苦手ｷｰ練習" starts a session on the set built from the
// weakest keys.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

#include "app/main_window.h"
#include "app/program_window.h"
#include "base/cp932.h"
#include "base/files.h"
#include "problemsets/romaji_decoder.h"
#include "records/progress.h"
#include "records/log_window.h"
#include "records/weak_key_set.h"
#include "records/weak_keys_window.h"
#include "settings/setting_window.h"
#include "typing/fin_dialog.h"
#include "typing/key_stats.h"
#include "typing/record_file.h"
#include "typing/typing_window.h"
#include "widgets/look.h"
#include "widgets/radio_group.h"
#include "widgets/shape.h"
#include "widgets/trend_chart.h"
#include "support/program_fixture.h"

namespace keyrook {
namespace {

struct WeakKeysFixture : keyrook::testing::ProgramFixture {
    const std::string kst = app / "user/taro.kst";

    void SetUp() override {
        // "学校" read がっこう, and a set whose questions type Q and Z often.
        saveStringToFile(app / "data/school.std", "desc/me\r\n\x8aw\x8dZ\r\nGA18KOU\r\n");
        saveStringToFile(app / "data/quiz.std", "q/me\r\nquiz\r\nQUIZU\r\nzoo\r\nZOO\r\nnone\r\nA\r\n");
        saveStringToFile(app / "user/user.log", "taro\r\ntaro\r\nhana\r\n");
        startProgram();
    }

    // "学校" from the main menu to the result dialog, with one miss where K was due.
    void playSchool() {
        w->MainForm().selectTitle("school");
        w->MainForm().entryClick(MenuEntry::Practice);
        typing().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&typing()));
        QTest::keyClick(&typing(), Qt::Key_F1);
        timers.advance(2100);
        type("ga", 300);
        type("x", 100);
        type("kkou", 100);
        timers.advance(500);
        ASSERT_TRUE(w->Fin().isVisible());
    }
    // Ctrl+K in the main menu; inside the window's modal loop, then runs.
    void openWithCtrlK(std::function<void(TWeakKeys&)> then) {
        w->MainForm().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w->MainForm()));
        bool opened = false;
        QTimer::singleShot(0, [&] {
            auto* window = qobject_cast<TWeakKeys*>(QApplication::activeModalWidget());
            ASSERT_NE(window, nullptr);
            opened = true;
            then(*window);
            if (window->isVisible()) window->reject();
        });
        QTest::keyClick(&w->MainForm(), Qt::Key_K, Qt::ControlModifier);
        EXPECT_TRUE(opened);
    }
    // A stored session in which Q and Z were missed far more than the rest (W and A pressed
    // for Q, X for Z).
    void storeWeakQandZ(const std::string& path) {
        KeyCounts c{};
        const std::string keys = "QZABCDEFG";
        for (std::size_t i = 0; i < keys.size(); ++i)
            c[static_cast<unsigned char>(keys[i])] = {40, i < 2 ? 10 - i : 1, 8000, 39, {}};
        c['Q'].confusions = {{'W', 6}, {'A', 4}};
        c['Z'].confusions = {{'X', 9}};
        appendKeyStats(path, keyStatsLine("26/12/07 8:00:00", "quiz", c));
    }
    void storeWeakQandZ() { storeWeakQandZ(kst); }
};

TEST_F(WeakKeysFixture, OkStoresTheKeyLineWithTheRecordAndCancelNeither) {
    playSchool();
    w->Fin().findChild<QPushButton*>("btnCancel")->click();
    EXPECT_FALSE(fileExists(kst));

    playSchool();
    w->Fin().findChild<QPushButton*>("btnOK")->click();
    const std::vector<std::string> record = splitRecordFields(w->Fin().model().recordLine);
    // G first, A 300 ms later, X pressed where K was due, then K (no interval after the miss)
    // and K O U 100 ms apart; date and title as in the record.
    const std::string body = record[0] + "," + record[2] +
                             ",41=1/0/300/1;47=1/0/0/0;4B=2/1/100/1/58x1;4F=1/0/100/1;55=1/0/100/1";
    EXPECT_EQ(loadStringFromFile(kst), body + "," + std::to_string(Checksum(body)) + "\r\n");
    EXPECT_EQ(readKeyStats(loadStringFromFile(kst)).size(), 1u);
}

TEST_F(WeakKeysFixture, CtrlKShowsTheCurrentUsersKeysOverTheChosenRange) {
    for (int i = 0; i < 11; ++i) storeWeakQandZ();
    openWithCtrlK([&](TWeakKeys& window) {
        EXPECT_EQ(window.windowTitle(), "苦手ｷｰ分析");
        EXPECT_EQ(window.label("lblUser")->text(), "taro");
        EXPECT_EQ(window.label("lblSessions")->text(), "10");
        EXPECT_EQ(window.label("lblConfusion1")->text(), "Z → X 90回");
        window.rgpRange()->button(2)->click();
        const char* confusions[] = {"Z → X 99回", "Q → W 66回", "Q → A 44回", ""};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(window.label(("lblConfusion" + std::to_string(i + 1)).c_str())->text(), confusions[i]);
        EXPECT_EQ(window.label("lblSessions")->text(), "11");
        ASSERT_EQ(window.lstWeak()->topLevelItemCount(), 9);
        EXPECT_EQ(window.lstWeak()->topLevelItem(0)->text(0), "Q");
        EXPECT_EQ(window.lstWeak()->topLevelItem(0)->text(2), "20.0 %");
        EXPECT_EQ(window.lstWeak()->topLevelItem(1)->text(0), "Z");
        const KeyboardPicture& kb = window.keyboard();
        for (std::size_t i = 0; i < kb.keys.size(); ++i) {
            if (kb.keys[i] == 'Q') {
                EXPECT_EQ(kb.frames[i]->brushColor(), QColor(Qt::red));
                EXPECT_TRUE(kb.cells[i]->toolTip().contains("ﾐｽ率 20.0 %"));
                EXPECT_TRUE(kb.cells[i]->toolTip().contains("誤打 W 66回、A 44回"));
            }
            if (kb.keys[i] == 'P') {
                EXPECT_TRUE(kb.cells[i]->toolTip().contains("ﾃﾞｰﾀ不足"));
            }
        }
        EXPECT_FALSE(window.label("lblEmpty")->isVisible());
    });
}

// A key clicked on the map or in the list shows its miss rate per week over the whole file,
// whatever the range; nothing is read for it before the click.
TEST_F(WeakKeysFixture, AClickedKeyShowsItsMissRatePerWeek) {
    auto store = [&](const char* date, std::uint64_t qHits, std::uint64_t qMisses) {
        KeyCounts c{};
        c['Q'] = {qHits, qMisses, 8000, 39, {}};
        c['z'] = {30, 10, 8000, 39, {}};  // typed as z, counted on the Z key
        appendKeyStats(kst, keyStatsLine(date, "quiz", c));
    };
    store("26/11/30 8:00:00", 40, 10);
    store("26/12/06 8:00:00", 20, 10);
    store("26/12/08 8:00:00", 45, 5);
    openWithCtrlK([&](TWeakKeys& window) {
        window.rgpRange()->button(0)->click();
        EXPECT_TRUE(window.keyChart()->lines().empty());
        const KeyboardPicture& kb = window.keyboard();
        const auto q = static_cast<std::size_t>(std::find(kb.keys.begin(), kb.keys.end(), 'Q') - kb.keys.begin());
        ASSERT_LT(q, kb.keys.size());
        QTest::mouseClick(kb.cells[q], Qt::LeftButton);
        ASSERT_EQ(window.keyChart()->lines().size(), 1u);
        const std::vector<QPointF> weeks = {{static_cast<double>(dayNumber(2026, 11, 30)), 25.0},
                                            {static_cast<double>(dayNumber(2026, 12, 7)), 10.0}};
        EXPECT_EQ(window.keyChart()->lines()[0].points, weeks);
        EXPECT_EQ(window.label("lblTrendKey")->text(), "ｷｰ : Q   2週   打鍵数 130回");
        EXPECT_EQ(kb.frames[q]->penColor(), QColor(0xFF, 0xFF, 0x00));

        // Z heads the list (25 % in every session).
        ASSERT_EQ(window.lstWeak()->topLevelItem(0)->text(0), "Z");
        const QRect row = window.lstWeak()->visualItemRect(window.lstWeak()->topLevelItem(0));
        QTest::mouseClick(window.lstWeak()->viewport(), Qt::LeftButton, {}, row.center());
        EXPECT_EQ(window.keyChart()->lines()[0].points.size(), 2u);
        EXPECT_EQ(window.keyChart()->lines()[0].points[0].y(), 25.0);
        EXPECT_EQ(window.label("lblTrendKey")->text(), "ｷｰ : Z   2週   打鍵数 120回");
        EXPECT_EQ(kb.frames[q]->penColor(), kSilver);
    });
}

TEST_F(WeakKeysFixture, PracticeButtonNeedsDataThenStartsASessionOnTheBuiltSet) {
    openWithCtrlK([&](TWeakKeys& window) {
        EXPECT_TRUE(window.label("lblEmpty")->isVisible());
        window.findChild<QPushButton*>("btnPractice")->click();
        EXPECT_EQ(dialogs.messages.back(), "まだﾃﾞｰﾀが足りません。練習を何回か記録してから使って下さい。");
        EXPECT_TRUE(window.isVisible());
    });
    EXPECT_FALSE(fileExists(app / ("data/" + std::string(kWeakSetTitle) + ".std")));

    storeWeakQandZ();
    openWithCtrlK([&](TWeakKeys& window) { window.findChild<QPushButton*>("btnPractice")->click(); });
    const std::string built = loadStringFromFile(app / ("data/" + std::string(kWeakSetTitle) + ".std"));
    EXPECT_EQ(built, cp932Of("苦手ｷｰ: Q Z A B C/Keyrook\r\n") +
                         "quiz\r\nQUIZU\r\nzoo\r\nZOO\r\nnone\r\nA\r\n" +
                         "\x8aw\x8dZ\r\nGA18KOU\r\n");
    // As "Practice" starts one: the typing window on the new set, which the menu now selects.
    ASSERT_TRUE(typing().isVisible());
    EXPECT_FALSE(w->MainForm().isVisible());
    EXPECT_EQ(w->MainForm().pager().selectedTitle(), cp932Of(kWeakSetTitle));
    EXPECT_EQ(typing().label("lblTitle")->text(), "苦手ｷｰ練習");
    EXPECT_EQ(w->MainForm().SetLines.size(), 9u);
}

TEST_F(WeakKeysFixture, RecordViewerOpensItForTheOneSelectedUser) {
    storeWeakQandZ(app / "user/hana.kst");
    TLog log(w->MainForm().context());
    log.setUsers(w->MainForm().users().items);
    log.show();
    log.lstUser()->selectAll();
    log.image(5)->click();
    EXPECT_EQ(dialogs.messages.back(), "ﾕｰｻﾞｰは1人に限ります。複数のﾕｰｻﾞｰﾃﾞｰﾀを同時に見る事はできません。");

    log.lstUser()->clearSelection();
    log.lstUser()->item(1)->setSelected(true);
    bool opened = false;
    QTimer::singleShot(0, [&] {
        auto* window = qobject_cast<TWeakKeys*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        opened = true;
        EXPECT_EQ(window->label("lblUser")->text(), "hana");
        EXPECT_EQ(window->lstWeak()->topLevelItem(0)->text(0), "Q");
        window->findChild<QPushButton*>("btnPractice")->click();
    });
    log.image(5)->click();
    EXPECT_TRUE(opened);
    // The viewer closes so that the practice can start in its place.
    EXPECT_TRUE(log.practiceRequested());
    EXPECT_FALSE(log.isVisible());
    EXPECT_EQ(w->MainForm().pager().selectedTitle(), cp932Of(kWeakSetTitle));
}

// Practising another user's weak keys from the record viewer plays as that user: they become
// the current user, the set is scored with their spellings, and the session is theirs.
TEST_F(WeakKeysFixture, PracticeFromTheViewerPlaysAsTheUserShown) {
    // 寿司 types an H only in hana's Hepburn spellings; taro's are the ones loaded.
    saveStringToFile(app / "data/sushi.std", "s/me\r\n" + cp932Of("寿司") + "\r\nSU01\r\n");
    TSetting& settings = w->Setting();
    settings.open("taro");
    settings.findChild<QPushButton*>("btnOK")->click();
    settings.open("hana");
    settings.findChild<QPushButton*>("btnHebon")->click();
    settings.findChild<QPushButton*>("btnOK")->click();
    settings.open("taro");
    settings.findChild<QPushButton*>("btnCancel")->click();
    ASSERT_EQ(Changer("SU01", settings.variants(), false), "SUSI");
    KeyCounts c{};
    const std::string weak = "HJVXW";
    for (std::size_t i = 0; i < weak.size(); ++i)
        c[static_cast<unsigned char>(weak[i])] = {40, 10 - i, 8000, 39};
    appendKeyStats(app / "user/hana.kst", keyStatsLine("26/12/07 8:00:00", "quiz", c));

    bool practised = false;
    QTimer::singleShot(0, [&] {
        auto* log = qobject_cast<TLog*>(QApplication::activeModalWidget());
        ASSERT_NE(log, nullptr);
        log->lstUser()->clearSelection();
        log->lstUser()->item(1)->setSelected(true);
        QTimer::singleShot(0, [&] {
            auto* window = qobject_cast<TWeakKeys*>(QApplication::activeModalWidget());
            ASSERT_NE(window, nullptr);
            window->findChild<QPushButton*>("btnPractice")->click();
            practised = !window->isVisible();
            if (!practised) window->reject();
        });
        log->image(5)->click();
        if (log->isVisible()) log->reject();
    });
    w->MainForm().entryClick(MenuEntry::Record);
    ASSERT_TRUE(practised) << (dialogs.messages.empty() ? "" : dialogs.messages.back());
    EXPECT_EQ(loadStringFromFile(app / ("data/" + std::string(kWeakSetTitle) + ".std")),
              cp932Of("苦手ｷｰ: H J V X W/Keyrook\r\n寿司\r\nSU01\r\n"));
    EXPECT_EQ(w->MainForm().currentUser(), "hana");
    EXPECT_EQ(w->MainForm().findChild<QComboBox*>("cmbUser")->currentText(), "hana");
    ASSERT_TRUE(typing().isVisible());
    EXPECT_EQ(typing().windowTitle(), "ﾌﾟﾚｲﾔｰ : hana");

    typing().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&typing()));
    QTest::keyClick(&typing(), Qt::Key_F1);
    timers.advance(2100);
    EXPECT_EQ(typing().label("lblTyping")->text(), "SUSHI");
    type("sushi", 100);
    timers.advance(500);
    ASSERT_TRUE(w->Fin().isVisible());
    w->Fin().findChild<QPushButton*>("btnOK")->click();
    EXPECT_TRUE(fileExists(app / "user/hana.rec"));
    EXPECT_FALSE(fileExists(app / "user/taro.rec"));
}

}  // namespace
}  // namespace keyrook
