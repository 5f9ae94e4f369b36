#include "problemsets/maker_window.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFontDialog>
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

#include "app/app_context.h"
#include "problemsets/maker_readings_window.h"
#include "widgets/look.h"
#include "widgets/qt_services.h"

namespace keyrook {
namespace {

const QColor kMarkColor(0x00, 0x80, 0x80);

// Header fields take only what a header line can hold.
class FieldValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return makerFieldText(us(input)) ? Acceptable : Invalid;
    }
};

// The editor as the maker's rules reach it.
class EditorLines : public MakerEditor {
public:
    explicit EditorLines(TPEditor& e) : e_(e) {}
    std::vector<std::string> lines() const override { return e_.lineList(); }
    std::string line(int row) const override { return e_.lineText(row); }
    void setLines(const std::vector<std::string>& lines) override { e_.setLineList(lines); }
    bool modified() const override { return e_.isModified(); }
    void clearModified() override { e_.setModified(false); }
    void placeCaret(int row, int charIndex) override { e_.placeCaret(row, charIndex); }
    void replaceLines(const std::vector<LineEdit>& edits) override { replaceEditorLines(e_, edits); }

private:
    TPEditor& e_;
};

// Column marks over the editor's text, following its horizontal scrolling; the caret's
// column is shaded.
class EditorRuler : public QWidget {
public:
    EditorRuler(TPEditor* editor, const MakerView& view, QWidget* parent)
        : QWidget(parent), editor_(editor), view_(view) {
        setObjectName("Ruler");
        setFixedHeight(16);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(0xF0, 0xF0, 0xE8));
        const int frame = editor_->frameWidth();
        const double start = frame + editor_->columnLeft();
        const double w = editor_->columnWidth();
        const int textStart = frame + editor_->marginsWidth();
        p.setClipRect(QRect(textStart, 0, width() - textStart, height()));
        p.fillRect(QRectF(start + view_.caretColumn * w, 0, w, height()), QColor(0xC0, 0xD8, 0xF0));
        p.setPen(QColor(0x40, 0x40, 0x40));
        p.setFont(pixelFont("Arial", 9));
        const int first = std::max(0, static_cast<int>((textStart - start) / w) - 1);
        for (int c = first; start + c * w <= width(); ++c) {
            const int x = static_cast<int>(start + c * w);
            const int tick = c % 10 == 0 ? height() : c % 5 == 0 ? 6 : 3;
            p.drawLine(x, height() - tick, x, height() - 1);
            if (c % 10 == 0 && c > 0) p.drawText(x + 2, 9, QString::number(c));
        }
        p.drawLine(0, height() - 1, width(), height() - 1);
    }

private:
    TPEditor* editor_;
    const MakerView& view_;
};

