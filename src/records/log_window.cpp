#include "records/log_window.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QShowEvent>
#include <QAbstractTableModel>
#include <QTableView>

#include "app/ui/app_context.h"
#include "app/ui/window_modules.h"
#include "records/calendar_window.h"
#include "typing/record_file.h"
#include "typing/result_model.h"
#include "widgets/command_table.h"
#include "widgets/fixed_dialog.h"
#include "widgets/look.h"
#include "widgets/progress_bar_rex.h"
#include "widgets/qt_services.h"
#include "widgets/round_button.h"
#include "widgets/shape.h"

namespace keyrook {
namespace {

// The pictures of the viewer's round buttons.
enum class Picture { Graph, Help, Close, Keys, Calendar };

TRoundButton::Picture drawn(Picture picture) {
    return [picture](QPainter& p, qreal w, qreal h) {
        switch (picture) {
            case Picture::Graph: {
                p.drawLine(QPointF(w * 0.27, h * 0.27), QPointF(w * 0.27, h * 0.73));
                p.drawLine(QPointF(w * 0.27, h * 0.73), QPointF(w * 0.75, h * 0.73));
                QPainterPath line;
                line.moveTo(w * 0.33, h * 0.62);
                line.lineTo(w * 0.47, h * 0.45);
                line.lineTo(w * 0.57, h * 0.55);
                line.lineTo(w * 0.72, h * 0.33);
                p.setPen(QPen(QColor(0xFF, 0x80, 0x80), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                p.drawPath(line);
                break;
            }
            case Picture::Help:
                p.setFont(pixelFont("Arial", static_cast<int>(h * 0.5), true));
                p.drawText(QRectF(0, 0, w, h), Qt::AlignCenter, "?");
                break;
            case Picture::Close:
                p.drawLine(QPointF(w * 0.35, h * 0.35), QPointF(w * 0.65, h * 0.65));
                p.drawLine(QPointF(w * 0.65, h * 0.35), QPointF(w * 0.35, h * 0.65));
                break;
            case Picture::Calendar: {  // a page of days, some of them lit
                p.setPen(QPen(Qt::white, 1.2));
                p.drawRect(QRectF(w * 0.26, h * 0.28, w * 0.48, h * 0.44));
                p.setPen(Qt::NoPen);
                for (int row = 0; row < 3; ++row)
                    for (int k = 0; k < 4; ++k) {
                        p.setBrush((row + k) % 3 == 0 ? QColor(0x39, 0xFF, 0x5A) : QColor(0x80, 0x80, 0x80));
                        p.drawRect(QRectF(w * (0.30 + k * 0.105), h * (0.36 + row * 0.11), w * 0.07, h * 0.07));
                    }
                break;
            }
            case Picture::Keys:  // three rows of key caps, one of them red
                p.setPen(QPen(Qt::white, 1.2));
                for (int row = 0; row < 3; ++row)
                    for (int k = 0; k < 3; ++k) {
                        const QRectF key(w * (0.24 + row * 0.04 + k * 0.16), h * (0.28 + row * 0.16),
                                         w * 0.12, h * 0.12);
                        p.setBrush(row == 1 && k == 1 ? QColor(Qt::red) : QColor(Qt::transparent));
                        p.drawRect(key);
                    }
                break;
        }
    };
}

constexpr int kUserRow = 13;  // height of a name in lstUser

// Columns as laid out; the last one takes what is left of the list's width.
constexpr int kWidths[kLogColumns] = {30, 0, 100, 80, 80, 80, 65, 50};
const char* const kCaptions[kLogColumns] = {"", "", "名前", "獲得点数", "所用時間", "ﾐｽﾀｲﾌﾟ率",
                                            "ﾏｯｸｽｺﾝﾎﾞ", "偏差値"};

// Texts of the record list, which are all ASCII but for names, titles and "秒".
QString listText(const std::string& cp932) {
    for (char c : cp932)
        if (static_cast<unsigned char>(c) >= 0x80) return fromCp932(cp932);
    return QString::fromLatin1(cp932.data(), static_cast<qsizetype>(cp932.size()));
}

}  // namespace

// The record list's rows as the core holds them: nothing is kept per row here, a cell's text is
// made when it is painted. Sorting reorders the core and repaints.
class LogModel : public QAbstractTableModel {
public:
    LogModel(const RecordLog& log, QObject* parent) : QAbstractTableModel(parent), log_(log) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !live_ ? 0 : static_cast<int>(log_.rowCount());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : kLogColumns;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!live_ || !index.isValid() || static_cast<std::size_t>(index.row()) >= log_.rowCount()) return {};
        if (role == Qt::DisplayRole)
            return listText(log_.columnText(static_cast<std::size_t>(index.row()), index.column() + 1));
        if (role == Qt::TextAlignmentRole && index.column() >= 2)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || section < 0 || section >= kLogColumns) return {};
        if (role == Qt::DisplayRole) return QString::fromUtf8(kCaptions[section]);
        if (role == Qt::TextAlignmentRole && section >= 2)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
    }

