#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include "app/about_dialog.h"
#include "app/help_window.h"
#include "app/main_window.h"
#include "base/cp932.h"
#include "base/files.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "widgets/elided_label.h"
#include "widgets/radio_group.h"
#include "widgets/shape.h"

namespace keyrook {
namespace {

using fakes::FakeDialogs;
using fakes::FakeSounds;
using testing::TempDir;

// "ことわざ集/編集部", one question.
const std::string kSet = "\x82\xb1\x82\xc6\x82\xed\x82\xb4\x8f\x57/\x95\xd2\x8f\x57\x95\x94\r\n"
                         "\x8aw\x8dZ\r\nGA18KOU\r\n";

struct MainFixture : ::testing::Test {
    TempDir app;
    FakeSounds sounds;
    FakeDialogs dialogs;

    void addSets(int n) {
        for (int i = 1; i <= n; ++i) saveStringToFile(app / ("data/s" + std::to_string(i) + ".std"), kSet);
    }
    std::unique_ptr<TMainForm> open() { return std::make_unique<TMainForm>(app.dir(), sounds, dialogs); }
    // Shortcuts reach only the active window.
    static void activate(QWidget* w) {
        w->show();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    }
    QAction* action(TMainForm& w, const char* name) { return w.findChild<QAction*>(name); }
    QString text(TMainForm& w, const char* label) { return w.findChild<QLabel*>(label)->text(); }
};

TEST_F(MainFixture, FirstRunCancelRegistersSomebodyAndCloseWritesTheListTwice) {
    addSets(1);
    auto w = open();
    ASSERT_EQ(dialogs.inputRequests.size(), 1u);
    EXPECT_EQ(dialogs.inputRequests[0].caption, "ﾕｰｻﾞ名の初期登録");
    EXPECT_EQ(loadStringFromFile(app / "user/user.log"), "somebody\r\n");
    EXPECT_EQ(w->currentUser(), "somebody");
    EXPECT_EQ(w->findChild<QComboBox*>("cmbUser")->currentText(), "somebody");
    w->show();
    EXPECT_EQ(sounds.played.back().name, "op");
    EXPECT_TRUE(sounds.played.back().loop);
    w->close();
    EXPECT_EQ(sounds.played.back().name, "no");
    EXPECT_EQ(loadStringFromFile(app / "user/user.log"), "somebody\r\nsomebody\r\n");

    // The next start finds the list and asks nothing.
    FakeDialogs again;
    TMainForm second(app.dir(), sounds, again);
    EXPECT_TRUE(again.inputRequests.empty());
    EXPECT_EQ(second.users().items, std::vector<std::string>{"somebody"});
}

// An empty name at the first run is a user: offered in the list, kept at close, and the one
// whose files the sessions use.
TEST_F(MainFixture, AnEmptyFirstNameIsAUserThatStaysListed) {
    addSets(1);
    dialogs.inputs = {std::string()};
    for (int run = 0; run < 2; ++run) {
        auto w = open();
        auto* cmb = w->findChild<QComboBox*>("cmbUser");
        ASSERT_EQ(cmb->count(), 1) << run;
        EXPECT_EQ(cmb->currentIndex(), 0) << run;
        EXPECT_EQ(w->currentUser(), "") << run;
        EXPECT_EQ(w->context().userFile(".rec"), app / "user/.rec") << run;
        w->close();
        EXPECT_EQ(loadStringFromFile(app / "user/user.log"), "\r\n\r\n") << run;
    }
    EXPECT_EQ(dialogs.inputRequests.size(), 1u);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainFixture, ListLinesThatAreNoUsableNamesAreSkippedReportedOnceAndKept) {
    addSets(1);
    saveStringToFile(app / "user/user.log", "../../x\r\ntaro\r\na/b\r\n");
    auto w = open();
    auto* cmb = w->findChild<QComboBox*>("cmbUser");
    ASSERT_EQ(cmb->count(), 1);
    EXPECT_EQ(cmb->itemText(0), "taro");
    EXPECT_EQ(w->currentUser(), "taro");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const std::string& said = dialogs.messages[0];
    EXPECT_NE(said.find("user.log"), std::string::npos) << said;
    EXPECT_NE(said.find("「../../x」"), std::string::npos) << said;
    EXPECT_NE(said.find("「a/b」"), std::string::npos) << said;
    w->close();
    EXPECT_EQ(loadStringFromFile(app / "user/user.log"), "taro\r\ntaro\r\na/b\r\n../../x\r\n");
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

// A damaged set of 16 MB and more is not read: the menu says so and stays quick.
TEST_F(MainFixture, AProblemSetOverSixteenMegabytesIsRefusedByName) {
    saveStringToFile(app / "user/user.log", "taro\r\ntaro\r\n");
    const std::string big = std::string((16u << 20) + 1, 'a');
    saveStringToFile(app / "data/big.std", big);
    auto w = open();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].find("big.std"), std::string::npos) << dialogs.messages[0];
    EXPECT_TRUE(w->SetLines.empty());
    EXPECT_EQ(findFile(app / "data/big.std"), big.size());
}

TEST_F(MainFixture, RegistrationRefusesAnotherCaseAndListChangesOnlyAtClose) {
    saveStringToFile(app / "user/user.log", "taro\r\ntaro\r\n");
    auto w = open();
    dialogs.confirms = {true, true};
    dialogs.inputs = {std::string("Taro"), std::string("hanako")};
    activate(w.get());
    QTest::keyClick(w.get(), Qt::Key_U, Qt::ControlModifier);
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages.back(), "そのﾕｰｻﾞ名はすでに登録されております！");
    w->entryClick(MenuEntry::UserRegist);
    auto* cmb = w->findChild<QComboBox*>("cmbUser");
    EXPECT_EQ(cmb->count(), 2);
    EXPECT_EQ(cmb->currentText(), "taro");
    EXPECT_EQ(loadStringFromFile(app / "user/user.log"), "taro\r\ntaro\r\n");
    cmb->setCurrentIndex(1);
    emit cmb->activated(1);
    w->close();
    EXPECT_EQ(loadStringFromFile(app / "user/user.log"), "hanako\r\ntaro\r\nhanako\r\n");
}

