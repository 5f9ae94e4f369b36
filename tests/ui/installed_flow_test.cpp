// An installed program: the program folder is read-only, every file the user makes goes under
// the user's data folder. First run, registration, a practice session and its record.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <map>

#include "app/main_window.h"
#include "app/program_window.h"
#include "base/files.h"
#include "base/paths.h"
#include "typing/fin_dialog.h"
#include "typing/typing_window.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace keyrook {
namespace {

using namespace fakes;
namespace fs = std::filesystem;

// Every entry below a folder with its size and time, to see that nothing was written there
// (root is not stopped by the missing write permission).
std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> snapshot(const fs::path& dir) {
    std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> entries;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        entries[e.path().string()] = {e.is_regular_file() ? e.file_size() : 0, e.last_write_time()};
    return entries;
}

void setReadOnly(const fs::path& dir, bool readOnly) {
    const auto perms = readOnly ? fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write
                                : fs::perms::owner_write;
    const auto how = readOnly ? fs::perm_options::remove : fs::perm_options::add;
    for (const auto& e : fs::recursive_directory_iterator(dir)) fs::permissions(e.path(), perms, how);
    fs::permissions(dir, perms, how);
}

TEST(InstalledProgram, FirstRunPracticeAndRecordLandInTheUsersDataFolder) {
    keyrook::testing::TempDir share, home;
    saveStringToFile(share / "data/school.std", "desc/me\r\n\x8aw\x8dZ\r\nGA18KOU\r\n");
    setReadOnly(share.dir(), true);
    const auto before = snapshot(share.dir());
    const Paths paths = Paths::installed(share.dir(), home / "keyrook");

    FakeSounds sounds;
    FakeDialogs dialogs;
    FakeClock clock{100000};
    FakeTimers timers{clock};
    FakeRandom random;
    dialogs.inputs = {std::string("taro")};
    auto w = std::make_unique<ProgramWindows>(paths, sounds, dialogs, clock, random, &timers);
    timers.setHandler([&](const std::string& name) {
        w->Typing().engine().timerFired(name);
        w->Typing().render();
    });
    const std::string userDir = home / "keyrook/user/";
    EXPECT_EQ(loadStringFromFile(userDir + "user.log"), "taro\r\n");
    EXPECT_EQ(w->MainForm().pager().titles(), std::vector<std::string>{"school"});

    dialogs.confirms = {true};
    dialogs.inputs = {std::string("hanako")};
    w->MainForm().entryClick(MenuEntry::UserRegist);
    EXPECT_TRUE(dialogs.messages.empty());

    w->MainForm().show();
    w->MainForm().entryClick(MenuEntry::Practice);
    TTyping& typing = w->Typing();
    ASSERT_TRUE(typing.isVisible());
    typing.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&typing));
    QTest::keyClick(&typing, Qt::Key_F1);
    timers.advance(2100);
    for (char c : std::string("gakkou")) {
        timers.advance(100);
        QTest::keyClicks(&typing, QString(QChar(c)));
    }
    timers.advance(500);
    ASSERT_TRUE(w->Fin().isVisible());
    w->Fin().findChild<QPushButton*>("btnOK")->click();
    const std::string stored = loadStringFromFile(userDir + "taro.rec");
    EXPECT_EQ(stored, "\r\n" + w->Fin().model().recordLine + "\r\n");

    typing.hide();
    w->MainForm().show();
    w->MainForm().close();
    EXPECT_EQ(loadStringFromFile(userDir + "user.log"), "taro\r\ntaro\r\nhanako\r\n");
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front();

    EXPECT_EQ(snapshot(share.dir()), before);
    setReadOnly(share.dir(), false);  // so the folder can be removed
}

}  // namespace
}  // namespace keyrook
