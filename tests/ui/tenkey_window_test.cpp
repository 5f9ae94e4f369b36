// The ten-key drill through its window: function keys, keypad keys and a whole game on virtual
// time, and the main menu's entry that opens it modally.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/main_window.h"
#include "base/files.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "tenkey/tenkey_window.h"

namespace keyrook {
namespace {

using namespace fakes;

const QColor kLime(0x00, 0xFF, 0x00);

struct TenkeyWindowFixture : ::testing::Test {
    keyrook::testing::TempDir app;
    FakeSounds sounds;
    FakeDialogs dialogs;
    FakeClock clock{100000};
    FakeTimers timers{clock};
    FakeRandom random;
    std::unique_ptr<TMainForm> main;
    std::unique_ptr<TTenkey> w;

    void SetUp() override {
        saveStringToFile(app / "user/user.log", "taro\r\ntaro\r\n");
        saveStringToFile(app / "user/taro.tnk", "120\r\n95\r\n143\r\n");
        main = std::make_unique<TMainForm>(app.dir(), sounds, dialogs);
    }
    void TearDown() override {
        if (w) w->hide();
    }
    void openDrill() {
        w = std::make_unique<TTenkey>(main->context(), random, &timers);
        timers.setHandler([this](const std::string& name) { w->timerFired(name); });
        w->openFromMenu();
        w->show();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }
    QString text(const char* name) { return w->findChild<QLabel*>(name)->text(); }
    QString digits() { return w->display()->toPlainText(); }
    QToolButton* button(const char* name) { return w->findChild<QToolButton*>(name); }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(w.get(), k, m); }
    void keypad(int digit) { key(static_cast<Qt::Key>(Qt::Key_0 + digit), Qt::KeypadModifier); }
    QColor colourOf(int digit) { return w->digitLabel(digit)->palette().color(QPalette::WindowText); }
    void typeCorrect(int n) {
        for (int i = 0; i < n; ++i) keypad(digits().at(0).digitValue());
    }
};

TEST_F(TenkeyWindowFixture, AWholeGameFromF1ToTheStoredCount) {
    openDrill();
    EXPECT_EQ(w->windowTitle(), "ﾃﾝｷｰﾓｰﾄﾞ");
    EXPECT_EQ(w->size(), QSize(535, 413));
    EXPECT_EQ(text("lblHigh"), "143");
    EXPECT_EQ(sounds.names(), (std::vector<std::string>{"no", "no"}));
    for (int d = 0; d < 10; ++d) EXPECT_EQ(colourOf(d), QColor(Qt::white));

    key(Qt::Key_F1);
    EXPECT_EQ(sounds.names().back(), "ready");
    EXPECT_FALSE(button("btnStart")->isEnabled());
    timers.advance(2500);
    ASSERT_EQ(digits().size(), 100);
    // All of the batch is on view, its last digit included.
    QTextCursor end(w->display()->document());
    end.movePosition(QTextCursor::End);
    EXPECT_LE(w->display()->cursorRect(end).bottom(), w->display()->viewport()->height());
    const int first = digits().at(0).digitValue();
    for (int d = 0; d < 10; ++d) EXPECT_EQ(colourOf(d) == kLime, d == first) << d;

    // The same digit from the main keyboard row does nothing.
    key(static_cast<Qt::Key>(Qt::Key_0 + first));
    EXPECT_EQ(text("lblTypeCount"), "0");
    EXPECT_EQ(digits().size(), 100);

    typeCorrect(12);
    EXPECT_EQ(text("lblTypeCount"), "12");
    EXPECT_EQ(digits().size(), 88);
    EXPECT_EQ(colourOf(digits().at(0).digitValue()), kLime);
    timers.advance(61000);
    EXPECT_EQ(text("lblRestTime"), "0");
    EXPECT_EQ(loadStringFromFile(app / "user/taro.tnk"), "120\r\n95\r\n143\r\n12\r\n");
    EXPECT_EQ(text("lblHigh"), "143");  // read once, on opening
    EXPECT_FALSE(button("btnStart")->isEnabled());

    // F1 works while its button is disabled; F2 resets everything.
    key(Qt::Key_F1);
    timers.advance(2500);
    EXPECT_EQ(digits().size(), 100);
    key(Qt::Key_F2);
    EXPECT_TRUE(digits().isEmpty());
    EXPECT_EQ(text("lblTypeCount"), "0");
    EXPECT_EQ(text("lblRestTime"), "60");
    EXPECT_TRUE(button("btnStart")->isEnabled());
    for (int d = 0; d < 10; ++d) EXPECT_EQ(colourOf(d), QColor(Qt::white));
}

TEST_F(TenkeyWindowFixture, HelpButtonAndF3) {
    openDrill();
    button("btnHelp")->click();
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{"ヘルプファイル『help.hlp』が見つかりません。"});
    key(Qt::Key_Escape);  // not a way out
    EXPECT_TRUE(w->isVisible());
    key(Qt::Key_F1);
    key(Qt::Key_F3);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(sounds.names().back(), "op");
    EXPECT_FALSE(timers.enabled(TenkeyEngine::kTmrInterval));
}

TEST_F(TenkeyWindowFixture, TheMenuEntryOpensTheDrillModally) {
    main->show();
    sounds.clear();
    QString high;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        auto* drill = qobject_cast<TTenkey*>(QApplication::activeModalWidget());
        ASSERT_NE(drill, nullptr);
        modal = drill->isModal();
        high = drill->findChild<QLabel*>("lblHigh")->text();
        drill->close();
    });
    openTenkey(main->context());
    EXPECT_TRUE(modal);
    EXPECT_EQ(high, "143");
    EXPECT_EQ(sounds.names(), (std::vector<std::string>{"no", "no", "op"}));
    EXPECT_EQ(main->findChild<TTenkey*>(), nullptr);  // destroyed on closing
}

}  // namespace
}  // namespace keyrook
