// The maker window's suggested readings: "読みを補完" (menu, tool bar, Ctrl+R) and
// "解析結果を採用" for a difference in the error list (menu and the list's context menu). The
// rules are MakerEngine's; without MeCab's dictionary both commands are off and say why.
#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

#include "problemsets/maker_engine.h"

class QAction;
class QListWidget;
class QIcon;
class QMenu;
class QToolButton;
class QsciScintilla;

namespace keyrook {

// Lines of a Scintilla editor replaced (or appended) as one undo step.
void replaceEditorLines(QsciScintilla& editor, const std::vector<LineEdit>& edits);

class MakerReadingCommands : public QObject {
public:
    // run carries out a command of the engine and shows the window afterwards; status shows
    // the status bar.
    MakerReadingCommands(QWidget* window, MakerEngine& engine, QsciScintilla* editor, QListWidget* lstError,
                         std::function<void(const std::function<void()>&)> run, std::function<void()> status);
    ~MakerReadingCommands() override;

    // The tool-bar button btnFillReadings at the end of the bar's row, and the menu items
    // mnuFillReadings (its twin) and mnuAcceptReading at the end of the edit menu.
    void install(QWidget* toolBar, QMenu* editMenu, const QIcon& icon);

    void fillReadings();
    void acceptSuggestion();

private:
    MakerEngine& engine_;
    QsciScintilla* editor_;
    QListWidget* lstError_;
    std::function<void(const std::function<void()>&)> run_;
    std::unique_ptr<ReadingSuggester> suggester_;
    QAction* fill_ = nullptr;
    QAction* accept_ = nullptr;
};

}  // namespace keyrook
