// The main menu window: the problem-set list, the current user, and the entries that open every
// other mode. It also holds the state other windows read back (the paths, SetLines, PlainReadings).
#pragma once

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/title_pager.h"
#include "app/user_list.h"
#include "base/paths.h"
#include "base/services.h"

class QAction;
class QComboBox;
class QLabel;
class QToolButton;

namespace keyrook {

class TRadioGroup;
class TShape;
class HelpWindow;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // The creation handler runs inside the constructor.
    TMainForm(Paths paths, Sounds& sounds, Dialogs& dialogs, QWidget* parent = nullptr);
    ~TMainForm() override;

    // State read by the other windows.
    const Paths& paths() const { return paths_; }
    std::vector<std::string> SetLines;  // CP932 lines of the selected set, header first
    bool PlainReadings = false;

    std::string currentUser() const;  // CP932
    const UserList& users() const { return users_; }
    const TitlePager& pager() const { return pager_; }
    std::string userFile(const std::string& extension) const;  // the current user's

    // Services.
    void player(const std::string& name) { sounds_.play(name); }
    void playerloop(const std::string& name) { sounds_.playLoop(name); }
    void Beeping() { sounds_.play("beep"); }
    void Helper(int context);
    Sounds& sounds() { return sounds_; }
    Dialogs& dialogs() { return dialogs_; }
    // Runs a command of any window; a file error is shown in a message box and the command is
    // abandoned.
    void guarded(const std::function<void()>& f);

    // Handlers.
    void rgpTitleClick();
    // Puts the selected title back into lblTitle (a settings load may have written another).
    void showSelectedTitle();
    void btnNextClick();
    void btnBackClick();
    void mnuNextClick();
    void mnuBackClick();
    void mnuUpClick();
    void mnuDownClick();
    void mnuPracticeClick(QAction* sender);
    void entryClick(int k);  // Label(k+2)Click, k = 1..10
    void mnuAboutClick();

    // Entry actions that windows of later features provide; an entry without one does nothing.
    std::array<std::function<void()>, 11> entryActions;
    // "Practice" past the selection check (hiding this window and opening the typing window).
    std::function<void()> startPractice;
    // "苦手ｷｰ分析" for a user; true when the player asked for the weak-key practice, whose set
    // is then the selected title.
    std::function<bool(const std::string& cp932User)> openWeakKeys;
    void mnuWeakKeysClick();  // ﾒﾆｭｰ > 苦手ｷｰ分析 (Ctrl+K): for the current user
    // "練習ｶﾚﾝﾀﾞｰ" for a user.
    std::function<void(const std::string& cp932User)> showCalendar;
    void mnuCalendarClick();  // ﾒﾆｭｰ > 練習ｶﾚﾝﾀﾞｰ (Ctrl+D): for the current user
    // Selects a title (adding it to the list when it is new) and loads it.
    void selectTitle(const std::string& cp932Title);
    // Selects a registered user in cmbUser, as the player does; false when none has the name.
    bool selectUser(const std::string& cp932User);

    // Index of the highlighted entry (1..10), 0 when none; for tests and painting.
    int highlighted() const;
    QLabel* entryLabel(int k) const { return labels_[k]; }
    TShape* entryBar(int k) const { return bars_[k]; }
    TShape* entryCircle(int k) const { return circles_[k]; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void buildWindow();
    void buildMenu();
    void showPage();
    void placeCount();
    void FormMouseMove();
    void Shape2MouseMove(QObject* sender);
    void loadUserList();
    void registerUserClick();

    Paths paths_;
    Sounds& sounds_;
    Dialogs& dialogs_;
    TitlePager pager_;
    UserList users_;

    QComboBox* cmbUser_ = nullptr;
    TRadioGroup* rgpTitle_ = nullptr;
    QLabel* lblPages_ = nullptr;
    QLabel* lblTitle_ = nullptr;
    QLabel* lblCount_ = nullptr;
    QLabel* lblMaker_ = nullptr;
    QLabel* lblExpress_ = nullptr;
    QToolButton* btnBack_ = nullptr;
    QToolButton* btnNext_ = nullptr;
    QAction* mnuBack_ = nullptr;
    QAction* mnuNext_ = nullptr;
    std::array<QLabel*, 11> labels_{};
    std::array<TShape*, 11> bars_{};
    std::array<TShape*, 11> circles_{};
    QPointer<HelpWindow> help_;
};

}  // namespace keyrook
