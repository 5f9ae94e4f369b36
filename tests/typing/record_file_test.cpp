#include "typing/record_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

#include "base/files.h"

namespace keyrook {
namespace {

namespace fs = std::filesystem;

// The two sample lines, CP932 ("ことわざ集" = 82 B1 82 C6 82 ED 82 B4 8F 57).
const std::string kPractice =
    "01/03/24 11:45:43,player1,\x82\xb1\x82\xc6\x82\xed\x82\xb4\x8f\x57,245000,244.9,12,1012,"
    "156,91750,82,83,91,86,10632";
const std::string kInvader =
    "01/03/24 11:52:10,player1,Radovu Didarez,95310,---,4,318,57,13280,N/A,N/A,N/A,N/A,10310";

class RecordFileTest : public ::testing::Test {
protected:
    void SetUp() override { fs::remove_all(dir); }
    void TearDown() override { fs::remove_all(dir); }

    static std::string line(const std::string& date, const std::string& title) {
        std::string body = date + ",player1," + title + ",1000,60,0,10,5,100,20,0,100,50";
        return body + "," + std::to_string(Checksum(body));
    }

    // Unique per test: ctest runs the tests of this file in parallel processes.
    const fs::path dir = fs::temp_directory_path() /
                         ("keyrook_record_file_test_" +
                          std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                          "_" + std::to_string(::getpid()));
    const std::string path = (dir / "user" / "player1.rec").string();
};

TEST(RecordLine, DateAndFieldTexts) {
    EXPECT_EQ(recordDateText({2001, 3, 24, 11, 45, 43}), "01/03/24 11:45:43");
    EXPECT_EQ(recordDateText({2024, 1, 5, 9, 5, 7}), "24/01/05 9:05:07");
    EXPECT_EQ(recordFieldText("a,b\r\nc"), "a\x81\x43" "b  c");
    EXPECT_EQ(recordFieldText(std::string("a\0b", 3)), "a b");  // readers split at NUL
    EXPECT_EQ(recordFieldText("\x83\x5c\x83\x7c"), "\x83\x5c\x83\x7c");  // trail bytes untouched
}

TEST(RecordLine, Validation) {
    for (auto [text, valid] : std::vector<std::pair<std::string, bool>>{
             {kPractice, true},
             {kInvader, true},
             {kInvader.substr(0, kInvader.size() - 5) + "10342", false},
             {"abc,588", true},
             {"abc,589", false},
             {"abc", false},
             {"abc,", false},
             {"abc,588x", false}})
        EXPECT_EQ(isValidRecordLine(text), valid) << text;
    EXPECT_EQ(checkRecordLines("\r\n" + kPractice + "\r\nabc,1\r\n\r\n"),
              (std::vector<std::string>{"ok " + kPractice, "bad abc,1"}));
}

TEST_F(RecordFileTest, FirstSessionLeavesEmptyLineThenRecord) {
    EXPECT_FALSE(findPreviousRecord(path, "\x82\xb1\x82\xc6\x82\xed\x82\xb4\x8f\x57"));
    EXPECT_EQ(loadStringFromFile(path), "\r\n");
    writeRecord(path, kPractice);
    EXPECT_EQ(loadStringFromFile(path), "\r\n" + kPractice + "\r\n");
}

TEST_F(RecordFileTest, WriteCreatesFileAndMendsMissingLineBreak) {
    writeRecord(path, "a,588");
    EXPECT_EQ(loadStringFromFile(path), "a,588\r\n");
    saveStringToFile(path, "a,588");
    writeRecord(path, "b,392");
    EXPECT_EQ(loadStringFromFile(path), "a,588\r\nb,392\r\n");
}

TEST_F(RecordFileTest, LookupFindsLaterRecordOfSameTitle) {
    saveStringToFile(path, joinLinesCrLf({"", line("01/03/24 10:00:00", "A"),
                                          line("01/03/25 10:00:00", "A"),
                                          line("01/03/26 10:00:00", "B"), "no commas"}));
    auto found = findPreviousRecord(path, "A");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->front(), "01/03/25 10:00:00");
    EXPECT_EQ(found->size(), 14u);
    EXPECT_FALSE(findPreviousRecord(path, "a"));  // case matters
    EXPECT_FALSE(findPreviousRecord(path, ""));   // empty and comma-less lines are no records

    // A title with a comma is stored in its record form and found by its own text.
    writeRecord(path, line("01/03/27 10:00:00", recordFieldText("Hello, world")));
    EXPECT_TRUE(findPreviousRecord(path, "Hello, world"));
}

// NUL bytes left at the end by a power cut must not hide the sessions stored after them.
TEST_F(RecordFileTest, RecordsAppendedAfterNulBytesAreFound) {
    saveStringToFile(path, "\r\n" + line("01/03/24 10:00:00", "A") + "\r\n" + std::string(512, '\0'));
    writeRecord(path, line("01/03/25 10:00:00", "A"));
    auto found = findPreviousRecord(path, "A");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->front(), "01/03/25 10:00:00");
    EXPECT_EQ(checkRecordLines(loadStringFromFile(path)).size(), 2u);
}

}  // namespace
}  // namespace keyrook
