#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QStylePainter>
#include <QToolButton>

#include <algorithm>

#include "app/about_dialog.h"
#include "base/cp932.h"
#include "base/files.h"
#include "problemsets/problem_set.h"
#include "widgets/elided_label.h"
#include "widgets/look.h"
#include "widgets/qt_services.h"
#include "widgets/radio_group.h"
#include "widgets/shape.h"

namespace keyrook {
namespace {

const QColor kMaroon(0x80, 0x00, 0x00);

// The author's label starts here, or further right when the question count needs the room;
// it ends at the box's inner edge.
constexpr int kMakerLeft = 104;
constexpr int kInfoRight = 229;

struct Entry {
    const char* caption;
    const char* key;
    QColor normal;
    QColor highlight;
    int labelTop, barTop, circleTop;
};

// Entries 1..10: three colour groups, each entry a label, an underline bar and a key circle.
const Entry kEntries[11] = {
    {},
    {"Practice", "S", QColor(0x00, 0x80, 0x00), QColor(0x00, 0xFF, 0x00), 84, 97, 95},
    {"Quit", "E", QColor(0x00, 0x80, 0x00), QColor(0x00, 0xFF, 0x00), 117, 129, 127},
    {"Record", "R", QColor(0x00, 0x80, 0x00), QColor(0x00, 0xFF, 0x00), 148, 161, 159},
    {"VA Zevuduz", "V", QColor(0x80, 0x80, 0x00), QColor(0xFF, 0xFF, 0x00), 188, 201, 199},
    {"Reflection", "F", QColor(0x80, 0x80, 0x00), QColor(0xFF, 0xFF, 0x00), 220, 233, 231},
    {"Tenkey", "T", QColor(0x80, 0x80, 0x00), QColor(0xFF, 0xFF, 0x00), 252, 265, 263},
    {"Help", "H", QColor(0x80, 0x80, 0x00), QColor(0xFF, 0xFF, 0x00), 284, 297, 295},
    {"User Regist", "U", QColor(0x80, 0x80, 0x80), kSilver, 324, 337, 335},
    {"Setting", "N", QColor(0x80, 0x80, 0x80), kSilver, 356, 369, 367},
    {"TP Maker", "M", QColor(0x80, 0x80, 0x80), kSilver, 388, 401, 399},
};

// The user box keeps its laid-out width: a long name ends in "…", in the box and in its list.
class UserBox : public QComboBox {
public:
    explicit UserBox(QWidget* parent) : QComboBox(parent) {
        // A drop-down list (combobox-popup: 0 in the sheet) rather than a menu, which would
        // widen itself to the longest name.
        auto* list = new QListView;
        list->setTextElideMode(Qt::ElideRight);
        setView(list);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter p(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        p.drawComplexControl(QStyle::CC_ComboBox, option);
        const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                    QStyle::SC_ComboBoxEditField, this);
        option.currentText =
            fontMetrics().elidedText(option.currentText, Qt::ElideRight, field.width() - 4);
        p.drawControl(QStyle::CE_ComboBoxLabel, option);
        // The border once more, last: at a scale of 1.5 the arrow's button covers its bottom line.
        p.setPen(QColor(0x80, 0x80, 0x80));  // the sheet's gray
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

}  // namespace

TMainForm::TMainForm(Paths paths, Sounds& sounds, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), context_(std::move(paths), sounds, dialogs, *this), dialogs_(dialogs) {
    setObjectName("MainForm");
    buildWindow();
    buildMenu();
    FormCreate();
}

TMainForm::~TMainForm() = default;

void TMainForm::buildWindow() {
    setWindowTitle("Keyrook");
    setWindowFlags(kMainFrame);
    auto* client = new QWidget(this);
    client->setObjectName("client");
    client->setFixedSize(466, 449);
    paintBlack(client, kSilver);
    client->setFont(pixelFont("MS UI Gothic", 12));
    client->setMouseTracking(true);
    client->installEventFilter(this);
    setCentralWidget(client);

    placeLabel(client, "Keyrook", 16, 8, pixelFont("Century Gothic", 37), kSilver, "lblProduct");

    auto* pageCircle = new TShape(TShape::Kind::Circle, client);
    pageCircle->setGeometry(16, 62, 25, 25);
    pageCircle->setPenColor(kMaroon);
    pageCircle->setBrushColor(Qt::black);
    lblPages_ = placeLabel(client, "01", 22, 67, pixelFont("Arial", 12), Qt::white, "lblPages");

    auto* toolBar = new QWidget(client);
    toolBar->setObjectName("ToolBar1");
    toolBar->setGeometry(188, 62, 49, 24);
    btnBack_ = new QToolButton(toolBar);
    btnBack_->setObjectName("btnBack");
    btnBack_->setArrowType(Qt::LeftArrow);
    btnBack_->setGeometry(0, 0, 24, 24);
    btnBack_->setEnabled(false);
    btnBack_->setFocusPolicy(Qt::NoFocus);
    btnNext_ = new QToolButton(toolBar);
    btnNext_->setObjectName("btnNext");
    btnNext_->setArrowType(Qt::RightArrow);
    btnNext_->setGeometry(25, 0, 24, 24);
    btnNext_->setEnabled(false);
    btnNext_->setFocusPolicy(Qt::NoFocus);
    for (QToolButton* b : {btnBack_, btnNext_}) b->installEventFilter(this);
    connect(btnBack_, &QToolButton::clicked, this, [this] { guarded([this] { btnBackClick(); }); });
    connect(btnNext_, &QToolButton::clicked, this, [this] { guarded([this] { btnNextClick(); }); });

    rgpTitle_ = new TRadioGroup(client);
    rgpTitle_->setObjectName("rgpTitle");
    rgpTitle_->setGeometry(16, 88, 217, 241);
    rgpTitle_->setStyleSheet(kBlackRadioGroupStyle);
    rgpTitle_->setLayoutMetrics(6, 8, 23);
    connect(rgpTitle_, &TRadioGroup::clicked, this, [this](int index) {
        pager_.select(index);
        guarded([this] { rgpTitleClick(); });
    });

    auto* infoBox = new TShape(TShape::Kind::RoundRect, client);
    infoBox->setObjectName("Shape1");
    infoBox->setGeometry(16, 336, 217, 94);
    infoBox->setBrushColor(QColor(0, 0, 64));
    infoBox->setPenColor(kSilver);
    // The information box shows whole glyphs only: what does not fit its place ends in "…".
    auto infoLabel = [client](const char* name, QRect geometry, const QFont& font, const QColor& colour,
                              int lines) {
        auto* l = new TElidedLabel(client, lines);
        l->setObjectName(name);
        l->setFont(font);
        setTextColor(l, colour);
        l->setGeometry(geometry);
        return l;
    };
    lblTitle_ = infoLabel("lblTitle", QRect(24, 344, 201, 16), pixelFont("MS UI Gothic", 12, true),
                          Qt::white, 1);
    lblCount_ = placeLabel(client, "", 24, 360, pixelFont("MS UI Gothic", 12), kSilver, "lblCount");
    lblMaker_ = infoLabel("lblMaker", QRect(kMakerLeft, 360, kInfoRight - kMakerLeft, 16),
                          pixelFont("MS UI Gothic", 12), kSilver, 1);
    lblExpress_ = infoLabel("lblExpress", QRect(24, 376, 201, 49), pixelFont("MS UI Gothic", 12),
                            Qt::cyan, 3);

    auto* bevel = new QFrame(client);
    bevel->setObjectName("Bevel1");
    bevel->setFrameShape(QFrame::VLine);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(263, 0, 3, 449);

    placeLabel(client, "※ﾕｰｻﾞ名を選択して下さい...", 280, 16, pixelFont("MS UI Gothic", 11),
              kSilver, "lblHint");
    cmbUser_ = new UserBox(client);
    cmbUser_->setObjectName("cmbUser");
    cmbUser_->setGeometry(280, 32, 169, 22);
    cmbUser_->setFont(pixelFont("MS UI Gothic", 13));
    cmbUser_->setStyleSheet(
        "QComboBox { background: black; color: silver; border: 1px solid gray; padding-left: 3px;"
        " combobox-popup: 0; }"
        "QComboBox QAbstractItemView { background: black; color: silver; "
        "selection-background-color: navy; }");
    cmbUser_->installEventFilter(this);
    connect(cmbUser_, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(users_.items.size()))
            users_.current = users_.items[static_cast<std::size_t>(index)];
    });

