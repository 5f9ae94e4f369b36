// The settings window over a user's INI file: what it writes, what it restores, the presets,
// the own-style editor and how it opens and closes.
#include <gtest/gtest.h>

#include <functional>

#include <filesystem>

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/main_window.h"
#include "app/program_window.h"
#include "base/cp932.h"
#include "base/files.h"
#include "problemsets/romaji_decoder.h"
#include "settings/mine_dialog.h"
#include "settings/setting_window.h"
#include "support/program_fixture.h"
#include "typing/typing_window.h"
#include "widgets/ini_save_props.h"
#include "widgets/qt_services.h"
#include "widgets/radio_group.h"

namespace keyrook {
namespace {

struct SettingFixture : testing::ProgramFixture {
    void SetUp() override {
        clock.set(0);
        writeMinimalProgram();
    }
    std::unique_ptr<ProgramWindows> start() { return makeWindows(); }
    static QPushButton* button(TSetting& s, const char* name) { return s.findChild<QPushButton*>(name); }
    static QCheckBox* check(TSetting& s, const char* name) { return s.findChild<QCheckBox*>(name); }
};

// One group's section as the store writes it: the selection, then the list in text form.
std::string groupSection(int n, int index, const std::vector<std::string>& items, bool indexLast = false) {
    std::string list;
    for (std::size_t i = 0; i < items.size(); ++i)
        list += "Items" + std::to_string(i + 1) + "=    '" + items[i] + "'" +
                (i + 1 == items.size() ? ")" : "") + "\r\n";
    std::string head = "[RadioGroup" + std::to_string(n) + "]\r\n";
    std::string idx = "ItemIndex=" + std::to_string(index) + "\r\n";
    std::string strings = "Items0=  Obj.Strings = (\r\n" + list;
    return head + (indexLast ? strings + idx : idx + strings) + "\r\n";
}

TEST_F(SettingFixture, SaveWritesTheUsersFileByteForByteAndLoadRestoresIt) {
    auto w = start();
    TSetting& s = w->Setting();
    s.open("taro");
    EXPECT_EQ(s.windowTitle(), "ﾛｰﾏ字設定（ﾕｰｻﾞｰ : taro）");
    EXPECT_FALSE(w->MainForm().isEnabled());
    EXPECT_FALSE(w->Typing().isEnabled());

    // A few choices, one own list (chosen past the default list's end) and one font.
    s.RadioGroup(1)->setItemIndex(1);
    s.RadioGroup(21)->setItemIndex(1);
    check(s, "chkLC")->setChecked(true);
    check(s, "chkFlash")->setChecked(false);
    {
        TMine mine(s, dialogs);
        mine.cmbKind()->setCurrentIndex(13);  // ちゃ
        EXPECT_EQ(mine.memEdit()->toPlainText(), "TYA\nCHA\nCYA");
        mine.memEdit()->setPlainText("tya\ncha\n\ncya\nCHA\nty");
        mine.btnOKClick();
    }
    s.RadioGroup(14)->setItemIndex(3);
    s.chooseFont = [](const QFont&, bool) {
        QFont f("Noto Sans CJK JP");
        f.setPixelSize(30);
        f.setBold(true);
        return std::optional<QFont>(f);
    };
    button(s, "Panel1")->click();
    s.findChild<QLineEdit*>("edtHN")->setText("たろう");
    button(s, "btnOK")->click();

    EXPECT_FALSE(s.isVisible());
    EXPECT_EQ(s.windowTitle(), "詳細設定");
    EXPECT_TRUE(w->MainForm().isEnabled());
    QFont applied = w->Typing().label("lblQuestion")->font();
    EXPECT_EQ(applied.pixelSize(), 30);
    EXPECT_TRUE(applied.bold());

    std::string expected;
    const VariantTable defaults;
    auto listOf = [&](int n) { return defaults.group(n)->items; };
    for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 19, 20, 21}) {
        int index = n == 1 || n == 21 ? 1 : n == 14 ? 3 : 0;
        auto items = n == 14 ? std::vector<std::string>{"TYA", "CHA", "CYA", "TY"} : listOf(n);
        expected += groupSection(n, index, items);
    }
    expected +=
        "[chkTypemiss]\r\nChecked=1\r\n\r\n"
        "[chkTypesound]\r\nChecked=1\r\n\r\n"
        "[chkFlash]\r\nChecked=0\r\n\r\n"
        "[lblTitle]\r\nCaption=a\r\n\r\n"
        "[SaveDialog1]\r\nFileName=\r\n\r\n"
        "[OpenDialog1]\r\nFileName=\r\n\r\n"
        "[FontDialog1]\r\nFont0=  Obj.Charset = DEFAULT_CHARSET\r\nFont1=  Obj.Color = clWhite\r\n"
        "Font2=  Obj.Height = -30\r\nFont3=  Obj.Name = 'Noto Sans CJK JP'\r\n"
        "Font4=  Obj.Style = [fsBold]\r\n\r\n"
        "[FontDialog2]\r\nFont0=  Obj.Charset = DEFAULT_CHARSET\r\nFont1=  Obj.Color = clWhite\r\n"
        "Font2=  Obj.Height = -27\r\nFont3=  Obj.Name = '\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e'\r\n"
        "Font4=  Obj.Style = []\r\n\r\n"
        "[chkLC]\r\nChecked=1\r\n\r\n"
        "[edtHN]\r\nText=\x82\xbd\x82\xeb\x82\xa4\r\n\r\n"
        "[edtMail]\r\nText=\r\n\r\n"
        "[edtHP]\r\nText=\r\n\r\n"
        "[chkYomi]\r\nChecked=0\r\n\r\n";
    expected += groupSection(22, 0, listOf(22), true);
    expected += groupSection(23, 0, listOf(23), true);
    // The sections of groups are single sections: the Items lines follow the ItemIndex line.
    ASSERT_EQ(loadStringFromFile(app / "user/taro.ini"), expected);