// Two programs on one folder each register a user; whichever closes last, both names stay, and
// the list starts with the user of the program that closed last.
TEST_F(MainFixture, TwoProgramsOnOneFolderKeepEachOthersRegistrations) {
    for (bool firstClosesFirst : {true, false}) {
        saveStringToFile(app / "user/user.log", "taro\r\ntaro\r\n");
        auto first = open(), second = open();
        dialogs.confirms = {true, true};
        dialogs.inputs = {std::string("hanako"), std::string("jiro")};
        first->entryClick(MenuEntry::UserRegist);
        second->entryClick(MenuEntry::UserRegist);
        if (firstClosesFirst) {
            first->close();
            second->close();
        } else {
            second->close();
            first->close();
        }
        EXPECT_EQ(loadStringFromFile(app / "user/user.log"),
                  firstClosesFirst ? "taro\r\ntaro\r\nhanako\r\njiro\r\n"
                                   : "taro\r\ntaro\r\njiro\r\nhanako\r\n");
    }
}

TEST_F(MainFixture, ElevenTitlesPageToTheSecondPageAndBack) {
    addSets(11);
    auto w = open();
    auto* next = w->findChild<QToolButton*>("btnNext");
    auto* back = w->findChild<QToolButton*>("btnBack");
    auto* rgp = w->findChild<TRadioGroup*>("rgpTitle");
    EXPECT_TRUE(next->isEnabled());
    EXPECT_FALSE(back->isEnabled());
    EXPECT_EQ(text(*w, "lblPages"), "01");
    EXPECT_EQ(rgp->count(), 10);
    EXPECT_EQ(rgp->itemIndex(), 0);
    EXPECT_EQ(text(*w, "lblCount"), "問題数 : 1");
    EXPECT_EQ(text(*w, "lblMaker"), "制作者 : 編集部");
    EXPECT_EQ(text(*w, "lblExpress"), "ことわざ集");

    activate(w.get());
    QTest::keyClick(w.get(), Qt::Key_Down);
    QTest::keyClick(w.get(), Qt::Key_Down);
    EXPECT_EQ(rgp->itemIndex(), 2);
    EXPECT_EQ(text(*w, "lblTitle"), rgp->items()[2]);

    QTest::keyClick(w.get(), Qt::Key_Right);
    EXPECT_EQ(text(*w, "lblPages"), "02");
    EXPECT_EQ(rgp->count(), 1);
    EXPECT_EQ(rgp->itemIndex(), 0);
    EXPECT_EQ(text(*w, "lblTitle"), rgp->items()[0]);
    EXPECT_FALSE(next->isEnabled());
    EXPECT_TRUE(back->isEnabled());
    QTest::keyClick(w.get(), Qt::Key_Right);  // nothing further
    EXPECT_EQ(text(*w, "lblPages"), "02");

    back->click();
    EXPECT_EQ(text(*w, "lblPages"), "01");
    EXPECT_EQ(rgp->count(), 10);
    EXPECT_FALSE(back->isEnabled());
}

