// The typing window: shows what the typing engine reports and feeds it keys, commands and
// timer ticks.
#pragma once

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

#include "base/services.h"
#include "typing/invader_rules.h"
#include "typing/key_guide.h"
#include "typing/typing_engine.h"
#include "widgets/command_table.h"

class QAction;
class QLabel;
class QTimer;
class QToolButton;

namespace keyrook {

class QtTimers;
class AppContext;
class TShape;
class TProgressBarREX;
class TKeyGuide;

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

    // Whether the keyboard guide is switched on (the settings window's "ｷｰﾎﾞｰﾄﾞｶﾞｲﾄﾞ").
    std::function<bool()> guideWanted;
    // Runs the main window's "Setting" entry (F4).
    std::function<void()> openSettings;
    // The question rows changed (the result dialog's list follows them).
    std::function<void()> onRowsChanged;

    QLabel* label(const char* name) const;
    // The keyboard guide; null until the option was first on while the window was shown.
    TKeyGuide* guide() const { return guide_; }
    // Repaints what the engine changed; the window calls it after every event.
    void render();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void buildCommands();
    void buildPowerPanel();
    void run(const std::function<void()>& f);
    // The guide shown (and the window made taller) while the option is on and the session is
    // no invader session; made on first use, so a window without it is the plain window.
    void updateGuide();
    void refreshGuide();
    // Centred as the engine says while the romaji fits; from its start (the next character)
    // while it is wider than the label.
    void alignTyping();
    // The question line the same way: while wider than its label it shows the part that
    // matches how far the romaji is typed, a few characters before it included.
    void scrollQuestion();
    // The window's colour (black, red in a miss's flash). Only what shows it is drawn again
    // when it changes: the background and what stands on it, not the frames' insides, the
    // command bar or the guide.
    void showColour(const QColor& colour);

    AppContext& app_;
    Clock& clock_;
    std::unique_ptr<QtTimers> ownTimers_;
    std::unique_ptr<TypingEngine> engine_;
    QWidget* client_ = nullptr;
    QColor clientColour_{Qt::black};
    QWidget* commandBar_ = nullptr;
    std::array<TShape*, 2> frames_{};
    // The last key the typing area got came composed by an input method (full-width): one
    // still composes for this window, whatever the area asks of it. A plain key clears it.
    bool composed_ = false;
    QLabel *lblScore_, *lblCombo_, *lblMaxCombo_, *lblMiss_, *lblBonusUp_, *lblMondai_, *lblYomi_,
        *lblQuestion_, *lblTyping_, *lblStart_, *lblNext_, *lblTitle_, *lblTitle2_;
    QWidget* pnlPower_ = nullptr;
    TProgressBarREX* LimitBar_ = nullptr;
    TProgressBarREX* PowerBar_ = nullptr;
    std::array<QLabel*, 3> lamps_{};
    std::array<QLabel*, 3> lampBars_{};
    InvaderGame invader_;
    TKeyGuide* guide_ = nullptr;
    QTimer* paceTimer_ = nullptr;
    LivePace pace_;
    QString questionText_;      // the whole question line
    int questionAdvance_ = -1;  // its width in the label's font; -1 until measured
    std::size_t romajiTotal_ = 0;  // romaji of the question when it appeared
    // The commands the engine enables and disables.
    CommandControls start_, stop_, roman_, setting_, quit_;
};

}  // namespace keyrook
