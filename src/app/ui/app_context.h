// What a window is handed when it is made: the program's services (paths, sounds, dialogs,
// help, the error guard) and the main window's state it reads back (the current user, the
// selected set). Only src/app/ knows the main window itself; every other window reaches it
// through this context.
#pragma once

#include <QPointer>

#include <functional>
#include <string>
#include <vector>

#include "base/paths.h"
#include "base/services.h"

class QWidget;

namespace keyrook {

class HelpWindow;

// The entries of the main menu, numbered as on the window (Label3..Label12 are entries 1..10).
enum class MenuEntry {
    Practice = 1,
    Quit,
    Record,
    Invader,
    Reflection,
    Tenkey,
    Help,
    UserRegist,
    Setting,
    Maker,
};
inline constexpr MenuEntry kMenuEntries[] = {
    MenuEntry::Practice,   MenuEntry::Quit,   MenuEntry::Record, MenuEntry::Invader,
    MenuEntry::Reflection, MenuEntry::Tenkey, MenuEntry::Help,   MenuEntry::UserRegist,
    MenuEntry::Setting,    MenuEntry::Maker,
};
constexpr int entryNumber(MenuEntry e) { return static_cast<int>(e); }

// The topics of help.hlp that the windows open; the numbers are the file's "@topic" numbers.
enum class HelpContext {
    MainMenu = 1,  // the main menu and the typing practice
    Maker = 6,
    Reflection = 10,
    Tenkey = 11,
    Result = 12,
    Record = 14,  // the record viewer and its graph
    Setting = 16,
    WeakKeys = 20,
    Calendar = 21,  // the practice calendar
};

// The main window's side of the context; TMainForm is its one implementation.
class MainMenuState {
public:
    // The window others centre on, hide, disable and return to.
    virtual QWidget& menuWindow() = 0;
    virtual std::string currentUser() const = 0;                     // CP932
    virtual const std::vector<std::string>& registeredUsers() const = 0;  // CP932
    // SetLines and PlainReadings of the selected set; the typing engine consumes SetLines in
    // place and refills it through reloadSet (the title selection, rgpTitleClick).
    virtual std::vector<std::string>& selectedSetLines() = 0;
    virtual const bool& selectedPlainReadings() const = 0;
    virtual void reloadSet() = 0;
    // Puts the selected title back into the information box (a settings load may have
    // written another).
    virtual void showSelectedTitle() = 0;
    virtual void openEntry(MenuEntry entry) = 0;
    // "苦手ｷｰ分析" for a user; true when the player asked for the weak-key practice.
    virtual bool weakKeysFor(const std::string& cp932User) = 0;

protected:
    ~MainMenuState() = default;
};

class AppContext {
public:
    AppContext(Paths paths, Sounds& sounds, Dialogs& dialogs, MainMenuState& mainMenu);
    ~AppContext();
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    const Paths& paths() const { return paths_; }
    Sounds& sounds() { return sounds_; }
    Dialogs& dialogs() { return dialogs_; }
    void player(const std::string& name) { sounds_.play(name); }
    void playerloop(const std::string& name) { sounds_.playLoop(name); }
    // Opens the help file at a topic, or says that the file is missing.
    void Helper(HelpContext context);
    void closeHelp();
    // Runs a command of any window; a file error is shown in a message box and the command is
    // abandoned.
    void guarded(const std::function<void()>& f);

    MainMenuState& mainMenu() { return main_; }
    QWidget& mainWindow() { return main_.menuWindow(); }
    std::string currentUser() const { return main_.currentUser(); }  // CP932
    // The current user's file with this extension.
    std::string userFile(const std::string& extension) const {
        return paths_.userFile(main_.currentUser(), extension);
    }

private:
    Paths paths_;
    Sounds& sounds_;
    Dialogs& dialogs_;
    MainMenuState& main_;
    QPointer<HelpWindow> help_;
};

}  // namespace keyrook
