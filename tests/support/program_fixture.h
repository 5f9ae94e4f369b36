// The program's long-lived windows over a temporary program folder, on virtual time: the base of
// the UI tests that play whole sessions. A test writes its sets and user list, then calls
// startProgram().
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QTest>

#include <cstdint>
#include <memory>

#include "app/main_window.h"
#include "app/program_window.h"
#include "base/files.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "typing/fin_dialog.h"
#include "typing/scoring.h"
#include "typing/typing_window.h"

namespace keyrook::testing {

struct ProgramFixture : ::testing::Test {
    TempDir app;
    fakes::FakeSounds sounds;
    fakes::FakeDialogs dialogs;
    fakes::FakeClock clock{100000};
    fakes::FakeTimers timers{clock};
    fakes::FakeRandom random;
    std::unique_ptr<ProgramWindows> w;

    // The smallest program folder: the set "a" with one question, and the user taro.
    void writeMinimalProgram() {
        saveStringToFile(app / "data/a.std", "d/me\r\nq\r\nKA\r\n");
        saveStringToFile(app / "user/user.log", "taro\r\ntaro\r\n");
    }
    // Windows of their own over the same folder and fakes, as a test that starts them twice or
    // at another moment needs.
    std::unique_ptr<ProgramWindows> makeWindows(
        ProgramWindows::Start start = ProgramWindows::Start::Together) {
        return std::make_unique<ProgramWindows>(app.dir(), sounds, dialogs, clock, random, &timers,
                                                start);
    }

    // The windows as the program makes them, the typing timers on virtual time, the result
    // dialog's date fixed, and the main menu shown.
    void startProgram() {
        w = makeWindows();
        timers.setHandler([this](const std::string& name) {
            w->Typing().engine().timerFired(name);
            w->Typing().render();
        });
        w->now = [] { return DateTime{2026, 12, 8, 9, 5, 7}; };
        w->MainForm().show();
    }
    void TearDown() override {
        if (!w) return;
        w->Fin().hide();
        w->Typing().hide();
        w->MainForm().hide();
    }

    TTyping& typing() { return w->Typing(); }
    // Keys one after another, stepMs apart (the first after stepMs as well).
    void type(const char* keys, int stepMs) {
        for (const char* p = keys; *p; ++p) {
            timers.advance(static_cast<std::uint64_t>(stepMs));
            QTest::keyClicks(&typing(), QString(QChar(*p)));
        }
    }
};

}  // namespace keyrook::testing
