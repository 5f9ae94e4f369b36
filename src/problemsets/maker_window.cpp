#include "problemsets/maker_window.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFontInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QStatusBar>
#include <QToolButton>
#include <QValidator>
#include <QVBoxLayout>

#include <algorithm>

#include "app/ui/app_context.h"
#include "problemsets/ui/maker_field_validator.h"
#include "problemsets/maker_readings_window.h"
#include "problemsets/ui/maker_ruler.h"
#include "widgets/command_table.h"
#include "widgets/font_chooser.h"
#include "widgets/look.h"
#include "widgets/qt_services.h"

// The pictures are a resource of the ui library, which a static library registers by hand.
static void initMakerIcons() { Q_INIT_RESOURCE(maker_icons); }

namespace keyrook {
namespace {

// The tool bar's pictures, named after their commands ("Save" for btnSave).
QIcon toolIcon(const QString& kind) {
    static const bool registered = (initMakerIcons(), true);
    static_cast<void>(registered);
    return QIcon(QStringLiteral(":/maker/") + kind + QStringLiteral(".png"));
}

}  // namespace

TTPMaker::TTPMaker(AppContext& app, QWidget* parent) : QDialog(parent), app_(app) {
    setObjectName("TPMaker");
    chooseFont = [this](const QFont& initial) -> std::optional<QFont> {
        // Every face is offered: Qt counts the Japanese fixed-pitch faces (half- and full-width
        // cells) as proportional, so its fixed-pitch filter would hide the editor's own font.
        QFont start(QFontInfo(initial).family());
        start.setPointSizeF(initial.pixelSize() > 0 ? initial.pixelSize() * 72.0 / logicalDpiY()
                                                    : initial.pointSizeF());
        start.setBold(initial.bold());
        start.setItalic(initial.italic());
        return chooseJapaneseFont(start, this);
    };
    editor_ = new TPEditor(this);
    editorLines_ = std::make_unique<TPEditorLines>(*editor_);
    engine_ = std::make_unique<MakerEngine>(app.paths(), *editorLines_, app.dialogs(), app.sounds());
    // Called once per percentage: the bar moves, and whatever else of the window is due to be
    // repainted is painted before the next step.
    engine_->onProgress = [this] {
        progress_->setValue(engine_->view().progressPosition);
        progress_->setGeometry(2, 4, 296, std::max(8, statusBar_->height() - 6));
        progress_->show();
        progress_->raise();
        QCoreApplication::sendPostedEvents(this, QEvent::UpdateRequest);
    };
    buildWindow();
    buildMenu();
    readings_ = new MakerReadingCommands(
        this, *engine_, editor_, lstError_, [this](const std::function<void()>& f) { run(f); },
        [this] { renderStatus(); });
    readings_->install(findChild<QWidget*>("ToolBar1"), findChild<QMenu*>("mnuEdit"), toolIcon("FillReadings"));
    engine_->caretMoved(0, 0);
    render();
}

// The reading commands, a child widget, let go of the engine when they go: they must go while
// the engine is still there, before the members are destroyed.
TTPMaker::~TTPMaker() { delete readings_; }

void TTPMaker::buildWindow() {
    setWindowTitle("問題集作成ｴﾃﾞｨﾀ");
    setWindowFlags(kToolFrame);
    setFont(pixelFont("MS UI Gothic", 12));
    setSizeGripEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildToolBar());
    layout->addWidget(buildHeader());

    auto* middle = new QHBoxLayout;
    middle->setContentsMargins(0, 0, 0, 0);
    middle->setSpacing(3);
    auto* left = new QVBoxLayout;
    left->setContentsMargins(3, 2, 0, 3);
    left->setSpacing(2);
    lblFileCount_ = new QLabel("登録されているﾌｧｲﾙ数 :", this);
    lblFileCount_->setObjectName("lblFileCount");
    lst_ = new QListWidget(this);
    lst_->setObjectName("lst");
    lst_->setFixedWidth(150);
    left->addWidget(lblFileCount_);
    left->addWidget(lst_, 1);
    middle->addLayout(left);
    auto* right = new QVBoxLayout;
    right->setContentsMargins(0, 2, 0, 0);
    right->setSpacing(0);
    ruler_ = new EditorRuler(editor_, engine_->view(), this);
    right->addWidget(ruler_);
    right->addWidget(editor_, 1);
    middle->addLayout(right, 1);
    layout->addLayout(middle, 1);