    // A new run restores every control, the own list's fourth spelling included.
    w.reset();
    auto again = start();
    TSetting& r = again->Setting();
    EXPECT_EQ(r.RadioGroup(14)->items(), (QStringList{"TYA", "CHA", "CYA", "TY"}));
    EXPECT_EQ(r.RadioGroup(14)->itemIndex(), 3);
    EXPECT_EQ(r.RadioGroup(1)->itemIndex(), 1);
    EXPECT_TRUE(check(r, "chkLC")->isChecked());
    EXPECT_FALSE(check(r, "chkFlash")->isChecked());
    EXPECT_EQ(r.questionFont().Height(), -30);
    EXPECT_EQ(r.findChild<QLineEdit*>("edtHN")->text(), "たろう");
    EXPECT_EQ(Changer("1401@A", r.variants(), false), "TYSHILA");
    EXPECT_TRUE(r.options().chkLC);
}

TEST_F(SettingFixture, FontChoosersStartFromTheUsersFontAndAnUnchangedChoiceKeepsTheStoredOne) {
    auto w = start();
    TSetting& s = w->Setting();
    s.open("taro");
    std::vector<QFont> asked;
    std::vector<bool> fixedOnly;
    std::vector<QColor> askedColours;
    s.chooseFont = [&](const QFont& initial, bool fixed) {
        asked.push_back(initial);
        fixedOnly.push_back(fixed);
        return std::optional<QFont>(initial);  // OK without a change
    };
    s.chooseColor = [&](const QColor& initial) {
        askedColours.push_back(initial);
        return std::optional<QColor>(initial);
    };
    button(s, "Panel1")->click();
    button(s, "Panel2")->click();
    ASSERT_EQ(asked.size(), 2u);
    // The labels show the stored fonts from the start, and the choosers start from them too.
    EXPECT_EQ(asked[0], w->Typing().label("lblQuestion")->font());
    EXPECT_EQ(asked[0].family(), "HGPｺﾞｼｯｸE");
    EXPECT_EQ(asked[0].pixelSize(), 24);
    EXPECT_EQ(asked[1], w->Typing().label("lblTyping")->font());
    EXPECT_EQ(asked[1].pixelSize(), 27);
    EXPECT_EQ(fixedOnly, (std::vector<bool>{false, true}));
    ASSERT_EQ(askedColours.size(), 1u);
    EXPECT_EQ(askedColours[0], QColor(Qt::white));
    // The real chooser answers with the face standing in for the Windows name, in points.
    s.chooseFont = [](const QFont& initial, bool) {
        QFont shown(QFontInfo(initial).family());
        shown.setPointSizeF(QFontInfo(initial).pointSizeF());
        return std::optional<QFont>(shown);
    };
    button(s, "Panel1")->click();
    button(s, "btnOK")->click();
    EXPECT_EQ(s.questionFont().Name(), "HGPｺﾞｼｯｸE");
    EXPECT_EQ(s.questionFont().Height(), -24);
    EXPECT_EQ(s.typingFont().Name(), "ＭＳ ゴシック");
    const std::string ini = loadStringFromFile(app / "user/taro.ini");
    EXPECT_NE(ini.find("Font3=  Obj.Name = '" + cp932Of("HGPｺﾞｼｯｸE") + "'"), std::string::npos);

    // The labels still show another user's fonts: the choosers start from this user's.
    s.open("hana");
    s.questionFont().setHeight(-30);
    s.typingFont().setColor(QColor(Qt::yellow));
    button(s, "btnOK")->click();
    ASSERT_EQ(w->Typing().label("lblQuestion")->font().pixelSize(), 30);
    s.open("taro");
    asked.clear();
    askedColours.clear();
    s.chooseFont = [&](const QFont& initial, bool) -> std::optional<QFont> {
        asked.push_back(initial);
        return initial;
    };
    button(s, "Panel1")->click();
    button(s, "Panel2")->click();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].pixelSize(), 24);
    ASSERT_EQ(askedColours.size(), 1u);
    EXPECT_EQ(askedColours[0], QColor(Qt::white));
}

