#include "widgets/look.h"

#include <QAction>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFrame>
#include <QHash>
#include <QSet>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QWidget>

#include <algorithm>

namespace keyrook {
namespace {

// The installed face that stands for a face name (the name itself when that face is installed).
QString installedFamily(const QString& family) {
    // The installed faces by name, a face in several foundries once ("URW Gothic [urw]").
    static const QSet<QString> installed = [] {
        QSet<QString> names;
        for (QString name : QFontDatabase::families()) {
            if (const qsizetype foundry = name.indexOf(" ["); foundry > 0) name.truncate(foundry);
            names.insert(name.toCaseFolded());
        }
        return names;
    }();
    static QHash<QString, QString> known;
    auto it = known.find(family);
    if (it != known.end()) return *it;
    QString name = family;
    if (!installed.contains(family.toCaseFolded())) {
        for (const QString& substitute : QFont::substitutes(family)) {
            if (installed.contains(substitute.toCaseFolded())) {
                name = substitute;
                break;
            }
        }
    }
    known.insert(family, name);
    return name;
}

}  // namespace

QFont pixelFont(const QString& family, int pixels, bool bold, bool italic) {
    QFont f(installedFamily(family));
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

void setTextColor(QWidget* widget, const QColor& color) {
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::Text, color);
    p.setColor(QPalette::ButtonText, color);
    widget->setPalette(p);
}

void paintBlack(QWidget* widget, const QColor& text) {
    widget->setAutoFillBackground(true);
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, Qt::black);
    p.setColor(QPalette::WindowText, text);
    widget->setPalette(p);
}

QLabel* placeLabel(QWidget* parent, const QString& text, int x, int y, const QFont& font,
                   const QColor& color, const char* objectName, int width) {
    auto* l = new QLabel(text, parent);
    if (objectName && *objectName) l->setObjectName(objectName);
    l->setFont(font);
    setTextColor(l, color);
    l->move(x, y);
    l->adjustSize();
    if (width > 0) l->setFixedWidth(width);
    return l;
}

void fitToWidth(QLabel* label, const QFont& base) {
    QFont f = base;
    const int room = label->contentsRect().width() - 2 * label->margin() - std::max(0, label->indent());
    while (f.pixelSize() > 8 && QFontMetrics(f).horizontalAdvance(label->text()) > room)
        f.setPixelSize(f.pixelSize() - 1);
    if (label->font() != f) label->setFont(f);
}

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, int x, int y,
                 const QFont& font, const QColor& color, int width, Qt::Alignment alignment) {
    QLabel* l = placeLabel(parent, text, x, y, font, color, name, width);
    l->setAlignment(alignment);
    return l;
}

QPushButton* flatButton(QWidget* parent, const char* name, const QString& caption,
                        const QRect& geometry, const QString& styleSheet) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setFlat(true);
    button->setAutoDefault(false);
    button->setStyleSheet(styleSheet);
    return button;
}

QPushButton* boxedButton(QWidget* parent, const char* name, const QString& caption,
                         const QRect& geometry) {
    auto* box = new QFrame(parent);
    box->setGeometry(geometry.adjusted(-2, -2, 2, 2));
    box->setFrameShape(QFrame::Box);
    box->setStyleSheet("QFrame { border: 1px solid gray; }");
    return flatButton(parent, name, caption, geometry,
                      "QPushButton { color: white; background: black; border: none; }"
                      "QPushButton:hover { color: yellow; }");
}

void centreOnParent(QWidget* window) {
    if (QWidget* owner = window->parentWidget()) {
        const QPoint centre = owner->isVisible() ? owner->frameGeometry().center()
                                                 : owner->geometry().center();
        window->move(centre - window->rect().center());
    }
}

QAction* addKeyCommand(QWidget* owner, QMenu* menu, const char* name, const char* caption,
                       const QKeySequence& key, std::function<void()> run) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(name);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    owner->addAction(action);
    QObject::connect(action, &QAction::triggered, owner, std::move(run));
    return action;
}

}  // namespace keyrook
