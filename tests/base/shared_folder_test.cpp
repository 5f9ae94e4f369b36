// Several programs on one folder (a classroom on a file server): changes wait for each other
// under the file's lock, merges keep what others stored, and planted links are refused.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <set>

#include "app/user_list.h"
#include "base/files.h"
#include "base/line_reader.h"
#include "reflex/ref_file.h"
#include "support/temp_dir.h"
#include "tenkey/tenkey_engine.h"
#include "typing/key_stats.h"
#include "typing/record_file.h"

namespace keyrook {
namespace {

using testing::readRaw;
using testing::TempDir;

pid_t spawn(std::initializer_list<std::string> args) {
    pid_t child = ::fork();
    if (child == 0) {
        std::vector<char*> argv;
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return child;
}

TEST(SharedFolder, ProgramsStoringIntoTheSameFilesAtOnceLoseNothing) {
    TempDir tmp;
    const std::string dir = tmp / "user/";
    constexpr int kChildren = 4, kRounds = 60;  // five changes a round: 300 per program
    std::vector<pid_t> children;
    for (int id = 1; id <= kChildren; ++id)
        children.push_back(spawn({KEYROOK_SHARE_CHILD, dir, std::to_string(id), std::to_string(kRounds)}));
    for (pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    constexpr std::size_t kAll = kChildren * kRounds;

    UserList users;
    users.load(readRaw(dir + "user.log"));
    EXPECT_EQ(users.items.size(), kAll);
    EXPECT_TRUE(users.skipped.empty());
    std::set<std::string> tenkeyExpected, tenkeyStored;
    std::string flagsExpected = "000000";
    for (int id = 1; id <= kChildren; ++id)
        for (int round = 0; round < kRounds; ++round) {
            EXPECT_TRUE(users.contains("p" + std::to_string(id) + "-" + std::to_string(round)));
            tenkeyExpected.insert(std::to_string(id * 100000 + round));
            if (round % 7 == 0) flagsExpected[round % 6] = '1';
        }

    const std::vector<std::string> records = splitNonEmptyLines(readRaw(dir + "class.rec"));
    EXPECT_EQ(records.size(), kAll);
    for (const std::string& line : records) EXPECT_TRUE(isValidRecordLine(line)) << line;
    const std::string keyText = readRaw(dir + "class.kst");
    EXPECT_EQ(splitNonEmptyLines(keyText).size(), kAll);
    EXPECT_EQ(readKeyStats(keyText).size(), kAll);
    const std::vector<std::string> reflex = splitNonEmptyLines(readRaw(dir + "class.ref"));
    ASSERT_EQ(reflex.size(), kAll + 1);
    EXPECT_EQ(reflex.front(), flagsExpected);
    for (std::size_t i = 1; i < reflex.size(); ++i) EXPECT_TRUE(isValidRecordLine(reflex[i])) << reflex[i];
    for (const std::string& line : splitNonEmptyLines(readRaw(dir + "class.tnk"))) tenkeyStored.insert(line);
    EXPECT_EQ(tenkeyStored, tenkeyExpected);
}

// Two programs started on one list, each registering a user, closing in either order.
TEST(SharedFolder, UserListKeepsTheNamesOfBothProgramsWhicheverClosesLast) {
    for (bool firstCloses : {true, false}) {
        TempDir tmp;
        const std::string list = tmp / "user/user.log";
        saveStringToFile(list, "alice\r\nalice\r\n");
        UserList a, b;
        a.load(readRaw(list));
        b.load(readRaw(list));
        a.items.push_back("bob");
        b.items.push_back("carol");
        b.current = "carol";
        UserList& last = firstCloses ? b : a;
        for (UserList* p : {firstCloses ? &a : &b, &last})
            updateFile(list, [&](const std::optional<std::string>& now) { return p->mergedSaveText(now); });
        const std::string expected = firstCloses ? "carol\r\nalice\r\nbob\r\ncarol\r\n"
                                                 : "alice\r\nalice\r\ncarol\r\nbob\r\n";
        EXPECT_EQ(readRaw(list), expected) << firstCloses;
    }
}

// A change that waits too long for another program's lock gives up without touching the file;
// a reader does not wait at all.
TEST(SharedFolder, ChangeHeldUpByAnotherProgramFailsCleanlyAndCanBeRetried) {
    TempDir tmp;
    const std::string path = tmp / "user/taro.ref";
    saveStringToFile(path, "old\r\n");
    int locked[2], release[2];
    ASSERT_EQ(::pipe(locked), 0);
    ASSERT_EQ(::pipe(release), 0);
    pid_t holder = ::fork();
    if (holder == 0) {
        updateFile(path, [&](const std::optional<std::string>& now) {
            char c = 'x';
            [[maybe_unused]] auto w = ::write(locked[1], &c, 1);
            [[maybe_unused]] auto r = ::read(release[0], &c, 1);
            return *now;
        });
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(locked[0], &c, 1), 1);
    setFileLockWait(std::chrono::milliseconds(100));
    EXPECT_EQ(loadStringFromFile(path, Links::Refuse), "old\r\n");
    try {
        storeReflexRecord(path, reflexRecordLine(1, 2, "3", "4", "5", "6"), 1, true);
        ADD_FAILURE() << "stored past the lock";
    } catch (const FileBusyError& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos);
    }
    EXPECT_THROW(appendLinesToFile(path, "x\r\n"), FileBusyError);
    EXPECT_EQ(readRaw(path), "old\r\n");
    ASSERT_EQ(::write(release[1], &c, 1), 1);
    int status = 0;
    ::waitpid(holder, &status, 0);
    setFileLockWait(std::chrono::seconds(5));
    appendLinesToFile(path, "x\r\n");
    EXPECT_EQ(readRaw(path), "old\r\nx\r\n");
    for (int fd : {locked[0], locked[1], release[0], release[1]}) ::close(fd);
}

// Links and folders planted in the user folder are neither written through nor read, and the
// message names them.
TEST(SharedFolder, SymbolicLinksAndFoldersInTheUserFolderAreRefused) {
    TempDir tmp;
    const std::string outside = tmp / "outside/victim.txt", user = tmp / "user/";
    saveStringToFile(outside, "teacher's file\r\n");
    std::filesystem::create_directories(user + "dir.rec");
    for (const std::string name : {"u.rec", "u.ini", "u.ref", "u.tnk", "user.log", "dir.rec"}) {
        const std::string path = user + name;
        if (name != "dir.rec") std::filesystem::create_symlink("../outside/victim.txt", path);
        const std::string what = name == "dir.rec" ? "フォルダ" : "シンボリックリンク";
        const std::vector<std::function<void()>> uses = {
            [&] { saveStringToFile(path, "x\r\n"); },
            [&] { writeRecord(path, "x"); },
            [&] { appendTenkeyScore(path, 1); },
            [&] { storeReflexRecord(path, reflexRecordLine(1, 2, "3", "4", "5", "6"), 1, true); },
            [&] { loadStringFromFile(path, Links::Refuse); },
            [&] { FileLines lines(path, Links::Refuse); },
            [&] { readClearMarks(path); },
        };
        for (std::size_t i = 0; i < uses.size(); ++i) {
            try {
                uses[i]();
                ADD_FAILURE() << name << " use " << i << " went through";
            } catch (const FileError& e) {
                EXPECT_EQ(std::string(e.what()), "「" + path + "」は" + what + "のため使用できません。")
                    << name << " use " << i;
            }
        }
    }
    EXPECT_EQ(readRaw(outside), "teacher's file\r\n");
    EXPECT_TRUE(std::filesystem::is_symlink(user + "u.rec"));
    EXPECT_TRUE(std::filesystem::is_directory(user + "dir.rec"));
    // A dangling link is refused too, and nothing is made where it points.
    std::filesystem::create_symlink("../outside/new.txt", user + "v.kst");
    EXPECT_THROW(writeRecord(user + "v.kst", "x"), FileError);
    EXPECT_FALSE(std::filesystem::exists(tmp / "outside/new.txt"));
}

TEST(SharedFolder, SystemReasonsAreGivenInJapanese) {
    for (int err : {EISDIR, ENOTDIR, ELOOP, EBUSY, ETXTBSY, EACCES, ENOSPC, EIO, ESTALE}) {
        const std::string text = fileErrorMessage("a", FileAction::Save, err);
        EXPECT_EQ(text.find(std::strerror(err)), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace keyrook
