#include "app/program_window.h"

#include "app/main_window.h"

namespace keyrook {

ProgramWindows::ProgramWindows(const std::string& appDir, Sounds& sounds, Dialogs& dialogs)
    : main_(std::make_unique<TMainForm>(appDir, sounds, dialogs)) {}

ProgramWindows::~ProgramWindows() = default;

}  // namespace keyrook
