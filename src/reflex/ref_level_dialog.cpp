#include "reflex/ref_level_dialog.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "app/ui/app_context.h"
#include "reflex/ref_file.h"
#include "reflex/reflection_window.h"
#include "reflex/reflex_levels.h"
#include "widgets/fixed_dialog.h"
#include "widgets/keyboard_picture.h"
#include "widgets/look.h"
#include "widgets/qt_services.h"

namespace keyrook {

TRefLevel::TRefLevel(AppContext& app, TReflection& game, QWidget* parent)
    : QDialog(parent), app_(app), game_(game) {
    const QFont text =
        fixedDialog(this, "RefLevel", "反射神経ﾓｰﾄﾞ", kDialogFrame, QSize(415, 456), kSilver, 12);

    // The mistype line starts under the figures of the condition line.
    const int indent = QFontMetrics(text).horizontalAdvance("到達条件 : ");
    const QPixmap stamp = clearStamp();
    for (int level = 1; level <= 6; ++level) {
        const int top = 16 + (level - 1) * 64;
        const auto i = static_cast<std::size_t>(level - 1);
        auto* icon = new QLabel(this);
        icon->setObjectName(QString("Level%1").arg(level));
        icon->setGeometry(16, top, 50, 50);
        icon->setPixmap(levelIcon(level));
        icon->setCursor(Qt::PointingHandCursor);
        icon->installEventFilter(this);
        icons_[i] = icon;

        const ReflexLevel& l = reflexLevel(level);
        const int lefts[3] = {76, 76, 76 + indent};
        for (int n = 1; n <= 3; ++n) {
            QLabel* lbl = placeLabel(this, fromCp932(l.lines[static_cast<std::size_t>(n - 1)]),
                                     lefts[n - 1], top + 2 + (n - 1) * 17, text, kSilver);
            lbl->setObjectName(QString("lbl%1%2").arg(level).arg(n));
        }
        auto* clear = new QLabel(this);
        clear->setObjectName(QString("Clear%1").arg(level));
        clear->setGeometry(58, top - 11, 72, 73);
        clear->setPixmap(stamp);  // one picture, shared by all six stamps
        clear->setAttribute(Qt::WA_TransparentForMouseEvents);
        clear->hide();
        stamps_[i] = clear;
    }

    auto* ornament = new QLabel(this);
    ornament->setObjectName("Image1");
    ornament->setGeometry(363, 408, 40, 40);
    ornament->setPixmap(pickerOrnament(40, 40));

    auto* rule = new QFrame(this);
    rule->setObjectName("Bevel1");
    rule->setGeometry(16, 404, 337, 2);
    rule->setFrameShape(QFrame::HLine);
    rule->setStyleSheet("QFrame { color: gray; }");

    struct Button {
        const char* name;
        const char* caption;
        int left;
        void (TRefLevel::*handler)();
    } buttons[] = {{"btnCancel", "&Cancel", 197, &TRefLevel::btnCancelClick},
                   {"btnHelp", "&Help", 277, &TRefLevel::btnHelpClick}};
    for (const Button& b : buttons) {
        auto* button =
            flatButton(this, b.name, b.caption, QRect(b.left, 418, 72, 25),
                       "QPushButton { color: silver; background: black; border: 1px solid gray; }"
                       "QPushButton:hover { color: white; }");
        auto handler = b.handler;
        connect(button, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    }
    move(app_.mainWindow().frameGeometry().center() - rect().center());
}

QLabel* TRefLevel::line(int level, int n) const {
    return findChild<QLabel*>(QString("lbl%1%2").arg(level).arg(n));
}

void TRefLevel::setClearMarks(const std::array<bool, 6>& cleared) {
    for (std::size_t i = 0; i < 6; ++i) {
        stamps_[i]->setVisible(cleared[i]);
        if (cleared[i]) stamps_[i]->raise();
    }
}

bool TRefLevel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        watched->objectName().startsWith("Level")) {
        Level1Click(watched);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TRefLevel::Level1Click(QObject* sender) {
    const int level = sender->objectName().mid(5).toInt();
    if (level < 1 || level > 6) return;
    accept();
    app_.mainWindow().hide();
    std::array<std::string, 3> captions;
    for (int n = 1; n <= 3; ++n)
        captions[static_cast<std::size_t>(n - 1)] = toCp932(line(level, n)->text()).value_or("");
    game_.setLevel(level, Level(level)->pixmap(), std::move(captions));
    game_.show();
    game_.raise();
    game_.activateWindow();
}

void TRefLevel::btnCancelClick() { reject(); }

void TRefLevel::btnHelpClick() { app_.Helper(HelpContext::Reflection); }

void openReflection(AppContext& app, TReflection& game) {
    TRefLevel picker(app, game);
    picker.setClearMarks(readClearMarks(app.userFile(".ref")));
    picker.exec();
}

}  // namespace keyrook
