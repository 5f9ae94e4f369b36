#include "problemsets/maker_engine.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/cp932.h"
#include "base/files.h"
#include "problemsets/sjis.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace keyrook {
namespace {

// A title no file can carry: the message names what is not allowed.
const char* const kBadTitle =
    "ﾀｲﾄﾙ名が不正です。きちんと入力して下さい。\n（\\ / : * ? \" < > | と制御文字は使えません。"
    "先頭と末尾の空白、末尾の「.」、「.」「..」だけの名前も使えません）";

using testing::sj;
using namespace fakes;

// Lines in UTF-8 as the control holds them; replacing them all leaves the editor unmodified.
class FakeEditor : public MakerEditor {
public:
    std::vector<std::string> text;
    bool dirty = false;
    int caretRow = -1, caretIndex = -1;

    std::vector<std::string> lines() const override { return text; }
    std::string line(int row) const override {
        return row >= 0 && row < static_cast<int>(text.size()) ? text[static_cast<std::size_t>(row)] : "";
    }
    void setLines(const std::vector<std::string>& lines) override {
        dirty = false;
        text = lines;
    }
    bool modified() const override { return dirty; }
    void clearModified() override { dirty = false; }
    void placeCaret(int row, int charIndex) override {
        caretRow = row;
        caretIndex = charIndex;
    }
    void edit(std::vector<std::string> lines) {
        text = std::move(lines);
        dirty = true;
    }
    int replaceSteps = 0;  // undo steps
    void replaceLines(const std::vector<LineEdit>& edits) override {
        for (const LineEdit& e : edits) {
            if (e.row == static_cast<int>(text.size())) text.emplace_back();
            text.at(static_cast<std::size_t>(e.row)) = e.text;
        }
        dirty = true;
        ++replaceSteps;
    }
};

class TableSuggester : public ReadingSuggester {
public:
    std::string suggest(std::string_view question) override {
        for (const auto& [q, r] : std::initializer_list<std::pair<std::string_view, const char*>>{
                 {"学校", "がっこう"}, {"写真", "しゃしん"}, {"猫", "ねこ"}})
            if (q == question) return r;
        return "？";
    }
};

const char* const kFatal = "[致命的エラー] ローマ字タイプの問題集と英文字タイプの問題集の混同";

struct MakerFixture : ::testing::Test {
    keyrook::testing::TempDir app;
    FakeEditor editor;
    FakeDialogs dialogs;
    FakeSounds sounds;
    MakerEngine maker{app.dir(), editor, dialogs, sounds};

