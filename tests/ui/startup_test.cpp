// The program's start-up: the menu is painted first; the other windows are made, in their
// order, when anything first needs one.
#include <gtest/gtest.h>

#include <filesystem>

#include <QApplication>
#include <QLabel>
#include <QTest>

#include "app/main_window.h"
#include "app/program_window.h"
#include "base/files.h"
#include "settings/setting_window.h"
#include "support/program_fixture.h"

namespace keyrook {
namespace {

struct Startup : testing::ProgramFixture {
    void SetUp() override {
        clock.set(1000);
        writeMinimalProgram();
    }
    std::unique_ptr<ProgramWindows> start() { return makeWindows(ProgramWindows::Start::OnFirstUse); }
    // The menu shown and painted, up to the step after the first paint.
    void showMenu(ProgramWindows& w) {
        int paints = 0;
        w.afterFirstPaint = [&paints] { ++paints; };
        w.MainForm().show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w.MainForm()));
        QTRY_COMPARE(paints, 1);
        w.afterFirstPaint = nullptr;
    }
};

TEST_F(Startup, OtherWindowsAreMadeWhenFirstNeeded) {
    auto w = start();
    showMenu(*w);
    EXPECT_FALSE(w->complete());
    EXPECT_EQ(w->MainForm().findChild<QLabel*>("lblTitle")->text(), "a");
    EXPECT_FALSE(w->Setting().isVisible());
    EXPECT_TRUE(w->complete());
    // The settings were loaded as at any start, and the menu still shows the selected set.
    EXPECT_EQ(w->MainForm().findChild<QLabel*>("lblTitle")->text(), "a");
    w->MainForm().hide();
}

// Made late, the windows still start with the settings of the user shown at start; without a
// set to select, the title the settings file stores shows in the menu as soon as it is up.
TEST_F(Startup, LateWindowsStartAsTheyWouldHaveAtStart) {
    saveStringToFile(app / "user/user.log", "taro\r\ntaro\r\nhana\r\n");
    saveStringToFile(app / "user/taro.ini", "[chkFlash]\r\nChecked=0\r\n\r\n[lblTitle]\r\nCaption=old\r\n\r\n");
    auto w = start();
    showMenu(*w);
    ASSERT_TRUE(w->MainForm().selectUser("hana"));
    EXPECT_FALSE(w->Setting().options().chkFlash);

    std::filesystem::remove(app / "data/a.std");
    auto empty = start();
    showMenu(*empty);
    EXPECT_TRUE(empty->complete());
    EXPECT_EQ(empty->MainForm().findChild<QLabel*>("lblTitle")->text(), "old");
    w->MainForm().hide();
    empty->MainForm().hide();
}

}  // namespace
}  // namespace keyrook