// Small drawn pictures for the tool bar.
QIcon toolIcon(const QString& kind) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0x30, 0x30, 0x30);
    auto page = [&](QRectF r) {
        QPainterPath path;
        path.moveTo(r.left(), r.top());
        path.lineTo(r.right() - 3, r.top());
        path.lineTo(r.right(), r.top() + 3);
        path.lineTo(r.right(), r.bottom());
        path.lineTo(r.left(), r.bottom());
        path.closeSubpath();
        p.setPen(QPen(ink, 1));
        p.setBrush(Qt::white);
        p.drawPath(path);
    };
    auto arrow = [&](bool mirrored) {
        if (mirrored) {
            p.translate(16, 0);
            p.scale(-1, 1);
        }
        QPainterPath path;
        path.moveTo(13, 13);
        path.cubicTo(13, 5, 8, 4, 5, 6.5);
        p.setPen(QPen(QColor(0x10, 0x30, 0xA0), 2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x10, 0x30, 0xA0));
        p.drawPolygon(QPolygonF{{1.5, 9.5}, {3.5, 2.5}, {8.5, 7.5}});
    };
    if (kind == "Create") {
        page({3.5, 1.5, 9, 13});
        p.setPen(QPen(QColor(0xE0, 0xA0, 0x00), 1.5));
        p.drawLine(QPointF(12, 1), QPointF(12, 6));
        p.drawLine(QPointF(9.5, 3.5), QPointF(14.5, 3.5));
    } else if (kind == "Reload") {
        p.setPen(QPen(QColor(0x00, 0x80, 0x00), 2));
        p.drawArc(QRectF(3, 3, 10, 10), 80 * 16, 290 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x00, 0x80, 0x00));
        p.drawPolygon(QPolygonF{{8, 0.5}, {12.5, 3}, {8, 6}});
    } else if (kind == "Save") {
        p.setPen(QPen(ink, 1));
        p.setBrush(QColor(0x20, 0x40, 0xA0));
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(0xC0, 0xC0, 0xC0));
        p.drawRect(QRectF(4.5, 9.5, 7, 5));
    } else if (kind == "Cut") {
        p.setPen(QPen(ink, 1.3));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(4.5, 12), 2.5, 2.5);
        p.drawEllipse(QPointF(11.5, 12), 2.5, 2.5);
        p.drawLine(QPointF(6, 10), QPointF(11, 1.5));
        p.drawLine(QPointF(10, 10), QPointF(5, 1.5));
    } else if (kind == "Copy") {
        page({1.5, 1.5, 8, 10});
        page({6.5, 4.5, 8, 10});
    } else if (kind == "Paste") {
        p.setPen(QPen(ink, 1));
        p.setBrush(QColor(0xB0, 0x80, 0x40));
        p.drawRect(QRectF(2.5, 2.5, 10, 12));
        p.setBrush(QColor(0xA0, 0xA0, 0xA0));
        p.drawRect(QRectF(5.5, 1.5, 4, 3));
        page({6.5, 6.5, 8, 9});
    } else if (kind == "Undo") {
        arrow(false);
    } else if (kind == "Redo") {
        arrow(true);
    } else if (kind == "BackCaret") {
        p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1.5));
        for (double y : {3.5, 7.5, 11.5}) p.drawLine(QPointF(1, y), QPointF(15, y));
        p.setPen(QPen(Qt::red, 2));
        p.drawLine(QPointF(9, 1.5), QPointF(9, 14.5));
    } else if (kind == "Font") {
        QFont f("Times New Roman");
        f.setPixelSize(15);
        f.setBold(true);
        p.setFont(f);
        p.setPen(QColor(0x80, 0x00, 0x00));
        p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, "A");
    } else if (kind == "Help") {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x20, 0x50, 0xC0));
        p.drawEllipse(QRectF(1, 1, 14, 14));
        QFont f("Arial");
        f.setPixelSize(12);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, "?");
    }
    return QIcon(pm);
}

}  // namespace

TPEditor::TPEditor(QWidget* parent) : QsciScintilla(parent) {
    setObjectName("TPEditor");
    setUtf8(true);
    setEolMode(EolUnix);
    setEolVisibility(false);  // drawn as marks of their own
    setWrapMode(WrapNone);
    setTabWidth(8);
    setIndentationsUseTabs(true);
    setMarginType(0, NumberMargin);
    setMarginLineNumbers(0, true);
    setMarginWidth(1, 0);
    setColor(Qt::black);
    setPaper(Qt::white);
    SendScintilla(SCI_SETPASTECONVERTENDINGS, 1UL);
    // The horizontal scroll bar follows the longest line shown so far.
    SendScintilla(SCI_SETSCROLLWIDTH, 1UL);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1UL);
    // By its own name: the font chooser offers the editor's font as the user knows it.
    QFont start("ＭＳ ゴシック");
    start.setPixelSize(13);
    setEditorFont(start);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, viewport(), [this] { viewport()->update(); });
}

std::vector<std::string> TPEditor::lineList() const {
    const QString all = text();
    std::vector<std::string> out;
    if (all.isEmpty()) return out;
    QStringList parts = all.split('\n');
    if (all.endsWith('\n')) parts.removeLast();
    out.reserve(static_cast<std::size_t>(parts.size()));
    for (QString& l : parts) {
        if (l.endsWith('\r')) l.chop(1);
        out.push_back(us(l));
    }
    return out;
}