    std::string file(const std::string& title) { return app / ("data/" + title + ".std"); }
    void write(const std::string& title, const std::string& utf8Text) {
        saveStringToFile(file(title), sj(utf8Text));
    }
    std::string read(const std::string& title) { return cp932ToUtf8(loadStringFromFile(file(title))); }
    int indexOf(const std::string& utf8Title) {
        auto& l = maker.view().lst;
        auto it = std::find(l.begin(), l.end(), sj(utf8Title));
        return it == l.end() ? -1 : static_cast<int>(it - l.begin());
    }
    std::string u(const std::string& cp932) { return cp932ToUtf8(cp932); }
    void open(const std::string& utf8Title) { maker.lstClick(indexOf(utf8Title)); }
    void fields(const char* title, const char* description, const char* author, SetKind kind) {
        maker.setTitle(sj(title));
        maker.setDescription(sj(description));
        maker.setAuthor(sj(author));
        maker.setKind(kind);
    }
};

TEST_F(MakerFixture, ListingAndReloading) {
    write("がっこう", "d/a\r\n");
    write("b", "d/a\r\n");
    saveStringToFile(app / "data/notes.txt", "x");
    editor.edit({"x"});
    maker.openFromMenu();
    std::vector<std::string> titles = maker.view().lst;
    std::sort(titles.begin(), titles.end());
    EXPECT_EQ(titles, (std::vector<std::string>{"b", sj("がっこう")}));
    EXPECT_EQ(u(maker.view().lblFileCount), "登録されているﾌｧｲﾙ数 : 2");
    EXPECT_EQ(u(maker.modifiedPanel()), "変更なし");

    // Reload keeps the chosen title while it is listed.
    open("b");
    write("c", "d/a\r\n");
    maker.btnReloadClick();
    EXPECT_EQ(maker.view().lst.size(), 3u);
    EXPECT_EQ(maker.view().lstIndex, indexOf("b"));
    EXPECT_EQ(u(maker.view().lblFileCount), "登録されているﾌｧｲﾙ数 : 3");
    std::remove(file("b").c_str());
    maker.btnReloadClick();
    EXPECT_EQ(maker.view().lst.size(), 2u);
    EXPECT_EQ(maker.view().lstIndex, -1);
}

TEST_F(MakerFixture, AnUpperCaseExtensionIsTheSameKindOfSetFile) {
    saveStringToFile(app / "data/Upper.STD", sj("d/a#\r\nQ\r\nA\r\n"));
    maker.openFromMenu();
    ASSERT_EQ(maker.view().lst, std::vector<std::string>{"Upper"});
    open("Upper");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(editor.text, (std::vector<std::string>{"Q", "A"}));
    EXPECT_EQ(maker.pathPanel(), app / "data/Upper.STD");
    // Saving replaces that file rather than making a second one beside it.
    editor.edit({"Q", "B"});
    ASSERT_TRUE(maker.btnSaveClick());
    EXPECT_EQ(loadStringFromFile(app / "data/Upper.STD"), "d/a#\r\nQ\r\nB\r\n");
    EXPECT_FALSE(fileExists(app / "data/Upper.std"));
}

struct OpenCase {
    const char* file;  // UTF-8 text
    std::vector<std::string> editor;
    const char* description;
    const char* author;
    SetKind kind;
    const char* count;
};

TEST_F(MakerFixture, OpeningASet) {
    const OpenCase cases[] = {
        {"ことわざ集/編集部\r\n学校\r\nGA18KOU\r\n写真\r\n0501NN\r\n", {"学校", "がっこう", "写真", "しゃしん"},
         "ことわざ集", "編集部", SetKind::Roman, "問題数 : 2"},
        {"ことわざ集/編集部#\r\n学校\r\nschool 01\r\n", {"学校", "school 01"}, "ことわざ集", "編集部",
         SetKind::English, "問題数 : 1"},
        // no "/": the whole header is the author; LF-only ends; an odd line count
        {"一人#\nQ\nA\nR\n", {"Q", "A", "R"}, "", "一人", SetKind::English, "問題数 : 1"},
        {"d/a\r\n", {}, "d", "a", SetKind::Roman, "問題数 : 0"},
    };
    for (const auto& c : cases) {
        write("set", c.file);
        maker.openFromMenu();
        editor.edit({"old"});
        dialogs.confirmCancels = {Answer::No};
        open("set");
        std::vector<std::string> expected(c.editor.begin(), c.editor.end());
        EXPECT_EQ(editor.text, expected) << c.file;
        EXPECT_EQ(maker.view().edtTitle, "set");
        EXPECT_EQ(u(maker.view().edtExpress), c.description);
        EXPECT_EQ(u(maker.view().edtAuthor), c.author);
        EXPECT_EQ(maker.view().kind, c.kind);
        EXPECT_EQ(u(maker.view().countPanel), c.count);
        EXPECT_FALSE(editor.modified());
        EXPECT_EQ(maker.OpenTitle(), "set");
        EXPECT_EQ(maker.pathPanel(), file("set"));
    }
}

TEST_F(MakerFixture, OpeningAnEmptyOrMissingFile) {
    write("good", "d/a\r\nQ\r\nKA\r\n");
    write("empty", "");
    write("gone", "d/a\r\n");
    maker.openFromMenu();
    open("good");
    open("empty");
    EXPECT_EQ(dialogs.messages, (std::vector<std::string>{"データファイルの中身が存在しません！"}));
    EXPECT_TRUE(editor.text.empty());
    EXPECT_EQ(maker.view().edtTitle, "empty");
    EXPECT_EQ(maker.OpenTitle(), "empty");

    open("good");
    std::remove(file("gone").c_str());
    open("gone");
    EXPECT_EQ(dialogs.messages.back(), "ファイルが存在しません！");
    EXPECT_EQ(indexOf("gone"), -1);
    EXPECT_EQ(maker.view().lstIndex, indexOf("good"));
    EXPECT_EQ(editor.text, (std::vector<std::string>{"Q", "か"}));
}

struct UnsavedCase {
    Answer answer;
    const char* title;               // title field when asked
    std::vector<std::string> edits;  // editor text when asked
    bool opened;
    bool written;
};

// Opening another set with unsaved changes: the answer and the save decide.
TEST_F(MakerFixture, OpeningWithUnsavedChanges) {
    const UnsavedCase cases[] = {
        {Answer::Cancel, "mine", {"Q", "か"}, false, false},
        {Answer::No, "mine", {"Q", "か"}, true, false},
        {Answer::Yes, "mine", {"Q", "か"}, true, true},
        {Answer::Yes, "mine", {"Q", "aか"}, false, false},
        // an empty title writes nothing, so the edits stay in the editor
        {Answer::Yes, "", {"Q", "か"}, false, false},
    };
    for (const auto& c : cases) {
        write("first", "d/a\r\nQ1\r\nA\r\n");
        write("other", "d/a\r\nQ2\r\nI\r\n");
        std::remove(file("mine").c_str());
        maker.openFromMenu();
        open("first");
        maker.setTitle(c.title);
        editor.edit(c.edits);
        dialogs.confirmCancels = {c.answer};
        dialogs.shown.clear();
        open("other");
        EXPECT_EQ(dialogs.shown.front(), "変更があります。セーブしてから新しいデータを開きますか？");
        EXPECT_EQ(editor.text == (std::vector<std::string>{"Q2", "い"}), c.opened) << c.title;
        EXPECT_EQ(maker.view().lstIndex, indexOf(c.opened ? "other" : "first"));
        EXPECT_EQ(fileExists(file("mine")), c.written);
        if (!c.opened) {
            EXPECT_EQ(editor.text, c.edits);
        }
    }
}

TEST_F(MakerFixture, Saving) {
    fields("がっこう", "ことわざ集", "編集部", SetKind::Roman);
    editor.edit({"学校", "がっこう", "写真", "しゃしん", "最後"});
    std::vector<int> shown;
    maker.onProgress = [&] {
        EXPECT_TRUE(maker.view().progressVisible);
        shown.push_back(maker.view().progressPosition);
    };
    EXPECT_TRUE(maker.btnSaveClick());
    const std::string saved = "ことわざ集/編集部\r\n学校\r\nGA18KOU\r\n写真\r\n0501NN\r\n最後\r\n";
    EXPECT_EQ(read("がっこう"), saved);
    EXPECT_EQ(shown.back(), 100);
    EXPECT_FALSE(maker.view().progressVisible);
    EXPECT_EQ(maker.view().progressPosition, 0);
    EXPECT_FALSE(editor.modified());
    EXPECT_EQ(sounds.names(), (std::vector<std::string>{"ok"}));

    // Problems: the strip shows the entries and nothing is written.
    const std::string notMade = "[エラー] 「" + file("がっこう") + "」は作成できませんでした。";
    const struct {
        std::vector<std::string> editor;
        std::vector<std::string> entries;
    } problems[] = {
        {{"Q", "aが"}, {"[警告] 2行目 0桁目で半角文字が見つかりました。全角文字で書いて下さい。", notMade}},
        {{"Q", "school", "Q", "a"}, {kFatal}},
    };
    for (const auto& c : problems) {
        editor.edit(c.editor);
        EXPECT_FALSE(maker.btnSaveClick());
        std::vector<std::string> entries;
        for (const auto& e : maker.view().lstError) entries.push_back(u(e));
        EXPECT_EQ(entries, c.entries);
        EXPECT_TRUE(maker.view().pnlErrorVisible);
        EXPECT_FALSE(maker.view().progressVisible);
        EXPECT_TRUE(editor.modified());
        EXPECT_EQ(read("がっこう"), saved);
    }
    // The next pass starts afresh; a good one hides the strip.
    editor.edit({"Q", "が"});
    EXPECT_TRUE(maker.btnSaveClick());
    EXPECT_FALSE(maker.view().pnlErrorVisible);
    EXPECT_TRUE(maker.view().lstError.empty());

    // An English-type set is written as it stands, without the pass or its sound.
    sounds.clear();
    fields("english", "d", "C#", SetKind::English);
    editor.edit({"学校", "school", "", "aか"});
    EXPECT_TRUE(maker.btnSaveClick());
    EXPECT_EQ(read("english"), "d/C##\r\n学校\r\nschool\r\n\r\naか\r\n");
    EXPECT_FALSE(editor.modified());
    EXPECT_TRUE(sounds.played.empty());
}

TEST_F(MakerFixture, SavesThatWriteNothing) {
    const struct {
        const char* title;
        const char* description;
        const char* author;
        std::vector<std::string> editor;
        const char* message;
        int caretRow, caretIndex;
    } cases[] = {
        {"", "d", "a", {"Q", "か"}, "タイトルが記入されておりません。", -1, -1},
        {"../x", "d", "a", {"Q", "か"}, kBadTitle, -1, -1},
        {"t", "d", "a", {"Q", "か", "Q😀", "か"}, "3行目にShift-JISで表せない文字があります。", 2, 1},
        // A "/" would move the rest of the description into the author, a final "#" would
        // turn the set into an English-type one when it is read back.
        {"t", "1/2", "a", {"Q", "か"}, "説明文に「/」は使えません。", -1, -1},
        {"t", "d", "C#", {"Q", "か"}, "ローマ字タイプの問題集では、作者名の最後に「#」は使えません。", -1, -1},
    };
    for (const auto& c : cases) {
        dialogs.messages.clear();
        editor.caretRow = editor.caretIndex = -1;
        fields(c.title, c.description, c.author, SetKind::Roman);
        editor.edit(c.editor);
        EXPECT_FALSE(maker.btnSaveClick());
        EXPECT_EQ(dialogs.messages, (std::vector<std::string>{c.message}));
        EXPECT_EQ(editor.caretRow, c.caretRow);
        EXPECT_EQ(editor.caretIndex, c.caretIndex);
        EXPECT_TRUE(editor.modified());
        EXPECT_FALSE(maker.view().progressVisible);
    }
    EXPECT_FALSE(fileExists(file("t")));
}

TEST_F(MakerFixture, NewSet) {
    write("old", "d/a\r\nQ\r\nKA\r\n");
    maker.openFromMenu();
    write("late", "d/a\r\n");  // on disk, not in the list

    // Unsaved changes: Cancel, or a save that fails, stops before the title is asked for.
    for (Answer answer : {Answer::Cancel, Answer::Yes}) {
        fields("t", "d", "a", SetKind::Roman);
        editor.edit({"Q", "aか"});
        dialogs.confirmCancels = {answer};
        dialogs.shown.clear();
        maker.btnCreateClick();
        EXPECT_EQ(dialogs.shown, (std::vector<std::string>{
                                     "このﾃﾞｰﾀは変更されていますが、ｾｰﾌﾞ（ｺﾝﾊﾞｰﾄ）してから新規ﾌｧｲﾙを作成しますか？"}));
        EXPECT_TRUE(dialogs.inputRequests.empty());
    }
    editor.clearModified();

    const struct {
        std::optional<std::string> typed;
        const char* message;  // nullptr: the set is made
    } refused[] = {
        {std::nullopt, nullptr},
        {"", "ﾀｲﾄﾙ名が不正です。きちんと入力して下さい。"},
        {"😀", kBadTitle},
        {"OLD", "そのﾀｲﾄﾙ名はすでに存在しています。別の名前を入力して下さい。"},
        {"late", "そのﾀｲﾄﾙ名はすでに存在しています。別の名前を入力して下さい。"},
    };
    std::vector<std::pair<std::optional<std::string>, const char*>> cases;
    for (const auto& c : refused) cases.emplace_back(c.typed, c.message);
    // Titles no file here or on Windows can carry are refused as they are entered.
    std::string katakana;  // 84 half-width characters: 84 Shift-JIS bytes, a 256-byte file name
    for (int i = 0; i < 84; ++i) katakana += "ｶ";
    for (const std::string& t : std::vector<std::string>{"a/b", "a\\b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b", "a\tb", ".", "..",
                                                         " lead", "trail ", "　全角", "末尾　", "dot.",
                                                         std::string(201, 'x'), katakana})
        cases.emplace_back(t, kBadTitle);
    cases.emplace_back(std::string(200, 'x'), nullptr);  // the longest title is made
    for (const auto& [typed, message] : cases) {
        dialogs.messages.clear();
        dialogs.inputs = {typed};
        std::size_t before = maker.view().lst.size();
        maker.btnCreateClick();
        EXPECT_EQ(maker.view().lst.size(), before + (message || !typed ? 0 : 1)) << typed.value_or("");
        EXPECT_EQ(dialogs.messages.empty(), message == nullptr) << typed.value_or("");
        if (message) {
            EXPECT_EQ(dialogs.messages.front(), message) << typed.value_or("");
        }
    }
    ASSERT_FALSE(dialogs.inputRequests.empty());
    EXPECT_EQ(dialogs.inputRequests[0].caption, "ﾀｲﾄﾙを決定");
    EXPECT_EQ(dialogs.inputRequests[0].prompt, "新規に作成するﾀｲﾄﾙ名を入力して下さい。");

    open("old");
    maker.setDescription("desc");
    maker.setKind(SetKind::English);
    dialogs.inputs = {std::string("新しい")};
    maker.btnCreateClick();
    EXPECT_EQ(maker.view().lst.back(), sj("新しい"));
    EXPECT_EQ(maker.view().lstIndex, static_cast<int>(maker.view().lst.size()) - 1);
    EXPECT_TRUE(editor.text.empty());
    EXPECT_EQ(u(maker.view().countPanel), "問題数 : 0");
    EXPECT_EQ(maker.view().edtTitle, sj("新しい"));
    EXPECT_EQ(maker.view().edtExpress, "desc");
    EXPECT_EQ(maker.view().kind, SetKind::English);
    EXPECT_FALSE(fileExists(file("新しい")));
    EXPECT_EQ(maker.OpenTitle(), sj("新しい"));
}

TEST_F(MakerFixture, Quitting) {
    const struct {
        bool modified;
        Answer answer;
        const char* title;
        std::vector<std::string> edits;
        bool closes;
    } cases[] = {
        {false, Answer::Cancel, "t", {"Q", "aか"}, true},
        {true, Answer::Cancel, "t", {"Q", "か"}, false},
        {true, Answer::No, "t", {"Q", "aか"}, true},
        {true, Answer::Yes, "t", {"Q", "aか"}, false},
        {true, Answer::Yes, "t", {"Q", "か"}, true},
        {true, Answer::Yes, "", {"Q", "か"}, false},
    };
    for (const auto& c : cases) {
        fields(c.title, "d", "a", SetKind::Roman);
        editor.edit(c.edits);
        if (!c.modified) editor.clearModified();
        dialogs.confirmCancels = {c.answer};
        dialogs.shown.clear();
        EXPECT_EQ(maker.mayClose(), c.closes);
        EXPECT_EQ(dialogs.shown.empty(), !c.modified);
        if (c.modified) {
            EXPECT_EQ(dialogs.shown.front(), "ﾃﾞｰﾀが変更されています。ｾｰﾌﾞ（ｺﾝﾊﾞｰﾄ）してから終了しますか？");
        }
    }
}

TEST_F(MakerFixture, CaretPanels) {
    editor.text = {"学校 A", "がっこうｱ", ""};
    const struct {
        int row, index;
        const char* caret;
        const char* kind;
    } cases[] = {
        {0, 4, "1行 6桁", "問題"},
        {1, 5, "2行 9桁", "問題の読み"},
        {2, 0, "3行 0桁", "問題"},
        {11, 5, "12行 0桁", "問題の読み"},  // past the text
    };
    for (const auto& c : cases) {
        maker.caretMoved(c.row, c.index);
        EXPECT_EQ(u(maker.view().caretPanel), c.caret);
        EXPECT_EQ(u(maker.view().linePanel), c.kind);
    }
}

TEST_F(MakerFixture, SuggestedReadings) {
    editor.edit({"学校", "", "写真", "しゃっしん", "猫"});
    maker.fillReadings();  // no dictionary: nothing happens
    EXPECT_FALSE(maker.suggestionsAvailable());
    EXPECT_EQ(editor.replaceSteps, 0);

    TableSuggester suggester;
    maker.setSuggester(&suggester);
    maker.fillReadings();
    EXPECT_EQ(editor.text, (std::vector<std::string>{"学校", "がっこう", "写真", "しゃっしん", "猫", "ねこ"}));
    EXPECT_EQ(editor.replaceSteps, 1);
    ASSERT_EQ(maker.view().lstError.size(), 1u);
    EXPECT_EQ(u(maker.view().lstError[0]), "[確認] 4行目の読み「しゃっしん」は解析結果「しゃしん」と異なります");
    EXPECT_TRUE(maker.view().pnlErrorVisible);
    maker.lstErrorDblClick(0);
    EXPECT_EQ(editor.caretRow, 3);

    // Accepting writes the suggestion in one more step and takes the entry away.
    maker.acceptSuggestion(0);
    EXPECT_EQ(editor.text[3], "しゃしん");
    EXPECT_EQ(editor.replaceSteps, 2);
    EXPECT_TRUE(maker.view().lstError.empty());
    EXPECT_FALSE(maker.view().pnlErrorVisible);
    maker.textChanged();
    EXPECT_EQ(u(maker.view().countPanel), "問題数 : 3");

    // Chosen rows get their suggestion even over a written reading.
    editor.edit({"学校", "がっこ", "猫", "ねこ"});
    maker.fillReadings(RowRange{0, 0});
    EXPECT_EQ(editor.text, (std::vector<std::string>{"学校", "がっこう", "猫", "ねこ"}));

    // An English-type set's second lines are not readings.
    maker.setKind(SetKind::English);
    editor.edit({"学校", ""});
    maker.fillReadings();
    EXPECT_EQ(editor.text, (std::vector<std::string>{"学校", ""}));
}

TEST_F(MakerFixture, AdviceNeverKeepsASetFromBeingSaved) {
    fields("t", "d", "a", SetKind::Roman);
    editor.edit({"学校", "「がっこう」"});
    EXPECT_TRUE(maker.btnSaveClick());
    EXPECT_EQ(read("t"), "d/a\r\n学校\r\nGA18KOU\r\n");
    ASSERT_EQ(maker.view().lstError.size(), 1u);
    EXPECT_EQ(u(maker.view().lstError[0]), "[確認] 2行目 0桁目 読みの「」は変換で取り除かれ、入力されません。");
    EXPECT_TRUE(maker.view().pnlErrorVisible);

    // Beside a warning that does keep it, the advice comes before the last entry.
    editor.edit({"学校", "aカ"});
    EXPECT_FALSE(maker.btnSaveClick());
    ASSERT_EQ(maker.view().lstError.size(), 3u);
    EXPECT_TRUE(u(maker.view().lstError[1]).starts_with("[確認] 2行目 1桁目 読みにカタカナ"));
    EXPECT_TRUE(u(maker.view().lstError[2]).starts_with("[エラー]"));

    editor.edit({"ヴ", "ゔ"});
    dialogs.messages.clear();
    EXPECT_FALSE(maker.btnSaveClick());
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{"2行目の「ゔ」はShift-JISで表せません。「う゛」と書いて下さい。"});
}

