// The long-lived windows of one run, created in their fixed order and wired to each other.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "base/paths.h"
#include "base/services.h"

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
    ProgramWindows(const Paths& paths, Sounds& sounds, Dialogs& dialogs, Clock& clock,
                   Random& random, Timers* typingTimers = nullptr);
    ~ProgramWindows();

    TMainForm& MainForm() { return *main_; }
    TTyping& Typing() { return *typing_; }
    TFin& Fin() { return *fin_; }
    TSetting& Setting() { return *setting_; }

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
    std::unique_ptr<ForwardedSettings> settings_;
    std::unique_ptr<TMainForm> main_;
    std::unique_ptr<TTyping> typing_;
    std::unique_ptr<TFin> fin_;
    std::unique_ptr<TSetting> setting_;
    std::unique_ptr<TReflection> reflection_;
};

}  // namespace keyrook
