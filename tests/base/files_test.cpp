#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <thread>

#include "base/cp932.h"
#include "base/files.h"
#include "base/text.h"
#include "support/temp_dir.h"

namespace keyrook {
namespace {

using testing::readRaw;
using testing::TempDir;

TEST(Files, SplitLinesAcceptsEveryLineEndAndStopsAtNul) {
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
    };
    for (const auto& c : cases) EXPECT_EQ(splitLines(c.text), c.lines) << c.text;
}

TEST(Files, SplitNonEmptyLinesGoesOnAfterNulRuns) {
    using namespace std::string_literals;
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"\r\n\r\n\0\0", {}},
        {"a\r\n\r\nb\rc\n", {"a", "b", "c"}},
        {"a\r\n\0\0\0b\r\n"s, {"a", "b"}},
        {"a\0b\0\0c"s, {"a", "b", "c"}},
    };
    for (const auto& c : cases) EXPECT_EQ(splitNonEmptyLines(c.text), c.lines) << c.text;
}

TEST(Files, SaveCreatesMissingFoldersAndReplacesAtomically) {
    TempDir tmp;
    std::string path = tmp / "user/deep/x.rec";
    saveStringToFile(path, "one\r\n");
    EXPECT_EQ(readRaw(path), "one\r\n");
    saveStringToFile(path, "");
    EXPECT_EQ(readRaw(path), "");
    EXPECT_TRUE(std::filesystem::exists(path));
    saveStringToFile(path, "two");
    EXPECT_EQ(readRaw(path), "two");
    // Nothing but the file itself is left behind in its folder.
    int entries = 0;
    for (auto& e : std::filesystem::directory_iterator(tmp / "user/deep"))
        entries += e.path().filename() != ".keyrook.lock";
    EXPECT_EQ(entries, 1);
}

// A name the file system just takes leaves no room for ".<name>.tmp": the save still works,
// through a short temporary name that stays the same for the target, so a leftover of a
// killed save is replaced by the next one.
TEST(Files, NamesAtTheLengthLimitAreSavedThroughAShortTemporaryName) {
    TempDir tmp;
    std::string katakana;  // 83 half-width characters: 249 bytes in UTF-8
    for (int i = 0; i < 83; ++i) katakana += "ｶ";
    for (const std::string& name : {katakana + ".std", std::string(255, 'n'), std::string(250, 'm') + ".tmp"}) {
        const std::string path = tmp / ("d/" + name);
        const std::string temp = temporaryNameFor(path);
        EXPECT_EQ(temp, temporaryNameFor(path));
        EXPECT_LE(temp.size() - directoryOf(temp).size() - 1, 255u) << name;
        saveStringToFile(temp, "leftover");
        saveStringToFile(path, "one");
        saveStringToFile(path, "two");
        EXPECT_EQ(readRaw(path), "two") << name;
        EXPECT_FALSE(std::filesystem::exists(temp)) << name;
        std::filesystem::remove(path);
    }
    EXPECT_NE(temporaryNameFor(tmp / std::string(255, 'a')), temporaryNameFor(tmp / std::string(255, 'b')));
    EXPECT_EQ(temporaryNameFor(tmp / "x.ini"), tmp / ".x.ini.tmp");
    EXPECT_EQ(temporaryNameFor("x.ini"), ".x.ini.tmp");
}

TEST(Files, FailedSaveLeavesWhatWasThereAndNoTemporaryFile) {
    TempDir tmp;
    // A folder where the file should go is refused; a folder where it points is not written
    // over either, for root too.
    saveStringToFile(tmp / "x.ini/keep", "old");
    EXPECT_THROW(saveStringToFile(tmp / "x.ini", "new"), FileError);
    std::filesystem::create_symlink("x.ini", tmp / "link.ini");
    EXPECT_THROW(saveStringToFile(tmp / "link.ini", "new", Links::Follow), FileError);
    EXPECT_EQ(readRaw(tmp / "x.ini/keep"), "old");
    int entries = 0;
    for (auto& e : std::filesystem::directory_iterator(tmp.dir()))
        entries += e.path().filename() != ".keyrook.lock";
    EXPECT_EQ(entries, 2);  // x.ini and the link only: the temporary file is gone
}

