// The reflex game window "反射神経モード": shows what the reflex engine reports on the keyboard
// picture and feeds it character keys, F1 to F4 and timer ticks. Created once at start-up and
// shown by the level picker.
#pragma once

#include <QPixmap>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "base/services.h"
#include "reflex/reflex_engine.h"
#include "widgets/keyboard_picture.h"

class QLabel;
class QPushButton;

namespace keyrook {

class QtTimers;
class AppContext;
class TRefFin;

class TReflection : public QWidget {
    Q_OBJECT
public:
    // timers may be null: the window then runs its own Qt timers.
    TReflection(AppContext& app, Clock& clock, Random& random, Timers* timers = nullptr,
                QWidget* parent = nullptr);
    ~TReflection() override;

    ReflexEngine& engine() { return *engine_; }

    // Hand-over from the level picker: level 1..6, its icon and its three caption lines (CP932).
    void setLevel(int level, const QPixmap& icon, std::array<std::string, 3> captions);

    void btnStartClick();     // F1
    void btnQuitClick();      // F2
    void btnBackMenuClick();  // F3
    void btnHelpClick();      // F4

    // A named timer fired (the window's own timers call it; tests with fake timers do too).
    void timerFired(const std::string& name);
    // Called with the result dialog once it is set up, to show it; runs it modally by default.
    std::function<void(TRefFin&)> execResult;

    QLabel* label(const char* name) const;
    QPushButton* button(const char* name) const;
    const KeyboardPicture& keyboard() const { return keyboard_; }
    void render();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void buildCommands();
    void FinalGame(const ReflexResult& result);
    void run(const std::function<void()>& f);

    AppContext& app_;
    std::unique_ptr<QtTimers> ownTimers_;
    std::unique_ptr<ReflexEngine> engine_;
    KeyboardPicture keyboard_;
    std::array<QLabel*, 6> status_{};  // lblScore, lblHits, lblTotal, lblMiss, lblTime, lblAv
    QLabel* levelImage_ = nullptr;
    QPixmap levelPicture_;
};

}  // namespace keyrook