    // The core's rows are about to change (or go away with the window), then have changed.
    void beginChange() { beginResetModel(); }
    void endChange() { endResetModel(); }
    void detach() {
        beginResetModel();
        live_ = false;
        endResetModel();
    }
    void reordered() {
        emit layoutAboutToBeChanged();
        emit layoutChanged();
    }

private:
    const RecordLog& log_;
    bool live_ = true;
};

TLog::TLog(AppContext& app, QWidget* parent)
    : QDialog(parent), now(localDateTime), app_(app), log_(app.paths()) {
    const QFont uiFont = fixedDialog(this, "Log", "過去の記録", kToolFrame, QSize(799, 375), kSilver, 12);

    addLabel(this, "lblUser", "ﾕｰｻﾞ名 :", 8, 8, uiFont, kSilver);
    lstUser_ = new QListWidget(this);
    lstUser_->setObjectName("lstUser");
    // Five names in view: rows as high as the font's glyphs, without its line gap.
    lstUser_->setGeometry(8, 24, 145, 5 * kUserRow + 3);
    lstUser_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstUser_->setStyleSheet(
        "QListWidget { background: black; color: silver; border: 1px solid gray; }"
        "QListWidget::item:selected { background: navy; color: white; }");
    lstUser_->viewport()->installEventFilter(this);
    lstUser_->installEventFilter(this);

    addLabel(this, "lblTitleCaption", "ﾀｲﾄﾙ :", 164, 8, uiFont, kSilver);
    cmbTitle_ = new QComboBox(this);
    cmbTitle_->setObjectName("cmbTitle");
    cmbTitle_->setGeometry(164, 24, 220, 22);
    cmbTitle_->setStyleSheet(
        "QComboBox { background: black; color: silver; border: 1px solid gray; padding-left: 3px; }"
        "QComboBox QAbstractItemView { background: black; color: silver; "
        "selection-background-color: navy; }");
    cmbTitle_->installEventFilter(this);
    connect(cmbTitle_, &QComboBox::activated, this,
            [this] { app_.guarded([this] { cmbTitleChange(); }); });
    QLabel* hint = addLabel(this, "lblHint",
                            "※まずは該当ﾕｰｻﾞｰを選んで下さい。そうすると、ﾀｲﾄﾙ候補が出てきます。",
                            164, 54, uiFont, kSilver, 236, Qt::AlignLeft | Qt::AlignTop);
    hint->setWordWrap(true);
    hint->setFixedHeight(32);

    // Round pictures, each with its caption under it; the pictures go in the order of the table.
    const Picture pictures[] = {Picture::Calendar, Picture::Keys, Picture::Graph, Picture::Help,
                                Picture::Close};
    int made = 0;
    auto roundButton = [&](QWidget* parent, const Command& c, const QRect& place) -> QAbstractButton* {
        auto* button = new TRoundButton(40, drawn(pictures[made++]), parent);
        button->move(place.topLeft());
        addLabel(parent, nullptr, c.caption, place.x() - 20, 54, uiFont, kSilver, 80, Qt::AlignCenter);
        return button;
    };
    const CommandTable table{roundButton, QRect(406, 10, 40, 40), QPoint(80, 0), nullptr,
                             [this](const auto& f) { app_.guarded(f); }};
    addCommands(this, table,
                {
                    {"Image6", "ｶﾚﾝﾀﾞｰ", [this] { Image6Click(); }},
                    {"Image5", "苦手ｷｰ", [this] { Image5Click(); }},
                    {"Image1", "グラフを見る", [this] { Image1Click(); }},
                    {"Image4", "ﾍﾙﾌﾟ", [this] { Image4Click(); }},
                    {"Image3", "ｳｨﾝﾄﾞｳを閉じる", [this] { Image3Click(); }},
                });

    // A table without its row header and grid: it looks as a list of rows and, unlike a tree,
    // keeps nothing per row but the row header's section size.
    lslog_ = new QTableView(this);
    lslog_->setObjectName("lslog");
    model_ = new LogModel(log_, this);
    lslog_->setModel(model_);
    lslog_->setGeometry(8, 96, 505, 271);
    lslog_->setShowGrid(false);
    lslog_->setWordWrap(false);
    lslog_->setCornerButtonEnabled(false);
    lslog_->verticalHeader()->hide();
    lslog_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    lslog_->setSelectionMode(QAbstractItemView::SingleSelection);
    lslog_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lslog_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lslog_->setSortingEnabled(false);
    lslog_->setFont(uiFont);
    lslog_->setStyleSheet(
        "QTableView { background: white; color: black; }"
        "QTableView::item { border-right: 1px solid #d0d0d0; border-bottom: 1px solid #d0d0d0; }"
        "QTableView::item:selected { background: navy; color: white; }");
    QHeaderView* header = lslog_->horizontalHeader();
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Column 1 is narrower than the style's smallest section.
    header->setMinimumSectionSize(0);
    header->setStretchLastSection(false);
    for (int c = 0; c < kLogColumns; ++c) lslog_->setColumnWidth(c, kWidths[c]);
    lslog_->setColumnHidden(1, true);  // the session key
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    connect(header, &QHeaderView::sectionClicked, this,
            [this](int logical) { lslogColumnClick(logical + 1); });
    lslog_->viewport()->installEventFilter(this);
    lslog_->installEventFilter(this);
    // The scroll bar comes and goes with the row count; the columns make room for it (once the
    // viewport has its new width, see eventFilter).
    connect(lslog_->verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] { fitColumns(); });
    fitColumns();

    // The detail panel.
    const QFont caption = pixelFont("ＭＳ ゴシック", 13);
    const QFont value = pixelFont("Tahoma", 13, true);
    addLabel(this, "lbldate", "", 521, 96, value, kSilver, 270);
    auto* figures = new TShape(TShape::Kind::RoundRect, this);
    figures->setObjectName("Shape1");
    figures->setGeometry(521, 114, 270, 129);
    figures->setPenColor(Qt::red);
    figures->setBrushColor(Qt::black);
    const char* captions[] = {"THEME", "SCORE", "TIME", "MISTAKE", "AVERAGE", "MAXCOMBO"};
    const char* values[] = {"lblTheme", "lblScore", "lblTime", "lblMiss", "lblAverage", "lblMaxcombo"};
    for (int i = 0; i < 6; ++i) {
        const int top = 122 + i * 20;
        addLabel(this, nullptr, captions[i], 537, top, caption, kSilver);
        if (i == 0)
            addLabel(this, values[i], "", 617, top, uiFont, Qt::white, 166);
        else
            addLabel(this, values[i], "", 617, top - 1, value, Qt::white, 166);
    }

    auto* ratings = new TShape(TShape::Kind::RoundRect, this);
    ratings->setObjectName("Shape2");
    ratings->setGeometry(521, 251, 270, 116);
    ratings->setPenColor(QColor(0x00, 0xFF, 0x00));
    ratings->setBrushColor(Qt::black);
    addLabel(this, "lblParamHead", "● ﾊﾟﾗﾒｰﾀ分析", 533, 261, pixelFont("MS UI Gothic", 12, true),
             Qt::white);
    for (int i = 0; i < 4; ++i) {
        const int top = 284 + i * 19;
        addLabel(this, QString("lblParam%1").arg(i + 1).toLatin1().constData(),
                 fromCp932(parameterNames()[static_cast<std::size_t>(i)]), 537, top - 2, uiFont,
                 Qt::white);
        auto* bar = new TProgressBarREX(this);
        bar->setObjectName(QString("ProgressBarREX%1").arg(i + 1));
        bar->setGeometry(609, top + 2, 130, 8);
        bar->setRange(0, 100);
        bar->setBarColor(QColor(0x80, 0x80, 0xFF));
        bars_[static_cast<std::size_t>(i)] = bar;
        addLabel(this, QString("lblResult%1").arg(i + 1).toLatin1().constData(), "", 745, top - 2,
                 pixelFont("MS UI Gothic", 12, true), Qt::white, 30,
                 Qt::AlignRight | Qt::AlignVCenter);
    }

    centreOnParent(this);
}

