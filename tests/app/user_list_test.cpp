#include <gtest/gtest.h>

#include "app/title_pager.h"
#include "app/user_list.h"
#include "base/files.h"
#include "base/paths.h"
#include "problemsets/problem_set.h"
#include "support/fakes.h"

namespace keyrook {
namespace {

using namespace std::string_literals;

// A list file loaded: the names offered, the current user, and the file written at close.
struct LoadCase {
    std::string file;
    std::vector<std::string> items;
    std::string current;
    std::string saved;
};

void expectLoads(const std::vector<LoadCase>& cases) {
    for (const auto& c : cases) {
        UserList users;
        users.load(c.file);
        EXPECT_EQ(users.items, c.items) << c.file;
        EXPECT_EQ(users.current, c.current) << c.file;
        EXPECT_EQ(users.saveText(), c.saved) << c.file;
    }
}

TEST(UserList, LoadRulesAndByteExactSave) {
    expectLoads({
        // Written at close: current user, then every user.
        {"taro\r\ntaro\r\nhanako\r\n", {"taro", "hanako"}, "taro", "taro\r\ntaro\r\nhanako\r\n"},
        // First run: one line only.
        {"somebody\r\n", {"somebody"}, "somebody", "somebody\r\nsomebody\r\n"},
        // A current user missing from the list is appended; case does not matter.
        {"Jiro\r\ntaro\r\n", {"taro", "Jiro"}, "Jiro", "Jiro\r\ntaro\r\nJiro\r\n"},
        {"TARO\nhanako\ntaro", {"hanako", "taro"}, "TARO", "TARO\r\nhanako\r\ntaro\r\n"},
        // The empty name a first run accepted is a user, wherever the list holds it.
        {"\r\n", {""}, "", "\r\n\r\n"},
        {"\r\n\r\n", {""}, "", "\r\n\r\n"},
        {"", {""}, "", "\r\n\r\n"},
        {"\r\ntaro\r\n", {"taro", ""}, "", "\r\ntaro\r\n\r\n"},
        {"taro\r\n\r\ntaro\r\n", {"", "taro"}, "taro", "taro\r\n\r\ntaro\r\n"},
        {"\r\n\r\n\r\ntaro\r\n\r\n", {"", "taro"}, "", "\r\n\r\ntaro\r\n"},  // listed once
    });
}

TEST(UserList, NamesThatCannotBeFileStemsOrRecordFieldsAreRefused) {
    for (const char* bad : {"a/b", "a\\b", "c:", "*", "a?", "\"q\"", "<x>", "a|b", ".", "..",
                            "tab\tname", "a,b", "\xF0\x9F\x98\x80"})
        EXPECT_TRUE(userNameProblem(bad)) << bad;
    for (const char* good : {"taro", "太郎", "ﾀﾛｳ", "a.b", "Mr Smith", "..x"})
        EXPECT_FALSE(userNameProblem(good)) << good;
}

// A list file edited by hand or damaged: a line that registration would refuse is never offered
// nor used in a path, and it stays in the file.
TEST(UserList, LinesThatAreNoUsableNameAreKeptButNeverOffered) {
    const std::string long65(65, 'a'), long64(64, 'a');
    expectLoads({
        {"../../x\r\na/b\r\ntaro\r\n", {"taro"}, "taro",
         "taro\r\ntaro\r\na/b\r\n../../x\r\n"},
        {"a/b\r\na/b\r\n", {""}, "", "\r\n\r\na/b\r\n"},  // nothing usable: the empty name
        {"x\r\n" + long65 + "\r\n" + long64 + "\r\nx\r\n", {long64, "x"}, "x",
         "x\r\n" + long64 + "\r\nx\r\n" + long65 + "\r\n"},
        {"ok\r\nbad\xFF\r\n", {"ok"}, "ok", "ok\r\nok\r\nbad\xFF\r\n"},  // no Shift-JIS
    });
    EXPECT_THROW(Paths("/app/").userFile("../../x", ".ini"), FileError);
    EXPECT_THROW(Paths("/app/").userFile("a/b", ".rec"), FileError);
}

// A NUL left by a crash must not hide the names after it.
TEST(UserList, NulBytesSeparateNamesRatherThanEndTheList) {
    UserList users;
    users.load("taro\r\ntaro\r\nhanako\0\0\0jiro\r\n\0"s);
    EXPECT_EQ(users.items, (std::vector<std::string>{"taro", "hanako", "jiro"}));
    EXPECT_EQ(users.saveText(), "taro\r\ntaro\r\nhanako\r\njiro\r\n");
    users.load("\r\n\0\0\r\ntaro\0\r\n"s);  // NUL runs make no empty line
    EXPECT_EQ(users.items, (std::vector<std::string>{"taro", ""}));
}

TEST(UserList, NamesOverSixtyFourShiftJisBytesAreRefused) {
    std::string kanji32;  // 64 bytes in Shift-JIS
    for (int i = 0; i < 32; ++i) kanji32 += "漢";
    EXPECT_FALSE(userNameProblem(kanji32));
    EXPECT_TRUE(userNameProblem(kanji32 + "a"));
    EXPECT_FALSE(userNameProblem(std::string(64, 'a')));
    EXPECT_TRUE(userNameProblem(std::string(65, 'a')));

    UserList users;
    users.load("taro\r\ntaro\r\n");
    fakes::FakeDialogs d;
    d.confirms = {true};
    d.inputs = {kanji32 + "x"};
    EXPECT_FALSE(registerUser(users, d));
    ASSERT_EQ(d.messages.size(), 1u);
    EXPECT_EQ(users.items.size(), 1u);
    d.inputs = {std::string(65, 'b'), std::string("jiro")};
    EXPECT_EQ(askFirstUser(d), "jiro");
    EXPECT_EQ(d.messages.size(), 2u);
}

TEST(UserList, RegistrationChecksAndAppends) {
    UserList users;
    users.load("taro\r\ntaro\r\n");
    fakes::FakeDialogs d;

    d.confirms = {false};  // "No" at the question
    EXPECT_FALSE(registerUser(users, d));
    EXPECT_TRUE(d.inputRequests.empty());

    d.confirms = {true};
    d.inputs = {std::nullopt};  // cancelled
    EXPECT_FALSE(registerUser(users, d));
    d.confirms = {true};
    d.inputs = {std::string()};  // empty: no message
    EXPECT_FALSE(registerUser(users, d));
    EXPECT_TRUE(d.messages.empty());

    d.confirms = {true};
    d.inputs = {std::string("TARO")};
    EXPECT_FALSE(registerUser(users, d));
    EXPECT_EQ(d.messages.back(), "そのﾕｰｻﾞ名はすでに登録されております！");

    d.confirms = {true};
    d.inputs = {std::string("a,b")};
    EXPECT_FALSE(registerUser(users, d));
    EXPECT_EQ(users.items.size(), 1u);

    d.confirms = {true};
    d.inputs = {std::string("花子")};
    EXPECT_TRUE(registerUser(users, d));
    EXPECT_EQ(users.items.back(), "\x89\xd4\x8e\x71");  // 花子 in Shift-JIS
    EXPECT_EQ(users.current, "taro");
    EXPECT_EQ(d.inputRequests.back().caption, "ﾕｰｻﾞ名を登録します...");
    EXPECT_EQ(d.inputRequests.back().prompt, "ﾕｰｻﾞ名を入力して下さい。");
}

TEST(UserList, FirstUserPromptAsksAgainAfterABadName) {
    fakes::FakeDialogs d;
    EXPECT_EQ(askFirstUser(d), "somebody");
    d.inputs = {std::string("x/y"), std::string("jiro")};
    EXPECT_EQ(askFirstUser(d), "jiro");
    EXPECT_EQ(d.messages.size(), 1u);
    d.inputs = {std::string()};
    EXPECT_EQ(askFirstUser(d), "");
    EXPECT_EQ(d.inputRequests.front().caption, "ﾕｰｻﾞ名の初期登録");
}

std::vector<std::string> titles(int n) {
    std::vector<std::string> t;
    for (int i = 1; i <= n; ++i) t.push_back("t" + std::to_string(i));
    return t;
}

TEST(TitlePager, PagesOfTenKeepTheSelectedPosition) {
    TitlePager none;
    EXPECT_EQ(none.selected(), -1);
    EXPECT_FALSE(none.nextEnabled());
    EXPECT_FALSE(none.next());

    TitlePager ten(titles(10));
    EXPECT_FALSE(ten.nextEnabled());
    EXPECT_EQ(ten.items().size(), 10u);

    TitlePager p(titles(11));
    EXPECT_TRUE(p.nextEnabled());
    EXPECT_FALSE(p.backEnabled());
    p.select(4);
    EXPECT_TRUE(p.next());
    EXPECT_EQ(p.pageLabel(), "02");
    EXPECT_EQ(p.items(), std::vector<std::string>{"t11"});
    EXPECT_EQ(p.selectedTitle(), "t11");  // shorter page: the last entry takes the selection
    EXPECT_FALSE(p.nextEnabled());
    EXPECT_TRUE(p.backEnabled());
    EXPECT_TRUE(p.back());
    EXPECT_EQ(p.selected(), 0);
    EXPECT_EQ(p.pageLabel(), "01");
    EXPECT_FALSE(p.backEnabled());
    EXPECT_TRUE(p.nextEnabled());
}

TEST(TitlePager, PageLabelsPastNineHaveNoLeadingZero) {
    TitlePager p(titles(115));
    for (int i = 0; i < 10; ++i) p.next();
    EXPECT_EQ(p.pageLabel(), "11");
    EXPECT_EQ(p.items().size(), 10u);
    EXPECT_TRUE(p.nextEnabled());
    p.next();
    EXPECT_EQ(p.pageLabel(), "12");
    EXPECT_EQ(p.items().size(), 5u);
    p.back();
    p.back();
    EXPECT_EQ(p.pageLabel(), "10");
}

TEST(TitlePager, UpAndDownStopAtTheEnds) {
    TitlePager p(titles(3));
    EXPECT_FALSE(p.up());
    EXPECT_TRUE(p.down());
    EXPECT_TRUE(p.down());
    EXPECT_FALSE(p.down());
    EXPECT_EQ(p.selectedTitle(), "t3");
    EXPECT_TRUE(p.up());
    EXPECT_EQ(p.selected(), 1);
}

TEST(TitlePager, SelectTitleTurnsToItsPageAndAddsANewOne) {
    TitlePager p(titles(10));
    p.selectTitle("new");
    EXPECT_EQ(p.pageLabel(), "02");
    EXPECT_EQ(p.items(), std::vector<std::string>{"new"});
    EXPECT_EQ(p.selectedTitle(), "new");
    EXPECT_TRUE(p.backEnabled());
    EXPECT_FALSE(p.nextEnabled());
    p.selectTitle("t4");
    EXPECT_EQ(p.pageLabel(), "01");
    EXPECT_EQ(p.selected(), 3);
    EXPECT_TRUE(p.nextEnabled());
    p.selectTitle("new");
    EXPECT_EQ(p.titles().size(), 11u);  // already there: not added twice
}

TEST(ProblemSetHeader, SplitsAtTheFirstSlashAndReadsTheEnglishMark) {
    struct Case {
        std::string header, description, author;
        bool plain;
    } cases[] = {
        {"ことわざ集/編集部", "ことわざ集", "編集部", false},
        {"ことわざ集/編集部#", "ことわざ集", "編集部", true},
        {"a/b/c", "a", "b/c", false},
        {"nobody", "", "nobody", false},
        {"nobody#", "", "nobody", true},
        {"d/", "d", "", false},
        {"d/##", "d", "#", true},
        {"", "", "", false},
    };
    for (const auto& c : cases) {
        SetHeader h = parseHeader(c.header);
        EXPECT_EQ(h.description, c.description) << c.header;
        EXPECT_EQ(h.author, c.author) << c.header;
        EXPECT_EQ(h.plainReadings, c.plain) << c.header;
    }
    EXPECT_EQ(questionCount({"h"}), 0);
    EXPECT_EQ(questionCount({"h", "q", "a"}), 1);
    EXPECT_EQ(questionCount({"h", "q", "a", "q2"}), 2);  // line count div 2, as shown
    EXPECT_EQ(questionCount({}), 0);
    EXPECT_EQ(titleFromFileName("がっこう.std"), "がっこう");
}

}  // namespace
}  // namespace keyrook