// "どの綴りでも入力可" and "ｷｰﾎﾞｰﾄﾞｶﾞｲﾄﾞ" are written only while checked, last and in this
// order: files of users who leave them off stay as they were, and a file without them loads
// them unchecked.
TEST_F(SettingFixture, OptionsBeyondTheOldFileAreStoredOnlyWhileChecked) {
    auto w = start();
    TSetting& s = w->Setting();
    struct Option {
        const char* name;
        const char* text;
        const char* hint;
        std::function<bool(const TSetting&)> on;
    } options[] = {
        {"chkFlexible", "どの綴りでも入力可",
         "SIとSHI、TUとTSUなど、設定と違う綴りでも正解にします。表示は設定した綴りのままです。",
         [](const TSetting& t) { return t.options().chkFlexible; }},
        {"chkGuide", "ｷｰﾎﾞｰﾄﾞｶﾞｲﾄﾞ", "練習中、次に打つｷｰと指をｷｰﾎﾞｰﾄﾞの絵で示し、速度と正確率を出します。",
         [](const TSetting& t) { return t.keyboardGuide(); }},
    };
    s.open("taro");
    button(s, "btnOK")->click();
    const std::string off = loadStringFromFile(app / "user/taro.ini");
    for (const Option& o : options) {
        QCheckBox* box = check(s, o.name);
        ASSERT_NE(box, nullptr) << o.name;
        EXPECT_EQ(box->text(), o.text);
        EXPECT_EQ(box->toolTip(), o.hint);
        EXPECT_FALSE(box->isChecked());
        EXPECT_EQ(off.find(o.name), std::string::npos);

        s.open("taro");
        box->setChecked(true);
        EXPECT_TRUE(o.on(s));
        button(s, "btnOK")->click();
        EXPECT_EQ(loadStringFromFile(app / "user/taro.ini"), off + "[" + o.name + "]\r\nChecked=1\r\n\r\n");
        s.open("taro");
        EXPECT_TRUE(box->isChecked());
        box->setChecked(false);
        button(s, "btnOK")->click();
        EXPECT_EQ(loadStringFromFile(app / "user/taro.ini"), off);

        box->setChecked(true);
        s.open("taro");  // the file has no such key: unchecked, as cancelling does too
        EXPECT_FALSE(box->isChecked());
        box->setChecked(true);
        button(s, "btnCancel")->click();
        EXPECT_FALSE(o.on(s));
    }
    s.open("taro");
    check(s, "chkGuide")->setChecked(true);
    check(s, "chkFlexible")->setChecked(true);
    button(s, "btnOK")->click();
    EXPECT_EQ(loadStringFromFile(app / "user/taro.ini"),
              off + "[chkFlexible]\r\nChecked=1\r\n\r\n[chkGuide]\r\nChecked=1\r\n\r\n");
}

