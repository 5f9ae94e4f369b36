// The reflex windows on virtual time: the level picker with the user's cleared levels, a whole
// game through the game window's keys, and the result dialog storing (or not) the game.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>

#include "app/main_window.h"
#include "base/cp932.h"
#include "base/files.h"
#include "reflex/ref_file.h"
#include "reflex/ref_fin_dialog.h"
#include "reflex/ref_level_dialog.h"
#include "reflex/reflection_window.h"
#include "reflex/reflex_levels.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace keyrook {
namespace {

using namespace fakes;

struct ReflexWindows : ::testing::Test {
    keyrook::testing::TempDir app;
    FakeSounds sounds;
    FakeDialogs dialogs;
    FakeClock clock{200000};
    FakeTimers timers{clock};
    FakeRandom random{3};
    std::unique_ptr<TMainForm> main;
    std::unique_ptr<TReflection> game;
    std::string refPath;

    void SetUp() override {
        saveStringToFile(app / "user/user.log", "taro\r\ntaro\r\n");
        main = std::make_unique<TMainForm>(app.dir(), sounds, dialogs);
        game = std::make_unique<TReflection>(main->context(), clock, random, &timers);
        timers.setHandler([this](const std::string& name) { game->timerFired(name); });
        refPath = app / "user/taro.ref";
        main->show();
    }
    void TearDown() override {
        game->hide();
        main->hide();
    }

    // The picker, run modally as the main menu runs it; inspect gets the open picker.
    void pick(const std::function<void(TRefLevel&)>& inspect) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* picker = qobject_cast<TRefLevel*>(QApplication::activeModalWidget());
            ASSERT_NE(picker, nullptr);
            seen = true;
            inspect(*picker);
            if (picker->isVisible()) picker->reject();
        });
        openReflection(main->context(), *game);
        EXPECT_TRUE(seen);
    }
    void startLevel(int level) {
        game->setLevel(level, QPixmap(), reflexLevel(level).lines);
        game->show();
        game->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(game.get()));
        QTest::keyClick(game.get(), Qt::Key_F1);
    }
    QString text(const char* name) { return game->label(name)->text(); }
    QString shownLetters() {
        QString s;
        for (QLabel* cell : game->keyboard().letterCells) s += cell->text();
        return s;
    }
};

TEST_F(ReflexWindows, PickerShowsClearedLevelsAndStartsTheChosenOne) {
    saveStringToFile(refPath, "101010\r\n");
    pick([](TRefLevel& picker) {
        EXPECT_EQ(picker.windowTitle(), "反射神経ﾓｰﾄﾞ");
        for (int level = 1; level <= 6; ++level)
            EXPECT_EQ(picker.Clear(level)->isVisible(), level % 2 == 1) << level;
        EXPECT_EQ(picker.line(3, 1)->text(), "◆ 中級者ﾚﾍﾞﾙ （ﾊﾟｿｺﾝ歴半年以上）");
        EXPECT_EQ(picker.line(3, 2)->text(), "到達条件 : 破壊率 75%以上　平均反射神経時間 1200msec以内");
        EXPECT_EQ(picker.line(3, 3)->text(), "ﾐｽﾀｲﾌﾟ 30ﾀｲﾌﾟ以下");
        QTest::mouseClick(picker.Level(3), Qt::LeftButton);
        EXPECT_FALSE(picker.isVisible());
    });
    EXPECT_TRUE(game->isVisible());
    EXPECT_FALSE(main->isVisible());
    EXPECT_EQ(game->engine().level(), 3);
    EXPECT_EQ(game->engine().levelCaptions(), reflexLevel(3).lines);
    EXPECT_FALSE(game->label("LevelImage")->pixmap().isNull());
    EXPECT_EQ(sounds.names().back(), "no");

    // F3 goes back to the menu.
    game->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(game.get()));
    QTest::keyClick(game.get(), Qt::Key_F3);
    EXPECT_FALSE(game->isVisible());
    EXPECT_TRUE(main->isVisible());
}

