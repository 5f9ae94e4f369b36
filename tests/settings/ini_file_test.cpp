#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/files.h"
#include "support/temp_dir.h"

namespace keyrook {
namespace {

using testing::TempDir;

TEST(IniInteger, ParsesTheFormsTheReadersAccept) {
    struct Case {
        const char* text;
        std::optional<std::int32_t> want;
    };
    const Case cases[] = {
        {"0", 0},
        {"  42 ", 42},
        {"-1", -1},
        {"+7", 7},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"$10", 16},
        {"0x1f", 31},
        {"0XFF", 255},
        {"$FFFFFFFF", -1},
        {"$100000000", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"$", std::nullopt},
        {"1 2", std::nullopt},
        {"abc", std::nullopt},
        {"3.5", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(parseIniInteger(c.text), c.want) << c.text;
}

TEST(IniDocument, KeepsWhatNobodyAsksAboutAndWritesTheStandardLayout) {
    // LF line ends, a preamble, a comment, a stray line, blanks around "=", a repeated
    // section and key, and no blank lines: all kept, the layout normalised.
    IniDocument doc(
        "; made by hand\n"
        "[Other]\n"
        "Keep = me\n"
        "; a note\n"
        "stray line\n"
        "[RadioGroup1]\n"
        "ItemIndex=2\n"
        "Items0=  Obj.Strings = (\n"
        "ItemIndex=5\n"
        "[other]\n"
        "More=x=y\n");
    EXPECT_EQ(doc.text(),
              "; made by hand\r\n"
              "[Other]\r\n"
              "Keep= me\r\n"
              "; a note\r\n"
              "stray line\r\n"
              "More=x=y\r\n"
              "\r\n"
              "[RadioGroup1]\r\n"
              "ItemIndex=2\r\n"
              "Items0=  Obj.Strings = (\r\n"
              "ItemIndex=5\r\n"
              "\r\n");
    EXPECT_EQ(doc.readInteger("radiogroup1", "ITEMINDEX", -9), 2);  // the first one counts
    EXPECT_EQ(doc.readString("OTHER", "more"), "x=y");
    EXPECT_EQ(doc.readInteger("Other", "Keep", 7), 7);  // no integer: fallback
    ASSERT_EQ(doc.sectionValues("Other").size(), 2u);   // comments are no entries
}

TEST(IniDocument, WritesInPlaceAppendsInOrderAndClearsSectionsInPlace) {
    IniDocument doc("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n\r\n");
    doc.writeInteger("a", "X", 10);  // existing key: value replaced, spelling kept
    doc.writeString("C", "z", "3");  // new section at the end
    doc.writeString("A", "w", "4");  // new key at the end of its section
    doc.clearSection("B");
    doc.writeString("b", "v", "5");
    EXPECT_EQ(doc.text(),
              "[A]\r\nx=10\r\nw=4\r\n\r\n[B]\r\nv=5\r\n\r\n[C]\r\nz=3\r\n\r\n");
    doc.deleteKey("A", "X");
    doc.eraseSection("c");
    EXPECT_EQ(doc.text(), "[A]\r\nw=4\r\n\r\n[B]\r\nv=5\r\n\r\n");
    EXPECT_FALSE(doc.valueExists("A", "x"));
    EXPECT_TRUE(doc.valueExists("A", "W"));
}

TEST(IniDocument, RefusesTextThatWouldBreakTheFile) {
    IniDocument doc("[A]\r\nx=1\r\n");
    const std::string before = doc.text();
    EXPECT_THROW(doc.writeString("A", "x", "1\r\n[Evil]\r\nk=v"), std::invalid_argument);
    EXPECT_THROW(doc.writeString("A", "k=v", "1"), std::invalid_argument);
    EXPECT_THROW(doc.writeString("A\n", "k", "1"), std::invalid_argument);
    EXPECT_THROW(doc.writeString("A", ";k", "1"), std::invalid_argument);
    EXPECT_EQ(doc.text(), before);
}

TEST(IniDocument, FloatsIgnoreTheLocaleAndRejectJunk) {
    IniDocument doc;
    doc.writeFloat("F", "a", 0.5);
    doc.writeString("F", "b", "1e400");
    doc.writeString("F", "c", "nan");
    EXPECT_EQ(doc.readString("F", "a"), "0.5");
    EXPECT_EQ(doc.readFloat("F", "a"), 0.5);
    EXPECT_EQ(doc.readFloat("F", "b", 2), 2);
    EXPECT_EQ(doc.readFloat("F", "c", 3), 3);
}

class IniFileTest : public ::testing::Test {
protected:
    TempDir tmp;
    std::string path = tmp / "user/taro.ini";
};

TEST_F(IniFileTest, MissingFileReadsEmptyAndReadingNeverCreatesIt) {
    IniFile ini(path);
    EXPECT_EQ(ini.readInteger("A", "x", 5), 5);
    EXPECT_FALSE(ini.valueExists("A", "x"));
    EXPECT_FALSE(fileExists(path));
    ini.writeInteger("A", "x", 1);  // a write creates it, folder included
    EXPECT_EQ(loadStringFromFile(path), "[A]\r\nx=1\r\n\r\n");
}

TEST_F(IniFileTest, NestedBracketsReadOnceAndWriteOnce) {
    saveStringToFile(path, "[Keep]\r\nk=v\r\n\r\n[A]\r\nx=1\r\n\r\n");
    IniFile ini(path);
    ini.beginWrite();
    // Changes on disk meanwhile are not seen: the file was read once.
    saveStringToFile(path, "[A]\r\nx=99\r\n");
    EXPECT_EQ(ini.readInteger("A", "x"), 1);
    ini.writeInteger("A", "x", 2);
    ini.writeInteger("A", "y", 3);
    EXPECT_EQ(loadStringFromFile(path), "[A]\r\nx=99\r\n");  // nothing written yet
    EXPECT_EQ(ini.accessCount(), 1);
    ini.endWrite();
    EXPECT_FALSE(ini.isOpen());
    EXPECT_EQ(loadStringFromFile(path), "[Keep]\r\nk=v\r\n\r\n[A]\r\nx=2\r\ny=3\r\n\r\n");
}

TEST_F(IniFileTest, AReadBracketDiscardsButKeepsWritesMadeInsideIt) {
    saveStringToFile(path, "[A]\r\nx=1\r\n");
    IniFile ini(path);
    ini.beginRead();
    ini.document().writeInteger("A", "x", 5);  // no write bracket: discarded
    ini.endRead();
    EXPECT_EQ(loadStringFromFile(path), "[A]\r\nx=1\r\n");

    ini.beginRead();
    ini.writeInteger("A", "x", 6);  // a write bracket inside: written when the read ends
    ini.endRead();
    EXPECT_EQ(ini.readInteger("A", "x"), 6);
}

TEST_F(IniFileTest, FailuresLeaveTheFileAndTheCountSound) {
    // Too large: refused before reading, nothing opened.
    saveStringToFile(path, "[A]\r\nx=1\r\n" + std::string(200, ';'));
    IniFile ini(path);
    ini.setSizeLimit(100);
    EXPECT_THROW(ini.beginRead(), FileError);
    EXPECT_FALSE(ini.isOpen());
    ini.setSizeLimit(IniFile::kDefaultSizeLimit);

    // An exception inside a write bracket abandons it: the half-done change is not written.
    try {
        IniBracket bracket(ini, IniBracket::Write);
        ini.writeInteger("A", "x", 2);
        throw std::runtime_error("stop");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(ini.isOpen());
    EXPECT_EQ(ini.readInteger("A", "x"), 1);

    // A folder where the file should be is refused before anything is read or written, and no
    // open document is left behind.
    std::filesystem::create_directories(tmp / "dir.ini");
    IniFile blocked(tmp / "dir.ini");
    EXPECT_THROW(blocked.beginWrite(), FileError);
    EXPECT_FALSE(blocked.isOpen());
}

TEST_F(IniFileTest, FileNameChangesOnlyTakeEffectAtTheNextBracket) {
    IniFile ini(path);
    ini.beginWrite();
    ini.setFileName(tmp / "other.ini");
    ini.writeInteger("A", "x", 1);
    ini.endWrite();
    EXPECT_TRUE(fileExists(path));
    EXPECT_FALSE(fileExists(tmp / "other.ini"));
    ini.writeInteger("A", "x", 2);
    EXPECT_TRUE(fileExists(tmp / "other.ini"));
}

}  // namespace
}  // namespace keyrook