// The list's rows read the core's state, which goes before the widgets do: a list that is
// hidden or laid out while the window is taken down must not reach it.
TLog::~TLog() { model_->detach(); }

QLabel* TLog::label(const QString& name) const { return findChild<QLabel*>(name); }

QAbstractButton* TLog::image(int i) const {
    return findChild<QAbstractButton*>(QString("Image%1").arg(i));
}

void TLog::setUsers(const std::vector<std::string>& users) {
    users_ = users;
    lstUser_->clear();
    for (const std::string& name : users_) {
        auto* item = new QListWidgetItem(fromCp932(name), lstUser_);
        item->setSizeHint(QSize(0, kUserRow));
    }
}

std::vector<std::string> TLog::selectedUsers() const {
    std::vector<std::string> out;
    for (int i = 0; i < lstUser_->count() && i < static_cast<int>(users_.size()); ++i)
        if (lstUser_->item(i)->isSelected()) out.push_back(users_[static_cast<std::size_t>(i)]);
    return out;
}

void TLog::lstUserMouseUp() {
    titleUsers_ = selectedUsers();
    log_.lstUserMouseUp(titleUsers_);
    cmbTitle_->clear();
    for (const std::string& title : log_.titles()) cmbTitle_->addItem(fromCp932(title));
    cmbTitle_->setCurrentIndex(-1);
}