TEST_F(ReflexWindows, PickerWithoutFlagsShowsNoStampAndCancelStartsNothing) {
    saveStringToFile(refPath, "11111");
    pick([](TRefLevel& picker) {
        for (int level = 1; level <= 6; ++level) EXPECT_FALSE(picker.Clear(level)->isVisible());
        picker.findChild<QPushButton*>("btnCancel")->click();
        EXPECT_EQ(picker.result(), QDialog::Rejected);
    });
    EXPECT_FALSE(game->isVisible());
    EXPECT_TRUE(main->isVisible());
}

// A level-1 game through the window's keys, every letter typed 600 ms after it appears: all
// but perhaps the last of at least nine letters are hit, so the level is cleared and OK stores
// its flag with the game.
TEST_F(ReflexWindows, WholeGameThenOkStoresIt) {
    QStringList dialog;
    game->execResult = [&](TRefFin& fin) {
        for (const char* n : {"lbl01", "lblRate", "lblAvRef", "lblMiss"}) dialog << fin.label(n)->text();
        EXPECT_TRUE(fin.label("imgClear")->isVisibleTo(&fin));
        EXPECT_FALSE(fin.label("imgUnclear")->isVisibleTo(&fin));
        EXPECT_EQ(shownLetters(), "");
        fin.button("brnOK")->click();
        EXPECT_EQ(fin.result(), QDialog::Accepted);
    };
    startLevel(1);
    EXPECT_EQ(text("lblTime"), "62");
    int hits = 0;
    std::uint64_t since = 0;
    QString letter;
    for (int ms = 1; ms <= 62000; ++ms) {
        timers.advance(1);
        if (shownLetters() != letter) {
            letter = shownLetters();
            since = clock.now();
        }
        if (ms == 10000) QTest::keyClick(game.get(), Qt::Key_Return);  // a mistype
        if (!letter.isEmpty() && clock.now() - since == 600) {
            QTest::keyClicks(game.get(), letter.toLower());
            ++hits;
        }
    }
    EXPECT_EQ(text("lblHits"), QString::number(hits));
    EXPECT_EQ(text("lblScore"), QString::number(hits * 170));  // round(16.67) x 1 x 10
    const int dealt = text("lblTotal").toInt();
    timers.advance(6500);
    EXPECT_EQ(dialog, QStringList({"◆ 初心者ﾚﾍﾞﾙ （ﾊﾟｿｺﾝ初心者）",
                                   QString("達成率 : %1 %").arg(100.0 * hits / dealt, 0, 'f', 2),
                                   "平均反射神経時間 : 600msec", "ﾐｽﾀｲﾌﾟ数 : 1"}));
    EXPECT_EQ(sounds.names().back(), "clear");
    EXPECT_EQ(loadStringFromFile(refPath),
              "100000\r\n" + reflexRecordLine(1, hits * 170, std::to_string(hits), std::to_string(dealt),
                                              "1", "600msec") + "\r\n");
}

TEST_F(ReflexWindows, CancelStoresNothingAndF2InThePauseOffersNoResult) {
    const std::string before = "010000\r\n2,10,1,40,0,1000msec,1000\r\n";
    saveStringToFile(refPath, before);
    int shown = 0;
    game->execResult = [&](TRefFin& fin) {
        ++shown;
        fin.button("btnCancel")->click();
        EXPECT_EQ(fin.result(), QDialog::Rejected);
    };
    startLevel(2);
    timers.advance(62000);
    EXPECT_EQ(text("lblTime"), "0");
    timers.advance(6500);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(loadStringFromFile(refPath), before);

    QTest::keyClick(game.get(), Qt::Key_F1);
    timers.advance(63000);
    QTest::keyClick(game.get(), Qt::Key_F2);
    EXPECT_EQ(text("lblTime"), "0");
    timers.advance(10000);
    EXPECT_EQ(shown, 1);

    QTest::keyClick(game.get(), Qt::Key_F4);
    EXPECT_EQ(dialogs.messages.back(), "ヘルプファイル『help.hlp』が見つかりません。");
}

TEST_F(ReflexWindows, FailedStoreKeepsTheResultOpen) {
    std::filesystem::create_directories(refPath);  // a folder in the file's place
    game->execResult = [&](TRefFin& fin) {
        fin.button("brnOK")->click();
        EXPECT_EQ(fin.result(), 0);
        EXPECT_EQ(dialogs.messages.size(), 1u);
    };
    startLevel(6);
    timers.advance(68500);
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

}  // namespace
}  // namespace keyrook
