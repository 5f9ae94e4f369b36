// The record viewer "過去の記録": the chosen users' sessions of one title with deviation
// scores, sortable by any column, the details of one session, and the progress graphs.
#pragma once

#include <QDialog>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "records/record_log.h"

class QAbstractButton;
class QComboBox;
class QLabel;
class QListWidget;
class QTableView;

namespace keyrook {

class AppContext;
class TProgressBarREX;

class TLog : public QDialog {
    Q_OBJECT
public:
    explicit TLog(AppContext& app, QWidget* parent = nullptr);
    ~TLog() override;

    // The names offered in lstUser (CP932).
    void setUsers(const std::vector<std::string>& users);

    void lstUserMouseUp();
    void cmbTitleChange();
    void lslogClick();   // also lslogKeyUp
    void lslogColumnClick(int column);  // 1-based
    void Image1Click();  // graphs
    void Image3Click();  // close
    void Image4Click();  // help
    void Image5Click();  // 苦手ｷｰ: the weak-key window of the one selected user
    void Image6Click();  // ｶﾚﾝﾀﾞｰ: the practice calendar of the one selected user
    // "苦手ｷｰ練習" was chosen there: the viewer closed, the caller starts the practice.
    bool practiceRequested() const { return practiceRequested_; }

    const RecordLog& log() const { return log_; }
    QListWidget* lstUser() const { return lstUser_; }
    QComboBox* cmbTitle() const { return cmbTitle_; }
    QTableView* lslog() const { return lslog_; }
    // Text of column c (from 0) of the list's row (from 0), as it is shown.
    QString cellText(int row, int column) const;
    QLabel* label(const QString& name) const;
    TProgressBarREX* bar(int i) const { return bars_[static_cast<std::size_t>(i - 1)]; }
    QAbstractButton* image(int i) const;  // Image1, Image3, Image4, Image5, Image6

    // Today's date for the "*" of today's sessions; tests fix it.
    std::function<DateTime()> now;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<std::string> selectedUsers() const;
    void fitColumns();

    AppContext& app_;
    RecordLog log_;
    std::vector<std::string> users_;
    std::vector<std::string> titleUsers_;  // the selection the title choices were built for
    QListWidget* lstUser_ = nullptr;
    QComboBox* cmbTitle_ = nullptr;
    QTableView* lslog_ = nullptr;
    int rowHeight_ = 0;
    class LogModel* model_ = nullptr;
    std::array<TProgressBarREX*, 4> bars_{};
    bool practiceRequested_ = false;
};

// The main menu's "Record": the viewer over the registered users, shown modally.
void openRecord(AppContext& app);

}  // namespace keyrook
