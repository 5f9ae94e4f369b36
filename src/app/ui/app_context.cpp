#include "app/ui/app_context.h"

#include <QApplication>

#include "app/help_window.h"
#include "base/files.h"

namespace keyrook {

AppContext::AppContext(Paths paths, Sounds& sounds, Dialogs& dialogs, MainMenuState& mainMenu)
    : paths_(std::move(paths)), sounds_(sounds), dialogs_(dialogs), main_(mainMenu) {}

AppContext::~AppContext() = default;

void AppContext::Helper(HelpContext context) {
    std::string path = paths_.helpFile();
    if (!fileExists(path)) {
        dialogs_.message("ヘルプファイル『help.hlp』が見つかりません。");
        return;
    }
    guarded([this, &path, context] {
        // Under a modal window (the ten-key drill, the maker...) the help belongs to it, or the
        // modal window would block it.
        QWidget* owner = QApplication::activeModalWidget();
        if (!owner) owner = &main_.menuWindow();
        if (help_ && help_->parentWidget() != owner) {
            help_->close();
            help_->deleteLater();
            help_ = nullptr;
        }
        if (!help_) help_ = new HelpWindow(owner);
        help_->openFile(QString::fromStdString(path), static_cast<int>(context));
    });
}

void AppContext::closeHelp() {
    if (help_) help_->close();
}

void AppContext::guarded(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::exception& e) {
        dialogs_.message(e.what());
    }
}

}  // namespace keyrook