// "かな入力" is written only while checked, after every other stored property.
TEST_F(SettingFixture, KanaInputIsStoredLastOnlyWhileChecked) {
    auto w = start();
    TSetting& s = w->Setting();
    QCheckBox* kana = check(s, "chkKana");
    ASSERT_NE(kana, nullptr);
    EXPECT_EQ(kana->text(), "かな入力");
    EXPECT_NE(kana->toolTip().indexOf("1の左のｷｰ"), -1);
    EXPECT_FALSE(kana->isChecked());

    s.open("taro");
    button(s, "btnOK")->click();
    const std::string off = loadStringFromFile(app / "user/taro.ini");
    EXPECT_EQ(off.find("chkKana"), std::string::npos);

    s.open("taro");
    kana->setChecked(true);
    check(s, "chkFlexible")->setChecked(true);
    EXPECT_TRUE(s.options().chkKana);
    button(s, "btnOK")->click();
    EXPECT_EQ(loadStringFromFile(app / "user/taro.ini"),
              off + "[chkFlexible]\r\nChecked=1\r\n\r\n[chkKana]\r\nChecked=1\r\n\r\n");
    kana->setChecked(false);
    s.open("taro");
    EXPECT_TRUE(kana->isChecked());
    kana->setChecked(false);
    check(s, "chkFlexible")->setChecked(false);
    button(s, "btnOK")->click();
    EXPECT_EQ(loadStringFromFile(app / "user/taro.ini"), off);
}

TEST_F(SettingFixture, PresetsAndCancel) {
    auto w = start();
    TSetting& s = w->Setting();
    s.open("taro");
    button(s, "btnHebon")->click();
    EXPECT_EQ(Changer("0501NN", s.variants(), false), "SHASHINN");
    EXPECT_EQ(Changer("04", s.variants(), false), "HU");
    EXPECT_EQ(Changer("10", s.variants(), false), "ZYA");  // じゃ keeps its choice
    // First use: no file, so cancel has nothing to restore and the edits stay.
    button(s, "btnCancel")->click();
    EXPECT_FALSE(fileExists(app / "user/taro.ini"));
    EXPECT_EQ(Changer("01", s.variants(), false), "SHI");

    s.open("taro");
    s.RadioGroup(21)->setItemIndex(1);
    button(s, "btnOK")->click();
    s.open("taro");
    button(s, "btnRoma")->click();
    EXPECT_EQ(Changer("0514@A", s.variants(), false), "SYATYALA");  // 小字 keeps "L"
    std::string before = loadStringFromFile(app / "user/taro.ini");
    button(s, "btnCancel")->click();
    EXPECT_EQ(loadStringFromFile(app / "user/taro.ini"), before);
    EXPECT_EQ(Changer("0514", s.variants(), false), "SHACHA");  // the stored choices are back
}

TEST_F(SettingFixture, OwnStyleEditorRules) {
    auto w = start();
    TSetting& s = w->Setting();
    TMine mine(s, dialogs);
    ASSERT_EQ(mine.cmbKind()->count(), 22);
    EXPECT_EQ(mine.cmbKind()->itemText(19), "小字");
    mine.memEdit()->setPlainText("abc");
    mine.btnOKClick();  // no kind chosen: nothing changes and the editor stays
    EXPECT_EQ(mine.result(), 0);

    s.RadioGroup(10)->setItemIndex(2);  // "JA", the third of three
    mine.cmbKind()->setCurrentIndex(9);
    mine.memEdit()->setPlainText("zya\njya");
    mine.btnOKClick();
    EXPECT_EQ(s.RadioGroup(10)->items(), (QStringList{"ZYA", "JYA"}));
    EXPECT_EQ(s.RadioGroup(10)->itemIndex(), 1);

    TMine emptied(s, dialogs);
    emptied.cmbKind()->setCurrentIndex(9);
    emptied.memEdit()->setPlainText("\n\n");
    emptied.btnOKClick();  // an empty list changes nothing
    EXPECT_EQ(s.RadioGroup(10)->items().size(), 2);

    TMine crowded(s, dialogs);  // no more spellings than a settings file may hold
    crowded.cmbKind()->setCurrentIndex(9);
    QStringList many;
    for (int i = 0; i < 33; ++i) many << QString("Z%1").arg(i);
    crowded.memEdit()->setPlainText(many.join('\n'));
    crowded.btnOKClick();
    EXPECT_EQ(crowded.result(), 0);
    EXPECT_EQ(dialogs.messages.back(), "綴りは1つのｸﾞﾙｰﾌﾟに32個までです。");
    EXPECT_EQ(s.RadioGroup(10)->items().size(), 2);
}

