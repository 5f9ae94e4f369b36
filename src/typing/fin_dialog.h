// The result dialog "お疲れさまでした...": figures, rating bars, differences from the previous
// session and the question rows of the session just finished.
#pragma once

#include <QDialog>
#include <QFont>
#include <QHash>

#include <array>
#include <string>
#include <vector>

#include "typing/result_model.h"
#include "widgets/dialog_state.h"

class QLabel;
class QTreeWidget;
class QPushButton;

namespace keyrook {

class AppContext;
class TProgressBarREX;

class TFin : public QDialog {
    Q_OBJECT
public:
    explicit TFin(AppContext& app, QWidget* parent = nullptr);

    // Shows a finished session (not modal); recordPath is the file "&OK" appends to.
    void showResult(const ResultModel& model, const std::string& recordPath);
    // The per-key statistics line that "&OK" appends to path with the record; showResult
    // drops an earlier one.
    void setKeyStats(const std::string& path, const std::string& line);
    // The list `ls`: the typing window keeps it current while a session runs.
    void setRows(const std::vector<QuestionRow>& rows);

    void SpeedButton1Click();  // &OK
    void btnSaveClick();       // &Save
    void SpeedButton3Click();  // &Cancel
    void SpeedButton4Click();  // &Help

    TFileDialog* SaveDialog1() const { return saveDialog_; }
    TProgressBarREX* bar(int i) const { return bars_[i - 1]; }
    QLabel* label(const QString& name) const;
    QTreeWidget* ls() const { return ls_; }
    const ResultModel& model() const { return model_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    AppContext& app_;
    ResultModel model_;
    std::string recordPath_;
    std::string keyStatsPath_;
    std::string keyStatsLine_;
    std::vector<QuestionRow> rows_;
    std::array<TProgressBarREX*, 4> bars_{};
    QTreeWidget* ls_ = nullptr;
    TFileDialog* saveDialog_ = nullptr;
    QHash<const QLabel*, QFont> designFonts_;
};

}  // namespace keyrook
