#include "reflex/reflection_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>

#include "app/ui/app_context.h"
#include "reflex/ref_fin_dialog.h"
#include "widgets/command_table.h"
#include "widgets/look.h"
#include "widgets/qt_services.h"
#include "widgets/shape.h"

namespace keyrook {
namespace {

const char* const kStatusNames[6] = {"lblScore", "lblHits", "lblTotal", "lblMiss", "lblTime", "lblAv"};
const char* const kStatusCaptions[6] = {"SCORE", "HIT", "TOTAL", "MISS", "TIME", "AVERAGE"};
const int kStatusWidths[6] = {84, 40, 40, 40, 28, 88};

}  // namespace

TReflection::TReflection(AppContext& app, Clock& clock, Random& random, Timers* timers,
                         QWidget* parent)
    : QWidget(parent), app_(app) {
    setObjectName("Reflection");
    Timers& ticks =
        windowTimers(timers, ownTimers_, [this](const std::string& name) { timerFired(name); });
    engine_ = std::make_unique<ReflexEngine>(ReflexServices{clock, ticks, random, app.sounds()});
    engine_->onFinalGame = [this](const ReflexResult& r) { FinalGame(r); };
    execResult = [](TRefFin& fin) { fin.exec(); };
    buildWindow();
    buildCommands();
    render();
}

TReflection::~TReflection() = default;

QLabel* TReflection::label(const char* name) const { return findChild<QLabel*>(name); }
QPushButton* TReflection::button(const char* name) const { return findChild<QPushButton*>(name); }

void TReflection::buildWindow() {
    setWindowTitle("反射神経モード");
    setWindowFlags(kMainFrame);
    setFixedSize(727, 360);
    const QFont letters = pixelFont("Arial", 35);
    setFont(letters);
    paintBlack(this, kSilver);
    setFocusPolicy(Qt::StrongFocus);

    auto* strip = new TShape(TShape::Kind::RoundRect, this);
    strip->setObjectName("Shape41");
    strip->setGeometry(16, 12, 695, 36);
    strip->setPenColor(QColor(0x80, 0x80, 0x80));
    strip->setBrushColor(Qt::black);
    const QFont caption = pixelFont("Arial", 14);
    const QFont value = pixelFont("Arial", 16, true);
    int x = 30;
    for (int i = 0; i < 6; ++i) {
        QLabel* c = placeLabel(this, kStatusCaptions[i], x, 21, caption, kSilver);
        x += c->width() + 8;
        status_[static_cast<std::size_t>(i)] =
            placeLabel(this, "0", x, 20, value, Qt::white, kStatusNames[i], kStatusWidths[i]);
        x += kStatusWidths[i] + 12;
    }

    keyboard_ = buildKeyboardPicture(this, letters, kSilver);

    levelImage_ = new QLabel(this);
    levelImage_->setObjectName("LevelImage");
    levelImage_->setGeometry(653, 72, 50, 50);
}

void TReflection::buildCommands() {
    // The menu stays hidden; its items only carry the function keys.
    auto* menu = new QMenu("ﾌｧｲﾙ", this);
    menu->setObjectName("N1");
    const CommandTable table{
        flatPushButtons({"QPushButton { color: silver; background: black; border: 1px solid gray; }"
                         "QPushButton:hover { color: white; border-color: red; }",
                         14, false, true}),
        QRect(24, 314, 158, 30), QPoint(172, 0), menu};
    addCommands(this, table,
                {
                    {"btnStart", "測定開始(F1)", [this] { btnStartClick(); }, {}, "mnuStart",
                     "ｹﾞｰﾑ開始", QKeySequence(Qt::Key_F1)},
                    {"btnQuit", "強制終了(F2)", [this] { btnQuitClick(); }, {}, "mnuQuit", "強制中断",
                     QKeySequence(Qt::Key_F2)},
                    {"btnBackMenu", "ﾒﾆｭｰに戻る(F3)", [this] { btnBackMenuClick(); }, {},
                     "mnuBackMenu", "ﾒﾆｭｰへ戻る", QKeySequence(Qt::Key_F3)},
                    {"btnHelp", "ﾍﾙﾌﾟ(F4)", [this] { btnHelpClick(); }, {}, "mnuHelp", "ﾍﾙﾌﾟ",
                     QKeySequence(Qt::Key_F4)},
                });
}

void TReflection::setLevel(int level, const QPixmap& icon, std::array<std::string, 3> captions) {
    engine_->setLevel(level, std::move(captions));
    levelPicture_ = icon;
    levelImage_->setPixmap(icon);
}

void TReflection::btnStartClick() { run([this] { engine_->btnStartClick(); }); }
void TReflection::btnQuitClick() { run([this] { engine_->Initialized(); }); }
void TReflection::btnBackMenuClick() { close(); }
void TReflection::btnHelpClick() { app_.Helper(HelpContext::Reflection); }

void TReflection::timerFired(const std::string& name) {
    run([this, &name] { engine_->timerFired(name); });
}

void TReflection::FinalGame(const ReflexResult& result) {
    render();  // the board is cleared before the result covers it
    TRefFin fin(app_, this);
    fin.setResult(result, levelPicture_);
    execResult(fin);
    activateWindow();  // keys go to the game again, not to where the dialog was
    setFocus();
}

void TReflection::run(const std::function<void()>& f) {
    app_.guarded(f);
    render();
}

void TReflection::render() {
    const ReflexView& v = engine_->view();
    const std::string* texts[6] = {&v.lblScore, &v.lblHits, &v.lblTotal, &v.lblMiss, &v.lblTime, &v.lblAv};
    for (std::size_t i = 0; i < 6; ++i) {
        const QString t = QString::fromStdString(*texts[i]);
        if (status_[i]->text() != t) status_[i]->setText(t);
    }
    for (std::size_t i = 0; i < 26; ++i) {
        const QString t = QString::fromStdString(v.cells[i]);
        if (keyboard_.letterCells[i]->text() != t) keyboard_.letterCells[i]->setText(t);
    }
}

void TReflection::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (text.isEmpty()) {
        QWidget::keyPressEvent(event);
        return;
    }
    const char32_t ch = text.toUcs4().value(0);
    run([this, ch] { engine_->FormKeyPress(ch); });
}

void TReflection::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) return;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    setFocus();
    run([this] { engine_->FormShow(); });
}

void TReflection::closeEvent(QCloseEvent* event) {
    run([this] { engine_->Initialized(); });
    app_.mainWindow().show();
    app_.mainWindow().raise();
    app_.mainWindow().activateWindow();
    event->accept();
}

}  // namespace keyrook
