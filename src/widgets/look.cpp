#include "widgets/look.h"

#include <QAction>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QWidget>

#include <algorithm>

namespace keyrook {

QFont pixelFont(const QString& family, int pixels, bool bold, bool italic) {
    QFont f(family);
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
