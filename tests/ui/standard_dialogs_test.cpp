// Message boxes, choosers and dialogs opened from the program's windows: they keep the normal
// dialog colours whatever the window's own look, and their standard buttons read Japanese.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/about_dialog.h"
#include "app/help_window.h"
#include "app/main_window.h"
#include "app/program_window.h"
#include "base/files.h"
#include "problemsets/maker_window.h"
#include "records/log_window.h"
#include "reflex/ref_fin_dialog.h"
#include "settings/mine_dialog.h"
#include "settings/setting_window.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "tenkey/tenkey_window.h"
#include "typing/invader_window.h"
#include "widgets/qt_services.h"

namespace keyrook {
namespace {

using namespace fakes;

// A dialog holding one of each control a message box or chooser is made of, as a picture.
QImage probe(QWidget* owner) {
    QDialog d(owner);
    auto* layout = new QVBoxLayout(&d);
    layout->addWidget(new QLabel("ラベル label", &d));
    layout->addWidget(new QCheckBox("チェック", &d));
    layout->addWidget(new QRadioButton("ラジオ", &d));
    auto* box = new QGroupBox("見出し", &d);
    auto* inner = new QVBoxLayout(box);
    inner->addWidget(new QLabel("中の文字", box));
    layout->addWidget(box);
    layout->addWidget(new QLineEdit("入力", &d));
    auto* combo = new QComboBox(&d);
    combo->addItem("候補");
    layout->addWidget(combo);
    auto* list = new QListWidget(&d);
    list->addItem("一覧");
    list->setFixedHeight(40);
    layout->addWidget(list);
    layout->addWidget(new QPushButton("ボタン", &d));
    d.setFixedSize(240, 300);
    d.ensurePolished();
    return d.grab().toImage();
}

TEST(StandardDialogs, KeepTheirColoursUnderEveryWindow) {
    keyrook::testing::TempDir app;
    saveStringToFile(app / "user/user.log", "taro\r\ntaro\r\n");
    saveStringToFile(app / "data/a.std", "d/me\r\nq\r\nKA\r\n");
    FakeSounds sounds;
    FakeDialogs dialogs;
    FakeClock clock;
    FakeTimers timers{clock};
    FakeRandom random;
    ProgramWindows windows(app.dir(), sounds, dialogs, clock, random, &timers);
    TMainForm& main = windows.MainForm();
    // The windows opened from the menu, alive at the same time here.
    TTenkey tenkey(main.context(), random, &timers);
    TTPMaker maker(main.context());
    TLog log(main.context());
    TRefFin refFin(main.context());
    TAbout about(main.context());
    TMine mine(windows.Setting(), dialogs);
    TInvader invader;
    HelpWindow help(&main);

    const QImage plain = probe(nullptr);
    int windowsProbed = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        // The program's own windows; pop-ups of their controls are not owners of dialogs.
        if (!QString(w->metaObject()->className()).startsWith("keyrook::")) continue;
        ++windowsProbed;
        EXPECT_TRUE(probe(w) == plain) << "a look leaks from " << w->metaObject()->className();
    }
    EXPECT_GE(windowsProbed, 13);
}

TEST(StandardDialogs, ButtonsAndChoosersSpeakJapanese) {
    ASSERT_TRUE(installQtTranslation());
    QMessageBox box(QMessageBox::Warning, "Keyrook", "text",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_TRUE(box.button(QMessageBox::Yes)->text().startsWith("はい")) << box.button(QMessageBox::Yes)->text().toStdString();
    EXPECT_TRUE(box.button(QMessageBox::No)->text().startsWith("いいえ"));
    EXPECT_TRUE(box.button(QMessageBox::Cancel)->text().startsWith("キャンセル"));
}

}  // namespace
}  // namespace keyrook