    pnlError_ = new QWidget(this);
    pnlError_->setObjectName("pnlError");
    pnlError_->setFixedHeight(60);
    auto* errorRow = new QHBoxLayout(pnlError_);
    errorRow->setContentsMargins(2, 2, 2, 2);
    errorRow->setSpacing(2);
    auto* close = new QToolButton(pnlError_);
    close->setObjectName("btnErrorClose");
    close->setText("×");
    close->setFixedSize(16, 16);
    close->setFocusPolicy(Qt::NoFocus);
    errorRow->addWidget(close, 0, Qt::AlignTop);
    lstError_ = new QListWidget(pnlError_);
    lstError_->setObjectName("lstError");
    errorRow->addWidget(lstError_, 1);
    pnlError_->hide();
    layout->addWidget(pnlError_);

    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName("StatusBar1");
    statusBar_->setSizeGripEnabled(false);  // the window keeps its size
    const int widths[5] = {300, 100, 100, 100, 50};
    for (int i = 0; i < 5; ++i) {
        panels_[i] = new QLabel(statusBar_);
        panels_[i]->setObjectName(QString("Panel%1").arg(i));
        panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (i >= 1 && i <= 3) panels_[i]->setAlignment(Qt::AlignCenter);
        // The last panel takes the rest of the bar, as status bars do.
        if (i == 4) panels_[i]->setMinimumWidth(widths[i]);
        else panels_[i]->setFixedWidth(widths[i]);
        statusBar_->addWidget(panels_[i], i == 4 ? 1 : 0);
    }
    progress_ = new QProgressBar(statusBar_);
    progress_->setObjectName("ProgressBar1");
    progress_->setRange(0, 100);
    progress_->setTextVisible(false);
    progress_->hide();
    layout->addWidget(statusBar_);

    connect(close, &QToolButton::clicked, this, [this] { run([this] { engine_->btnCloseErrorClick(); }); });
    // Queued: opening a set rebuilds the list, which must not happen inside its own signal.
    // The selection, not the current row: focusing the list by Tab makes a row current
    // without choosing it.
    connect(lst_, &QListWidget::itemSelectionChanged, this, [this] {
        if (rendering_) return;
        const QList<QListWidgetItem*> chosen = lst_->selectedItems();
        if (chosen.isEmpty()) return;
        const int row = lst_->row(chosen.front());
        run([this, row] { engine_->lstClick(row); });
    }, Qt::QueuedConnection);
    connect(lstError_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const int row = lstError_->row(item);
        run([this, row] { engine_->lstErrorDblClick(row); });
    });
    connect(editor_, &QsciScintilla::cursorPositionChanged, this, [this](int line, int index) {
        engine_->caretMoved(line, index);
        renderStatus();
    });
    connect(editor_, &QsciScintilla::modificationChanged, this, [this] { renderStatus(); });
    connect(editor_, &QsciScintillaBase::SCN_UPDATEUI, ruler_, [this] { ruler_->update(); });

    setFixedSize(733, 551);
}

