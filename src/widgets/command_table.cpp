#include "widgets/command_table.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QWidget>

#include "widgets/look.h"

namespace keyrook {

std::vector<CommandControls> addCommands(QWidget* parent, const CommandTable& table,
                                         std::initializer_list<Command> commands) {
    std::vector<CommandControls> made;
    QRect next = table.first;
    for (const Command& c : commands) {
        QRect place = c.place;
        if (place.isEmpty()) {
            place = next;
            next.translate(table.step);
        }
        CommandControls controls;
        controls.button = table.make(parent, c, place);
        controls.button->setObjectName(c.button);
        auto run = [handler = c.handler, guard = table.guard] {
            if (guard)
                guard(handler);
            else
                handler();
        };
        QObject::connect(controls.button, &QAbstractButton::clicked, parent, run);
        if (QMenu* menu = c.menu ? c.menu : table.menu; menu && c.item)
            controls.action = addKeyCommand(parent->window(), menu, c.item, c.itemCaption, c.key, run);
        made.push_back(controls);
    }
    return made;
}

namespace {

QAbstractButton* styled(QAbstractButton* b, const ButtonLook& look) {
    if (look.fontPixels > 0) b->setFont(pixelFont("MS UI Gothic", look.fontPixels));
    if (!look.takesFocus) b->setFocusPolicy(Qt::NoFocus);
    if (look.pointingCursor) b->setCursor(Qt::PointingHandCursor);
    return b;
}

}  // namespace

MakeButton flatPushButtons(ButtonLook look) {
    return [look](QWidget* parent, const Command& c, const QRect& place) {
        return styled(flatButton(parent, c.button, QString::fromUtf8(c.caption), place, look.styleSheet),
                      look);
    };
}

MakeButton boxedPushButtons(ButtonLook look) {
    return [look](QWidget* parent, const Command& c, const QRect& place) {
        return styled(boxedButton(parent, c.button, QString::fromUtf8(c.caption), place), look);
    };
}

MakeButton raisedToolButtons(ButtonLook look) {
    return [look](QWidget* parent, const Command& c, const QRect& place) {
        auto* b = new QToolButton(parent);
        b->setText(QString::fromUtf8(c.caption));
        b->setAutoRaise(true);
        if (!look.styleSheet.isEmpty()) b->setStyleSheet(look.styleSheet);
        if (!place.isEmpty()) b->setGeometry(place);
        return styled(b, look);
    };
}

}  // namespace keyrook
