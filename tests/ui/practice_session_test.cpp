// A whole practice session through the real windows, on virtual time: the main menu starts it,
// F1, keys and F12 go to the typing window, and the result dialog stores the record.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QInputMethodEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "app/main_window.h"
#include "app/program_window.h"
#include "base/files.h"
#include "settings/setting_window.h"
#include "typing/fin_dialog.h"
#include "typing/record_file.h"
#include "typing/typing_window.h"
#include "widgets/key_guide_panel.h"
#include "widgets/progress_bar_rex.h"
#include "support/program_fixture.h"

namespace keyrook {
namespace {

struct PracticeFixture : keyrook::testing::ProgramFixture {
    void SetUp() override {
        // "学校" read がっこう; one question, so the shuffle cannot reorder anything.
        saveStringToFile(app / "data/school.std", "desc/me\r\n\x8aw\x8dZ\r\nGA18KOU\r\n");
        saveStringToFile(app / "user/user.log", "taro\r\ntaro\r\n");
        startProgram();
    }

    QString typingText(const char* name) { return typing().label(name)->text(); }
    void key(int k) { QTest::keyClick(&typing(), static_cast<Qt::Key>(k)); }
    // Practice from the main menu, F1, and the countdown up to the first question.
    void startSession() {
        w->MainForm().entryClick(MenuEntry::Practice);
        ASSERT_TRUE(typing().isVisible());
        typing().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&typing()));
        key(Qt::Key_F1);
        timers.advance(1600);
        EXPECT_EQ(typingText("lblStart"), "Go !!");
        timers.advance(500);
    }
};

TEST_F(PracticeFixture, F1KeysAndF12ThroughTheTypingWindow) {
    startSession();
    EXPECT_FALSE(w->MainForm().isVisible());
    EXPECT_EQ(typing().windowTitle(), "ﾌﾟﾚｲﾔｰ : taro");
    EXPECT_EQ(typingText("lblQuestion"), "学校");
    EXPECT_EQ(typingText("lblTyping"), "GAKKOU");
    EXPECT_EQ(typingText("lblMondai"), "1 / 1");
    type("gak", 100);
    EXPECT_EQ(typingText("lblTyping"), "KOU");
    EXPECT_EQ(typingText("lblScore"), "30");
    QTest::keyClicks(&typing(), "z");
    EXPECT_EQ(typingText("lblMiss"), "1");
    EXPECT_EQ(typingText("lblCombo"), "1");
    key(Qt::Key_F12);
    EXPECT_EQ(typingText("lblTyping"), "");
    EXPECT_EQ(typingText("lblScore"), "0");
    EXPECT_TRUE(typing().findChild<QToolButton*>("btnStart")->isEnabled());
    EXPECT_FALSE(w->Fin().isVisible());
    EXPECT_EQ(w->MainForm().SetLines.size(), 3u);  // reloaded by the quit action

    key(Qt::Key_Escape);
    EXPECT_FALSE(typing().isVisible());
    EXPECT_TRUE(w->MainForm().isVisible());
}

// A counted miss turns the window red for one timer period: the background and the question
// number's own, not the insides of the frames; then all is black again.
TEST_F(PracticeFixture, AMissFlashesTheBackgroundRedForOneTick) {
    startSession();
    QWidget* client = typing().centralWidget();
    const QRect number = typing().label("lblMondai")->geometry();
    auto shown = [&] {
        const QImage image = client->grab().toImage();
        return std::vector<QRgb>{image.pixel(5, 100), image.pixel(number.right(), number.top()),
                                 image.pixel(300, 230), image.pixel(460, 12)};
    };
    const QRgb red = qRgb(255, 0, 0), black = qRgb(0, 0, 0);
    const std::vector<QRgb> allBlack{black, black, black, black};
    EXPECT_EQ(shown(), allBlack);
    QTest::keyClicks(&typing(), "z");
    EXPECT_EQ(typingText("lblMiss"), "1");
    timers.advance(1);
    EXPECT_EQ(shown(), (std::vector<QRgb>{red, red, black, black}));
    timers.advance(1);
    EXPECT_EQ(shown(), allBlack);
}