TEST(MakerColumns, BytesAndCharacters) {
    const std::string line = "aあｱ😀b";  // widths 1, 2, 1, 2 (no Shift-JIS form), 1
    const int columns[] = {0, 1, 3, 4, 6, 7, 7};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(cp932Column(line, i), columns[i]) << i;
    const int indexes[] = {0, 1, 1, 2, 3, 3, 4, 5, 5};
    for (int c = 0; c < 9; ++c) EXPECT_EQ(charIndexAt(line, c), indexes[c]) << c;
    EXPECT_EQ(cp932Column("", 3), 0);
    EXPECT_EQ(charIndexAt("", 3), 0);
}

TEST(MakerFieldText, RefusesWhatAHeaderCannotHold) {
    EXPECT_EQ(makerFieldText("ことわざ/集"), sj("ことわざ/集"));
    EXPECT_EQ(makerFieldText(""), "");
    for (const char* bad : {"a\r\nb", "tab\there", "😀"}) EXPECT_FALSE(makerFieldText(bad)) << bad;
}

TEST_F(MakerFixture, DoubleClickOnAnEntryPlacesTheCaret) {
    fields("set", "d", "a", SetKind::Roman);
    editor.edit({"Q", "がaa", "Q", "かき b"});
    ASSERT_FALSE(maker.btnSaveClick());
    ASSERT_EQ(maker.view().lstError.size(), 5u);
    maker.lstErrorDblClick(2);  // 4行目 4桁目: the blank, the third character
    EXPECT_EQ(editor.caretRow, 3);
    EXPECT_EQ(editor.caretIndex, 2);

    editor.caretRow = editor.caretIndex = -1;
    maker.lstErrorDblClick(4);  // the file entry names no line
    maker.lstErrorDblClick(9);
    EXPECT_EQ(editor.caretRow, -1);

    // After edits: a column on a second byte goes to its character, a line gone since to the
    // last line.
    editor.edit({"Q", "あいa"});
    ASSERT_FALSE(maker.btnSaveClick());
    editor.text = {"Q", "aあい"};
    maker.lstErrorDblClick(0);  // 2行目 4桁目
    EXPECT_EQ(editor.caretRow, 1);
    EXPECT_EQ(editor.caretIndex, 2);
    editor.text = {"abcdefg"};
    maker.lstErrorDblClick(0);
    EXPECT_EQ(editor.caretRow, 0);
    EXPECT_EQ(editor.caretIndex, 4);
}

