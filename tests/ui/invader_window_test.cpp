// The invader game through the real windows on virtual time: picker, letters, game over.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "app/main_window.h"
#include "app/program_window.h"
#include "base/files.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "typing/fin_dialog.h"
#include "typing/invader_window.h"
#include "typing/typing_window.h"
#include "widgets/progress_bar_rex.h"
#include "widgets/shape.h"

namespace keyrook {
namespace {

using namespace fakes;

TEST(InvaderWindows, PickerPreviewsAndDigitsChoose) {
    TInvader picker;
    int chosen = 0;
    picker.onChoose = [&](int level) { chosen = level; };
    picker.Label1MouseMove(3);
    EXPECT_EQ(picker.lblSpeed()->text(), "Level:3  --- 980msec/character");
    EXPECT_EQ(picker.levelSquare(3)->penColor(), QColor(0, 0xFF, 0));
    EXPECT_EQ(picker.levelSquare(4)->penColor(), QColor(Qt::red));
    picker.FormMouseMove();
    EXPECT_EQ(picker.lblSpeed()->text(), "");
    QTest::keyClick(&picker, Qt::Key_0);
    EXPECT_EQ(chosen, 0);
    QTest::keyClick(&picker, Qt::Key_7);
    EXPECT_EQ(chosen, 7);
}

TEST(InvaderWindows, AGameEndsInTheResultDialog) {
    keyrook::testing::TempDir app;
    saveStringToFile(app / "data/a.std", "d/me\r\nq\r\nKA\r\n");
    saveStringToFile(app / "user/user.log", "taro\r\ntaro\r\n");
    FakeSounds sounds;
    FakeDialogs dialogs;
    FakeClock clock{1000};
    FakeTimers timers{clock};
    FakeRandom random;
    ProgramWindows w(app.dir(), sounds, dialogs, clock, random, &timers);
    timers.setHandler([&](const std::string& name) {
        w.Typing().engine().timerFired(name);
        w.Typing().render();
    });
    w.MainForm().show();
    w.startInvader(10);
    TTyping& t = w.Typing();
    EXPECT_FALSE(w.MainForm().isVisible());
    EXPECT_EQ(t.label("lblTitle")->text(), "Radovu Didarez");
    EXPECT_EQ(t.label("lblMondai")->text(), "Level : 10");
    EXPECT_TRUE(t.findChild<QWidget*>("pnlPower")->isVisible());
    t.engine().btnStartClick();
    t.render();
    timers.advance(2100 + 210);
    ASSERT_EQ(t.label("lblTyping")->text().size(), 1);
    QTest::keyClicks(&t, t.label("lblTyping")->text().toLower());
    EXPECT_EQ(t.label("lblScore")->text(), "110");  // 10 for the combo, 100 for level 10
    EXPECT_EQ(t.findChild<TProgressBarREX*>("PowerBar")->position(), 1);
    timers.advance(41 * 210);
    ASSERT_TRUE(w.Fin().isVisible());
    EXPECT_EQ(w.Fin().label("lblResult1")->text(), "N/A");
    EXPECT_EQ(w.Fin().label("lblAverage")->text(), "*** Hits/Min");
    EXPECT_EQ(w.Fin().label("lblTheme")->text(), "Radovu Didarez");
    w.Fin().hide();
    t.hide();
}

}  // namespace
}  // namespace keyrook
