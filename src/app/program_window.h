// The long-lived windows of one run, created in their fixed order and wired to each other.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/paths.h"
#include "base/services.h"

class QObject;

namespace keyrook {

class TMainForm;
class TTyping;
class TFin;
class TSetting;
class TReflection;
class ForwardedSettings;
struct DateTime;

class ProgramWindows {
public:
    // When the windows after the main window are made: with it, or (for the program) when one
    // of them is first needed, so that the menu is on the screen sooner and a run that never
    // opens them never pays for them. Either way they are made in their fixed order, each
    // before anything uses it, with the settings of the user shown at start.
    enum class Start { Together, OnFirstUse };

    ProgramWindows(const Paths& paths, Sounds& sounds, Dialogs& dialogs, Clock& clock,
                   Random& random, Timers* typingTimers = nullptr, Start start = Start::Together);
    ~ProgramWindows();

    TMainForm& MainForm() { return *main_; }
    TTyping& Typing();
    TFin& Fin();
    TSetting& Setting();
    // Whether the windows after the main window exist yet.
    bool complete() const { return rest_ != nullptr; }
    // Called once, when the event loop turns after the main window's first paint (OnFirstUse).
    std::function<void()> afterFirstPaint;

    // "Practice" past its selection check.
    void startPractice();
    // "VA Zevuduz": the level picker, then the typing window in an invader session.
    void openInvader();
    void startInvader(int level);
    // The result procedure at the end of a practice session.
    void ViewResult();
    // "苦手ｷｰ分析" for a user, modal; true when the weak-key practice set was written and is
    // now the selected title.
    bool openWeakKeys(const std::string& cp932User);

    // The wall clock of the result dialog's date; tests fix it.
    std::function<DateTime()> now;

private:
    struct Rest;
    Rest& made();  // the windows after the main window, made now if they were not yet

    Clock& clock_;
    Random& random_;
    Timers* typingTimers_;
    std::unique_ptr<ForwardedSettings> settings_;
    std::unique_ptr<TMainForm> main_;
    std::unique_ptr<Rest> rest_;
    std::unique_ptr<QObject> firstPaint_;
    std::optional<std::string> startUser_;  // whose settings the windows start with
};

}  // namespace keyrook
