// The reflex record file: record lines, the cleared-level marks and storing a game, byte for byte.
#include "reflex/ref_file.h"

#include <gtest/gtest.h>

#include "base/files.h"
#include "support/temp_dir.h"

namespace keyrook {
namespace {

using testing::TempDir;

int byteSumTwice(const std::string& s) {
    int sum = 0;
    for (unsigned char c : s) sum += c;
    return 2 * sum;
}

TEST(RefFile, RecordLine) {
    const std::string head = "3,17280,48,60,7,812msec";
    EXPECT_EQ(reflexRecordLine(3, 17280, "48", "60", "7", "812msec"),
              head + "," + std::to_string(byteSumTwice(head)));
}

TEST(RefFile, ClearMarks) {
    TempDir app;
    const std::string path = app / "user/taro.ref";
    using Marks = std::array<bool, 6>;
    EXPECT_EQ(readClearMarks(path), Marks{});  // no file
    struct Case { std::string text; Marks marks; };
    for (const Case& c : std::vector<Case>{
             {"101010\r\n3,1,1,1,0,1msec,100\r\n", {true, false, true, false, true, false}},
             {"000001", {false, false, false, false, false, true}},
             {"11111", {}},        // shorter than six bytes
             {"", {}},
             {"1,2\r\n111", {}},                // no flags line
             {"01\r\n1,2,3", {}},                // byte 5 belongs to the next line
             {"1111110\r\n", {}},                // seven characters
             {"000011\n1,2", {false, false, false, false, true, true}}}) {
        saveStringToFile(path, c.text);
        EXPECT_EQ(readClearMarks(path), c.marks) << c.text;
    }
}

TEST(RefFile, StoringGames) {
    TempDir app;
    const std::string path = app / "user/hanako.ref";
    const std::string a = reflexRecordLine(4, 9000, "40", "50", "3", "900msec");
    const std::string b = reflexRecordLine(4, 100, "1", "50", "30", "1500msec");
    const std::string c = reflexRecordLine(2, 5000, "30", "41", "9", "1100msec");

    storeReflexRecord(path, a, 4, true);  // first game creates the file
    EXPECT_EQ(loadStringFromFile(path), "000100\r\n" + a + "\r\n");
    storeReflexRecord(path, b, 4, false);  // failing later keeps the flag
    EXPECT_EQ(loadStringFromFile(path), "000100\r\n" + a + "\r\n" + b + "\r\n");
    storeReflexRecord(path, c, 2, true);
    EXPECT_EQ(loadStringFromFile(path), "010100\r\n" + a + "\r\n" + b + "\r\n" + c + "\r\n");

    const std::string other = app / "user/jiro.ref";
    storeReflexRecord(other, b, 4, false);
    EXPECT_EQ(loadStringFromFile(other), "000000\r\n" + b + "\r\n");
}

TEST(RefFile, DamagedFilesKeepTheirGames) {
    TempDir app;
    const std::string path = app / "user/x.ref";
    const std::string rec = reflexRecordLine(1, 10, "1", "2", "0", "500msec");
    struct Case { std::string before; int level; std::string after; };
    for (const Case& k : std::vector<Case>{
             {"", 1, "100000\r\n"},                                     // empty file
             {"000000", 3, "001000\r\n"},                               // no line break yet
             {"000000\nold\n", 6, "000001\r\nold\r\n"},                  // LF lines
             {"101\r\nold", 2, "010000\r\n101\r\nold\r\n"},             // short: no flags line
             {"01\r\n1,2\r\n", 1, "100000\r\n01\r\n1,2\r\n"},
             {"old,1,2\r\n", 1, "100000\r\nold,1,2\r\n"}}) {             // no flags line at all
        saveStringToFile(path, k.before);
        storeReflexRecord(path, rec, k.level, true);
        EXPECT_EQ(loadStringFromFile(path), k.after + rec + "\r\n") << k.before;
    }

    // A NUL byte would cut the rewritten file short: the store is refused and the file kept.
    const std::string damaged("000000\r\nold\0more\r\n", 18);
    saveStringToFile(path, damaged);
    EXPECT_THROW(storeReflexRecord(path, rec, 1, true), FileError);
    EXPECT_EQ(loadStringFromFile(path), damaged);
}

}  // namespace
}  // namespace keyrook
