// The typing window: shows what the typing engine reports and feeds it keys, commands and
// timer ticks.
#pragma once

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

#include "base/services.h"
#include "typing/invader_rules.h"
#include "typing/typing_engine.h"

class QAction;
class QLabel;
class QToolButton;

namespace keyrook {

class QtTimers;
class AppContext;
class TShape;
class TProgressBarREX;

class TTyping : public QMainWindow {
    Q_OBJECT
public:
    // timers may be null: the window then runs its own Qt timers.
    TTyping(AppContext& app, const TypingSettings& settings, Clock& clock, Random& random,
            Timers* timers = nullptr, QWidget* parent = nullptr);
    ~TTyping() override;

    TypingEngine& engine() { return *engine_; }
    InvaderGame& invader() { return invader_; }

    // Set-up by the main menu before a practice session.
    void setQuestionFont(const QFont& font, const QColor& color);
    void setTypingFont(const QFont& font, const QColor& color);
    void preparePractice(const std::string& cp932Title, const std::string& cp932User);

    // Runs the main window's "Setting" entry (F4).
    std::function<void()> openSettings;
    // The question rows changed (the result dialog's list follows them).
    std::function<void()> onRowsChanged;

    QLabel* label(const char* name) const;
    // Repaints what the engine changed; the window calls it after every event.
    void render();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void buildCommands();
    void buildPowerPanel();
    void run(const std::function<void()>& f);

    AppContext& app_;
    std::unique_ptr<QtTimers> ownTimers_;
    std::unique_ptr<TypingEngine> engine_;
    QWidget* client_ = nullptr;
    QLabel *lblScore_, *lblCombo_, *lblMaxCombo_, *lblMiss_, *lblBonusUp_, *lblMondai_, *lblYomi_,
        *lblQuestion_, *lblTyping_, *lblStart_, *lblNext_, *lblTitle_, *lblTitle2_;
    QWidget* pnlPower_ = nullptr;
    TProgressBarREX* LimitBar_ = nullptr;
    TProgressBarREX* PowerBar_ = nullptr;
    std::array<QLabel*, 3> lamps_{};
    std::array<QLabel*, 3> lampBars_{};
    InvaderGame invader_;
    struct Command {
        QToolButton* button;
        QAction* action;
    };
    Command start_{}, stop_{}, roman_{}, setting_{}, help_{}, quit_{}, menu_{};
};

}  // namespace keyrook
