// The least a Qt Widgets program does to put a window on the screen: a main window with a menu
// bar and one label. scripts/measure.sh runs it beside Keyrook and tipp10 to show what Qt and
// its libraries cost every such program at start-up. With --japanese the menu and the label
// are in Japanese (half-width katakana included) and the label asks for the Japanese face the
// program's windows use: what text in Japanese adds to that floor.
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool japanese = argc > 1 && std::strcmp(argv[1], "--japanese") == 0;
    QMainWindow window;
    window.setWindowTitle("bare");
    window.menuBar()->addMenu(japanese ? QString::fromUtf8("ﾒﾆｭｰ(&M)") : QString("&File"))
        ->addAction(japanese ? QString::fromUtf8("ｹﾞｰﾑ終了(&E)") : QString("&Quit"), &app,
                    &QApplication::quit);
    auto* label = new QLabel(japanese ? QString::fromUtf8("※ﾕｰｻﾞ名を選択して下さい... 問題数 : 14")
                                      : QString("A bare Qt window"));
    if (japanese) {
        QFont font("Noto Sans CJK JP");
        font.setPixelSize(12);
        label->setFont(font);
    }
    window.setCentralWidget(label);
    window.resize(466, 449);
    window.show();
    return app.exec();
}
