// The main menu window: the problem-set list, the current user, and the entries that open every
// other mode. It holds the state other windows read back (SetLines, PlainReadings, cmbUser) and
// the application context they are handed.
#pragma once

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/ui/app_context.h"
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

class TMainForm : public QMainWindow, private MainMenuState {
    Q_OBJECT
public:
    // The creation handler runs inside the constructor.
    TMainForm(Paths paths, Sounds& sounds, Dialogs& dialogs, QWidget* parent = nullptr);
    ~TMainForm() override;

    // What every other window is handed.
    AppContext& context() { return context_; }

    // State read by the other windows.
    std::vector<std::string> SetLines;  // CP932 lines of the selected set, header first
    bool PlainReadings = false;

    std::string currentUser() const override;  // CP932
    const UserList& users() const { return users_; }
    const TitlePager& pager() const { return pager_; }
    // The information box's title, which the settings file stores.
    QLabel& titleLabel() const { return *lblTitle_; }

    // Handlers.
    void rgpTitleClick();
    // Puts the selected title back into lblTitle (a settings load may have written another).
    void showSelectedTitle() override;
    void btnNextClick();
    void btnBackClick();
    void mnuNextClick();
    void mnuBackClick();
    void mnuUpClick();
    void mnuDownClick();
    void mnuPracticeClick(QAction* sender);
    void entryClick(MenuEntry entry);  // Label(k+2)Click for entry k
    void mnuAboutClick();

    // Entry actions that windows of later features provide; an entry without one does nothing.
    void setEntryAction(MenuEntry entry, std::function<void()> action);
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

    // The highlighted entry's number (1..10), 0 when none; for tests and painting.
    int highlighted() const;
    QLabel* entryLabel(MenuEntry e) const { return labels_[entryNumber(e)]; }
    TShape* entryBar(MenuEntry e) const { return bars_[entryNumber(e)]; }
    TShape* entryCircle(MenuEntry e) const { return circles_[entryNumber(e)]; }

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
    void guarded(const std::function<void()>& f) { context_.guarded(f); }
    const Paths& paths() const { return context_.paths(); }

    // MainMenuState
    QWidget& menuWindow() override { return *this; }
    const std::vector<std::string>& registeredUsers() const override { return users_.items; }
    std::vector<std::string>& selectedSetLines() override { return SetLines; }
    const bool& selectedPlainReadings() const override { return PlainReadings; }
    void reloadSet() override { rgpTitleClick(); }
    void openEntry(MenuEntry entry) override { entryClick(entry); }
    bool weakKeysFor(const std::string& cp932User) override {
        return openWeakKeys && openWeakKeys(cp932User);
    }

    AppContext context_;
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
    std::array<std::function<void()>, 11> entryActions_;
};

}  // namespace keyrook
