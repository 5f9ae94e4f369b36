// The long-lived windows of one run, created in their fixed order and wired to each other.
#pragma once

#include <memory>
#include <string>

#include "base/services.h"

namespace keyrook {

class TMainForm;

class ProgramWindows {
public:
    ProgramWindows(const std::string& appDir, Sounds& sounds, Dialogs& dialogs);
    ~ProgramWindows();

    TMainForm& MainForm() { return *main_; }

private:
    std::unique_ptr<TMainForm> main_;
};

}  // namespace keyrook