TEST(Files, FolderThatCannotBeMadeIsReportedByName) {
    TempDir tmp;
    saveStringToFile(tmp / "plain", "x");  // a file where a folder is wanted
    try {
        saveStringToFile(tmp / "plain/sub/a.txt", "y");
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "ディレクトリ" + tmp.dir() + "plain/subが作れません。");
    }
}

TEST(Files, LoadersReadWholeOrLimitedAndReportMissingFiles) {
    TempDir tmp;
    saveStringToFile(tmp / "four", "1011");
    saveStringToFile(tmp / "empty", "");
    EXPECT_EQ(loadStringFromFile(tmp / "four"), "1011");
    EXPECT_EQ(loadStringFromFileLimit(tmp / "four", 6), "1011");
    EXPECT_EQ(loadStringFromFileLimit(tmp / "four", 2), "10");
    EXPECT_EQ(loadStringFromFileLimit(tmp / "empty", 6), "");
    EXPECT_EQ(findFile(tmp / "four"), 4u);
    try {
        loadStringFromFile(tmp / "none.ref");
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), tmp / "none.ref" + "の情報の取得に失敗しました。");
    }
}

TEST(Files, SystemErrorsKeepThePathAndSayInJapaneseWhatFailed) {
    struct Case {
        FileAction action;
        int err;
        const char* message;
    } cases[] = {
        {FileAction::Save, EPERM, "「/d/x.std」を保存できませんでした。（書き込みが許可されていません）"},
        {FileAction::Save, EACCES, "「/d/x.std」を保存できませんでした。（書き込みが許可されていません）"},
        {FileAction::Read, EACCES, "「/d/x.std」を読み込めませんでした。（読み込みが許可されていません）"},
        {FileAction::Append, EROFS, "「/d/x.std」に書き込めませんでした。（読み取り専用のファイルシステムです）"},
        {FileAction::Save, ENOSPC, "「/d/x.std」を保存できませんでした。（ディスクの空き容量が足りません）"},
        {FileAction::Save, ENAMETOOLONG, "「/d/x.std」を保存できませんでした。（ファイル名が長すぎます）"},
        {FileAction::Read, ENOENT, "「/d/x.std」を読み込めませんでした。（ファイルまたはフォルダが見つかりません）"},
    };
    for (const Case& c : cases) EXPECT_EQ(fileErrorMessage("/d/x.std", c.action, c.err), c.message);
    // Any other cause in the system's own words.
    EXPECT_EQ(fileErrorMessage("/d/x.std", FileAction::Read, ENOEXEC),
              std::string("「/d/x.std」を読み込めませんでした。（") + std::strerror(ENOEXEC) + "）");

    // The real calls report through the same texts.
    TempDir tmp;
    const std::string longName = tmp / (std::string(300, 'n') + ".rec");
    try {
        saveStringToFile(longName, "x");
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "「" + longName + "」を保存できませんでした。（ファイル名が長すぎます）");
    }
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_THROW(
            try { appendStringToFile("/dev/full", "x"); } catch (const FileError& e) {
                EXPECT_EQ(std::string(e.what()), "「/dev/full」は通常のファイルではないため使用できません。");
                throw;
            },
            FileError);
    }
}

TEST(Files, AppendCreatesThenAppends) {
    TempDir tmp;
    appendStringToFile(tmp / "u/a.rec", "x\r\n");
    appendStringToFile(tmp / "u/a.rec", "y\r\n");
    EXPECT_EQ(readRaw(tmp / "u/a.rec"), "x\r\ny\r\n");
}