TEST_F(MainFixture, PracticeWithoutTitlesSaysSoAndDispatchMatchesTheLabel) {
    auto w = open();
    EXPECT_FALSE(w->findChild<QToolButton*>("btnNext")->isEnabled());
    EXPECT_EQ(text(*w, "lblTitle"), "");
    int started = 0;
    w->startPractice = [&] { ++started; };
    activate(w.get());
    QTest::keyClick(w.get(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages.back(), "リストが選択されておりません！");
    w->entryClick(MenuEntry::Practice);
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(started, 0);
}

TEST_F(MainFixture, MenuCommandsRunTheSameActionAsTheirEntries) {
    addSets(2);
    auto w = open();
    std::vector<int> ran;
    w->startPractice = [&] { ran.push_back(1); };
    for (MenuEntry e : {MenuEntry::Record, MenuEntry::Invader, MenuEntry::Reflection,
                        MenuEntry::Tenkey, MenuEntry::Setting, MenuEntry::Maker})
        w->setEntryAction(e, [&ran, e] { ran.push_back(entryNumber(e)); });
    for (const char* name : {"mnuPractice", "mnuRecord", "mnuTP_Invader", "mnuReflection",
                             "mnuTenkey", "mnuSetting", "mnuTP_Maker"})
        action(*w, name)->trigger();
    EXPECT_EQ(ran, (std::vector<int>{1, 3, 4, 5, 6, 9, 10}));

    // Clicking the entry label does the same.
    QTest::mouseClick(w->entryLabel(MenuEntry::Practice), Qt::LeftButton);
    EXPECT_EQ(ran.back(), 1);
    activate(w.get());
    QTest::keyClick(w.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(ran.back(), 9);
}

TEST_F(MainFixture, HighlightFollowsTheMouseBetweenEntries) {
    addSets(1);
    auto w = open();
    w->show();
    auto move = [](QWidget* target) {
        QMouseEvent e(QEvent::MouseMove, QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    };
    move(w->entryLabel(MenuEntry::Practice));
    EXPECT_EQ(w->highlighted(), 1);
    EXPECT_EQ(w->entryCircle(MenuEntry::Practice)->penColor(), QColor(Qt::red));
    move(w->entryBar(MenuEntry::Reflection));
    EXPECT_EQ(w->highlighted(), 5);
    EXPECT_EQ(w->entryCircle(MenuEntry::Practice)->penColor(), QColor(0x80, 0, 0));
    EXPECT_EQ(w->entryLabel(MenuEntry::Reflection)->palette().color(QPalette::WindowText), QColor(0xFF, 0xFF, 0));
    EXPECT_EQ(w->entryBar(MenuEntry::Reflection)->penColor(), QColor(0x80, 0x80, 0));  // the bar keeps its colour
    move(w->entryLabel(MenuEntry::Setting));
    EXPECT_EQ(w->highlighted(), 9);
    EXPECT_EQ(w->entryLabel(MenuEntry::Setting)->palette().color(QPalette::WindowText), QColor(0xC0, 0xC0, 0xC0));
    move(w->centralWidget());
    EXPECT_EQ(w->highlighted(), 0);
}

TEST_F(MainFixture, EnglishSetsAndBrokenFilesShowWhatTheyCan) {
    saveStringToFile(app / "data/a.std", "desc/me#\r\nq\r\nanswer\r\n");
    auto w = open();
    EXPECT_TRUE(w->PlainReadings);
    EXPECT_EQ(text(*w, "lblMaker"), "制作者 : me");
    EXPECT_EQ(w->SetLines.size(), 3u);

    TempDir other;
    saveStringToFile(other / "data/empty.std", "");
    TMainForm empty(other.dir(), sounds, dialogs);
    EXPECT_EQ(empty.findChild<QLabel*>("lblCount")->text(), "問題数 : 0");
    EXPECT_FALSE(empty.PlainReadings);

    TempDir third;
    saveStringToFile(third / "data/bin.std", std::string("\xFF\x00\x81\r\n\x01", 6));
    TMainForm binary(third.dir(), sounds, dialogs);
    EXPECT_EQ(binary.SetLines.size(), 1u);

    // An extension in upper case is listed and read like any other.
    TempDir fourth;
    saveStringToFile(fourth / "data/Upper.STD", kSet);
    TMainForm upper(fourth.dir(), sounds, dialogs);
    EXPECT_EQ(upper.pager().items(), std::vector<std::string>{"Upper"});
    EXPECT_EQ(upper.SetLines.size(), 3u);
}

TEST_F(MainFixture, InformationAndUserBoxesShowWholeGlyphsOnly) {
    std::string lines;
    for (int i = 0; i < 123456; ++i) lines += "q\r\nA\r\n";
    saveStringToFile(app / "data/set.std",
                     cp932Of("これはとても長い説明文です。三行に収まらないほど長く書いてあるので、"
                             "最後は省略記号で終わるはずです。/とても長い名前の制作者さんとその仲間たち") +
                         "\r\n" + lines);
    const std::string longName(300, 'n');
    saveStringToFile(app / "user/user.log", "taro\r\ntaro\r\n" + longName + "\r\n");
    auto w = open();
    w->show();
    auto fits = [](const QLabel* l, const QString& text) {
        return QFontMetrics(l->font()).horizontalAdvance(text) <= l->contentsRect().width();
    };
    auto* count = w->findChild<QLabel*>("lblCount");
    auto* maker = w->findChild<TElidedLabel*>("lblMaker");
    auto* express = w->findChild<TElidedLabel*>("lblExpress");
    ASSERT_TRUE(maker && express);
    EXPECT_EQ(count->text(), "問題数 : 123456");
    EXPECT_TRUE(fits(count, count->text()));  // the count is never cut
    EXPECT_GT(maker->x(), count->geometry().right());
    EXPECT_LE(maker->geometry().right(), 229);
    ASSERT_EQ(maker->shownLines().size(), 1);
    EXPECT_TRUE(maker->shownLines()[0].endsWith("…"));
    EXPECT_TRUE(fits(maker, maker->shownLines()[0]));
    EXPECT_TRUE(maker->text().endsWith("仲間たち"));  // the label keeps the whole text

    // Three whole lines in the description's place, the last one elided.
    const QStringList shown = express->shownLines();
    ASSERT_EQ(shown.size(), 3);
    EXPECT_TRUE(shown[2].endsWith("…"));
    for (const QString& line : shown) EXPECT_TRUE(fits(express, line)) << line.toStdString();
    EXPECT_LE(3 * express->lineStep(), express->height());

    // A long user name leaves the box and its list at the laid-out width.
    auto* users = w->findChild<QComboBox*>("cmbUser");
    users->setCurrentIndex(1);
    EXPECT_EQ(users->width(), 169);
    users->showPopup();
    EXPECT_LE(users->view()->window()->width(), users->width());
    users->hidePopup();
}

TEST_F(MainFixture, HelpOpensTheTopicOrSaysTheFileIsMissing) {
    auto w = open();
    w->context().Helper(HelpContext::MainMenu);
    EXPECT_EQ(dialogs.messages.back(), "ヘルプファイル『help.hlp』が見つかりません。");
    saveStringToFile(app / "help.hlp",
                     "; comment\r\n@topic 1 \x96\xda\x8e\x9f\r\nfirst\r\n@topic 16 set\r\n\x81\x45item\r\n");
    w->context().Helper(HelpContext::Setting);
    auto* help = w->findChild<HelpWindow*>();
    ASSERT_TRUE(help);
    EXPECT_EQ(help->currentTopic(), 16);
    EXPECT_TRUE(help->currentText().contains("item"));
    w->context().Helper(static_cast<HelpContext>(99));  // a topic the file lacks
    EXPECT_EQ(help->currentTopic(), 1);
    activate(help);
    QTest::keyClick(help, Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());
}

TEST_F(MainFixture, AboutLinksAskFirst) {
    auto w = open();
    std::vector<QUrl> opened;
    TAbout::openUrl = [&](const QUrl& u) { opened.push_back(u); };
    TAbout about(w->context());
    EXPECT_EQ(about.windowTitle(), "このｿﾌﾄについて...");
    dialogs.confirms = {false, true, true};
    about.linkButton(0)->click();
    EXPECT_TRUE(opened.empty());
    about.linkButton(0)->click();
    about.linkButton(1)->click();
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0].toString(), TAbout::kSiteAddress);
    EXPECT_EQ(opened[1].toString(), TAbout::kProblemSetAddress);
    EXPECT_EQ(dialogs.shown[dialogs.shown.size() - 1], "問題集を取りに行きますか？？");
    about.linkButton(2)->click();
    EXPECT_EQ(opened.size(), 2u);
}

}  // namespace
}  // namespace keyrook