TEST_F(SettingFixture, LoadingKeepsTheSelectedTitleAndTheMenuWaitsForTheSettings) {
    saveStringToFile(app / "user/taro.ini", "[lblTitle]\r\nCaption=other\r\n\r\n");
    auto w = start();
    EXPECT_EQ(w->MainForm().findChild<QLabel*>("lblTitle")->text(), "a");
    w->MainForm().show();
    w->Setting().open("taro");
    EXPECT_EQ(w->MainForm().findChild<QLabel*>("lblTitle")->text(), "a");
    // The main window cannot be closed under the open settings window.
    EXPECT_FALSE(w->MainForm().close());
    EXPECT_TRUE(w->MainForm().isVisible());
    w->Setting().close();
    EXPECT_TRUE(w->MainForm().close());
}

// A name from the list file that is no file name stem never reaches a path: "../../x" would
// write x.ini two folders up, "a/b" a folder inside user/.
TEST_F(SettingFixture, ListNamesThatAreNoFileNamesNeverBecomePaths) {
    const std::string appDir = app / "a/b/";
    saveStringToFile(appDir + "data/a.std", "d/me\r\nq\r\nKA\r\n");
    for (const std::string first : {"../../x", "a/b"}) {
        saveStringToFile(appDir + "user/user.log", first + "\r\n");
        ProgramWindows w(appDir, sounds, dialogs, clock, random, &timers);
        w.Setting().open(w.MainForm().currentUser());
        button(w.Setting(), "btnOK")->click();
        EXPECT_FALSE(std::filesystem::exists(app / "a/x.ini")) << first;
        EXPECT_FALSE(std::filesystem::exists(appDir + "user/a")) << first;
    }
}

// A hand-made list of 33 spellings is refused with the file's name; the group keeps its list.
TEST_F(SettingFixture, AGroupOfMoreThanThirtyTwoSpellingsIsRefusedByName) {
    std::vector<std::string> many;
    for (int i = 0; i < 33; ++i) many.push_back("S" + std::to_string(i));
    saveStringToFile(app / "user/taro.ini", groupSection(1, 0, many) + groupSection(2, 0, {"X", "Y"}));
    auto w = start();
    const VariantTable table;
    QStringList defaults;
    for (const auto& item : table.group(1)->items) defaults << fromCp932(item);
    EXPECT_EQ(w->Setting().RadioGroup(1)->items(), defaults);
    EXPECT_EQ(w->Setting().RadioGroup(2)->items(), (QStringList{"X", "Y"}));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].find("taro.ini"), std::string::npos) << dialogs.messages[0];
    EXPECT_NE(dialogs.messages[0].find("32"), std::string::npos) << dialogs.messages[0];
}

TEST_F(SettingFixture, HandleNameTakesAtMostSixteenShiftJisBytes) {
    auto w = start();
    auto* hn = w->Setting().findChild<QLineEdit*>("edtHN");
    int pos = 0;
    QString eight = "あいうえおかきく", nine = "あいうえおかきくけ", emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    EXPECT_EQ(hn->validator()->validate(eight, pos), QValidator::Acceptable);
    EXPECT_EQ(hn->validator()->validate(nine, pos), QValidator::Invalid);
    EXPECT_EQ(hn->validator()->validate(emoji, pos), QValidator::Invalid);
}

}  // namespace
}  // namespace keyrook
