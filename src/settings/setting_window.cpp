#include "settings/setting_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

#include "app/ui/app_context.h"
#include "app/user_list.h"
#include "settings/mine_dialog.h"
#include "typing/fin_dialog.h"
#include "typing/typing_window.h"
#include "widgets/command_table.h"
#include "widgets/dialog_state.h"
#include "widgets/ini_save_props.h"
#include "widgets/font_chooser.h"
#include "widgets/look.h"
#include "widgets/qt_services.h"
#include "widgets/radio_group.h"

namespace keyrook {
namespace {

const char* const kCaption = "ﾛｰﾏ字設定";
const char* const kClosedCaption = "詳細設定";

// Accepts text of at most a number of Shift-JIS bytes (and only text Shift-JIS can hold).
class Cp932LengthValidator : public QValidator {
public:
    Cp932LengthValidator(int bytes, QObject* parent) : QValidator(parent), bytes_(bytes) {}
    State validate(QString& input, int&) const override {
        auto cp932 = toCp932(input);
        if (!cp932) return Invalid;
        return static_cast<int>(cp932->size()) <= bytes_ ? Acceptable : Invalid;
    }

private:
    int bytes_;
};

// Group numbers in the order of the window's three rows.
const int kRows[3][8] = {{1, 2, 3, 4, 5, 6, 7, 8},
                         {9, 10, 11, 12, 13, 14, 15, 16},
                         {17, 19, 20, 22, 23, 21, 0, 0}};

}  // namespace

TSetting::TSetting(AppContext& app, QObject& mainTitle, TTyping& typing, TFin& fin, QWidget* parent,
                   const std::optional<std::string>& cp932User)
    : QWidget(parent, Qt::Window), app_(app), mainTitle_(mainTitle), typing_(typing), fin_(fin) {
    setObjectName("Setting");
    chooseFont = [this](const QFont& initial, bool fixedPitchOnly) -> std::optional<QFont> {
        // The chooser lists installed faces in points: start it on the face and size shown
        // (a Windows face name is shown through the face that stands in for it).
        const QFontInfo shown(initial);
        QFont start(shown.family());
        start.setStyleName(shown.styleName());
        start.setPointSizeF(shown.pointSizeF());
        // Fixed-pitch faces only, unless the face in use is not counted among them (the
        // Japanese monospace faces have double-width kana and are not), so that the chooser
        // can still start on it.
        QFontDialog::FontDialogOptions options;
        if (fixedPitchOnly && QFontDatabase::isFixedPitch(shown.family(), shown.styleName()))
            options |= QFontDialog::MonospacedFonts;
        start.setBold(initial.bold());
        start.setItalic(initial.italic());
        start.setUnderline(initial.underline());
        start.setStrikeOut(initial.strikeOut());
        return chooseJapaneseFont(start, this, options);
    };
    chooseColor = [this](const QColor& initial) -> std::optional<QColor> {
        QColor c = QColorDialog::getColor(initial, this, "文字色");
        if (!c.isValid()) return std::nullopt;
        return c;
    };
    buildWindow();
    saves_ = new TIniSaveProps(this, app.dialogs());
    saves_->setAutoLoad(false);
    saves_->setAutoSave(false);
    buildStoredList();
    loadFor(cp932User ? *cp932User : app.currentUser());
    // From the start the typing window shows the fonts the next session uses, so the font
    // choosers start from them too.
    applyFonts();
}

TSetting::~TSetting() = default;

void TSetting::buildWindow() {
    setWindowTitle(kCaption);
    setWindowFlags(kMainFrame);
    setFixedSize(776, 429);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Qt::white);
    pal.setColor(QPalette::Text, Qt::white);
    pal.setColor(QPalette::Base, QColor(0x10, 0x10, 0x10));
    setPalette(pal);
    setFont(pixelFont("MS UI Gothic", 12));
    // The look belongs to the window's own controls, all inside one client area: a sheet on
    // the window itself would also reach the message boxes and choosers opened over it.
    auto* client = new QWidget(this);
    client->setObjectName("client");
    client->setGeometry(0, 0, 776, 429);
    client->setStyleSheet(
        "QGroupBox { color: white; border: 1px solid gray; margin-top: 7px; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"
        "QRadioButton, QCheckBox, QLabel { color: white; }"
        "QRadioButton::indicator { width: 8px; height: 8px; border-radius: 5px;"
        " border: 1px solid gray; background: black; }"
        "QRadioButton::indicator:checked { background: white; border: 1px solid white; }");