std::string TPEditor::lineText(int row) const {
    if (row < 0 || row >= lines()) return {};
    QString l = text(row);
    while (l.endsWith('\n') || l.endsWith('\r')) l.chop(1);
    return us(l);
}

void TPEditor::setLineList(const std::vector<std::string>& lines) {
    QString all;
    for (const auto& l : lines) all += qs(l) + '\n';
    setUpdatesEnabled(false);
    setText(all);
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    setModified(false);
    setCursorPosition(0, 0);
    setUpdatesEnabled(true);
}

void TPEditor::placeCaret(int row, int charIndex) {
    setCursorPosition(row, charIndex);
    ensureCursorVisible();
    setFocus();
}

void TPEditor::setEditorFont(const QFont& font) {
    font_ = font;
    // Scintilla wants a face it can name in Latin-1 and a size in points.
    QFont f(QFontInfo(font).family());
    const double dpi = logicalDpiY() > 0 ? logicalDpiY() : 96.0;
    const double pixels = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * dpi / 72.0;
    f.setPointSizeF(pixels * 72.0 / dpi);
    f.setBold(font.bold());
    f.setItalic(font.italic());
    f.setUnderline(font.underline());
    f.setStrikeOut(font.strikeOut());
    setFont(f);
    setMarginsFont(f);
    setMarginWidth(0, QStringLiteral("000000"));
    viewport()->update();
}

void TPEditor::toggleSelectAll() {
    const long start = SendScintilla(SCI_GETSELECTIONSTART);
    const long end = SendScintilla(SCI_GETSELECTIONEND);
    const long length = SendScintilla(SCI_GETLENGTH);
    if (length > 0 && end - start == length) {
        // Removing the selection puts the caret back where it stood before all was selected.
        const long caret = caretBeforeSelectAll_ >= 0 && caretBeforeSelectAll_ <= length
                               ? caretBeforeSelectAll_
                               : SendScintilla(SCI_GETCURRENTPOS);
        SendScintilla(SCI_SETEMPTYSELECTION, static_cast<unsigned long>(caret));
        caretBeforeSelectAll_ = -1;
    } else {
        caretBeforeSelectAll_ = SendScintilla(SCI_GETCURRENTPOS);
        selectAll(true);
    }
}

int TPEditor::marginsWidth() const {
    long width = 0;
    for (int m = 0; m < 5; ++m) width += SendScintilla(SCI_GETMARGINWIDTHN, static_cast<unsigned long>(m));
    return static_cast<int>(width);
}

int TPEditor::columnLeft() const {
    return static_cast<int>(SendScintilla(SCI_GETMARGINLEFT) + marginsWidth() - SendScintilla(SCI_GETXOFFSET));
}

double TPEditor::columnWidth() const {
    // Measured over ten columns: a half-width advance need not be a whole pixel.
    const long ten = SendScintilla(SCI_TEXTWIDTH, static_cast<unsigned long>(STYLE_DEFAULT), "0000000000");
    return std::max(1.0, ten / 10.0);
}

bool TPEditor::event(QEvent* event) {
    // Ctrl keys and Esc belong to the window's commands first (Ctrl+A toggles, Ctrl+L reloads,
    // Esc quits); a key no command takes still reaches the editor as a key press.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & Qt::ControlModifier) || key->key() == Qt::Key_Escape) {
            event->ignore();
            return false;
        }
    }
    return QsciScintilla::event(event);
}

