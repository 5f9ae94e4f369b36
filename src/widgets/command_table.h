// A window's commands as one table: each a button and, where the window has a menu, a menu
// item with its function key, both running one handler. The window says how its buttons are
// made and where they stand; the table names them, places them and wires them.
#pragma once

#include <QKeySequence>
#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>
#include <initializer_list>
#include <vector>

class QAbstractButton;
class QAction;
class QMenu;
class QWidget;

namespace keyrook {

struct Command {
    const char* button;             // the button's object name
    const char* caption;            // its text (UTF-8), or the hint of a picture button
    std::function<void()> handler;
    QRect place = {};               // where it stands; empty: the table's next place
    const char* item = nullptr;     // the menu item's object name; no item when nullptr
    const char* itemCaption = nullptr;
    QKeySequence key = {};
    QMenu* menu = nullptr;          // the item's menu, when not the table's
};

// What the table made for one command.
struct CommandControls {
    QAbstractButton* button = nullptr;
    QAction* action = nullptr;
};

// Makes one button on the parent, looking as the window's buttons look, with the command's
// caption at the given place (an empty place: a layout places it). The table names it.
using MakeButton = std::function<QAbstractButton*(QWidget* parent, const Command& command,
                                                  const QRect& place)>;

struct CommandTable {
    MakeButton make;
    QRect first = {};  // the first place for commands without one of their own
    QPoint step = {};  // from one such place to the next
    QMenu* menu = nullptr;  // the items' menu; its window takes their keys
    // Runs a handler: the window's error guard, where it has one.
    std::function<void(const std::function<void()>&)> guard = {};
};

std::vector<CommandControls> addCommands(QWidget* parent, const CommandTable& table,
                                         std::initializer_list<Command> commands);

// How the stock button makers style a button.
struct ButtonLook {
    QString styleSheet;
    int fontPixels = 0;  // MS UI Gothic of this height; 0: the parent's font
    bool takesFocus = true;
    bool pointingCursor = false;
};
// A flat push button (flatButton), a flat button in a gray box (boxedButton; its own colours)
// and an auto-raised tool button.
MakeButton flatPushButtons(ButtonLook look);
MakeButton boxedPushButtons(ButtonLook look);
MakeButton raisedToolButtons(ButtonLook look);

}  // namespace keyrook
