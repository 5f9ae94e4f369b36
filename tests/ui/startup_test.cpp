// The program's start-up: the menu is painted before the hidden windows are made, and they are
// made, in their order, right after that paint or as soon as anything needs one.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
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
    std::unique_ptr<ProgramWindows> start() { return makeWindows(ProgramWindows::Start::AfterFirstPaint); }
};

TEST_F(Startup, HiddenWindowsFollowTheFirstPaint) {
    auto w = start();
    int completed = 0;
    w->onComplete = [&] { ++completed; };
    EXPECT_FALSE(w->complete());
    w->MainForm().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w->MainForm()));
    QElapsedTimer waited;
    waited.start();
    while (!completed && waited.elapsed() < 5000) QCoreApplication::processEvents();
    EXPECT_EQ(completed, 1);
    EXPECT_TRUE(w->complete());
    // The settings were loaded as at any start, and the menu still shows the selected set.
    EXPECT_EQ(w->MainForm().findChild<QLabel*>("lblTitle")->text(), "a");
    w->MainForm().hide();
}

TEST_F(Startup, AWindowAskedForBeforeThePaintIsMadeAtOnce) {
    auto w = start();
    EXPECT_FALSE(w->complete());
    EXPECT_FALSE(w->Setting().isVisible());
    EXPECT_TRUE(w->complete());
}

}  // namespace
}  // namespace keyrook