void TPEditor::paintEvent(QPaintEvent* event) {
    QsciScintilla::paintEvent(event);
    // A mark after every line end and after the end of the text.
    QPainter p(viewport());
    p.setClipRect(QRect(marginsWidth(), 0, viewport()->width(), viewport()->height()));
    QFont mark(QFontInfo(font_).family());
    mark.setPixelSize(font_.pixelSize() > 0 ? font_.pixelSize()
                                            : qRound(font_.pointSizeF() * logicalDpiY() / 72.0));
    p.setFont(mark);
    p.setPen(kMarkColor);
    const long count = SendScintilla(SCI_GETLINECOUNT);
    const long first = SendScintilla(SCI_GETFIRSTVISIBLELINE);
    const long last = std::min(count - 1, first + SendScintilla(SCI_LINESONSCREEN) + 1);
    const int height = static_cast<int>(SendScintilla(SCI_TEXTHEIGHT, 0UL));
    for (long line = first; line <= last; ++line) {
        const long end = SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line));
        const int x = static_cast<int>(SendScintilla(SCI_POINTXFROMPOSITION, 0UL, end));
        const int y = static_cast<int>(SendScintilla(SCI_POINTYFROMPOSITION, 0UL, end));
        p.drawText(QRect(x + 1, y, 80, height), Qt::AlignLeft | Qt::AlignVCenter,
                   line == count - 1 ? QStringLiteral("[EOF]") : QStringLiteral("↓"));
    }
}

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
        bool ok = false;
        QFont f = QFontDialog::getFont(&ok, start, this, "ﾌｫﾝﾄ");
        if (!ok) return std::nullopt;
        return f;
    };
    editor_ = new TPEditor(this);
    editorLines_ = std::make_unique<EditorLines>(*editor_);
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
    readings_->install(findChild<QWidget*>("ToolBar1"), findChild<QMenu*>("mnuEdit"));
    engine_->caretMoved(0, 0);
    render();
}

TTPMaker::~TTPMaker() = default;

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
    struct Button {
        const char* name;  // after "btn"; also the picture
        const char* hint;
        void (TTPMaker::*handler)();
        bool gapAfter;
    } buttons[] = {
        {"Create", "新規にﾃﾞｰﾀを作成します。", &TTPMaker::btnCreateClick, false},
        {"Reload", "ﾌｧｲﾙﾃﾞｰﾀを更新します。", &TTPMaker::btnReloadClick, false},
        {"Save", "ﾃﾞｰﾀをｺﾝﾊﾞｰﾄ（変換）して保存します。", &TTPMaker::btnSaveClick, true},
        {"Cut", "現在の部分を切り取ってｸﾘｯﾌﾟﾎﾞｰﾄﾞに貼り付けます。", &TTPMaker::btnCutClick, false},
        {"Copy", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞのﾃﾞｰﾀをｺﾋﾟｰします。", &TTPMaker::btnCopyClick, false},
        {"Paste", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞに貼り付けます。", &TTPMaker::btnPasteClick, true},
        {"Undo", "ひとつ元に戻します。", &TTPMaker::btnUndoClick, false},
        {"Redo", "ひとつ先へやり直します。", &TTPMaker::btnRedoClick, true},
        {"BackCaret", "現在のｶｰｿﾙ位置へ戻ります。", &TTPMaker::btnBackCaretClick, false},
        {"Font", "ﾌｫﾝﾄの変更", &TTPMaker::btnFontClick, true},
        {"Help", nullptr, &TTPMaker::btnHelpClick, false},
    };
    for (const auto& b : buttons) {
        auto* button = new QToolButton(bar);
        button->setObjectName(QString("btn") + b.name);
        button->setIcon(toolIcon(b.name));
        button->setIconSize(QSize(16, 16));
        button->setFixedSize(23, 22);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        if (b.hint) button->setToolTip(b.hint);
        auto handler = b.handler;
        connect(button, &QToolButton::clicked, this, [this, handler] { (this->*handler)(); });
        row->addWidget(button);
        if (b.gapAfter) {
            auto* line = new QFrame(bar);
            line->setFrameShape(QFrame::VLine);
            line->setFrameShadow(QFrame::Sunken);
            line->setFixedSize(8, 20);
            row->addWidget(line);
        }
    }
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
        edit->setValidator(new FieldValidator(edit));
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
