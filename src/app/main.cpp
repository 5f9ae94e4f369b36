// Keyrook: start-up.
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QMessageBox>
#include <QPixmap>
#include <QResource>

#include <cstdio>
#include <cstdlib>

#include "app/main_window.h"
#include "app/program_window.h"
#include "base/paths.h"
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
        std::fprintf(stderr,
                     "keyrook: no display found. Keyrook is a desktop program and needs a graphical\n"
                     "session (DISPLAY or WAYLAND_DISPLAY). Without one, run it under a virtual\n"
                     "display (xvfb-run comes with the Debian package xvfb):\n"
                     "  xvfb-run -a %s\n",
                     argv[0]);
        return 1;
    }
    KeyrookApplication app(argc, argv);
    QApplication::setApplicationName("Keyrook");
    // The desktop entry is matched by the program's name.
    QGuiApplication::setDesktopFileName("org.example.keyrook");
    keyrook::installFontSubstitutions();
    if (!keyrook::installQtTranslation())
        std::fputs("keyrook: Qt's Japanese translation (qtbase_ja.qm, package qt6-translations-l10n)"
                   " is missing; standard buttons stay in English.\n",
                   stderr);

    // Portable beside the program, or installed with the user's files under $XDG_DATA_HOME.
    const keyrook::Paths paths = keyrook::decidePaths(
        QCoreApplication::applicationDirPath().toStdString() + "/", keyrook::processEnvironment());
    keyrook::QtSounds sounds(paths);
    keyrook::QtDialogs dialogs;
    keyrook::SteadyClock clock;
    keyrook::StdRandom random;
    // The menu is painted first; the icon and the sound system follow at once, the other
    // windows when first needed.
    sounds.hold();
    keyrook::ProgramWindows windows(paths, sounds, dialogs, clock, random, nullptr,
                                    keyrook::ProgramWindows::Start::OnFirstUse);
    windows.afterFirstPaint = [&sounds] {
        // Every window shows the program's icon, set once the menu is on the screen; the window
        // system takes the icon of a shown window as well. Its eight pictures are stored
        // unpacked in the program (see CMakeLists.txt), so this copies pixels.
        QIcon icon;
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const QResource pixels(QString(":/icons/keyrook-%1.argb").arg(size));
            if (pixels.compressionAlgorithm() != QResource::NoCompression ||
                pixels.size() != qint64(size) * size * 4) continue;
            icon.addPixmap(QPixmap::fromImage(QImage(pixels.data(), size, size, size * 4,
                                                     QImage::Format_ARGB32_Premultiplied)));
        }
        QApplication::setWindowIcon(icon);
        sounds.release();
    };
    dialogs.setParent(&windows.MainForm());
    windows.MainForm().show();
    return app.exec();
}
