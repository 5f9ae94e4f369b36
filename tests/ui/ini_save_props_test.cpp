#include "widgets/ini_save_props.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "base/files.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace keyrook {
namespace {

// Stand-ins for the settings window's controls: only the stored properties.
class Check : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Checked MEMBER checked)
public:
    using QObject::QObject;
    bool checked = false;
};

class Label : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Caption MEMBER caption)
public:
    using QObject::QObject;
    QString caption;
};

class Edit : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Text MEMBER text)
public:
    using QObject::QObject;
    QString text;
};

// Clamps its selection to the list as a Windows radio group does.
class Group : public QObject {
    Q_OBJECT
    Q_PROPERTY(int ItemIndex READ itemIndex WRITE setItemIndex)
    Q_PROPERTY(QStringList Items READ items WRITE setItems)
public:
    using QObject::QObject;
    int itemIndex() const { return index; }
    void setItemIndex(int i) { index = std::clamp(i, -1, static_cast<int>(list.size()) - 1); }
    QStringList items() const { return list; }
    void setItems(const QStringList& l) {
        list = l;
        setItemIndex(index);
    }
    int index = -1;
    QStringList list;
};

class FontDialog : public QObject {
    Q_OBJECT
    Q_PROPERTY(keyrook::TFont* Font READ font)
public:
    using QObject::QObject;
    TFont* font() const { return font_; }

private:
    TFont* font_ = new TFont(this);
};

class Misc : public QObject {
    Q_OBJECT
public:
    enum Mode { One, Two, Three };
    Q_ENUM(Mode)
private:
    Q_PROPERTY(QChar C MEMBER c)
    Q_PROPERTY(Mode M MEMBER m)
    Q_PROPERTY(double D MEMBER d)
public:
    using QObject::QObject;
    QChar c;
    Mode m = One;
    double d = 0;
};

const char kGakkou[] = "\x82\xAA\x82\xC1\x82\xB1\x82\xA4";  // がっこう
const std::string kMsGothic = "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E";  // ＭＳ ゴシック

// The file the set below writes after the user's changes, built from the format by hand.
const std::string kStored = std::string() +
    "[RadioGroup1]\r\n"
    "ItemIndex=3\r\n"
    "Items0=  Obj.Strings = (\r\n"
    "Items1=    'SI'\r\n"
    "Items2=    'SHI'\r\n"
    "Items3=    'XI'\r\n"
    "Items4=    'CI')\r\n"
    "\r\n"
    "[chkTypemiss]\r\nChecked=0\r\n\r\n"
    "[chkFlash]\r\nChecked=1\r\n\r\n"
    "[lblTitle]\r\nCaption=" + kGakkou + "\r\n\r\n"
    "[FontDialog1]\r\n"
    "Font0=  Obj.Charset = SHIFTJIS_CHARSET\r\n"
    "Font1=  Obj.Color = clWhite\r\n"
    "Font2=  Obj.Height = -27\r\n"
    "Font3=  Obj.Name = '" + kMsGothic + "'\r\n"
    "Font4=  Obj.Pitch = fpFixed\r\n"
    "Font5=  Obj.Style = [fsBold]\r\n"
    "\r\n"
    "[chkLC]\r\nChecked=1\r\n\r\n"
    "[edtHN]\r\nText=Taro's\r\n\r\n";

// A settings window in small: controls at their design-time values and the stored list in
// the window's order (a selection before its list).
struct Settings {
    fakes::FakeDialogs dialogs;  // outlives the owner and everything on it

    explicit Settings(const std::string& file) {
        owner->setObjectName("Setting");
        rg1->setObjectName("RadioGroup1");
        rg1->list = {"SI", "SHI"};
        rg1->index = 0;
        chkTypemiss->setObjectName("chkTypemiss");
        chkTypemiss->checked = true;
        chkFlash->setObjectName("chkFlash");
        chkFlash->checked = true;
        lblTitle->setObjectName("lblTitle");
        fontDialog1->setObjectName("FontDialog1");
        TFont* f = fontDialog1->font();
        f->setName(QStringLiteral("HGPｺﾞｼｯｸE"));
        f->setHeight(-24);
        f->setColor(colors::clWhite);
        f->setCharset(charsets::SHIFTJIS_CHARSET);
        chkLC->setObjectName("chkLC");
        edtHN->setObjectName("edtHN");

        saves->setAutoLoad(false);
        saves->setAutoSave(false);
        TProps& props = saves->Props();
        props.add(rg1, "ItemIndex");
        props.add(chkTypemiss, "Checked");
        props.add(chkFlash, "Checked");
        props.add(lblTitle, "Caption");
        props.add(fontDialog1, "Font");
        props.add(chkLC, "Checked");
        props.add(rg1, "Items");
        props.add(edtHN, "Text");
        saves->setFileName(QString::fromStdString(file));
    }

