#include "app/program_window.h"

#include "app/main_window.h"
#include "typing/typing_window.h"

namespace keyrook {

ProgramWindows::ProgramWindows(const std::string& appDir, Sounds& sounds, Dialogs& dialogs,
                               Clock& clock, Random& random, Timers* typingTimers)
    : settings_(std::make_unique<FixedTypingSettings>()),
      main_(std::make_unique<TMainForm>(appDir, sounds, dialogs)),
      typing_(std::make_unique<TTyping>(*main_, *settings_, clock, random, typingTimers)) {
    main_->startPractice = [this] { startPractice(); };
}

ProgramWindows::~ProgramWindows() = default;

void ProgramWindows::startPractice() {
    TMainForm& m = *main_;
    m.hide();
    typing_->preparePractice(m.pager().selectedTitle(), m.currentUser());
    typing_->show();
    typing_->raise();
    typing_->activateWindow();
}

}  // namespace keyrook
