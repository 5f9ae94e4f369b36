// The keyboard guide through the real windows: switched on in the settings, it makes the typing
// window taller and lights the next key; switched off, the window is the plain one again, and
// an invader session never shows it. A romaji line wider than its label shows its start.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/ui/app_context.h"
#include "base/cp932.h"
#include "settings/setting_window.h"
#include "typing/typing_window.h"
#include "widgets/key_guide_panel.h"
#include "support/program_fixture.h"

namespace keyrook {
namespace {

struct GuideFixture : keyrook::testing::ProgramFixture {
    void SetUp() override {
        // One question of 40 kanji and 60 letters: both wider than their lines.
        std::string question;
        for (int i = 0; i < 40; ++i) question += cp932Of("長");
        saveStringToFile(app / "data/long.std", "d/me\r\n" + question + "\r\n" + std::string(30, 'K') + "A!" +
                                                    std::string(28, 'R') + "\r\n");
        saveStringToFile(app / "user/user.log", "taro\r\ntaro\r\n");
        startProgram();
    }
    void setGuide(bool on) {
        TSetting& s = w->Setting();
        s.open("taro");
        s.findChild<QCheckBox*>("chkGuide")->setChecked(on);
        s.findChild<QPushButton*>("btnOK")->click();
    }
    QImage shot() { return typing().grab().toImage(); }
};

TEST_F(GuideFixture, GuideLightsTheNextKeyAndOffLeavesThePlainWindow) {
    w->MainForm().entryClick(MenuEntry::Practice);
    ASSERT_TRUE(typing().isVisible());
    const QSize plain = typing().size();
    const QImage plainShot = shot();
    EXPECT_EQ(typing().guide(), nullptr);

    setGuide(true);
    ASSERT_NE(typing().guide(), nullptr);
    EXPECT_TRUE(typing().guide()->isVisible());
    EXPECT_EQ(typing().size(), plain + QSize(0, TKeyGuide::kHeight));
    EXPECT_EQ(typing().guide()->lit().key, 0);  // nothing to type at rest

    typing().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&typing()));
    QTest::keyClick(&typing(), Qt::Key_F1);
    timers.advance(2100);
    QLabel* line = typing().label("lblTyping");
    ASSERT_TRUE(line->text().startsWith("KKK"));
    // Too wide to centre: the line starts at its next character.
    EXPECT_TRUE(line->alignment() & Qt::AlignLeft);
    QLabel* question = typing().label("lblQuestion");
    EXPECT_EQ(question->text(), QString(40, QChar(0x9577)));  // from its start
    EXPECT_TRUE(question->alignment() & Qt::AlignLeft);
    EXPECT_EQ(typing().guide()->lit(), (GuideKey{'K', false}));
    type(std::string(30, 'k').c_str(), 100);
    // Half typed: the question line has moved on, its end in view.
    EXPECT_LT(question->text().size(), 40);
    EXPECT_GT(question->text().size(), 20);
    EXPECT_EQ(typing().guide()->lit(), (GuideKey{'A', false}));
    type("x", 100);  // a miss
    type("a", 100);
    EXPECT_EQ(typing().guide()->lit(), (GuideKey{'1', true}));  // "!" is Shift+1
    EXPECT_EQ(typing().guide()->paceLabel()->text(), "速度 600 打/分　　正確率 96.9 %");
    QTest::keyClick(&typing(), Qt::Key_F12);
    EXPECT_EQ(typing().guide()->lit().key, 0);

    setGuide(false);
    EXPECT_FALSE(typing().guide()->isVisible());
    EXPECT_EQ(typing().size(), plain);
    typing().hide();
    w->MainForm().entryClick(MenuEntry::Practice);  // the same practice again, as at first
    EXPECT_EQ(shot(), plainShot);
    typing().hide();

    // An invader session keeps the plain window, the guide on or not.
    setGuide(true);
    w->startInvader(1);
    EXPECT_EQ(typing().size(), plain);
    EXPECT_FALSE(typing().guide()->isVisible());
}

}  // namespace
}  // namespace keyrook