    // What the user changed before the file above was written.
    void change() {
        rg1->setItems({"SI", "SHI", "XI", "CI"});
        rg1->setItemIndex(3);
        chkTypemiss->checked = false;
        lblTitle->caption = QStringLiteral("がっこう");
        TFont* f = fontDialog1->font();
        f->setName(QStringLiteral("ＭＳ ゴシック"));
        f->setHeight(-27);
        f->setPitch(FontPitch::Fixed);
        f->setStyle(fsBold);
        chkLC->checked = true;
        edtHN->text = QStringLiteral("Taro's");
    }

    std::unique_ptr<QObject> owner = std::make_unique<QObject>();
    Group* rg1 = new Group(owner.get());
    Check* chkTypemiss = new Check(owner.get());
    Check* chkFlash = new Check(owner.get());
    Label* lblTitle = new Label(owner.get());
    FontDialog* fontDialog1 = new FontDialog(owner.get());
    Check* chkLC = new Check(owner.get());
    Edit* edtHN = new Edit(owner.get());
    TIniSaveProps* saves = new TIniSaveProps(owner.get(), dialogs);
};

class IniSavePropsTest : public ::testing::Test {
protected:
    testing::TempDir tmp;
    std::string file = tmp / "user/taro.ini";
};

TEST_F(IniSavePropsTest, SaveWritesTheFileByteForByte) {
    Settings s(file);
    s.change();
    s.saves->Save();
    EXPECT_EQ(loadStringFromFile(file), kStored);
    // Saving again rewrites the list sections whole and in place: same bytes.
    s.saves->Save();
    EXPECT_EQ(loadStringFromFile(file), kStored);
    EXPECT_TRUE(s.dialogs.messages.empty());
}

TEST_F(IniSavePropsTest, LoadRestoresEveryPropertyIncludingASelectionPastTheDefaultList) {
    saveStringToFile(file, kStored);
    Settings s(file);
    s.saves->Load();
    EXPECT_EQ(s.rg1->list, (QStringList{"SI", "SHI", "XI", "CI"}));
    EXPECT_EQ(s.rg1->index, 3);  // would be clamped to 1 if applied before its list
    EXPECT_FALSE(s.chkTypemiss->checked);
    EXPECT_TRUE(s.chkFlash->checked);
    EXPECT_EQ(s.lblTitle->caption, QStringLiteral("がっこう"));
    const TFont* f = s.fontDialog1->font();
    EXPECT_EQ(f->Name(), QStringLiteral("ＭＳ ゴシック"));
    EXPECT_EQ(f->Height(), -27);
    EXPECT_EQ(f->Color(), colors::clWhite);
    EXPECT_EQ(f->Charset(), charsets::SHIFTJIS_CHARSET);
    EXPECT_EQ(f->Pitch(), FontPitch::Fixed);
    EXPECT_EQ(f->Style(), unsigned(fsBold));
    EXPECT_TRUE(s.chkLC->checked);
    EXPECT_EQ(s.edtHN->text, QStringLiteral("Taro's"));
    EXPECT_TRUE(s.dialogs.messages.empty());
    s.saves->Save();
    EXPECT_EQ(loadStringFromFile(file), kStored);
}

TEST_F(IniSavePropsTest, FirstUseChangesNothingAndSaveCreatesTheFile) {
    Settings s(file);
    s.saves->Load();
    EXPECT_EQ(s.rg1->index, 0);
    EXPECT_TRUE(s.chkTypemiss->checked);
    EXPECT_EQ(s.fontDialog1->font()->Height(), -24);
    EXPECT_TRUE(s.dialogs.messages.empty());
    EXPECT_FALSE(fileExists(file));
    s.saves->Save();
    EXPECT_TRUE(fileExists(file));
}

TEST_F(IniSavePropsTest, LoadRestoresOnlyTheKeysInTheFile) {
    // Cancel after edits: what the file holds comes back, everything else stays as edited.
    saveStringToFile(file, "[chkTypemiss]\r\nChecked=0\r\n\r\n[RadioGroup1]\r\nItemIndex=1\r\n");
    Settings s(file);
    s.change();
    s.saves->Load();
    EXPECT_FALSE(s.chkTypemiss->checked);
    EXPECT_EQ(s.rg1->index, 1);
    EXPECT_EQ(s.rg1->list.size(), 4);  // no Items lines: the edited list stays
    EXPECT_TRUE(s.chkLC->checked);
    EXPECT_EQ(s.lblTitle->caption, QStringLiteral("がっこう"));
    EXPECT_EQ(s.fontDialog1->font()->Height(), -27);
}