void TLog::cmbTitleChange() {
    const int index = cmbTitle_->currentIndex();
    if (index < 0 || index >= static_cast<int>(log_.titles().size())) return;
    // The list starts afresh, nothing selected.
    model_->beginChange();
    log_.cmbTitleChange(selectedUsers(), log_.titles()[static_cast<std::size_t>(index)], now());
    model_->endChange();
    // Rows as high as their text needs, as in a list.
    if (log_.rowCount() > 0 && !rowHeight_) {
        rowHeight_ = static_cast<QAbstractItemView*>(lslog_)->sizeHintForRow(0);
        lslog_->verticalHeader()->setDefaultSectionSize(rowHeight_);
    }
    // A new list opens at its first row, wherever the last one was scrolled to.
    lslog_->scrollToTop();
    fitColumns();
}

// Column 1 widens for row numbers that 30 pixels cannot hold, taking the room from the names;
// the last column takes the rest of the width beside the scroll bar, so no column hides under it.
void TLog::fitColumns() {
    const QFontMetrics metrics(lslog_->font());
    const int padding = 8;
    const std::string widest = std::to_string(std::max<std::size_t>(log_.rowCount(), 1)) + "*";
    const int first =
        std::max(kWidths[0], metrics.horizontalAdvance(QString::fromStdString(widest)) + padding);
    const int name = std::max(kWidths[2] - (first - kWidths[0]), kWidths[2] / 2);
    int fixed = first + name;
    for (int c = 3; c < kLogColumns - 1; ++c) fixed += kWidths[c];
    const int room = lslog_->viewport()->width() - fixed;
    const int last = std::max(metrics.horizontalAdvance(QString::fromUtf8(kCaptions[7])) + padding,
                              metrics.horizontalAdvance("-00.0") + padding);
    lslog_->setColumnWidth(0, first);
    lslog_->setColumnWidth(2, name);
    lslog_->setColumnWidth(kLogColumns - 1, std::max(last, room));
}

QString TLog::cellText(int row, int column) const {
    return model_->index(row, column).data().toString();
}

