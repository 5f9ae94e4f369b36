// The ten-key drill window "ﾃﾝｷｰﾓｰﾄﾞ": a keypad picture whose keys light up, the digits still
// to type, the counters, and the four commands. It feeds keypad digits, commands and timer
// ticks to TenkeyEngine and repaints what the engine reports.
#pragma once

#include <QDialog>

#include <array>
#include <functional>
#include <memory>

#include "base/services.h"
#include "tenkey/tenkey_engine.h"

class QLabel;
class QPlainTextEdit;
class QToolButton;

namespace keyrook {

class QtTimers;
class AppContext;

class TTenkey : public QDialog {
    Q_OBJECT
public:
    // timers may be null: the window then runs its own Qt timers. The record file is the
    // current user's .tnk file.
    TTenkey(AppContext& app, Random& random, Timers* timers = nullptr, QWidget* parent = nullptr);
    ~TTenkey() override;

    TenkeyEngine& engine() { return *engine_; }

    // The main menu's steps before showing: "no", then the best count on file into lblHigh.
    void openFromMenu();
    // A timer of the engine fired (the Qt timers call this themselves).
    void timerFired(const std::string& name);

    void btnStartClick();
    void btnQuitClick();
    void btnBackMenuClick();
    void btnHelpClick();

    QLabel* digitLabel(int digit) const { return lblDigits_[static_cast<std::size_t>(digit)]; }
    QPlainTextEdit* display() const { return lbl_; }
    void render();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void buildKeypad();
    void buildCommands();
    void run(const std::function<void()>& f);

    AppContext& app_;
    std::unique_ptr<QtTimers> ownTimers_;
    std::unique_ptr<TenkeyEngine> engine_;
    std::array<QLabel*, 10> lblDigits_{};
    QPlainTextEdit* lbl_ = nullptr;
    QLabel* lblHigh_ = nullptr;
    QLabel* lblTypeCount_ = nullptr;
    QLabel* lblRestTime_ = nullptr;
    QToolButton* btnStart_ = nullptr;
    bool closed_ = false;
};

// The main menu's "Tenkey" entry: makes the drill, plays "no", shows the best count on file,
// runs the drill modally and destroys it.
void openTenkey(AppContext& app);

}  // namespace keyrook
