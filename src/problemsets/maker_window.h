// The problem-set maker "問題集作成ｴﾃﾞｨﾀ": the set list, the header fields, the text editor
// with its line numbers, ruler and line-end marks, the error strip and the status bar. Every rule
// lives in MakerEngine; this window passes it the events and shows its view.
#pragma once

#include <QDialog>
#include <QFont>

#include <functional>
#include <memory>
#include <optional>

#include "problemsets/ui/maker_editor.h"
#include "problemsets/maker_engine.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QStatusBar;
class QToolButton;

namespace keyrook {

class AppContext;
class MakerReadingCommands;

class TTPMaker : public QDialog {
    Q_OBJECT
public:
    explicit TTPMaker(AppContext& app, QWidget* parent = nullptr);
    ~TTPMaker() override;

    MakerEngine& engine() { return *engine_; }
    TPEditor* editor() const { return editor_; }
    QListWidget* lst() const { return lst_; }
    QListWidget* lstError() const { return lstError_; }
    QLabel* panel(int i) const { return panels_[i]; }

    // The opening steps of the main menu's entry: list, file count, unmodified editor.
    void openFromMenu();
    // Shows every part of the engine's view.
    void render();

    void btnCreateClick();
    void btnReloadClick();
    void btnSaveClick();
    void mnuQuitClick();
    void btnCutClick();
    void btnCopyClick();
    void btnPasteClick();
    void mnuDeleteClick();
    void mnuSelectAllClick();
    void btnUndoClick();
    void btnRedoClick();
    void btnBackCaretClick();
    void btnFontClick();
    void btnHelpClick();

    // Font chooser: the program uses QFontDialog, tests replace it.
    std::function<std::optional<QFont>(const QFont& initial)> chooseFont;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void buildWindow();
    void buildMenu();
    QWidget* buildToolBar();
    QWidget* buildHeader();
    void renderStatus();
    // Runs a command; a file error is shown in a message box and the command is abandoned.
    void run(const std::function<void()>& command);

    AppContext& app_;
    TPEditor* editor_ = nullptr;
    std::unique_ptr<MakerEditor> editorLines_;
    std::unique_ptr<MakerEngine> engine_;
    QWidget* ruler_ = nullptr;
    QLineEdit* edtTitle_ = nullptr;
    QLineEdit* edtAuthor_ = nullptr;
    QLineEdit* edtExpress_ = nullptr;
    QToolButton* btnRoman_ = nullptr;
    QToolButton* btnEnglish_ = nullptr;
    QLabel* lblFileCount_ = nullptr;
    QListWidget* lst_ = nullptr;
    QWidget* pnlError_ = nullptr;
    QListWidget* lstError_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* panels_[5] = {};
    QProgressBar* progress_ = nullptr;
    MakerReadingCommands* readings_ = nullptr;  // suggested readings
    bool rendering_ = false;
    bool closeApproved_ = false;
};

// The main menu's "TP Maker" entry: makes the maker, fills it, shows it modally and discards it.
void openTPMaker(AppContext& app);

}  // namespace keyrook
