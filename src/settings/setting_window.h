// The settings window "ﾛｰﾏ字設定": the user's romaji spellings, own spelling lists, sounds,
// display options, fonts and personal data. Its controls are the live settings the typing
// session reads; Saves keeps them in the user's INI file.
#pragma once

#include <QWidget>

#include <array>
#include <functional>
#include <optional>

#include "problemsets/variant_table.h"
#include "typing/typing_engine.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace keyrook {

class AppContext;
class TTyping;
class TFin;
class TRadioGroup;
class TIniSaveProps;
class TFontDialog;
class TFileDialog;
class TFont;

class TSetting : public QWidget, public TypingSettings {
    Q_OBJECT
public:
    // The settings file also stores the main window's title (mainTitle), the typing window's
    // fonts and the result dialog's save folder. The settings of cp932User (by default the
    // current user) are loaded at once.
    TSetting(AppContext& app, QObject& mainTitle, TTyping& typing, TFin& fin,
             QWidget* parent = nullptr, const std::optional<std::string>& cp932User = std::nullopt);
    ~TSetting() override;

    // TypingSettings: read at the moment a session needs them.
    TypingOptions options() const override;
    const VariantTable& variants() const override;
    // "ｷｰﾎﾞｰﾄﾞｶﾞｲﾄﾞ": the keyboard guide under the typing window while practising.
    bool keyboardGuide() const;

    // Opening from the main menu: for the user selected now.
    void open(const std::string& cp932User);
    // Loads the settings file of a user (at creation and at every opening).
    void loadFor(const std::string& cp932User);

    void btnOKClick();      // 適応(&S)
    void btnCancelClick();  // 取り消し(&C)
    void btnHebonClick();   // ﾍﾎﾞﾝ式(&B)
    void btnRomaClick();    // ﾛｰﾏ式(&R)
    void btnMineClick();    // 独自流(&O)
    void btnHelpClick();    // ﾍﾙﾌﾟ(&H)
    void Panel1Click();     // 問題ﾌｫﾝﾄ
    void Panel2Click();     // 英字ﾌｫﾝﾄ

    TRadioGroup* RadioGroup(int number) const;
    TIniSaveProps& Saves() { return *saves_; }
    TFont& questionFont() const;
    TFont& typingFont() const;
    // The typing window's label fonts, as "適応(&S)" and the start of a session set them.
    void applyFonts();

    // Font chooser: the program uses QFontDialog, tests replace it.
    std::function<std::optional<QFont>(const QFont& initial, bool fixedPitchOnly)> chooseFont;
    // The romaji font's colour, asked after its face (the question font keeps white).
    std::function<std::optional<QColor>(const QColor& initial)> chooseColor;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void buildStoredList();
    // Panel1Click and Panel2Click: the stored font f of a typing window's label, starting
    // from f; the romaji font offers fixed-pitch faces only and asks for its colour after the
    // face.
    void chooseLabelFont(TFont& f, bool romaji);
    void applyVariants(const VariantTable& table);

    AppContext& app_;
    QObject& mainTitle_;
    TTyping& typing_;
    TFin& fin_;
    std::array<TRadioGroup*, 24> groups_{};
    QCheckBox *chkTypesound_, *chkTypemiss_, *chkFlash_, *chkLC_, *chkYomi_, *chkFlexible_, *chkGuide_, *chkKana_;
    QLineEdit *edtHN_, *edtMail_, *edtHP_;
    TFontDialog *FontDialog1_, *FontDialog2_;
    TFileDialog* OpenDialog1_;
    TIniSaveProps* saves_;
    mutable VariantTable variants_;
};

}  // namespace keyrook