TEST_F(IniSavePropsTest, AShorterListLeavesNoOldLinesAndOtherSettingsSurvive) {
    saveStringToFile(file, "[Mine]\r\nkeep=1\r\n\r\n[chkLC]\r\nChecked=0\r\nNote=hand\r\n");
    Settings s(file);
    s.rg1->setItems({"SI", "SHI", "XI"});
    s.saves->Save();
    s.rg1->setItems({"SI"});
    s.saves->Save();
    const std::string text = loadStringFromFile(file);
    EXPECT_NE(text.find("[RadioGroup1]\r\nItemIndex=0\r\nItems0=  Obj.Strings = (\r\n"
                        "Items1=    'SI')\r\n\r\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("Items2"), std::string::npos);
    EXPECT_EQ(text.rfind("[Mine]\r\nkeep=1\r\n\r\n[chkLC]\r\nChecked=0\r\nNote=hand\r\n", 0), 0u)
        << text;
}

// A property with a default is stored only while it differs from it; its section goes when
// nothing else is left in it, and a file without the key gives the default back.
TEST_F(IniSavePropsTest, APropertyAtItsDefaultIsNotStored) {
    saveStringToFile(file, "[chkFlexible]\r\nChecked=1\r\n\r\n[chkOther]\r\nChecked=1\r\nNote=hand\r\n\r\n");
    Settings s(file);
    Check* flexible = new Check(s.owner.get());
    Check* other = new Check(s.owner.get());
    flexible->setObjectName("chkFlexible");
    other->setObjectName("chkOther");
    s.saves->Props().add(flexible, "Checked").setDefault(false);
    s.saves->Props().add(other, "Checked").setDefault(false);
    s.saves->Load();
    EXPECT_TRUE(flexible->checked);
    flexible->checked = other->checked = false;
    s.saves->Save();
    const std::string text = loadStringFromFile(file);
    EXPECT_EQ(text.find("chkFlexible"), std::string::npos) << text;
    EXPECT_NE(text.find("[chkOther]\r\nNote=hand\r\n\r\n"), std::string::npos) << text;
    flexible->checked = true;
    s.saves->Load();
    EXPECT_FALSE(flexible->checked);
}

TEST_F(IniSavePropsTest, SamePropertyTwiceGetsANumberedKey) {
    Settings s(file);
    TProp& second = s.saves->Props().add(s.chkLC, "Checked");
    EXPECT_EQ(second.EffectiveKey(), "Checked1");
    s.chkLC->checked = true;
    s.saves->Save();
    EXPECT_NE(loadStringFromFile(file).find("[chkLC]\r\nChecked=1\r\nChecked1=1\r\n"),
              std::string::npos);

    // When the component of the first of a clash goes, the second takes the plain key.
    std::filesystem::remove(file);
    TProp& a = s.saves->Props().add(s.edtHN, "Text", "Shared", "Key");
    TProp& b = s.saves->Props().add(s.lblTitle, "Caption", "shared", "KEY");
    EXPECT_EQ(b.EffectiveKey(), "KEY1");
    delete s.edtHN;
    EXPECT_EQ(a.Compo(), nullptr);
    EXPECT_FALSE(a.isValid());
    EXPECT_EQ(b.EffectiveKey(), "KEY");
    s.saves->Save();  // the destroyed component's entries are skipped
    EXPECT_EQ(loadStringFromFile(file).find("[edtHN]"), std::string::npos);
}

TEST_F(IniSavePropsTest, EntryValidityAndKinds) {
    Settings s(file);
    TProp& p = s.saves->Props().add(s.chkLC, "Checked");
    p.setCompo(s.lblTitle);  // no Checked there: the name goes
    EXPECT_EQ(p.PropName(), "");
    EXPECT_EQ(p.effectiveSection(), "lblTitle");
    p.setPropName("Caption");
    p.setEnabled(false);
    EXPECT_FALSE(p.isValid());
    p.setEnabled(true);
    EXPECT_EQ(p.EffectiveKey(), "Caption1");
    EXPECT_EQ(p.columnText(0), "lblTitle.Caption");
    EXPECT_EQ(TProps::columnTitle(1), "Section");

    // Enum, character and float values go through as numbers.
    Misc* misc = new Misc(s.owner.get());
    misc->m = Misc::Three;
    misc->c = QLatin1Char('x');
    misc->d = 0.25;
    for (const char* name : {"M", "C", "D"}) s.saves->Props().add(misc, name);
    s.saves->Save();
    EXPECT_NE(loadStringFromFile(file).find("[Misc]\r\nM=2\r\nC=120\r\nD=0.25\r\n"),
              std::string::npos);
    misc->m = Misc::One;
    misc->c = QChar();
    misc->d = 0;
    s.saves->Load();
    EXPECT_EQ(misc->m, Misc::Three);
    EXPECT_EQ(misc->c, QLatin1Char('x'));
    EXPECT_EQ(misc->d, 0.25);
}

TEST_F(IniSavePropsTest, DamagedEntriesKeepTheirValuesAndAreReportedOnce) {
    saveStringToFile(file,
                     "[RadioGroup1]\r\nItemIndex=7\r\nItems0=  Obj.Strings = (\r\nItems1=    'A'\r\n"
                     "Items2=    'B')\r\n"
                     "[chkTypemiss]\r\nChecked=abc\r\n"
                     "[chkFlash]\r\nChecked=2\r\n"
                     "[lblTitle]\r\nCaption=abc\x82\r\n"
                     "[FontDialog1]\r\nFont0=  Obj.Height = -30\r\nFont1=  Obj.Name = 'MS\r\n"
                     "[chkLC]\r\nChecked=1\r\n"
                     "[edtHN]\r\nText=fine\r\n");
    Settings s(file);
    s.saves->Load();
    EXPECT_EQ(s.rg1->list, (QStringList{"A", "B"}));  // the list itself was fine
    EXPECT_EQ(s.rg1->index, 0);
    EXPECT_TRUE(s.chkTypemiss->checked);
    EXPECT_TRUE(s.chkFlash->checked);
    EXPECT_EQ(s.lblTitle->caption, "");
    EXPECT_EQ(s.fontDialog1->font()->Height(), -24);  // no half-read font
    EXPECT_TRUE(s.chkLC->checked);
    EXPECT_EQ(s.edtHN->text, "fine");
    ASSERT_EQ(s.dialogs.messages.size(), 1u);
    const std::string& m = s.dialogs.messages[0];
    for (const char* where : {"[RadioGroup1] ItemIndex", "[chkTypemiss] Checked", "[chkFlash] Checked",
                              "[lblTitle] Caption", "[FontDialog1] Font: Font1"})
        EXPECT_NE(m.find(where), std::string::npos) << where << "\n" << m;
}

TEST_F(IniSavePropsTest, AnOversizedFileIsNeitherReadNorOverwritten) {
    const std::string huge = "[chkLC]\r\nChecked=1\r\n" + std::string(5000, ';') + "\r\n";
    saveStringToFile(file, huge);
    Settings s(file);
    s.saves->setSizeLimit(1000);
    s.saves->Load();
    EXPECT_FALSE(s.chkLC->checked);
    ASSERT_EQ(s.dialogs.messages.size(), 1u);
    EXPECT_THROW(s.saves->Save(), FileError);
    EXPECT_EQ(loadStringFromFile(file), huge);
}

TEST_F(IniSavePropsTest, ValuesTheFileCannotHoldKeepTheStoredOnes) {
    saveStringToFile(file, kStored);
    Settings s(file);
    s.saves->Load();
    s.lblTitle->caption = QStringLiteral("한국어");
    s.rg1->setItems({"SI", QStringLiteral("한")});
    s.chkLC->checked = false;
    s.saves->Save();
    const std::string text = loadStringFromFile(file);
    EXPECT_NE(text.find(std::string("Caption=") + kGakkou), std::string::npos);
    EXPECT_NE(text.find("Items4=    'CI')"), std::string::npos);
    EXPECT_NE(text.find("[chkLC]\r\nChecked=0"), std::string::npos);
    ASSERT_EQ(s.dialogs.messages.size(), 1u);
    EXPECT_NE(s.dialogs.messages[0].find("[lblTitle] Caption"), std::string::npos);
    EXPECT_NE(s.dialogs.messages[0].find("[RadioGroup1] Items"), std::string::npos);
}

TEST_F(IniSavePropsTest, WritesOfListedPairsAreRefusedOutsideSave) {
    Settings s(file);
    EXPECT_FALSE(s.saves->WriteInteger("CHKLC", "checked", 1));
    ASSERT_EQ(s.dialogs.messages.size(), 1u);
    EXPECT_EQ(s.dialogs.messages[0],
              "セクション名 CHKLC とキー名 checked の組み合わせが重複しています");
    EXPECT_FALSE(s.saves->WriteString("RadioGroup1", "Items2", "x"));  // a line of a list
    EXPECT_FALSE(fileExists(file));
    EXPECT_TRUE(s.saves->WriteInteger("chkLC", "Mine", 5));
    EXPECT_TRUE(s.saves->WriteString("Own", "Name", QStringLiteral("がっこう")));
    EXPECT_EQ(s.saves->ReadInteger("chkLC", "mine"), 5);
    EXPECT_EQ(s.saves->ReadString("own", "NAME"), QStringLiteral("がっこう"));
    EXPECT_FALSE(s.saves->WriteString("Own", "Name", "two\nlines"));
    EXPECT_THROW(
        {
            QVariant v;
            s.saves->ReadObject("RadioGroup1", "Items", v);
        },
        std::logic_error);  // object values only inside Load and Save
}

TEST_F(IniSavePropsTest, FindKeysReportEntriesUntilAnEventStops) {
    saveStringToFile(file, "[Find]\r\na=0x1F\r\nb=hello\r\n=skip\r\nc=\r\nd=$10\r\ne=7\r\n"
                           "[More]\r\nz=-3\r\n");
    Settings s(file);
    s.saves->FindKeys = {"Find", "More", "Missing"};
    std::vector<std::string> seen;
    s.saves->OnFindOrdValue = [&](TCustomSaveProps*, const QString& section, const QString& key,
                                  int value, bool& Continue) {
        seen.push_back((section + "." + key + "=" + QString::number(value)).toStdString());
        if (key == "d") Continue = false;
    };
    s.saves->OnFindStrValue = [&](TCustomSaveProps*, const QString& section, const QString& key,
                                  const QString& value, bool&) {
        seen.push_back((section + "." + key + ":" + value).toStdString());
    };
    s.saves->Load();
    EXPECT_EQ(seen, (std::vector<std::string>{"Find.a=31", "Find.b:hello", "Find.d=16",
                                              "More.z=-3"}));
}

TEST_F(IniSavePropsTest, EventsRunAroundLoadAndSaveAndSaveWaitsForLoad) {
    saveStringToFile(file, kStored);
    Settings s(file);
    std::vector<std::string> calls;
    s.saves->OnBeforeLoad = [&](TCustomSaveProps* p) {
        calls.push_back(p->isLoading() ? "before:loading" : "before");
    };
    s.saves->OnAfterLoad = [&](TCustomSaveProps* p) {
        calls.push_back("after");
        p->Save();  // ignored while loading
    };
    s.saves->OnAfterSave = [&](TCustomSaveProps*) { calls.push_back("saved"); };
    s.saves->Load();
    EXPECT_EQ(calls, (std::vector<std::string>{"before", "after"}));
    EXPECT_EQ(loadStringFromFile(file), kStored);
    s.saves->Save();
    EXPECT_EQ(calls.back(), "saved");
}

TEST_F(IniSavePropsTest, PlacementNeedsAWindowAndRoundTrips) {
    Settings s(file);
    EXPECT_FALSE(s.saves->setRestorePlacement(TRestoreKind::Enabled));
    ASSERT_EQ(s.dialogs.messages.size(), 1u);
    EXPECT_EQ(s.dialogs.messages[0], "Owner が TForm でないと設定できません");
    EXPECT_FALSE(s.saves->RestorePlacement().testFlag(TRestoreKind::Enabled));

    QWidget form;
    form.setObjectName("Setting");
    fakes::FakeDialogs dialogs;
    TIniSaveProps saves(&form, dialogs);
    saves.setAutoSave(false);
    saves.setFileName(QString::fromStdString(file));
    ASSERT_TRUE(saves.setRestorePlacement(TRestoreKind::Enabled));
    form.setGeometry(40, 50, 300, 200);
    saves.Save();
    EXPECT_NE(loadStringFromFile(file).find("[WindowPlacement]\r\nSettingLeft=40\r\nSettingTop=50\r\n"
                                            "SettingRight=340\r\nSettingBottom=250\r\n"
                                            "SettingState=0\r\n"),
              std::string::npos);
    form.setGeometry(0, 0, 100, 100);
    saves.Load();
    EXPECT_EQ(form.geometry(), QRect(40, 50, 300, 200));
}

TEST_F(IniSavePropsTest, AutoSaveWritesWhenTheOwnerGoes) {
    {
        Settings s(file);
        s.saves->setAutoSave(true);
        s.change();
        s.owner.reset();
    }
    EXPECT_EQ(loadStringFromFile(file), kStored);
}

}  // namespace
}  // namespace keyrook

#include "ini_save_props_test.moc"
