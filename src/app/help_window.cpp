#include "app/help_window.h"

#include <QAction>
#include <QHBoxLayout>
#include <QListWidget>
#include <QTextBrowser>

#include "base/files.h"

namespace keyrook {

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint),
      list_(new QListWidget(this)),
      browser_(new QTextBrowser(this)) {
    setObjectName("HelpWindow");
    setWindowTitle("Keyrook ﾍﾙﾌﾟ");
    resize(720, 520);
    auto* layout = new QHBoxLayout(this);
    list_->setFixedWidth(230);
    layout->addWidget(list_);
    layout->addWidget(browser_, 1);
    QFont f("MS UI Gothic");
    f.setPixelSize(14);
    browser_->setFont(f);
    list_->setFont(f);
    // Escape closes the help as it closes a dialog.
    auto* escape = new QAction(this);
    escape->setShortcut(Qt::Key_Escape);
    escape->setShortcutContext(Qt::WindowShortcut);
    addAction(escape);
    connect(escape, &QAction::triggered, this, &QWidget::close);
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0) return;
        int number = list_->item(row)->data(Qt::UserRole).toInt();
        if (number != current_) showTopic(number);
    });
}

void HelpWindow::openFile(const QString& path, int context) {
    topics_ = parseHelpFile(loadStringFromFile(path.toStdString()));
    list_->blockSignals(true);
    list_->clear();
    for (const auto& [number, topic] : topics_) {
        auto* item = new QListWidgetItem(QString::fromStdString(topic.title), list_);
        item->setData(Qt::UserRole, number);
    }
    list_->blockSignals(false);
    current_ = -1;
    if (topics_.count(context))
        showTopic(context);
    else if (!topics_.empty())
        showTopic(topics_.begin()->first);
    else
        browser_->setHtml("<p>ﾍﾙﾌﾟの項目がありません。</p>");
    if (!isVisible() && parentWidget()) {
        QRect owner = parentWidget()->frameGeometry();
        move(owner.center() - rect().center());
    }
    show();
    raise();
    activateWindow();
}

void HelpWindow::showTopic(int number) {
    auto it = topics_.find(number);
    if (it == topics_.end()) return;
    current_ = number;
    browser_->setHtml(QString::fromStdString(helpTopicHtml(it->second)));
    int row = static_cast<int>(std::distance(topics_.begin(), it));
    list_->blockSignals(true);
    list_->setCurrentRow(row);
    list_->blockSignals(false);
}

QString HelpWindow::currentText() const { return browser_->toPlainText(); }

}  // namespace keyrook
