#include "typing/typing_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPaintEvent>
#include <QFontMetrics>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

#include "app/about_dialog.h"
#include "app/ui/app_context.h"
#include "base/text.h"
#include "widgets/command_table.h"
#include "widgets/key_guide_panel.h"
#include "widgets/look.h"
#include "widgets/progress_bar_rex.h"
#include "widgets/qt_services.h"
#include "widgets/shape.h"

namespace keyrook {
namespace {

Qt::Alignment align(TextAlign a) {
    switch (a) {
        case TextAlign::Left: return Qt::AlignLeft | Qt::AlignVCenter;
        case TextAlign::Right: return Qt::AlignRight | Qt::AlignVCenter;
        default: return Qt::AlignCenter;
    }
}

}  // namespace

TTyping::TTyping(AppContext& app, const TypingSettings& settings, Clock& clock, Random& random,
                 Timers* timers, QWidget* parent)
    : QMainWindow(parent), app_(app), clock_(clock) {
    setObjectName("Typing");
    Timers& ticks = windowTimers(timers, ownTimers_, [this](const std::string& name) {
        run([this, &name] { engine_->timerFired(name); });
    });
    TypingServices services{clock, ticks, random, app.sounds(), app.dialogs()};
    engine_ = std::make_unique<TypingEngine>(services, app.mainMenu().selectedSetLines(),
                                             app.mainMenu().selectedPlainReadings(), settings);
    engine_->onReloadSetLines = [this] { app_.mainMenu().reloadSet(); };
    engine_->inputMethodOpen = [this] { return composed_; };
    engine_->invaderRules = &invader_;
    // The red of a miss lasts one timer period; a real 1 ms period would never reach the screen,
    // so the flash lasts one frame.
    if (ownTimers_) ticks.setInterval(TypingEngine::kTmrFlash, 16);
    buildWindow();
    buildCommands();
    render();
}

TTyping::~TTyping() = default;

QLabel* TTyping::label(const char* name) const { return findChild<QLabel*>(name); }

void TTyping::buildWindow() {
    setWindowFlags(kMainFrame);
    client_ = new QWidget(this);
    client_->setFixedSize(751, 368);
    client_->setFont(pixelFont("ＭＳ ゴシック", 12));
    paintBlack(client_, kSilver);
    client_->setFocusPolicy(Qt::StrongFocus);
    // Keys are judged as the keyboard gives them: an input method switched on (fcitx, IBus...)
    // leaves this area alone, as it leaves every widget that takes no text.
    client_->setAttribute(Qt::WA_InputMethodEnabled, false);
    client_->installEventFilter(this);
    setCentralWidget(client_);

    auto makeLabel = [this](const char* name, const QString& text, QRect geometry, const QFont& font,
                            const QColor& color, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
        auto* l = new QLabel(text, client_);
        l->setObjectName(name);
        l->setFont(font);
        setTextColor(l, color);
        l->setAlignment(alignment);
        if (geometry.width() > 0) {
            l->setGeometry(geometry);
        } else {
            l->move(geometry.topLeft());
            l->adjustSize();
        }
        return l;
    };

    auto* frame = new TShape(TShape::Kind::RoundRect, client_);
    frame->setObjectName("Shape1");
    frame->setGeometry(264, 8, 473, 33);
    frame->setPenColor(Qt::red);
    frame->setBrushColor(Qt::black);
    frame->setBackdrop(clientColour_);
    frames_[0] = frame;
    const QFont small = pixelFont("ＭＳ ゴシック", 12);
    const QFont counter = pixelFont("Tahoma", 13, true);
    makeLabel("SCORE", "SCORE", QRect(272, 18, 0, 0), small, kSilver);
    lblScore_ = makeLabel("lblScore", "0", QRect(312, 16, 89, 16), counter, Qt::white, Qt::AlignCenter);
    makeLabel("Label1", "COMBO", QRect(408, 18, 0, 0), small, kSilver);
    lblCombo_ = makeLabel("lblCombo", "0", QRect(449, 16, 40, 16), counter, Qt::white,
                          Qt::AlignRight | Qt::AlignVCenter);
    makeLabel("Label2", "MAX-COMBO", QRect(520, 18, 0, 0), small, kSilver);
    lblMaxCombo_ = makeLabel("lblMaxCombo", "0", QRect(593, 16, 40, 16), counter, Qt::white,
                             Qt::AlignRight | Qt::AlignVCenter);
    makeLabel("Label4", "MISS", QRect(656, 18, 0, 0), small, kSilver);
    lblMiss_ = makeLabel("lblMiss", "0", QRect(689, 16, 40, 16), counter, Qt::white,
                         Qt::AlignRight | Qt::AlignVCenter);

    auto* box = new TShape(TShape::Kind::Rectangle, client_);
    box->setObjectName("Shape2");
    box->setGeometry(19, 142, 718, 97);
    box->setPenColor(kSilver);
    box->setBrushColor(Qt::black);
    box->setBackdrop(clientColour_);
    frames_[1] = box;
    lblMondai_ = makeLabel("lblMondai", "", QRect(27, 137, 0, 0), pixelFont("ＭＳ ゴシック", 12, true),
                           Qt::white);
    lblMondai_->setAutoFillBackground(true);  // sits on the box's top edge
    lblYomi_ = makeLabel("lblYomi", "", QRect(40, 146, 687, 13), pixelFont("ＭＳ ゴシック", 11),
                         Qt::cyan, Qt::AlignCenter);
    lblQuestion_ = makeLabel("lblQuestion", "", QRect(30, 159, 697, 30),
                             pixelFont("HGSｺﾞｼｯｸE", 24), Qt::white, Qt::AlignCenter);
    lblTyping_ = makeLabel("lblTyping", "", QRect(30, 192, 697, 35), pixelFont("ＭＳ ゴシック", 27),
                           Qt::white, Qt::AlignCenter);
    lblNext_ = makeLabel("lblNext", "", QRect(40, 242, 697, 13), pixelFont("ＭＳ ゴシック", 11),
                         kSilver, Qt::AlignRight | Qt::AlignVCenter);
    lblStart_ = makeLabel("lblStart", "Ready !!", QRect(312, 168, 0, 0),
                          pixelFont("Times New Roman", 48, true, true), Qt::black);
    lblStart_->setMinimumWidth(200);
    lblStart_->hide();
    lblBonusUp_ = makeLabel("lblBonusUp", "", QRect(16, 64, 0, 0), pixelFont("Century", 48, false, true),
                            Qt::white);
    lblBonusUp_->hide();

    pnlPower_ = new QWidget(client_);
    pnlPower_->setObjectName("pnlPower");
    pnlPower_->setGeometry(488, 248, 249, 57);
    pnlPower_->hide();
    buildPowerPanel();

    lblTitle2_ = makeLabel("lblTitle2", "", QRect(1, 317, 743, 24), pixelFont("HGPｺﾞｼｯｸE", 21),
                           kSilver, Qt::AlignRight | Qt::AlignVCenter);
    lblTitle_ = makeLabel("lblTitle", "", QRect(2, 318, 743, 24), pixelFont("HGPｺﾞｼｯｸE", 21),
                          QColor(0x80, 0x80, 0x80), Qt::AlignRight | Qt::AlignVCenter);
    lblTitle2_->raise();

    adjustSize();
    setFixedSize(sizeHint());
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TTyping::buildPowerPanel() {
    const QFont small = pixelFont("ＭＳ ゴシック", 11, true);
    placeLabel(pnlPower_, "LIMIT", 4, 5, small, kSilver, "lblLimit");
    placeLabel(pnlPower_, "POWER", 4, 21, small, kSilver, "lblPower");
    auto bar = [this](const char* name, int top, int maximum, int position) {
        auto* b = new TProgressBarREX(pnlPower_);
        b->setObjectName(name);
        b->setGeometry(44, top, 198, 9);
        b->setRange(0, maximum);
        b->setStep(3);
        b->setPosition(position);
        b->setBarColor(QColor(0x80, 0x80, 0x80));
        b->setSmooth(true);
        return b;
    };
    LimitBar_ = bar("LimitBar", 8, 120, 120);
    PowerBar_ = bar("PowerBar", 24, 255, 0);
    const int lefts[3] = {69, 134, 199};
    for (int i = 0; i < 3; ++i) {
        lamps_[i] = placeLabel(pnlPower_, QString("Lv%1").arg(i + 1), lefts[i], 38, small,
                               QColor(0x80, 0x80, 0x80));
        lamps_[i]->setObjectName(QString("lblLV%1").arg(i + 1));
        lampBars_[i] = placeLabel(pnlPower_, "＿／", lefts[i] + 22, 38, small, QColor(0x80, 0x80, 0x80));
        lampBars_[i]->setObjectName(QString("lblLV%1bar").arg(i + 1));
    }
}

void TTyping::buildCommands() {
    auto* bar = new QWidget(client_);
    commandBar_ = bar;
    bar->setObjectName("ToolBar1");
    bar->setGeometry(0, 343, 751, 25);
    bar->setAutoFillBackground(true);
    QPalette pal = bar->palette();
    pal.setColor(QPalette::Window, QColor(0xD4, 0xD0, 0xC8));
    bar->setPalette(pal);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(1);

    QMenu* game = menuBar()->addMenu("ｹﾞｰﾑ(&G)");
    QMenu* helpMenu = menuBar()->addMenu("ﾍﾙﾌﾟ(&H)");
    const MakeButton toolButton = raisedToolButtons({{}, 12, false});
    const CommandTable table{[&](QWidget* parent, const Command& c, const QRect& place) {
                                 QAbstractButton* b = toolButton(parent, c, place);
                                 layout->addWidget(b);
                                 return b;
                             },
                             {}, {}, game, [this](const auto& f) { run(f); }};
    const auto made = addCommands(
        bar, table,
        {
            {"btnStart", "  F1 : ｹﾞｰﾑ開始  ", [this] { engine_->btnStartClick(); }, {}, "mnuStart",
             "ｹﾞｰﾑ開始(&T)", QKeySequence(Qt::Key_F1)},
            {"btnStop", "F2 : ｹﾞｰﾑ中断", [this] { engine_->btnStopClick(); }, {}, "mnuStop",
             "ｹﾞｰﾑ中断(&S)", QKeySequence(Qt::Key_F2)},
            {"btnRoman", "F4 : ﾛｰﾏ字設定",
             [this] {
                 if (openSettings) openSettings();
             },
             {}, "mnuRoman", "ﾛｰﾏ字設定(&R)", QKeySequence(Qt::Key_F4)},
            {"btnSetting", "F5 : 各種設定", [this] { engine_->btnSettingClick(); }, {}, "mnuSetting",
             "各種設定(&N)", QKeySequence(Qt::Key_F5)},
            {"btnHelp", "F6 : ﾍﾙﾌﾟ", [this] { app_.Helper(HelpContext::MainMenu); }, {}, "mnuHelp",
             "ﾍﾙﾌﾟ(&H)", QKeySequence(Qt::Key_F6), helpMenu},
            {"btnQuit", "F12 : 強制終了", [this] { engine_->btnQuitClick(); }, {}, "mnuQuit",
             "強制終了(&Q)", QKeySequence(Qt::Key_F12)},
            {"btnMenu", "Escape : ﾒﾆｭｰ", [this] { close(); }, {}, "mnuMenu", "ﾒﾆｭｰへ戻る(&M)",
             QKeySequence(Qt::Key_Escape)},
        });
    start_ = made[0];
    stop_ = made[1];
    roman_ = made[2];
    setting_ = made[3];
    quit_ = made[5];
    layout->addStretch(1);
    auto* about = helpMenu->addAction("このｿﾌﾄについて(&A)");
    about->setObjectName("N1");
    connect(about, &QAction::triggered, this, [this] {
        TAbout box(app_);
        box.exec();
    });
}

void TTyping::setQuestionFont(const QFont& font, const QColor& color) {
    lblQuestion_->setFont(font);
    setTextColor(lblQuestion_, color);
    questionAdvance_ = -1;
    scrollQuestion();
}

void TTyping::setTypingFont(const QFont& font, const QColor& color) {
    lblTyping_->setFont(font);
    setTextColor(lblTyping_, color);
    alignTyping();
}

void TTyping::alignTyping() {
    const TypingView& v = engine_->view();
    Qt::Alignment a = align(v.lblTypingAlign);
    if (v.lblTypingAlign == TextAlign::Center &&
        lblTyping_->fontMetrics().horizontalAdvance(lblTyping_->text()) > lblTyping_->contentsRect().width())
        a = Qt::AlignLeft | Qt::AlignVCenter;
    if (lblTyping_->alignment() != a) lblTyping_->setAlignment(a);
}

void TTyping::scrollQuestion() {
    constexpr int kContext = 3;  // characters kept in view before the one being typed
    const QFontMetrics fm(lblQuestion_->font());
    const int width = lblQuestion_->contentsRect().width();
    QString shown = questionText_;
    Qt::Alignment a = Qt::AlignCenter;
    // Measured once a line: the keys of a line that fits cost no measuring.
    if (questionAdvance_ < 0) questionAdvance_ = fm.horizontalAdvance(questionText_);
    if (questionAdvance_ > width) {
        const std::size_t left = engine_->view().lblTyping.size();
        const double done = romajiTotal_ > left ? 1.0 - static_cast<double>(left) / static_cast<double>(romajiTotal_) : 0.0;
        int start = std::max(0, static_cast<int>(done * questionText_.size()) - kContext);
        // Near the end: as much as fits, ending with the line's end.
        while (start > 0 && fm.horizontalAdvance(questionText_.mid(start - 1)) <= width) --start;
        shown = questionText_.mid(start);
        a = Qt::AlignLeft | Qt::AlignVCenter;
    }
    if (lblQuestion_->text() != shown) lblQuestion_->setText(shown);
    if (lblQuestion_->alignment() != a) lblQuestion_->setAlignment(a);
}

void TTyping::updateGuide() {
    const bool on = guideWanted && guideWanted() && !engine_->FInvader();
    if (!on && (!guide_ || guide_->isHidden())) return;
    if (on && !guide_) {
        guide_ = new TKeyGuide(client_);
        guide_->move(0, 368);
        paceTimer_ = new QTimer(this);
        paceTimer_->setInterval(500);  // the speed falls while no key comes
        connect(paceTimer_, &QTimer::timeout, this, [this] { refreshGuide(); });
    }
    const int height = on ? 368 + TKeyGuide::kHeight : 368;
    if (guide_->isHidden() == !on && client_->height() == height) return;
    guide_->setVisible(on);
    if (on) paceTimer_->start();
    else paceTimer_->stop();
    client_->setFixedSize(751, height);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    adjustSize();
    setFixedSize(sizeHint());
    refreshGuide();
}

void TTyping::refreshGuide() {
    if (!guide_ || guide_->isHidden()) return;
    const TypingView& v = engine_->view();
    const TypingState& st = engine_->state();
    const bool atRest = v.btnStartEnabled;
    // A kana session shows the kana layout from F1 on; the legends stay until the next session.
    if (engine_->kanaInput()) {
        guide_->setTable(kanaGuide());
        guide_->showKey(atRest ? std::nullopt : kanaGuideKey(engine_->kanaDue()));
    } else {
        if (!atRest) guide_->setTable(romajiGuide());
        guide_->showNext(!atRest && !v.lblTyping.empty() ? std::optional<char>(v.lblTyping[0]) : std::nullopt);
    }
    const std::uint32_t now = clock_.tickCount();
    pace_.update(atRest ? 0 : st.HitCount, now);
    guide_->showPace(pace_.speedText(now), atRest ? std::string("---") : accuracyText(st.HitCount, toIntDef(v.lblMiss, 0)));
}

void TTyping::preparePractice(const std::string& cp932Title, const std::string& cp932User) {
    engine_->preparePractice(cp932Title);
    setWindowTitle("ﾌﾟﾚｲﾔｰ : " + fromCp932(cp932User));
    render();
}

void TTyping::run(const std::function<void()>& f) {
    app_.guarded(f);
    render();
}

void TTyping::render() {
    const std::uint32_t c = engine_->takeChanges();
    if (!c) return;
    const TypingView& v = engine_->view();
    if (c & kChangedScore) lblScore_->setText(fromCp932(v.lblScore));
    if (c & kChangedCombo) lblCombo_->setText(fromCp932(v.lblCombo));
    if (c & kChangedMaxCombo) lblMaxCombo_->setText(fromCp932(v.lblMaxCombo));
    if (c & kChangedMiss) lblMiss_->setText(fromCp932(v.lblMiss));
    if (c & kChangedMondai) {
        lblMondai_->setText(fromCp932(v.lblMondai));
        lblMondai_->adjustSize();
    }
    if (c & kChangedQuestion) {
        questionText_ = fromCp932(v.lblQuestion);
        questionAdvance_ = -1;
        romajiTotal_ = v.lblTyping.size();
        lblYomi_->setText(fromCp932(v.lblYomi));
        lblNext_->setText(fromCp932(v.lblNext));
    }
    if (c & kChangedTyping) {
        lblTyping_->setText(fromCp932(v.lblTyping));
        alignTyping();
    }
    if (c & (kChangedQuestion | kChangedTyping)) scrollQuestion();
    if (c & kChangedStart) {
        lblStart_->setText(fromCp932(v.lblStartCaption));
        setTextColor(lblStart_, rgbColor(v.lblStartColor));
        lblStart_->setVisible(v.lblStartVisible);
    }
    if (c & kChangedBonus) {
        lblBonusUp_->setText(fromCp932(v.lblBonusUpCaption));
        lblBonusUp_->adjustSize();
        lblBonusUp_->move(v.lblBonusUpLeft, 64);
        setTextColor(lblBonusUp_, rgbColor(v.lblBonusUpColor));
        lblBonusUp_->setVisible(v.lblBonusUpVisible);
    }
    if (c & kChangedColor) showColour(rgbColor(v.color));
    if (c & kChangedCommands) {
        auto enable = [](CommandControls& cmd, bool on) {
            cmd.button->setEnabled(on);
            cmd.action->setEnabled(on);
        };
        enable(start_, v.btnStartEnabled);
        enable(stop_, v.btnStopEnabled);
        enable(roman_, v.btnRomanEnabled);
        enable(setting_, v.btnSettingEnabled);
        enable(quit_, v.btnQuitEnabled);
        stop_.button->setText(fromCp932(v.btnStopCaption));
        stop_.action->setText(fromCp932(v.mnuStopCaption));
    }
    if ((c & kChangedRows) && onRowsChanged) onRowsChanged();
    if (c & kChangedInvader) {
        const InvaderGauges& g = invader_.gauges();
        LimitBar_->setPosition(g.LimitBar);
        LimitBar_->setBarColor(rgbColor(g.limitColor));
        PowerBar_->setPosition(g.PowerBar);
        PowerBar_->setBarColor(rgbColor(g.powerColor));
        for (int i = 0; i < 3; ++i) {
            setTextColor(lamps_[i], rgbColor(g.lampColor[i]));
            setTextColor(lampBars_[i], rgbColor(g.lampColor[i]));
        }
    }
    if (c & kChangedTitle) {
        lblTitle_->setText(fromCp932(v.lblTitle));
        lblTitle2_->setText(fromCp932(v.lblTitle));
        pnlPower_->setVisible(v.pnlPowerVisible);
        updateGuide();
    }
    refreshGuide();
}

void TTyping::showColour(const QColor& colour) {
    if (colour == clientColour_) return;
    clientColour_ = colour;
    // The question number stands on the frame's edge with a background of its own.
    QPalette pal = lblMondai_->palette();
    pal.setColor(QPalette::Window, colour);
    lblMondai_->setPalette(pal);
    QRegion changed(client_->rect());
    for (TShape* frame : frames_) {
        frame->setBackdrop(colour);
        changed -= frame->coveredRegion();
    }
    for (const QWidget* w : {commandBar_, static_cast<QWidget*>(guide_)})
        if (w && w->isVisible()) changed -= w->geometry();
    client_->update(changed);
}

void TTyping::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (engine_->kanaInput()) {
        // Kana input goes by the key's position: whatever the desktop's layout makes of it.
        const int code = kanaCodeOfXkbKeycode(event->nativeScanCode());
        if (kanaKeyAt(code) || code == kKanaCodeGrave || !text.isEmpty()) {
            const KanaPress press{code, event->modifiers().testFlag(Qt::ShiftModifier)};
            run([this, press] { engine_->FormKanaPress(press); });
            return;
        }
    }
    if (text.isEmpty()) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    const char16_t ch = text.at(0).unicode();
    // Full-width characters come from an input method that still composes: no key to judge,
    // and the warning waits for F1 rather than stopping a timed question.
    composed_ = text.size() != 1 || ch >= 0x80;
    if (!composed_) run([this, ch] { engine_->FormKeyPress(static_cast<char>(ch)); });
}

bool TTyping::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Paint &&
        clientColour_ != client_->palette().color(QPalette::Window)) {
        // Over the black background the area fills itself with.
        QPainter p(client_);
        p.fillRect(static_cast<QPaintEvent*>(event)->rect(), clientColour_);
        return false;
    }
    if (watched == client_ && event->type() == QEvent::InputMethod) {
        auto* im = static_cast<QInputMethodEvent*>(event);
        if (!im->commitString().isEmpty() || !im->preeditString().isEmpty()) composed_ = true;
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TTyping::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Enabled again when the settings window closes: the option may have changed there.
    if (event->type() == QEvent::EnabledChange && isEnabled()) updateGuide();
}

void TTyping::showEvent(QShowEvent* event) {
    updateGuide();
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) {
        client_->setFocus();
        run([this] { engine_->FormShow(); });
    }
}

void TTyping::closeEvent(QCloseEvent* event) {
    if (!isEnabled()) {  // the settings window is open over it
        event->ignore();
        return;
    }
    run([this] { engine_->FormClose(); });
    app_.mainWindow().show();
    app_.mainWindow().raise();
    app_.mainWindow().activateWindow();
    event->accept();
}

}  // namespace keyrook