    for (int k = 1; k <= 10; ++k) {
        const Entry& e = kEntries[k];
        auto* bar = new TShape(TShape::Kind::Rectangle, client);
        bar->setObjectName(QString("Shape%1").arg(k + 1));
        bar->setGeometry(280, e.barTop, 169, 16);
        bar->setBrushColor(Qt::black);
        bar->setPenColor(e.normal);
        bar->setCursor(Qt::PointingHandCursor);
        bar->setMouseTracking(true);
        bar->installEventFilter(this);
        bars_[k] = bar;

        auto* label = new QLabel(e.caption, client);
        label->setObjectName(QString("Label%1").arg(k + 2));
        label->setFont(pixelFont("Century Gothic", 27));
        label->setAlignment(Qt::AlignCenter);
        label->setGeometry(282, e.labelTop, 165, 33);
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->setCursor(Qt::PointingHandCursor);
        label->setMouseTracking(true);
        label->installEventFilter(this);
        setTextColor(label, e.normal);
        label->setProperty("textColor", e.normal);
        labels_[k] = label;

        auto* circle = new TShape(TShape::Kind::Circle, client);
        circle->setObjectName(QString("Shape%1").arg(k + 11));
        circle->setGeometry(256, e.circleTop, 18, 18);
        circle->setBrushColor(Qt::black);
        circle->setPenColor(kMaroon);
        circles_[k] = circle;
        auto* letter = placeLabel(client, e.key, 261, e.circleTop + 2, pixelFont("Arial", 12),
                                 Qt::white, k == 1 ? "Label1" : "");
        if (k > 1) letter->setObjectName(QString("Label%1").arg(k + 11));
        letter->setGeometry(256, e.circleTop + 2, 18, 14);
        letter->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
    // The menu item of the invader entry is named after the game's working title.
    labels_[entryNumber(MenuEntry::Invader)]->setProperty("command", "TP Invader");

    adjustSize();
    setFixedSize(sizeHint());
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

void TMainForm::buildMenu() {
    auto add = [this](QMenu* menu, const char* name, const char* caption,
                      const QKeySequence& key) {
        auto* a = menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(name);
        a->setShortcut(key);
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
        return a;
    };
    auto dispatch = [this](QAction* a) {
        connect(a, &QAction::triggered, this, [this, a] { mnuPracticeClick(a); });
    };
    QMenu* m = menuBar()->addMenu("ﾒﾆｭｰ(&M)");
    dispatch(add(m, "mnuPractice", "ｹﾞｰﾑ開始(&S)", QKeySequence("Ctrl+S")));
    dispatch(add(m, "mnuRecord", "記録を見る(&R)", QKeySequence("Ctrl+R")));
    auto* weakKeys = add(m, "mnuWeakKeys", "苦手ｷｰ分析(&K)", QKeySequence("Ctrl+K"));
    connect(weakKeys, &QAction::triggered, this, [this] { mnuWeakKeysClick(); });
    auto* calendar = add(m, "mnuCalendar", "練習ｶﾚﾝﾀﾞｰ(&D)", QKeySequence("Ctrl+D"));
    connect(calendar, &QAction::triggered, this, [this] { mnuCalendarClick(); });
    m->addSeparator();
    auto* quit = add(m, "mnuQuit", "ｹﾞｰﾑ終了(&E)", QKeySequence("Ctrl+E"));
    connect(quit, &QAction::triggered, this, &QWidget::close);

    m = menuBar()->addMenu("ｹﾞｰﾑﾓｰﾄﾞ(&G)");
    dispatch(add(m, "mnuTP_Invader", "ﾀｲﾋﾟﾝｸﾞ ｲﾝﾍﾞｰﾀﾞｰ(&V)", QKeySequence("Ctrl+V")));
    dispatch(add(m, "mnuReflection", "反射神経測定ﾓｰﾄﾞ(&F)", QKeySequence("Ctrl+F")));
    dispatch(add(m, "mnuTenkey", "ﾃﾝｷｰﾓｰﾄﾞ(&T)", QKeySequence("Ctrl+T")));

    m = menuBar()->addMenu("ｼｽﾃﾑ(&S)");
    dispatch(add(m, "mnuUser_Regist", "ﾕｰｻﾞｰ登録(&U)", QKeySequence("Ctrl+U")));
    dispatch(add(m, "mnuSetting", "ﾕｰｻﾞｰ詳細設定(&S)", QKeySequence("Ctrl+N")));
    dispatch(add(m, "mnuTP_Maker", "ﾀｲﾋﾟﾝｸﾞ問題集作成ｴﾃﾞｨﾀ(&M)", QKeySequence("Ctrl+M")));

    m = menuBar()->addMenu("ﾍﾟｰｼﾞ(&P)");
    mnuBack_ = add(m, "mnuBack", "問題ﾘｽﾄ前ﾍﾟｰｼﾞへ(&B)", QKeySequence(Qt::Key_Left));
    mnuNext_ = add(m, "mnuNext", "問題ﾘｽﾄ次ﾍﾟｰｼﾞへ(&N)", QKeySequence(Qt::Key_Right));
    m->addSeparator();
    auto* up = add(m, "mnuUp", "候補上へ(&U)", QKeySequence(Qt::Key_Up));
    auto* down = add(m, "mnuDown", "候補下へ(&D)", QKeySequence(Qt::Key_Down));
    connect(mnuBack_, &QAction::triggered, this, [this] { guarded([this] { mnuBackClick(); }); });
    connect(mnuNext_, &QAction::triggered, this, [this] { guarded([this] { mnuNextClick(); }); });
    connect(up, &QAction::triggered, this, [this] { guarded([this] { mnuUpClick(); }); });
    connect(down, &QAction::triggered, this, [this] { guarded([this] { mnuDownClick(); }); });

    m = menuBar()->addMenu("ﾍﾙﾌﾟ(&H)");
    auto* about = add(m, "mnuAbout", "このｿﾌﾄについて(&A)", QKeySequence("Ctrl+A"));
    connect(about, &QAction::triggered, this, [this] { mnuAboutClick(); });
    dispatch(add(m, "mnuHelp", "ﾍﾙﾌﾟ(&H)", QKeySequence("Ctrl+H")));
}

void TMainForm::FormCreate() {
    pager_ = TitlePager(paths().setTitles());
    showPage();
    if (pager_.selected() >= 0) guarded([this] { rgpTitleClick(); });

    guarded([this] {
        std::string listFile = paths().userList();
        if (!fileExists(listFile)) {
            std::string name = askFirstUser(dialogs_);
            UserList first;
            first.items = {name};
            first.current = name;
            // Another program may have started the list while the prompt was open.
            updateFile(listFile, [&](const std::optional<std::string>& now) {
                return now && !now->empty() ? first.mergedSaveText(now) : joinLinesCrLf({name});
            });
        }
        loadUserList();
    });
}

void TMainForm::loadUserList() {
    const std::string listFile = paths().userList();
    users_.load(loadStringFromFile(listFile, Links::Refuse));
    cmbUser_->clear();
    for (const auto& name : users_.items) cmbUser_->addItem(fromCp932(name));
    int index = -1;
    for (std::size_t i = 0; i < users_.items.size(); ++i)
        if (sameTextIgnoreCase(users_.items[i], users_.current)) {
            index = static_cast<int>(i);
            break;
        }
    cmbUser_->setCurrentIndex(index);
    if (!users_.skipped.empty()) dialogs_.message(skippedUsersMessage(users_, listFile));
}

std::string TMainForm::currentUser() const { return users_.current; }

void TMainForm::showPage() {
    QStringList items;
    for (const auto& t : pager_.items()) items << fromCp932(t);
    rgpTitle_->setItems(items);
    rgpTitle_->setItemIndex(pager_.selected());
    lblPages_->setText(QString::fromStdString(pager_.pageLabel()));
    lblPages_->adjustSize();
    btnBack_->setEnabled(pager_.backEnabled());
    btnNext_->setEnabled(pager_.nextEnabled());
}

void TMainForm::rgpTitleClick() {
    std::string title = pager_.selectedTitle();
    if (pager_.selected() < 0) return;
    SetLines.clear();
    PlainReadings = false;
    lblTitle_->setText(fromCp932(title));
    lblCount_->setText("問題数 : 0");
    placeCount();
    lblExpress_->clear();
    lblMaker_->setText("制作者 : ");
    SetLines = loadProblemSet(paths().setFile(title));
    lblCount_->setText(QString("問題数 : %1").arg(questionCount(SetLines)));
    placeCount();
    // An empty file has no header: it shows no description or author.
    SetHeader header = parseHeader(SetLines.empty() ? std::string() : SetLines.front());
    lblExpress_->setText(fromCp932(header.description));
    PlainReadings = header.plainReadings;
    lblMaker_->setText("制作者 : " + fromCp932(header.author));
}

void TMainForm::selectTitle(const std::string& cp932Title) {
    pager_.selectTitle(cp932Title);
    showPage();
    rgpTitleClick();
}

bool TMainForm::selectUser(const std::string& cp932User) {
    for (std::size_t i = 0; i < users_.items.size(); ++i)
        if (users_.items[i] == cp932User) {
            cmbUser_->setCurrentIndex(static_cast<int>(i));
            users_.current = users_.items[i];
            return true;
        }
    return false;
}

void TMainForm::mnuWeakKeysClick() {
    guarded([this] {
        if (users_.contains(currentUser()) && weakKeysFor(currentUser())) entryClick(MenuEntry::Practice);
    });
}

void TMainForm::mnuCalendarClick() {
    guarded([this] {
        if (showCalendar && users_.contains(currentUser())) showCalendar(currentUser());
    });
}

void TMainForm::placeCount() {
    // The count is never cut: a long one pushes the author to the right.
    lblCount_->adjustSize();
    const int left = std::max(kMakerLeft, lblCount_->geometry().right() + 7);
    lblMaker_->setGeometry(left, lblMaker_->y(), std::max(0, kInfoRight - left), lblMaker_->height());
}

void TMainForm::showSelectedTitle() {
    if (pager_.selected() >= 0) lblTitle_->setText(fromCp932(pager_.selectedTitle()));
}

void TMainForm::btnNextClick() {
    if (pager_.next()) {
        showPage();
        rgpTitleClick();
    } else {
        showPage();
    }
}

void TMainForm::btnBackClick() {
    if (pager_.back()) {
        showPage();
        rgpTitleClick();
    } else {
        showPage();
    }
}

void TMainForm::mnuNextClick() {
    if (btnNext_->isEnabled()) btnNextClick();
}

void TMainForm::mnuBackClick() {
    if (btnBack_->isEnabled()) btnBackClick();
}

void TMainForm::mnuUpClick() {
    if (pager_.up()) {
        rgpTitle_->setItemIndex(pager_.selected());
        rgpTitleClick();
    }
}

void TMainForm::mnuDownClick() {
    if (pager_.down()) {
        rgpTitle_->setItemIndex(pager_.selected());
        rgpTitleClick();
    }
}

void TMainForm::mnuPracticeClick(QAction* sender) {
    QString text = sender->objectName().mid(3);
    int underscore = text.indexOf('_');
    if (underscore >= 0) text[underscore] = ' ';
    for (MenuEntry e : kMenuEntries) {
        QLabel* label = labels_[entryNumber(e)];
        if (label->text() == text || label->property("command").toString() == text) entryClick(e);
    }
}

void TMainForm::setEntryAction(MenuEntry entry, std::function<void()> action) {
    entryActions_[static_cast<std::size_t>(entryNumber(entry))] = std::move(action);
}

void TMainForm::entryClick(MenuEntry entry) {
    guarded([this, entry] {
        switch (entry) {
            case MenuEntry::Practice:
                if (pager_.selected() < 0) {
                    dialogs_.message("リストが選択されておりません！");
                    return;
                }
                if (startPractice) startPractice();
                return;
            case MenuEntry::Quit:
                close();
                return;
            case MenuEntry::Help:
                context_.Helper(HelpContext::MainMenu);
                return;
            case MenuEntry::UserRegist:
                registerUserClick();
                return;
            default:
                if (const auto& action = entryActions_[static_cast<std::size_t>(entryNumber(entry))]) action();
        }
    });
}

void TMainForm::registerUserClick() {
    if (registerUser(users_, dialogs_)) cmbUser_->addItem(fromCp932(users_.items.back()));
}

void TMainForm::mnuAboutClick() {
    TAbout about(context_);
    about.exec();
}

int TMainForm::highlighted() const {
    for (int k = 1; k <= 10; ++k)
        if (labels_[k]->property("textColor").value<QColor>() != kEntries[k].normal) return k;
    return 0;
}

void TMainForm::FormMouseMove() {
    for (int k = 1; k <= 10; ++k) {
        if (labels_[k]->property("textColor").value<QColor>() != kEntries[k].normal) {
            setTextColor(labels_[k], kEntries[k].normal);
            labels_[k]->setProperty("textColor", kEntries[k].normal);
        }
        bars_[k]->setPenColor(kEntries[k].normal);
        circles_[k]->setPenColor(kMaroon);
    }
}

void TMainForm::Shape2MouseMove(QObject* sender) {
    int k = 0;
    bool isLabel = false;
    for (int i = 1; i <= 10; ++i) {
        if (sender == labels_[i]) {
            k = i;
            isLabel = true;
        } else if (sender == bars_[i]) {
            k = i;
        }
    }
    if (k == 0) return;
    if (isLabel) {
        QColor shown = labels_[k]->property("textColor").value<QColor>();
        bool normal = false;
        for (int i = 1; i <= 10; ++i) normal = normal || shown == kEntries[i].normal;
        if (!normal) return;  // already highlighted
    }
    FormMouseMove();
    setTextColor(labels_[k], kEntries[k].highlight);
    labels_[k]->setProperty("textColor", kEntries[k].highlight);
    circles_[k]->setPenColor(Qt::red);
}

// The page buttons draw their own arrows: white when usable, dark grey when not.
static void paintPageButton(QToolButton* b) {
    QPainter p(b);
    p.setRenderHint(QPainter::Antialiasing);
    const bool on = b->isEnabled();
    p.fillRect(b->rect(), b->isDown() ? QColor(0x50, 0x50, 0x50) : QColor(0x20, 0x20, 0x20));
    p.setPen(on ? QColor(0x80, 0x80, 0x80) : QColor(0x30, 0x30, 0x30));
    p.drawRect(b->rect().adjusted(0, 0, -1, -1));
    const QPointF c = QRectF(b->rect()).center();
    const qreal d = b->arrowType() == Qt::LeftArrow ? -1 : 1;
    QPolygonF arrow{{c.x() + 4 * d, c.y()}, {c.x() - 3 * d, c.y() - 6}, {c.x() - 3 * d, c.y() + 6}};
    p.setPen(Qt::NoPen);
    p.setBrush(on ? QColor(Qt::white) : QColor(0x40, 0x40, 0x40));
    p.drawPolygon(arrow);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && (watched == btnBack_ || watched == btnNext_)) {
        paintPageButton(static_cast<QToolButton*>(watched));
        return true;
    }
    if (watched == cmbUser_) {
        // The user is chosen from the list only; typed characters are discarded.
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (!key->text().isEmpty() && key->text().at(0).isPrint()) return true;
        }
        return false;
    }
    if (event->type() == QEvent::MouseMove) {
        if (watched == centralWidget()) {
            FormMouseMove();
        } else {
            Shape2MouseMove(watched);
            return true;  // the label handled it; the background must not clear it again
        }
    } else if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            for (int k = 1; k <= 10; ++k)
                if (watched == labels_[k] || watched == bars_[k]) {
                    entryClick(static_cast<MenuEntry>(k));
                    return true;
                }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) context_.playerloop("op");
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // While the settings window is open this window is not usable, closing included.
    if (!isEnabled()) {
        event->ignore();
        return;
    }
    context_.player("no");
    int index = cmbUser_->currentIndex();
    if (index >= 0 && index < static_cast<int>(users_.items.size()))
        users_.current = users_.items[static_cast<std::size_t>(index)];
    try {
        updateFile(paths().userList(), [this](const std::optional<std::string>& now) {
            return users_.mergedSaveText(now);
        });
    } catch (const FileBusyError& e) {
        // Another program holds the list: nothing is lost while this window stays open, and
        // closing it again tries once more.
        dialogs_.message(e.what());
        event->ignore();
        return;
    } catch (const std::exception& e) {
        dialogs_.message(e.what());
    }
    context_.closeHelp();
    event->accept();
}

}  // namespace keyrook
