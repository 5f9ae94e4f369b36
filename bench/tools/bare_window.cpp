// The least a Qt Widgets program does to put a window on the screen: a main window with a menu
// bar and one label. scripts/measure.sh runs it beside Keyrook and tipp10 to show what Qt and
// its libraries cost every such program at start-up.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("bare");
    window.menuBar()->addMenu("&File")->addAction("&Quit", &app, &QApplication::quit);
    window.setCentralWidget(new QLabel("A bare Qt window"));
    window.resize(466, 449);
    window.show();
    return app.exec();
}
