#include "reflex/ref_fin_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "app/ui/app_context.h"
#include "reflex/ref_file.h"
#include "widgets/fixed_dialog.h"
#include "widgets/keyboard_picture.h"
#include "widgets/look.h"
#include "widgets/qt_services.h"
#include "widgets/shape.h"

namespace keyrook {

TRefFin::TRefFin(AppContext& app, QWidget* parent) : QDialog(parent), app_(app) {
    const QFont text =
        fixedDialog(this, "RefFin", "反射神経ﾓｰﾄﾞ結果", kDialogFrame, QSize(478, 199), Qt::white, 13);

    auto* icon = new QLabel(this);
    icon->setObjectName("LevelImage");
    icon->setGeometry(16, 12, 50, 50);
    placeLabel(this, "", 80, 12, text, Qt::white, "lbl01");
    placeLabel(this, "", 80, 30, text, Qt::white, "lbl02");
    placeLabel(this, "", 80, 48, text, Qt::white, "lbl03");

    auto* frame = new TShape(TShape::Kind::RoundRect, this);
    frame->setObjectName("Shape1");
    frame->setGeometry(16, 74, 446, 76);
    frame->setPenColor(Qt::red);
    frame->setBrushColor(Qt::black);
    placeLabel(this, "", 32, 82, text, Qt::white, "lblRate", 400);
    placeLabel(this, "", 32, 104, text, Qt::white, "lblAvRef", 400);
    placeLabel(this, "", 32, 126, text, Qt::white, "lblMiss", 400);

    // Both stamps sit at one place over the level lines; at most one shows.
    for (QLabel** img : {&imgClear_, &imgUnclear_}) {
        *img = new QLabel(this);
        (*img)->setGeometry(392, 2, 72, 73);
        (*img)->hide();
    }
    imgClear_->setObjectName("imgClear");
    // Drawn whole: its dark disc dims the ends of the long level lines beneath, so the word
    // reads over them (made translucent, neither the word nor the lines could be read).
    imgClear_->setPixmap(clearStamp());
    imgUnclear_->setObjectName("imgUnclear");
    imgUnclear_->setPixmap(unclearStamp());

    struct Button {
        const char* name;
        const char* caption;
        void (TRefFin::*handler)();
    } buttons[] = {{"brnOK", "&OK", &TRefFin::brnOKClick},
                   {"btnCancel", "&Cancel", &TRefFin::btnCancelClick},
                   {"btnHelp", "&Help", &TRefFin::btnHelpClick}};
    int left = 230;
    for (const Button& b : buttons) {
        auto* button =
            flatButton(this, b.name, b.caption, QRect(left, 162, 72, 25),
                       "QPushButton { color: white; background: black; border: 1px solid gray; }"
                       "QPushButton:hover { color: yellow; }");
        auto handler = b.handler;
        connect(button, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
        left += 78;
    }
    move(app_.mainWindow().frameGeometry().center() - rect().center());
}

QLabel* TRefFin::label(const char* name) const { return findChild<QLabel*>(name); }
QPushButton* TRefFin::button(const char* name) const { return findChild<QPushButton*>(name); }

void TRefFin::setResult(const ReflexResult& result, const QPixmap& levelIcon) {
    result_ = result;
    label("lblRate")->setText(fromCp932(result.lblRate));
    label("lblAvRef")->setText(fromCp932(result.lblAvRef));
    label("lblMiss")->setText(fromCp932(result.lblMiss));
    const char* lines[3] = {"lbl01", "lbl02", "lbl03"};
    for (std::size_t i = 0; i < 3; ++i) {
        QLabel* l = label(lines[i]);
        l->setText(fromCp932(result.levelLines[i]));
        l->adjustSize();
    }
    imgClear_->setVisible(result.cleared);
    imgUnclear_->setVisible(!result.cleared);
    imgClear_->raise();
    imgUnclear_->raise();
    label("LevelImage")->setPixmap(levelIcon);
}

void TRefFin::brnOKClick() {
    try {
        storeReflexRecord(app_.userFile(".ref"), result_.recordLine,
                          result_.level, result_.cleared);
    } catch (const std::exception& e) {
        app_.dialogs().message(e.what());  // the dialog stays open, the game can still be kept
        return;
    }
    accept();
}

void TRefFin::btnCancelClick() { reject(); }

void TRefFin::btnHelpClick() { app_.Helper(HelpContext::Reflection); }

}  // namespace keyrook