void TLog::lslogClick() {
    const QModelIndex current = lslog_->currentIndex();
    if (!current.isValid() || !lslog_->selectionModel()->isSelected(current)) return;
    const int place = current.row();
    const LogDetails d = logDetails(log_.row(static_cast<std::size_t>(place)));
    QLabel* date = label("lbldate");
    date->setText(fromCp932(d.lbldate));
    setTextColor(date, d.dateWhite ? QColor(Qt::white) : kSilver);
    label("lblTheme")->setText(fromCp932(d.lblTheme));
    label("lblScore")->setText(fromCp932(d.lblScore));
    label("lblTime")->setText(fromCp932(d.lblTime));
    label("lblMiss")->setText(fromCp932(d.lblMiss));
    label("lblAverage")->setText(fromCp932(d.lblAverage));
    label("lblMaxcombo")->setText(fromCp932(d.lblMaxcombo));
    for (int i = 1; i <= 4; ++i) {
        label(QString("lblResult%1").arg(i))->setText(fromCp932(d.lblResult[static_cast<std::size_t>(i - 1)]));
        findChild<TProgressBarREX*>(QString("ProgressBarREX%1").arg(i))
            ->setPosition(d.positions[static_cast<std::size_t>(i - 1)]);
    }
}

void TLog::lslogColumnClick(int column) {
    // The list shows the new order; the selected session stays selected.
    int selected = 0;
    if (const QModelIndex current = lslog_->currentIndex();
        current.isValid() && lslog_->selectionModel()->isSelected(current))
        selected = log_.rowNumber(static_cast<std::size_t>(current.row()));
    log_.lslogColumnClick(column);
    model_->reordered();
    // From the top, as a freshly filled list shows it.
    lslog_->scrollToTop();
    if (selected == 0) return;
    const long long place = log_.placeOf(selected);
    if (place < 0) return;
    lslog_->selectionModel()->setCurrentIndex(model_->index(static_cast<int>(place), 0),
                                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TLog::Image1Click() {
    if (auto refusal = log_.graphRefusal(selectedUsers().size())) {
        app_.dialogs().message(*refusal);
        return;
    }
    openGraphWindow(app_, log_, this);
}

void TLog::Image3Click() { close(); }

void TLog::Image4Click() { app_.Helper(HelpContext::Record); }

void TLog::Image5Click() {
    const std::vector<std::string> users = selectedUsers();
    if (users.size() != 1) {
        app_.dialogs().message(users.empty() ? "ﾕｰｻﾞｰを1人選んで下さい。" : kGraphOneUserOnly);
        return;
    }
    if (app_.mainMenu().weakKeysFor(users.front())) {
        practiceRequested_ = true;
        close();
    }
}

void TLog::Image6Click() {
    const std::vector<std::string> users = selectedUsers();
    if (users.size() != 1) {
        app_.dialogs().message(users.empty() ? "ﾕｰｻﾞｰを1人選んで下さい。" : kGraphOneUserOnly);
        return;
    }
    openCalendar(app_, users.front());
}

void TLog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) app_.playerloop("log");
}

void TLog::done(int result) {
    app_.playerloop("op");
    QDialog::done(result);
}

bool TLog::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == cmbTitle_ && type == QEvent::KeyPress) {
        // Only the offered titles count: typed characters are discarded.
        auto* key = static_cast<QKeyEvent*>(event);
        return !key->text().isEmpty() && key->text().at(0).isPrint();
    }
    if (type == QEvent::MouseButtonRelease && watched == lstUser_->viewport()) {
        app_.guarded([this] { lstUserMouseUp(); });
    } else if (type == QEvent::KeyRelease && watched == lstUser_) {
        // Choosing users by keyboard offers their titles as a click does.
        if (selectedUsers() != titleUsers_) app_.guarded([this] { lstUserMouseUp(); });
    } else if (type == QEvent::Resize && watched == lslog_->viewport()) {
        fitColumns();
    } else if ((type == QEvent::MouseButtonRelease && watched == lslog_->viewport()) ||
               (type == QEvent::KeyRelease && watched == lslog_)) {
        lslogClick();
    }
    return QDialog::eventFilter(watched, event);
}


void openRecord(AppContext& app) {
    TLog log(app, &app.mainWindow());
    log.setUsers(app.mainMenu().registeredUsers());
    log.exec();
    if (log.practiceRequested()) app.mainMenu().openEntry(MenuEntry::Practice);
}

}  // namespace keyrook