// An input method switched on leaves the typing area alone: the area takes no composed text
// and keys are judged as they come. One that composes all the same is told of at F1.
TEST_F(PracticeFixture, TheTypingAreaTakesKeysNotInputMethodText) {
    w->MainForm().entryClick(MenuEntry::Practice);
    typing().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&typing()));
    QWidget* area = QApplication::focusWidget();
    ASSERT_TRUE(area && typing().isAncestorOf(area));
    EXPECT_FALSE(area->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_FALSE(area->inputMethodQuery(Qt::ImEnabled).toBool());

    QInputMethodEvent composed;
    composed.setCommitString("が");
    QCoreApplication::sendEvent(area, &composed);
    key(Qt::Key_F1);
    const std::vector<std::string> warned{"全角入力になっていますので戻して下さい。"};
    EXPECT_EQ(dialogs.messages, warned);
    timers.advance(2100);
    type("gakkou", 100);
    EXPECT_EQ(typingText("lblMiss"), "0");
    timers.advance(500);
    ASSERT_TRUE(w->Fin().isVisible());
    w->Fin().findChild<QPushButton*>("btnCancel")->click();

    // Plain keys since: nothing composes now.
    key(Qt::Key_F1);
    EXPECT_EQ(dialogs.messages, warned);
}

TEST_F(PracticeFixture, ResultDialogStoresTheRecordAndComparesTheNextSession) {
    startSession();
    // Reaction 300 ms, one miss, then typing time 600 ms over 6 bytes.
    type("g", 300);
    type("xakkou", 100);
    EXPECT_EQ(typingText("lblTyping"), "");
    timers.advance(500);

    TFin& fin = w->Fin();
    ASSERT_TRUE(fin.isVisible());
    EXPECT_EQ(sounds.names().back(), "clear");
    EXPECT_EQ(fin.label("lblTheme")->text(), "school");
    EXPECT_EQ(fin.label("lbldate")->text(), "Date : 2026/12/08 9:05:07");
    EXPECT_EQ(fin.label("lblMaxcombo")->text(), "5");
    EXPECT_EQ(fin.label("lblScore_")->text(), "");  // first session of the title
    ASSERT_EQ(fin.ls()->topLevelItemCount(), 1);
    QTreeWidgetItem* row = fin.ls()->topLevelItem(0);
    EXPECT_EQ(row->text(1), "学校");
    EXPECT_EQ(row->text(2), "6");
    EXPECT_EQ(row->text(3), "300");
    EXPECT_EQ(row->text(4), "600");
    EXPECT_EQ(row->text(5), "100.0");
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(fin.label(QString("lblResult%1").arg(i))->text(), QString::number(fin.bar(i)->position()));
    // The typing window is back at rest behind the dialog.
    EXPECT_TRUE(typing().findChild<QToolButton*>("btnStart")->isEnabled());

    const std::string path = app / "user/taro.rec";
    EXPECT_EQ(loadStringFromFile(path), "\r\n");  // made by the lookup
    fin.findChild<QPushButton*>("btnOK")->click();
    EXPECT_FALSE(fin.isVisible());
    std::string stored = loadStringFromFile(path);
    ASSERT_EQ(stored, "\r\n" + fin.model().recordLine + "\r\n");
    std::vector<std::string> f = splitRecordFields(fin.model().recordLine);
    ASSERT_EQ(f.size(), 14u);
    EXPECT_EQ(f[0], "26/12/08 9:05:07");
    EXPECT_EQ(f[1], "taro");
    EXPECT_EQ(f[2], "school");
    EXPECT_EQ(f[3], "600");   // typing time
    EXPECT_EQ(f[4], "600");   // 6 bytes in 0.6 s
    EXPECT_EQ(f[5], "1");     // misses
    EXPECT_EQ(f[6], "7");     // misses + bytes
    EXPECT_EQ(f[7], "5");     // max combo
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(f[9 + i], std::to_string(fin.bar(i + 1)->position()));
    EXPECT_TRUE(isValidRecordLine(fin.model().recordLine));

    // A slower second session without a miss: differences with signs and colours.
    startSession();
    type("g", 300);
    type("akkou", 200);
    timers.advance(500);
    ASSERT_TRUE(fin.isVisible());
    EXPECT_EQ(fin.label("lblTime_")->text().left(1), "+");  // 1000 ms against 600 ms
    EXPECT_EQ(fin.label("lblTime_")->palette().color(QPalette::WindowText), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(fin.label("lblMiss_")->text().left(1), "-");
    EXPECT_EQ(fin.label("lblMiss_")->palette().color(QPalette::WindowText), QColor(0, 0xFF, 0xFF));
    EXPECT_EQ(fin.label("lblMaxCombo_")->text(), "+1");
    EXPECT_EQ(fin.label("lblMaxCombo_")->palette().color(QPalette::WindowText), QColor(0, 0xFF, 0xFF));

    // Save writes the report; Cancel stores nothing.
    dialogs.saveNames = {app / "report.csv"};
    fin.findChild<QPushButton*>("btnSave")->click();
    std::string report = loadStringFromFile(app / "report.csv");
    EXPECT_EQ(report.substr(0, 4), "Date");
    EXPECT_NE(report.find("\r\n1,\x8aw\x8dZ,6,300,"), std::string::npos);
    EXPECT_EQ(fin.SaveDialog1()->fileName().toStdString(), app / "report.csv");
    fin.findChild<QPushButton*>("btnCancel")->click();
    EXPECT_EQ(loadStringFromFile(path), stored);
}

// With "かな入力" on, keys go by their position (the X key code), whatever character the
// desktop's layout gives them; the session is stored under its title marked as kana. The
// keyboard guide shows the kana key tops and lights the next press's key and Shift.
TEST_F(PracticeFixture, KanaInputTypesByKeyPosition) {
    saveStringToFile(app / "user/taro.ini", "[chkGuide]\r\nChecked=1\r\n[chkKana]\r\nChecked=1\r\n");
    w->Setting().loadFor("taro");
    startSession();
    EXPECT_EQ(typingText("lblTyping"), "がっこう");
    TKeyGuide* guide = typing().guide();
    ASSERT_NE(guide, nullptr);
    EXPECT_EQ(guide->lit(), (GuideKey{'T', false}));
    EXPECT_EQ(guide->findChild<QLabel*>("guideKey_5c")->text(), "ろ");
    auto press = [this](quint32 xKeycode, bool shift, const QString& text, int gapMs = 100) {
        timers.advance(gapMs);
        QKeyEvent e(QEvent::KeyPress, Qt::Key_unknown, shift ? Qt::ShiftModifier : Qt::NoModifier,
                    xKeycode, 0, 0, text);
        QApplication::sendEvent(&typing(), &e);
    };
    press(28, false, "t", 300);  // the か key, T on a us layout
    EXPECT_EQ(typingText("lblTyping"), "゛っこう");
    press(38, false, "a");       // ち: a miss
    EXPECT_EQ(typingText("lblMiss"), "1");
    EXPECT_EQ(guide->lit(), (GuideKey{'@', false}));
    press(34, false, "[");       // ゛
    EXPECT_EQ(guide->lit(), (GuideKey{'Z', true}));
    press(52, true, "Z");        // Shift and the つ key: っ
    press(56, false, "b");       // こ
    press(13, false, "4");       // う
    EXPECT_EQ(typingText("lblTyping"), "");
    timers.advance(500);
    TFin& fin = w->Fin();
    ASSERT_TRUE(fin.isVisible());
    EXPECT_EQ(fin.ls()->topLevelItem(0)->text(2), "5");  // presses
    fin.findChild<QPushButton*>("btnOK")->click();
    std::vector<std::string> f = splitRecordFields(fin.model().recordLine);
    ASSERT_EQ(f.size(), 14u);
    EXPECT_EQ(f[2], "school\x81i\x82\xa9\x82\xc8\x81j");  // school（かな）
    const std::string kst = loadStringFromFile(app / "user/taro.kst");
    EXPECT_NE(kst.find(",school\x81i\x82\xa9\x82\xc8\x81j,"), std::string::npos) << kst;
    EXPECT_NE(kst.find("B6=1/0/0/0"), std::string::npos) << kst;  // ｶ
}

TEST_F(PracticeFixture, ResultLabelsShowTheirLongestTextsWhole) {
    ResultModel m;
    auto set = [](ResultLabel& l, const char* text) { l.caption = text; };
    set(m.lbldate, "Date : 2026/12/31 23:59:59");
    set(m.lblTheme, "school");
    set(m.lblScore, "999,999,999");
    set(m.lblScore_, "+999,999,999");
    set(m.lblTime, "205:36`78");
    set(m.lblTime_, "-205:36`78");
    set(m.lblMiss, "100.000 %");
    set(m.lblMiss_, "+100.000 %");
    set(m.lblAverage, "9999.9 Hits/Min");
    set(m.lblAverage_, "+9999.9 Hits/Min");
    set(m.lblMaxcombo, "99999");
    set(m.lblMaxCombo_, "+99999");
    set(m.lblBonus, "999,999,999");
    for (int i = 0; i < 4; ++i) {
        set(m.lblResult[static_cast<std::size_t>(i)], "100");
        set(m.lblResult_[static_cast<std::size_t>(i)], "+100");
    }
    TFin& fin = w->Fin();
    fin.showResult(m, app / "user/taro.rec");
    for (const auto& [name, unused] : m.labels()) {
        QLabel* l = fin.label(QString::fromStdString(name));
        ASSERT_NE(l, nullptr) << name;
        EXPECT_LE(QFontMetrics(l->font()).horizontalAdvance(l->text()), l->contentsRect().width()) << name;
    }
    // A short text keeps the laid-out size.
    m.lblAverage.caption = "244.9 Hits/Min";
    fin.showResult(m, app / "user/taro.rec");
    EXPECT_EQ(fin.label("lblAverage")->font().pixelSize(), 13);
}

}  // namespace
}  // namespace keyrook
