#include "typing/fin_dialog.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeWidget>

#include <utility>

#include "app/ui/app_context.h"
#include "base/files.h"
#include "typing/key_stats.h"
#include "typing/record_file.h"
#include "widgets/command_table.h"
#include "widgets/fixed_dialog.h"
#include "widgets/look.h"
#include "widgets/progress_bar_rex.h"
#include "widgets/qt_services.h"
#include "widgets/shape.h"

namespace keyrook {

TFin::TFin(AppContext& app, QWidget* parent) : QDialog(parent), app_(app) {
    fixedDialog(this, "Fin", "お疲れさまでした...", kDialogFrame, QSize(581, 446), Qt::white, 12);
    saveDialog_ = new TFileDialog(this);
    saveDialog_->setObjectName("SaveDialog1");

    auto* figures = new TShape(TShape::Kind::RoundRect, this);
    figures->setObjectName("Shape1");
    figures->setGeometry(16, 16, 305, 129);
    figures->setPenColor(Qt::red);
    figures->setBrushColor(Qt::black);
    const QFont caption = pixelFont("ＭＳ ゴシック", 13);
    const QFont value = pixelFont("Tahoma", 13, true);
    const char* captions[] = {"THEME", "SCORE", "TIME", "MISTAKE", "AVERAGE", "MAXCOMBO"};
    const char* values[] = {"lblTheme", "lblScore", "lblTime", "lblMiss", "lblAverage", "lblMaxcombo"};
    const char* diffs[] = {nullptr, "lblScore_", "lblTime_", "lblMiss_", "lblAverage_", "lblMaxCombo_"};
    for (int i = 0; i < 6; ++i) {
        int top = 24 + i * 20;
        addLabel(this, nullptr, captions[i], 40, top, caption, kSilver);
        if (i == 0) {
            addLabel(this, values[i], "", 104, top, pixelFont("MS UI Gothic", 12), Qt::white, 177);
        } else {
            addLabel(this, values[i], "", 104, top - 1, value, Qt::white, 110);
            // Up to the frame's inner edge: "+1542.8 Hits/Min" needs the room.
            addLabel(this, diffs[i], "", 216, top - 1, value, Qt::white, 102);
        }
    }

    auto* ratings = new TShape(TShape::Kind::RoundRect, this);
    ratings->setObjectName("Shape2");
    ratings->setGeometry(336, 16, 233, 129);
    ratings->setPenColor(QColor(0x00, 0xFF, 0x00));
    ratings->setBrushColor(Qt::black);
    addLabel(this, "lblParamHead", "● ﾊﾟﾗﾒｰﾀ分析", 344, 28, pixelFont("MS UI Gothic", 12, true),
             Qt::white);
    const int rowTops[4] = {55, 72, 88, 104};
    for (int i = 0; i < 4; ++i) {
        addLabel(this, QString("lblParam%1").arg(i + 1).toLatin1().constData(),
                 fromCp932(parameterNames()[i]), 344, rowTops[i] - 2, pixelFont("MS UI Gothic", 12),
                 Qt::white);
        auto* bar = new TProgressBarREX(this);
        bar->setObjectName(QString("ProgressBarREX%1").arg(i + 1));
        bar->setGeometry(412, rowTops[i] + 2, 93, 8);
        bar->setRange(0, 100);
        bar->setBarColor(QColor(0x80, 0x80, 0xFF));
        bars_[i] = bar;
        addLabel(this, QString("lblResult%1").arg(i + 1).toLatin1().constData(), "", 512,
                 rowTops[i] - 2, pixelFont("MS UI Gothic", 12, true), Qt::white, 26,
                 Qt::AlignRight | Qt::AlignVCenter);
        addLabel(this, QString("lblResult%1_").arg(i + 1).toLatin1().constData(), "", 539,
                 rowTops[i] - 2, pixelFont("MS UI Gothic", 12), Qt::white, 30);
    }
    addLabel(this, "lblBonusCaption", "BONUS", 344, 122, value, kSilver);
    addLabel(this, "lblBonus", "", 420, 122, value, Qt::white, 140, Qt::AlignRight | Qt::AlignVCenter);
    // Each label's laid-out font; a text wider than its label is shown a little smaller.
    for (QLabel* l : findChildren<QLabel*>()) designFonts_.insert(l, l->font());

    ls_ = new QTreeWidget(this);
    ls_->setObjectName("ls");
    ls_->setGeometry(21, 176, 545, 202);
    ls_->setRootIsDecorated(false);
    ls_->setSelectionBehavior(QAbstractItemView::SelectRows);
    ls_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ls_->setSortingEnabled(false);
    ls_->header()->setSectionsClickable(false);
    ls_->setStyleSheet(
        "QTreeWidget { background: white; color: black; gridline-color: #c0c0c0; }"
        "QTreeWidget::item { border-right: 1px solid #d0d0d0; border-bottom: 1px solid #d0d0d0; }");
    ls_->setFont(pixelFont("MS UI Gothic", 12));
    ls_->setHeaderLabels({"No.", "問題", "ﾊﾞｲﾄ数", "反射神経", "ﾀｲﾋﾟﾝｸﾞ速度", "速度指数"});
    ls_->setColumnWidth(0, 40);
    ls_->setColumnWidth(1, 150);
    for (int c = 2; c <= 5; ++c) ls_->setColumnWidth(c, 80);

    addLabel(this, "lbldate", "", 24, 411, value, Qt::white, 225);
    // Flat buttons take no keys: a Return meant for the typing window stores nothing.
    const CommandTable table{boxedPushButtons({{}, 0, false}), QRect(257, 409, 68, 23), QPoint(80, 0),
                             nullptr, [this](const auto& f) { app_.guarded(f); }};
    addCommands(this, table,
                {
                    {"btnOK", "&OK", [this] { SpeedButton1Click(); }},
                    {"btnSave", "&Save", [this] { btnSaveClick(); }},
                    {"btnCancel", "&Cancel", [this] { SpeedButton3Click(); }},
                    {"btnHelp", "&Help", [this] { SpeedButton4Click(); }},
                });
}

QLabel* TFin::label(const QString& name) const { return findChild<QLabel*>(name); }

void TFin::showResult(const ResultModel& model, const std::string& recordPath) {
    model_ = model;
    recordPath_ = recordPath;
    keyStatsLine_.clear();
    for (const auto& [name, lbl] : model_.labels()) {
        if (QLabel* l = label(QString::fromStdString(name))) {
            l->setText(fromCp932(lbl->caption));
            fitToWidth(l, designFonts_.value(l, l->font()));
            QPalette p = l->palette();
            p.setColor(QPalette::WindowText, rgbColor(lbl->colour));
            l->setPalette(p);
        }
    }
    for (int i = 0; i < 4; ++i) bars_[i]->setPosition(model_.barPositions[i]);
    setRows(model_.rows);
    show();
    raise();
}

void TFin::setRows(const std::vector<QuestionRow>& rows) {
    rows_ = rows;
    ls_->setUpdatesEnabled(false);
    // Rows only grow during a session (or all go at its start), so only the new or changed
    // tail is touched.
    if (ls_->topLevelItemCount() > static_cast<int>(rows.size())) ls_->clear();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::vector<std::string> texts = rows[i].texts();
        QTreeWidgetItem* item = i < static_cast<std::size_t>(ls_->topLevelItemCount())
                                    ? ls_->topLevelItem(static_cast<int>(i))
                                    : new QTreeWidgetItem(ls_);
        for (int c = 0; c < 6 && c < static_cast<int>(texts.size()); ++c) {
            QString t = fromCp932(texts[static_cast<std::size_t>(c)]);
            if (item->text(c) != t) item->setText(c, t);
        }
    }
    ls_->setUpdatesEnabled(true);
}

void TFin::setKeyStats(const std::string& path, const std::string& line) {
    keyStatsPath_ = path;
    keyStatsLine_ = line;
}

void TFin::SpeedButton1Click() {
    if (model_.recordLine.empty()) {
        close();
        return;
    }
    writeRecord(recordPath_, model_.recordLine);
    // The record is stored: whatever befalls the key statistics, a second "&OK" must not store
    // it again.
    const std::string keyStats = std::exchange(keyStatsLine_, std::string());
    close();
    if (!keyStats.empty()) appendKeyStats(keyStatsPath_, keyStats);
}

void TFin::btnSaveClick() {
    auto name = app_.dialogs().saveFileName("ﾃﾞｰﾀを保存", saveDialog_->fileName().toStdString(),
                                             "Excel用CSVﾌｧｲﾙ (*.csv);;すべてのﾌｧｲﾙ (*)");
    if (!name) return;
    saveDialog_->setFileName(QString::fromStdString(*name));
    saveStringToFile(*name, reportText(model_, rows_), Links::Follow);
}

void TFin::SpeedButton3Click() { close(); }

void TFin::SpeedButton4Click() { app_.Helper(HelpContext::Result); }

void TFin::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) app_.player("clear");
}

}  // namespace keyrook
