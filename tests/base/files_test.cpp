#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/cp932.h"
#include "base/files.h"
#include "base/text.h"
#include "support/temp_dir.h"

namespace keyrook {
namespace {

using testing::TempDir;

std::string readRaw(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

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
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(tmp / "user/deep")) ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(Files, FailedSaveLeavesWhatWasThereAndNoTemporaryFile) {
    TempDir tmp;
    // A folder where the file should go: the rename over it fails, for root too.
    saveStringToFile(tmp / "x.ini/keep", "old");
    EXPECT_THROW(saveStringToFile(tmp / "x.ini", "new"), FileError);
    EXPECT_EQ(readRaw(tmp / "x.ini/keep"), "old");
    int entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(tmp.dir())) ++entries;
    EXPECT_EQ(entries, 1);  // x.ini only: the temporary file is gone
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
    EXPECT_EQ(fileErrorMessage("/d/x.std", FileAction::Read, EIO),
              std::string("「/d/x.std」を読み込めませんでした。（") + std::strerror(EIO) + "）");

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
                EXPECT_EQ(std::string(e.what()), "「/dev/full」に書き込めませんでした。（ディスクの空き容量が足りません）");
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
    EXPECT_TRUE(sameTextIgnoreCase("Taro", "tARO"));
    EXPECT_FALSE(sameTextIgnoreCase("\x83y", "\x83Y"));
    EXPECT_EQ(cp932Length("a\x82\xa0" "b"), 3u);
}

}  // namespace
}  // namespace keyrook