    const VariantTable defaults;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 8; ++col) {
            int n = kRows[row][col];
            if (n == 0) continue;
            auto* g = new TRadioGroup(client);
            g->setObjectName(QString("RadioGroup%1").arg(n));
            g->setTitle(fromCp932(defaults.group(n)->caption));
            g->setGeometry(8 + col * 72, 6 + row * 78, 68, 73);
            g->setLayoutMetrics(14, 6, 18);
            g->setMaxItems(static_cast<int>(kMaxSpellings));
            QStringList items;
            for (const auto& s : defaults.group(n)->items) items << fromCp932(s);
            g->setItems(items);
            g->setItemIndex(0);
            groups_[static_cast<std::size_t>(n)] = g;
        }
    }

    const CommandTable table{
        flatPushButtons({"QPushButton { color: white; background: #202020; border: 1px solid gray; }"
                         "QPushButton:hover { color: yellow; border-color: silver; }"}),
        QRect(600, 12, 164, 30), QPoint(0, 36), nullptr, [this](const auto& f) { app_.guarded(f); }};
    addCommands(client, table,
                {
                    {"btnOK", "適応(&S)", [this] { btnOKClick(); }},
                    {"btnCancel", "取り消し(&C)", [this] { btnCancelClick(); }},
                    {"btnHebon", "ﾍﾎﾞﾝ式(&B)", [this] { btnHebonClick(); }},
                    {"btnRoma", "ﾛｰﾏ式(&R)", [this] { btnRomaClick(); }},
                    {"btnMine", "独自流(&O)", [this] { btnMineClick(); }},
                    {"btnHelp", "ﾍﾙﾌﾟ(&H)", [this] { btnHelpClick(); }},
                });

    auto* personal = new QGroupBox(" 個人情報設定 ▼ ", client);
    personal->setGeometry(8, 246, 380, 175);
    auto* note = new QLabel("（ﾗﾝｷﾝｸﾞに参加する際に利用します）", personal);
    note->move(12, 18);
    auto addEdit = [personal](const char* caption, const char* name, int top, int width) {
        auto* l = new QLabel(caption, personal);
        l->move(12, top + 3);
        auto* e = new QLineEdit(personal);
        e->setObjectName(name);
        e->setGeometry(130, top, width, 22);
        e->setStyleSheet("QLineEdit { color: white; background: #101010; border: 1px solid gray; }");
        return e;
    };
    edtHN_ = addEdit("・ﾊﾝﾄﾞﾙﾈｰﾑ", "edtHN", 48, 130);
    edtHN_->setValidator(new Cp932LengthValidator(16, edtHN_));
    auto* limit = new QLabel("（16ﾊﾞｲﾄまで）", personal);
    limit->move(266, 51);
    edtMail_ = addEdit("・ﾒｰﾙｱﾄﾞﾚｽ", "edtMail", 86, 236);
    edtHP_ = addEdit("・ﾎｰﾑﾍﾟｰｼﾞｱﾄﾞﾚｽ", "edtHP", 124, 236);

    auto* detail = new QGroupBox(" 詳細設定 ▼ ", client);
    detail->setGeometry(396, 246, 372, 175);
    auto addCheck = [detail](const char* caption, const char* name, int top, bool checked,
                             const char* hint) {
        auto* c = new QCheckBox(caption, detail);
        c->setObjectName(name);
        c->setGeometry(14, top, 170, 19);
        c->setChecked(checked);
        if (hint) c->setToolTip(hint);
        return c;
    };
    chkTypesound_ = addCheck("ﾀｲﾌﾟ ｻｳﾝﾄﾞ", "chkTypesound", 16, true, nullptr);
    chkTypemiss_ = addCheck("ﾀｲﾌﾟ ﾐｽｻｳﾝﾄﾞ", "chkTypemiss", 35, true, nullptr);
    chkFlash_ = addCheck("ﾀｲﾌﾟ ﾐｽ ﾌﾗｯｼｭ", "chkFlash", 54, true, nullptr);
    chkLC_ = addCheck("問題を小文字化", "chkLC", 73, false, "出題問題をすべて小文字化します。");
    chkYomi_ = addCheck("読み方", "chkYomi", 92, false, "出題問題の読みを出すかどうかです。");
    chkFlexible_ = addCheck("どの綴りでも入力可", "chkFlexible", 111, false,
                            "SIとSHI、TUとTSUなど、設定と違う綴りでも正解にします。表示は設定した綴りのままです。");
    chkGuide_ = addCheck("ｷｰﾎﾞｰﾄﾞｶﾞｲﾄﾞ", "chkGuide", 130, false,
                         "練習中、次に打つｷｰと指をｷｰﾎﾞｰﾄﾞの絵で示し、速度と正確率を出します。");
    chkKana_ = addCheck("かな入力", "chkKana", 149, false,
                        "ﾛｰﾏ字の問題集の練習を、JISかな配列のｷｰでかなを直接打って行います"
                        "（濁点・半濁点は後から打ちます）。記録は題名に「（かな）」を付けて別に残ります。\n"
                        "ANSI（英語）配列のｷｰﾎﾞｰﾄﾞには「ろ」と「ー」のｷｰがないので、"
                        "「ろ」は1の左のｷｰ、「ー」はShiftを押しながらそのｷｰで打ちます。");
    auto addPanel = [this, detail](const char* caption, const char* name, int top,
                                   void (TSetting::*handler)()) {
        auto* p = new QPushButton(caption, detail);
        p->setObjectName(name);
        p->setGeometry(200, top, 156, 56);
        p->setStyleSheet("QPushButton { color: white; background: #000040; border: 2px outset gray; }"
                         "QPushButton:pressed { border-style: inset; }");
        connect(p, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    addPanel("問題ﾌｫﾝﾄ", "Panel1", 26, &TSetting::Panel1Click);
    addPanel("英字ﾌｫﾝﾄ", "Panel2", 98, &TSetting::Panel2Click);

    FontDialog1_ = new TFontDialog(this);
    FontDialog1_->setObjectName("FontDialog1");
    FontDialog1_->font()->setName(QString::fromUtf8("HGPｺﾞｼｯｸE"));
    FontDialog1_->font()->setHeight(-24);
    FontDialog1_->font()->setColor(QColor(Qt::white));
    FontDialog2_ = new TFontDialog(this);
    FontDialog2_->setObjectName("FontDialog2");
    FontDialog2_->font()->setName(QString::fromUtf8("ＭＳ ゴシック"));
    FontDialog2_->font()->setHeight(-27);
    FontDialog2_->font()->setColor(QColor(Qt::white));
    OpenDialog1_ = new TFileDialog(this);
    OpenDialog1_->setObjectName("OpenDialog1");
}

void TSetting::buildStoredList() {
    TProps& props = saves_->Props();
    const int groups[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 19, 20, 21};
    for (int n : groups) props.add(RadioGroup(n), "ItemIndex");
    props.add(chkTypemiss_, "checked", {}, "Checked");
    props.add(chkTypesound_, "checked", {}, "Checked");
    props.add(chkFlash_, "checked", {}, "Checked");
    props.add(&mainTitle_, "text", {}, "Caption");
    props.add(fin_.SaveDialog1(), "FileName");
    props.add(OpenDialog1_, "FileName");
    props.add(FontDialog1_, "Font");
    props.add(FontDialog2_, "Font");
    props.add(chkLC_, "checked", {}, "Checked");
    for (int n : groups) props.add(RadioGroup(n), "Items");
    props.add(edtHN_, "text", {}, "Text");
    props.add(edtMail_, "text", {}, "Text");
    props.add(edtHP_, "text", {}, "Text");
    props.add(chkYomi_, "checked", {}, "Checked");
    props.add(RadioGroup(22), "Items");
    props.add(RadioGroup(23), "Items");
    props.add(RadioGroup(22), "ItemIndex");
    props.add(RadioGroup(23), "ItemIndex");
    // Written only while checked, so the files of users who never use it stay as they were.
    props.add(chkFlexible_, "checked", {}, "Checked").setDefault(false);
    props.add(chkGuide_, "checked", {}, "Checked").setDefault(false);
    props.add(chkKana_, "checked", {}, "Checked").setDefault(false);
}

TRadioGroup* TSetting::RadioGroup(int number) const {
    return number >= 1 && number <= 23 ? groups_[static_cast<std::size_t>(number)] : nullptr;
}

TFont& TSetting::questionFont() const { return *FontDialog1_->font(); }
TFont& TSetting::typingFont() const { return *FontDialog2_->font(); }

bool TSetting::keyboardGuide() const { return chkGuide_->isChecked(); }

TypingOptions TSetting::options() const {
    TypingOptions o;
    o.chkTypesound = chkTypesound_->isChecked();
    o.chkTypemiss = chkTypemiss_->isChecked();
    o.chkFlash = chkFlash_->isChecked();
    o.chkLC = chkLC_->isChecked();
    o.chkYomi = chkYomi_->isChecked();
    o.chkFlexible = chkFlexible_->isChecked();
    o.chkKana = chkKana_->isChecked();
    return o;
}

const VariantTable& TSetting::variants() const {
    for (VariantGroup& g : variants_.groups()) {
        const TRadioGroup* rg = RadioGroup(g.number);
        g.items.clear();
        for (const QString& item : rg->items()) g.items.push_back(toCp932(item).value_or(std::string()));
        g.itemIndex = rg->itemIndex();
    }
    return variants_;
}

void TSetting::applyVariants(const VariantTable& table) {
    for (const VariantGroup& g : table.groups()) RadioGroup(g.number)->setItemIndex(g.itemIndex);
}

void TSetting::loadFor(const std::string& cp932User) {
    saves_->setFileName(QString::fromStdString(app_.paths().userFile(cp932User, ".ini")));
    saves_->Load();
    // The stored title is the last one chosen; while a set is selected its own title stays in
    // the information box, next to its count and author.
    app_.mainMenu().showSelectedTitle();
}

void TSetting::open(const std::string& cp932User) {
    app_.mainWindow().setEnabled(false);
    typing_.setEnabled(false);
    if (!isVisible()) move(app_.mainWindow().frameGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
    setWindowTitle(windowTitle() + "（ﾕｰｻﾞｰ : " + fromCp932(cp932User) + "）");
    loadFor(cp932User);
}

void TSetting::applyFonts() {
    typing_.setQuestionFont(questionFont().font(), questionFont().color());
    typing_.setTypingFont(typingFont().font(), typingFont().color());
}

void TSetting::btnOKClick() {
    saves_->Save();
    applyFonts();
    close();
}

void TSetting::btnCancelClick() {
    close();
    saves_->Load();
}

void TSetting::btnHebonClick() {
    VariantTable table = variants();
    table.applyHepburn();
    applyVariants(table);
}

void TSetting::btnRomaClick() {
    VariantTable table = variants();
    table.applyRoman();
    applyVariants(table);
}

void TSetting::btnMineClick() {
    TMine mine(*this, app_.dialogs(), this);
    mine.move(app_.mainWindow().frameGeometry().center() - mine.rect().center());
    mine.exec();
}

void TSetting::btnHelpClick() { app_.Helper(HelpContext::Setting); }

namespace {

// Whether two fonts show the same: the face that really draws them, size and style.
bool sameLook(const QFont& a, const QFont& b) {
    const QFontInfo ia(a), ib(b);
    return ia.family() == ib.family() && ia.pixelSize() == ib.pixelSize() && ia.bold() == ib.bold() &&
           ia.italic() == ib.italic() && a.underline() == b.underline() && a.strikeOut() == b.strikeOut();
}

}  // namespace

void TSetting::chooseLabelFont(TFont& f, bool romaji) {
    // The chooser starts from the stored font of the user whose settings are open, the one
    // their typing window will show (the labels may still show the last user's). A choice left
    // as it started keeps the stored font as it is, Windows face name included.
    const QFont inUse = f.font();
    const QColor colour = f.color();
    auto chosen = chooseFont(inUse, romaji);
    if (!chosen) return;
    if (!sameLook(*chosen, inUse)) f.setFont(*chosen);
    if (!romaji) return;
    if (auto c = chooseColor(colour); c && *c != colour) f.setColor(*c);
}

void TSetting::Panel1Click() { chooseLabelFont(questionFont(), false); }

void TSetting::Panel2Click() { chooseLabelFont(typingFont(), true); }

void TSetting::closeEvent(QCloseEvent* event) {
    setWindowTitle(kClosedCaption);
    app_.mainWindow().setEnabled(true);
    typing_.setEnabled(true);
    event->accept();
}

}  // namespace keyrook