QWidget* TTPMaker::buildToolBar() {
    auto* bar = new QWidget(this);
    bar->setObjectName("ToolBar1");
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(0);
    // Picture buttons, the picture named after the command ("btnSave": "Save"), in groups
    // parted by a line.
    const CommandTable table{[row](QWidget* parent, const Command& c, const QRect&) -> QAbstractButton* {
        auto* button = new QToolButton(parent);
        button->setIcon(toolIcon(c.button + 3));
        button->setIconSize(QSize(16, 16));
        button->setFixedSize(23, 22);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        if (c.caption) button->setToolTip(QString::fromUtf8(c.caption));
        row->addWidget(button);
        return button;
    }};
    auto gap = [bar, row] {
        auto* line = new QFrame(bar);
        line->setFrameShape(QFrame::VLine);
        line->setFrameShadow(QFrame::Sunken);
        line->setFixedSize(8, 20);
        row->addWidget(line);
    };
    addCommands(bar, table,
                {
                    {"btnCreate", "新規にﾃﾞｰﾀを作成します。", [this] { btnCreateClick(); }},
                    {"btnReload", "ﾌｧｲﾙﾃﾞｰﾀを更新します。", [this] { btnReloadClick(); }},
                    {"btnSave", "ﾃﾞｰﾀをｺﾝﾊﾞｰﾄ（変換）して保存します。", [this] { btnSaveClick(); }},
                });
    gap();
    addCommands(bar, table,
                {
                    {"btnCut", "現在の部分を切り取ってｸﾘｯﾌﾟﾎﾞｰﾄﾞに貼り付けます。", [this] { btnCutClick(); }},
                    {"btnCopy", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞのﾃﾞｰﾀをｺﾋﾟｰします。", [this] { btnCopyClick(); }},
                    {"btnPaste", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞに貼り付けます。", [this] { btnPasteClick(); }},
                });
    gap();
    addCommands(bar, table,
                {
                    {"btnUndo", "ひとつ元に戻します。", [this] { btnUndoClick(); }},
                    {"btnRedo", "ひとつ先へやり直します。", [this] { btnRedoClick(); }},
                });
    gap();
    addCommands(bar, table,
                {
                    {"btnBackCaret", "現在のｶｰｿﾙ位置へ戻ります。", [this] { btnBackCaretClick(); }},
                    {"btnFont", "ﾌｫﾝﾄの変更", [this] { btnFontClick(); }},
                });
    gap();
    addCommands(bar, table, {{"btnHelp", nullptr, [this] { btnHelpClick(); }}});
    row->addStretch(1);
    return bar;
}

QWidget* TTPMaker::buildHeader() {
    auto* strip = new QWidget(this);
    strip->setObjectName("pnlHeader");
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(3);
    auto field = [this, row](const char* caption, const char* name, int width, int stretch) {
        row->addWidget(new QLabel(caption, this));
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setValidator(new MakerFieldValidator(edit));
        if (width > 0) edit->setFixedWidth(width);
        row->addWidget(edit, stretch);
        row->addSpacing(6);
        return edit;
    };
    edtTitle_ = field("ﾀｲﾄﾙ : ", "edtTitle", 130, 0);
    edtAuthor_ = field("作者名 : ", "edtAuthor", 100, 0);
    edtExpress_ = field("説明 : ", "edtExpress", 0, 1);
    btnRoman_ = new QToolButton(this);
    btnRoman_->setObjectName("btnRoman");
    btnRoman_->setText("ﾛｰﾏ字ﾀｲﾌﾟ");
    btnEnglish_ = new QToolButton(this);
    btnEnglish_->setObjectName("btnEnglish");
    btnEnglish_->setText(" 英文字ﾀｲﾌﾟ ");
    auto* kinds = new QButtonGroup(this);
    kinds->setExclusive(true);
    int id = 0;
    for (QToolButton* b : {btnRoman_, btnEnglish_}) {
        b->setCheckable(true);
        b->setFixedHeight(22);
        b->setFocusPolicy(Qt::NoFocus);
        kinds->addButton(b, id++);
        row->addWidget(b);
    }
    btnRoman_->setChecked(true);
    connect(kinds, &QButtonGroup::idClicked, this, [this](int kind) {
        engine_->setKind(kind == 0 ? SetKind::Roman : SetKind::English);
    });

    struct Field {
        QLineEdit* edit;
        void (MakerEngine::*set)(std::string);
    } fields[] = {{edtTitle_, &MakerEngine::setTitle},
                  {edtAuthor_, &MakerEngine::setAuthor},
                  {edtExpress_, &MakerEngine::setDescription}};
    for (const Field& f : fields) {
        auto set = f.set;
        connect(f.edit, &QLineEdit::textChanged, this, [this, set](const QString& text) {
            if (rendering_) return;
            if (auto cp932 = makerFieldText(us(text))) ((*engine_).*set)(*cp932);
            renderStatus();
        });
    }
    return strip;
}

void TTPMaker::buildMenu() {
    auto* bar = new QMenuBar(this);
    bar->setObjectName("MainMenu1");
    layout()->setMenuBar(bar);
    auto add = [this](QMenu* menu, const char* name, const char* caption, const QKeySequence& key) {
        auto* a = menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(name);
        if (!key.isEmpty()) a->setShortcut(key);
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
        return a;
    };
    QMenu* m = bar->addMenu("ﾌｧｲﾙ(&F)");
    add(m, "mnuCreate", "新規作成(&N)", QKeySequence("Ctrl+N"));
    add(m, "mnuReload", "ﾌｧｲﾙﾘｽﾄを最新の情報に更新(&R)", QKeySequence("Ctrl+L"));
    add(m, "mnuSave", "ﾃﾞｰﾀをｺﾝﾊﾞｰﾄ＋ｾｰﾌﾞ(&S)", QKeySequence("Ctrl+S"));
    m->addSeparator();
    auto* quit = add(m, "mnuQuit", "問題作成ｴﾃﾞｨﾀ終了(&Q)", QKeySequence(Qt::Key_Escape));
    connect(quit, &QAction::triggered, this, &TTPMaker::mnuQuitClick);

    m = bar->addMenu("編集(&E)");
    m->setObjectName("mnuEdit");
    add(m, "mnuCut", "切り取り(&X)", QKeySequence("Ctrl+X"));
    add(m, "mnuCopy", "ｺﾋﾟｰ(&C)", QKeySequence("Ctrl+C"));
    add(m, "mnuPaste", "貼りつけ(&V)", QKeySequence("Ctrl+V"));
    auto* del = add(m, "mnuDelete", "削除(&D)", QKeySequence());
    connect(del, &QAction::triggered, this, &TTPMaker::mnuDeleteClick);
    auto* all = add(m, "mnuSelectAll", "すべて選択", QKeySequence("Ctrl+A"));
    connect(all, &QAction::triggered, this, &TTPMaker::mnuSelectAllClick);
    m->addSeparator();
    add(m, "mnuUndo", "元に戻す(&Z)", QKeySequence("Ctrl+Z"));
    add(m, "mnuRedo", "やり直し(&Y)", QKeySequence("Ctrl+Y"));
    m->addSeparator();
    add(m, "mnuBackCaret", "現在のｶｰｿﾙ位置へ戻る(&B)", QKeySequence("Ctrl+B"));
    add(m, "mnuFont", "ｴﾃﾞｨﾀﾌｫﾝﾄの設定(&F)", QKeySequence());

    m = bar->addMenu("ﾍﾙﾌﾟ(&H)");
    add(m, "mnuHelp", "ﾍﾙﾌﾟ(&H)", QKeySequence("Ctrl+H"));

    // A menu item with a tool-bar twin (its name with "mnu" turned into "btn") runs the twin.
    for (QAction* a : actions()) {
        const QString name = a->objectName();
        if (auto* twin = findChild<QToolButton*>("btn" + name.mid(3)))
            connect(a, &QAction::triggered, twin, &QToolButton::click);
    }
}

void TTPMaker::run(const std::function<void()>& command) {
    app_.guarded(command);
    render();
}

void TTPMaker::render() {
    rendering_ = true;
    const MakerView& v = engine_->view();
    struct Field {
        QLineEdit* edit;
        const std::string& text;
    } fields[] = {{edtTitle_, v.edtTitle}, {edtAuthor_, v.edtAuthor}, {edtExpress_, v.edtExpress}};
    for (const Field& f : fields) {
        const QString text = fromCp932(f.text);
        if (f.edit->text() != text) {
            f.edit->setText(text);
            f.edit->setCursorPosition(0);
        }
    }
    btnRoman_->setChecked(v.kind == SetKind::Roman);
    btnEnglish_->setChecked(v.kind == SetKind::English);

    auto fill = [](QListWidget* list, const std::vector<std::string>& items) {
        QStringList texts;
        for (const auto& t : items) texts << fromCp932(t);
        bool same = list->count() == texts.size();
        for (int i = 0; same && i < list->count(); ++i) same = list->item(i)->text() == texts[i];
        if (same) return;
        list->clear();
        list->addItems(texts);
    };
    {
        QSignalBlocker block(lst_);
        fill(lst_, v.lst);
        lst_->setCurrentRow(v.lstIndex);
        if (v.lstIndex < 0) lst_->clearSelection();
    }
    lblFileCount_->setText(v.lblFileCount.empty() ? QString("登録されているﾌｧｲﾙ数 :")
                                                  : fromCp932(v.lblFileCount));
    fill(lstError_, v.lstError);
    pnlError_->setVisible(v.pnlErrorVisible);
    progress_->setValue(v.progressPosition);
    progress_->setVisible(v.progressVisible);
    renderStatus();
    rendering_ = false;
}

void TTPMaker::renderStatus() {
    const MakerView& v = engine_->view();
    panels_[0]->setText(qs(engine_->pathPanel()));
    panels_[1]->setText(fromCp932(v.countPanel));
    panels_[2]->setText(fromCp932(engine_->modifiedPanel()));
    panels_[3]->setText(fromCp932(v.caretPanel));
    panels_[4]->setText(fromCp932(v.linePanel));
    ruler_->update();
}

void TTPMaker::openFromMenu() {
    run([this] { engine_->openFromMenu(); });
}

void TTPMaker::btnCreateClick() {
    run([this] { engine_->btnCreateClick(); });
}

void TTPMaker::btnReloadClick() {
    run([this] { engine_->btnReloadClick(); });
}

void TTPMaker::btnSaveClick() {
    run([this] { engine_->btnSaveClick(); });
}

void TTPMaker::mnuQuitClick() {
    bool ok = false;
    run([this, &ok] { ok = engine_->mayClose(); });
    if (!ok) return;
    closeApproved_ = true;
    close();
}

void TTPMaker::btnCutClick() {
    if (editor_->hasSelectedText()) editor_->cut();
}

void TTPMaker::btnCopyClick() { editor_->copy(); }

void TTPMaker::btnPasteClick() { editor_->paste(); }

void TTPMaker::mnuDeleteClick() { editor_->removeSelectedText(); }

void TTPMaker::mnuSelectAllClick() { editor_->toggleSelectAll(); }

void TTPMaker::btnUndoClick() { editor_->undo(); }

void TTPMaker::btnRedoClick() { editor_->redo(); }

void TTPMaker::btnBackCaretClick() { editor_->ensureCursorVisible(); }

void TTPMaker::btnFontClick() {
    if (auto chosen = chooseFont(editor_->editorFont())) {
        editor_->setEditorFont(*chosen);
        ruler_->update();
    }
}

void TTPMaker::btnHelpClick() { app_.Helper(HelpContext::Maker); }

void TTPMaker::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    closeApproved_ = false;
    QRect owner = app_.mainWindow().frameGeometry();
    QPoint topLeft = owner.center() - QPoint(width() / 2, height() / 2);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->availableGeometry();
        topLeft.setX(std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() - width())));
        topLeft.setY(std::clamp(topLeft.y(), area.top(), std::max(area.top(), area.bottom() - height())));
    }
    move(topLeft);
    engine_->FormShow();
}

void TTPMaker::closeEvent(QCloseEvent* event) {
    // The title bar's close asks about unsaved changes as the quit command does.
    if (!closeApproved_) {
        bool ok = false;
        run([this, &ok] { ok = engine_->mayClose(); });
        if (!ok) {
            event->ignore();
            return;
        }
        closeApproved_ = true;
    }
    engine_->FormClose();
    QDialog::closeEvent(event);
}

void TTPMaker::reject() {
    if (closeApproved_) {
        QDialog::reject();
    } else {
        mnuQuitClick();
    }
}

void openTPMaker(AppContext& app) {
    TTPMaker maker(app, &app.mainWindow());
    maker.openFromMenu();
    maker.exec();
}

}  // namespace keyrook
