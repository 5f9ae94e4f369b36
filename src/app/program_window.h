// The long-lived windows of one run, created in their fixed order and wired to each other.
#pragma once

#include <memory>
#include <string>

#include "base/services.h"

namespace keyrook {

class TMainForm;
class TTyping;
class FixedTypingSettings;

class ProgramWindows {
public:
    ProgramWindows(const std::string& appDir, Sounds& sounds, Dialogs& dialogs, Clock& clock,
                   Random& random, Timers* typingTimers = nullptr);
    ~ProgramWindows();

    TMainForm& MainForm() { return *main_; }
    TTyping& Typing() { return *typing_; }

    // "Practice" past its selection check.
    void startPractice();

private:
    std::unique_ptr<FixedTypingSettings> settings_;
    std::unique_ptr<TMainForm> main_;
    std::unique_ptr<TTyping> typing_;
};

}  // namespace keyrook
