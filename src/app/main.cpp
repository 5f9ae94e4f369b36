// Keyrook: start-up.
#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>

#include "app/main_window.h"
#include "app/program_window.h"
#include "widgets/qt_services.h"

namespace {

// Errors that escape a command are shown in a message box and the program keeps running.
class KeyrookApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            QMessageBox box(QMessageBox::Warning, applicationName(), QString::fromStdString(e.what()),
                            QMessageBox::Ok, activeWindow());
            box.setWindowFlag(Qt::WindowStaysOnTopHint);
            box.exec();
        }
        return false;
    }
};

bool displayAvailable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform && std::string(platform).rfind("xcb", 0) != 0 &&
        std::string(platform).rfind("wayland", 0) != 0)
        return true;  // offscreen, vnc, ...: no display needed
    return (std::getenv("DISPLAY") && *std::getenv("DISPLAY")) ||
           (std::getenv("WAYLAND_DISPLAY") && *std::getenv("WAYLAND_DISPLAY"));
}

}  // namespace

int main(int argc, char** argv) {
    if (!displayAvailable()) {
        std::fputs("keyrook: no display found. Keyrook is a desktop program and needs a graphical\n"
                   "session (DISPLAY or WAYLAND_DISPLAY). Without one, run it under a virtual\n"
                   "display:  xvfb-run -a ./keyrook\n",
                   stderr);
        return 1;
    }
    KeyrookApplication app(argc, argv);
    QApplication::setApplicationName("Keyrook");
    keyrook::installFontSubstitutions();
    if (!keyrook::installQtTranslation())
        std::fputs("keyrook: Qt's Japanese translation (qtbase_ja.qm, package qt6-translations-l10n)"
                   " is missing; standard buttons stay in English.\n",
                   stderr);

    std::string appDir = QCoreApplication::applicationDirPath().toStdString() + "/";
    keyrook::QtSounds sounds(QString::fromStdString(appDir + "sound/"));
    keyrook::QtDialogs dialogs;
    keyrook::SteadyClock clock;
    keyrook::StdRandom random;
    keyrook::ProgramWindows windows(appDir, sounds, dialogs, clock, random);
    dialogs.setParent(&windows.MainForm());
    windows.MainForm().show();
    return app.exec();
}
