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
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace keyrook {
namespace {

using namespace fakes;

struct Startup : ::testing::Test {
    keyrook::testing::TempDir app;
    FakeSounds sounds;
    FakeDialogs dialogs;
    FakeClock clock{1000};
    FakeTimers timers{clock};
    FakeRandom random;

    void SetUp() override {
        saveStringToFile(app / "data/a.std", "d/me\r\nq\r\nKA\r\n");
        saveStringToFile(app / "user/user.log", "taro\r\ntaro\r\n");
    }
    std::unique_ptr<ProgramWindows> start() {
        return std::make_unique<ProgramWindows>(app.dir(), sounds, dialogs, clock, random, &timers,
                                                ProgramWindows::Start::AfterFirstPaint);
    }
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