// Installed: the installed sets and the user's are listed together; a save always goes to the
// user's folder, whose path the status panel shows, and takes the installed set's place.
TEST(MakerInstalled, ListsBothAndSavesIntoTheUsersFolder) {
    keyrook::testing::TempDir share, home;
    saveStringToFile(share / "data/school.std", sj("d/a\r\n学校\r\nGA18KOU\r\n"));
    saveStringToFile(home / "data/mine.std", sj("d/a\r\n"));
    const Paths paths = Paths::installed(share.dir(), home.dir());
    FakeEditor editor;
    FakeDialogs dialogs;
    FakeSounds sounds;
    MakerEngine maker{paths, editor, dialogs, sounds};
    maker.openFromMenu();
    EXPECT_EQ(maker.view().lst, (std::vector<std::string>{"school", "mine"}));
    maker.lstClick(0);
    EXPECT_EQ(editor.text, (std::vector<std::string>{"学校", "がっこう"}));
    EXPECT_EQ(maker.pathPanel(), home / "data/school.std");
    editor.edit({"学校", "がくえん"});
    ASSERT_TRUE(maker.btnSaveClick());
    EXPECT_TRUE(fileExists(home / "data/school.std"));
    EXPECT_EQ(loadStringFromFile(share / "data/school.std"), sj("d/a\r\n学校\r\nGA18KOU\r\n"));
    maker.btnReloadClick();
    EXPECT_EQ(maker.view().lst, (std::vector<std::string>{"school", "mine"}));
    maker.lstClick(0);
    EXPECT_EQ(editor.text, (std::vector<std::string>{"学校", "がくえん"}));
}

}  // namespace
}  // namespace keyrook