TEST(Files, SaveKeepsPermissionBitsAndWritesThroughSymbolicLinksWhenAskedTo) {
    TempDir tmp;
    const std::string real = tmp / "data/real.std", link = tmp / "data/link.std";
    saveStringToFile(real, "old");
    ::chmod(real.c_str(), 0640);
    saveStringToFile(real, "new");
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    std::filesystem::create_symlink("real.std", link);
    saveStringToFile(link, "through the link", Links::Follow);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readRaw(real), "through the link");
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(Files, AppendThatRunsOutOfSpaceLeavesTheFileAsItWas) {
    TempDir tmp;
    const std::string path = tmp / "user/a.rec";
    saveStringToFile(path, "old\r\n");
    // A file-size limit stands in for a full disk: the write stops part-way.
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit before {};
    ::getrlimit(RLIMIT_FSIZE, &before);
    rlimit small = before;
    small.rlim_cur = 8;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool threw = false;
    try {
        appendStringToFile(path, "a record line that does not fit\r\n");
    } catch (const FileError&) {
        threw = true;
    }
    ::setrlimit(RLIMIT_FSIZE, &before);
    EXPECT_TRUE(threw);
    EXPECT_EQ(readRaw(path), "old\r\n");
}

// A save of size bytes of letter, in a process of its own that the test may kill.
pid_t startSave(const std::string& path, char letter, std::size_t size) {
    pid_t child = ::fork();
    if (child == 0) {
        const std::string bytes = std::to_string(size), which(1, letter);
        ::execl(KEYROOK_SAVE_CHILD, KEYROOK_SAVE_CHILD, path.c_str(), which.c_str(), bytes.c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return child;
}

int waitFor(pid_t child) {
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

// A save killed at any moment leaves the old or the new content, never a mix, and at most one
// temporary file beside it, however often it happens. Each save runs in a fresh process, as a
// program started again after a crash would.
TEST(Files, SavesKilledAtRandomMomentsLeaveAWholeFileAndAtMostOneLeftover) {
    TempDir tmp;
    const std::string path = tmp / "data/big.std";
    constexpr std::size_t kSize = 8u << 20;
    auto spawn = [&](char letter) { return startSave(path, letter, kSize); };
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(waitFor(spawn('a')), 0);
    const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(
                              std::chrono::steady_clock::now() - start).count();
    const unsigned seed = std::random_device{}();
    std::mt19937 rng(seed);
    std::uniform_int_distribution<long> delay(0, saveTime * 5 / 4 + 1);
    char now = 'a';
    int killedMidway = 0;
    for (int round = 0; round < 40; ++round) {
        const char next = now == 'a' ? 'b' : 'a';
        pid_t child = spawn(next);
        ASSERT_GT(child, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(rng)));
        ::kill(child, SIGKILL);
        if (WIFSIGNALED(waitFor(child))) ++killedMidway;
        const std::string text = readRaw(path);
        ASSERT_TRUE(text == std::string(kSize, 'a') || text == std::string(kSize, 'b'))
            << "round " << round << ", seed " << seed;
        now = text[0];
        int others = 0;
        for (auto& e : std::filesystem::directory_iterator(tmp / "data"))
            others += e.path().filename() != "big.std" && e.path().filename() != ".keyrook.lock";
        ASSERT_LE(others, 1) << "round " << round << ", seed " << seed;
    }
    EXPECT_GT(killedMidway, 0);
}

// Saves of one file from several processes at once: each waits for the one before, and the file
// ends up as one of them wrote it, with no temporary file left.
TEST(Files, SimultaneousSavesOfOneFileDoNotMix) {
    TempDir tmp;
    const std::string path = tmp / "user/taro.ini";
    saveStringToFile(path, "");
    std::vector<pid_t> children;
    for (char letter : {'a', 'b', 'c', 'd'}) children.push_back(startSave(path, letter, 4194304));
    for (pid_t child : children) {
        const int status = waitFor(child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const std::string text = readRaw(path);
    ASSERT_EQ(text.size(), 4194304u);
    EXPECT_EQ(text.find_first_not_of(text[0]), std::string::npos);
    int entries = 0;
    for (auto& e : std::filesystem::directory_iterator(tmp / "user"))
        entries += e.path().filename() != ".keyrook.lock";
    EXPECT_EQ(entries, 1);
}

TEST(Files, ReadOnlyFilesAreNotReplaced) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write any file";
    TempDir tmp;
    const std::string path = tmp / "data/kept.std";
    saveStringToFile(path, "old");
    ::chmod(path.c_str(), 0444);
    EXPECT_THROW(saveStringToFile(path, "new"), FileError);
    EXPECT_EQ(readRaw(path), "old");
}

TEST(Files, ListFilesTakesOnlyMatchingRegularFiles) {
    TempDir tmp;
    saveStringToFile(tmp / "data/a.std", "");
    saveStringToFile(tmp / "data/Upper.STD", "");
    saveStringToFile(tmp / "data/b.txt", "");
    saveStringToFile(tmp / "data/cstd", "");
    std::filesystem::create_directories(tmp / "data/dir.std");
    std::vector<std::string> names = listFiles(tmp / "data", ".std");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Upper.STD", "a.std"}));
    EXPECT_TRUE(listFiles(tmp / "missing", ".std").empty());
}

TEST(Text, RepReplacesLeftToRightWithoutRescanning) {
    EXPECT_EQ(rep("a-b-c", "-", "+"), "a+b+c");
    EXPECT_EQ(rep("abc", "", "x"), "abc");
    EXPECT_EQ(rep("", "a", "x"), "");
    EXPECT_EQ(rep("aaa", "aa", "b"), "ba");
    EXPECT_EQ(rep("ab", "a", "aa"), "aab");
}

TEST(Text, ToIntDef) {
    EXPECT_EQ(toIntDef("123", 0), 123);
    EXPECT_EQ(toIntDef("-5", 0), -5);
    EXPECT_EQ(toIntDef("12a", 7), 7);
    EXPECT_EQ(toIntDef("", 7), 7);
    EXPECT_EQ(toIntDef("99999999999", 7), 7);
}

TEST(Cp932, RoundTripsJapaneseAndRefusesWhatItCannotHold) {
    const std::string utf8 = "がっこう ｶﾞｯｺｳ ＡＢＣ 漢字";
    auto sjis = utf8ToCp932(utf8);
    ASSERT_TRUE(sjis);
    EXPECT_EQ(sjis->substr(0, 4), "\x82\xaa\x82\xc1");
    EXPECT_EQ(cp932ToUtf8(*sjis), utf8);
    EXPECT_FALSE(utf8ToCp932("emoji \xF0\x9F\x98\x80"));
    EXPECT_FALSE(utf8ToCp932("\xC3\x28"));   // broken UTF-8
    EXPECT_FALSE(utf8ToCp932("\xE0\x80\xAF"));  // overlong
    // Damaged bytes still show as much as possible.
    EXPECT_EQ(cp932ToUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
}

TEST(Cp932, CaseFoldingLeavesTrailBytesAlone) {
    // ソ is 0x83 0x5C and ペ is 0x83 0x79 ('y' as a trail byte must not be upper-cased).
    EXPECT_EQ(upperCp932("ab\x83y"), "AB\x83y");
    EXPECT_EQ(lowerCp932("AB\x83Y"), "ab\x83Y");  // ズ is 0x83 0x59
    EXPECT_TRUE(sameTextIgnoreCase("Taro", "tARO"));
    EXPECT_FALSE(sameTextIgnoreCase("\x83y", "\x83Y"));
    EXPECT_EQ(cp932Length("a\x82\xa0" "b"), 3u);
}

}  // namespace
}  // namespace keyrook
