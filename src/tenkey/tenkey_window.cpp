#include "tenkey/tenkey_window.h"

#include <QCloseEvent>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QToolButton>

#include <algorithm>
#include <cstring>

#include "app/ui/app_context.h"
#include "widgets/command_table.h"
#include "widgets/look.h"
#include "widgets/qt_services.h"
#include "widgets/shape.h"

namespace keyrook {
namespace {

const QColor kLime(0x00, 0xFF, 0x00);

// Impact where it is installed; elsewhere its substitute drawn bold comes closest to it.
QFont impactFont(int pixels) {
    QFont f = pixelFont("Impact", pixels);
    if (QFontInfo(f).family() != "Impact") f.setBold(true);
    return f;
}

// The largest size, up to the laid-out one, at which a whole batch of digits fits a display
// of the given inner size (substitute faces are wider than Impact).
QFont batchFont(int pixels, QSizeF inner) {
    for (; pixels > 8; --pixels) {
        const QFont f = impactFont(pixels);
        const QFontMetricsF fm(f);
        qreal advance = 1;
        for (char d = '0'; d <= '9'; ++d) advance = std::max(advance, fm.horizontalAdvance(QChar(d)));
        const int perRow = static_cast<int>(inner.width() / advance);
        const int rows = static_cast<int>(inner.height() / std::max<qreal>(1, fm.lineSpacing()));
        if (perRow * rows >= TenkeyEngine::kBatchSize) return f;
    }
    return impactFont(pixels);
}

// Key frames of the pad: column, row, width and height in keys; caption; digit or -1.
struct PadKey {
    int col, row, cols, rows;
    const char* caption;
    int digit;
};
const PadKey kPad[] = {
    {0, 0, 1, 1, "Num", -1}, {1, 0, 1, 1, "/", -1}, {2, 0, 1, 1, "*", -1}, {3, 0, 1, 1, "-", -1},
    {0, 1, 1, 1, "7", 7},    {1, 1, 1, 1, "8", 8},  {2, 1, 1, 1, "9", 9},  {3, 1, 1, 2, "+", -1},
    {0, 2, 1, 1, "4", 4},    {1, 2, 1, 1, "5", 5},  {2, 2, 1, 1, "6", 6},
    {0, 3, 1, 1, "1", 1},    {1, 3, 1, 1, "2", 2},  {2, 3, 1, 1, "3", 3},  {3, 3, 1, 2, "Enter", -1},
    {0, 4, 2, 1, "0", 0},    {2, 4, 1, 1, "Del", -1},
};
constexpr int kPadLeft = 8, kPadTop = 8, kPadMargin = 14, kKey = 56, kGap = 6;

}  // namespace

TTenkey::TTenkey(AppContext& app, Random& random, Timers* timers, QWidget* parent)
    : QDialog(parent), app_(app) {
    setObjectName("Tenkey");
    Timers& ticks =
        windowTimers(timers, ownTimers_, [this](const std::string& name) { timerFired(name); });
    engine_ = std::make_unique<TenkeyEngine>(TenkeyServices{ticks, random, app.sounds()},
                                             app.userFile(".tnk"));
    buildWindow();
    buildKeypad();
    buildCommands();
    render();
}

TTenkey::~TTenkey() = default;

void TTenkey::buildWindow() {
    setWindowTitle("ﾃﾝｷｰﾓｰﾄﾞ");
    setWindowFlags(kToolFrame);
    setFixedSize(535, 413);
    paintBlack(this, Qt::white);
    setFont(pixelFont("MS UI Gothic", 12));
    setFocusPolicy(Qt::StrongFocus);

    auto* hint = new QLabel(
        "※表示されている文字を先頭から消して行って下さい。60秒間で打った総タイプ数を計測します。"
        "ﾉｰﾄﾊﾟｿｺﾝではﾃﾝｷｰがないため、練習はできません。",
        this);
    hint->setObjectName("Label1");
    hint->setFont(pixelFont("MS UI Gothic", 11));
    setTextColor(hint, Qt::white);
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    hint->setGeometry(292, 8, 235, hint->heightForWidth(235));

    lbl_ = new QPlainTextEdit(this);
    lbl_->setObjectName("lbl");
    lbl_->setGeometry(294, std::max(88, hint->geometry().bottom() + 8), 233, 225);
    lbl_->setReadOnly(true);
    lbl_->setFocusPolicy(Qt::NoFocus);
    lbl_->setTextInteractionFlags(Qt::NoTextInteraction);
    lbl_->setContextMenuPolicy(Qt::NoContextMenu);
    lbl_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lbl_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lbl_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    lbl_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    lbl_->setStyleSheet("QPlainTextEdit { background: black; color: white;"
                        " border: 1px solid #808080; }");
    const qreal margin = lbl_->document()->documentMargin();
    lbl_->setFont(batchFont(27, QSizeF(lbl_->width() - 2 - 2 * margin, lbl_->height() - 2 - 2 * margin)));

    const QFont text = pixelFont("MS UI Gothic", 12);
    const QFont figure = pixelFont("Tahoma", 13, true);
    placeLabel(this, "総ﾀｲﾌﾟ数（ﾊｲｽｺｱ） : ", 12, 356, text, Qt::white, "Label2");
    lblHigh_ = placeLabel(this, "0", 132, 355, figure, Qt::white, "lblHigh", 80);

    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    panel->setGeometry(236, 348, 291, 26);
    placeLabel(panel, "総ﾀｲﾌﾟ数 : ", 10, 7, text, Qt::white, "Label3");
    lblTypeCount_ = placeLabel(panel, "0", 76, 6, figure, Qt::white, "lblTypeCount", 60);
    placeLabel(panel, "残り時間 : ", 160, 7, text, Qt::white, "Label4");
    lblRestTime_ = placeLabel(panel, "60", 222, 6, figure, Qt::white, "lblRestTime", 40);
}

void TTenkey::buildKeypad() {
    auto* frame = new TShape(TShape::Kind::RoundRect, this);
    frame->setObjectName("Shape1");
    frame->setGeometry(kPadLeft, kPadTop, 2 * kPadMargin + 4 * kKey + 3 * kGap,
                       2 * kPadMargin + 5 * kKey + 4 * kGap);
    frame->setPenColor(Qt::red);
    frame->setBrushColor(Qt::black);

    const QFont digitFont = impactFont(32);
    const QFont signFont = impactFont(20);
    const QFont wordFont = impactFont(15);
    for (const PadKey& k : kPad) {
        const QRect r(kPadLeft + kPadMargin + k.col * (kKey + kGap),
                      kPadTop + kPadMargin + k.row * (kKey + kGap),
                      k.cols * kKey + (k.cols - 1) * kGap, k.rows * kKey + (k.rows - 1) * kGap);
        auto* key = new TShape(TShape::Kind::RoundRect, this);
        key->setGeometry(r);
        key->setPenColor(Qt::red);
        key->setBrushColor(Qt::black);
        auto* caption = new QLabel(QString::fromUtf8(k.caption), this);
        caption->setGeometry(r);
        caption->setAlignment(Qt::AlignCenter);
        setTextColor(caption, Qt::white);
        if (k.digit >= 0) {
            caption->setObjectName(QString("lbl%1").arg(k.digit));
            caption->setFont(digitFont);
            lblDigits_[static_cast<std::size_t>(k.digit)] = caption;
        } else {
            caption->setFont(std::strlen(k.caption) > 1 ? wordFont : signFont);
        }
    }
}

void TTenkey::buildCommands() {
    // The menu stays hidden; its items carry the function keys and work even while the button
    // of the same command is disabled.
    auto* menu = new QMenu("ﾌｧｲﾙ", this);
    menu->setObjectName("File1");
    const CommandTable table{
        raisedToolButtons({"QToolButton { color: white; background: black; border: 1px solid #404040; }"
                           "QToolButton:hover { border: 1px solid #C0C0C0; }"
                           "QToolButton:pressed { background: #303030; }"
                           "QToolButton:disabled { color: #606060; }",
                           12, false}),
        QRect(8, 381, 126, 24), QPoint(131, 0), menu};
    const auto made = addCommands(
        this, table,
        {
            {"btnStart", "ｹﾞｰﾑ開始(F1)", [this] { btnStartClick(); }, {}, "mnuStart", "ｹﾞｰﾑ開始",
             QKeySequence(Qt::Key_F1)},
            {"btnQuit", "強制中断(F2)", [this] { btnQuitClick(); }, {}, "mnuQuit", "強制中断",
             QKeySequence(Qt::Key_F2)},
            {"btnBackMenu", "ﾒﾆｭｰへ戻る(F3)", [this] { btnBackMenuClick(); }, {}, "mnuBackMenu",
             "ﾒﾆｭｰへ戻る", QKeySequence(Qt::Key_F3)},
            {"btnHelp", "ﾍﾙﾌﾟ(F4)", [this] { btnHelpClick(); }, {}, "mnuHelp", "ﾍﾙﾌﾟ",
             QKeySequence(Qt::Key_F4)},
        });
    btnStart_ = static_cast<QToolButton*>(made.front().button);
}

void TTenkey::openFromMenu() {
    engine_->open();
    render();
}

void TTenkey::timerFired(const std::string& name) {
    run([this, &name] { engine_->timerFired(name); });
}

void TTenkey::btnStartClick() { run([this] { engine_->btnStartClick(); }); }
void TTenkey::btnQuitClick() { run([this] { engine_->btnQuitClick(); }); }
void TTenkey::btnBackMenuClick() { close(); }
void TTenkey::btnHelpClick() { app_.Helper(HelpContext::Tenkey); }

void TTenkey::run(const std::function<void()>& f) {
    app_.guarded(f);
    render();
}

void TTenkey::render() {
    const TenkeyView& v = engine_->view();
    const QString digits = QString::fromLatin1(v.lbl.data(), static_cast<int>(v.lbl.size()));
    if (lbl_->toPlainText() != digits) lbl_->setPlainText(digits);
    lblTypeCount_->setText(QString::fromStdString(v.lblTypeCount));
    lblRestTime_->setText(QString::fromStdString(v.lblRestTime));
    lblHigh_->setText(QString::fromStdString(v.lblHigh));
    for (std::size_t d = 0; d < lblDigits_.size(); ++d) {
        const QColor want = v.lit[d] ? kLime : QColor(Qt::white);
        if (lblDigits_[d]->palette().color(QPalette::WindowText) != want)
            setTextColor(lblDigits_[d], want);
    }
    btnStart_->setEnabled(v.btnStartEnabled);
}

void TTenkey::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((event->modifiers() & Qt::KeypadModifier) && key >= Qt::Key_0 && key <= Qt::Key_9) {
        run([this, key] { engine_->keypadDigit(key - Qt::Key_0); });
        return;
    }
    // Escape would end the dialog past its closing steps; the drill closes by F3 or the close box.
    if (key == Qt::Key_Escape) return;
    QDialog::keyPressEvent(event);
}

void TTenkey::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        setFocus();
        run([this] { engine_->FormShow(); });
    }
}

void TTenkey::closeEvent(QCloseEvent* event) {
    if (!closed_) {
        closed_ = true;
        run([this] { engine_->FormClose(); });
    }
    QDialog::closeEvent(event);
}

void openTenkey(AppContext& app) {
    StdRandom random;
    TTenkey tenkey(app, random, nullptr, &app.mainWindow());
    tenkey.openFromMenu();
    tenkey.exec();
}

}  // namespace keyrook
