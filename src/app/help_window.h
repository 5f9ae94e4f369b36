// Shows help.hlp: the topic list on the left, the chosen topic on the right.
#pragma once

#include <QWidget>

#include <map>

#include "app/help_file.h"

class QListWidget;
class QTextBrowser;

namespace keyrook {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    // Reads the file (every time, so an edited file is seen) and shows the topic; an unknown
    // topic number shows the first topic.
    void openFile(const QString& path, int context);
    int currentTopic() const { return current_; }
    QString currentText() const;

private:
    void showTopic(int number);
    std::map<int, HelpTopic> topics_;
    QListWidget* list_;
    QTextBrowser* browser_;
    int current_ = -1;
};

}  // namespace keyrook
