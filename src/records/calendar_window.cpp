#include "records/calendar_window.h"

#include <QApplication>
#include <QDate>
#include <QEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

#include "app/ui/app_context.h"
#include "base/cp932.h"
#include "widgets/look.h"
#include "widgets/qt_services.h"
#include "widgets/radio_group.h"
#include "widgets/round_button.h"
#include "widgets/shape.h"
#include "widgets/trend_chart.h"

namespace keyrook {
namespace {

constexpr int kCell = 11;  // a day's square
constexpr int kPitch = 13;  // a day's square and the gap after it

// Empty, then four greens from dark to bright.
const QColor kHeat[5] = {QColor(0x26, 0x26, 0x26), QColor(0x0E, 0x44, 0x29), QColor(0x00, 0x6D, 0x32),
                         QColor(0x26, 0xA6, 0x41), QColor(0x39, 0xFF, 0x5A)};

// The colours of the level icons, one line per level.
const QColor kLevelColours[6] = {QColor(0x20, 0xA0, 0x40), QColor(0x10, 0x90, 0x90),
                                 QColor(0x40, 0x80, 0xF0), QColor(0xA0, 0x50, 0xE0),
                                 QColor(0xE0, 0x80, 0x10), QColor(0xE0, 0x30, 0x30)};

QString minutesText(std::uint64_t ms) {
    const std::uint64_t minutes = (ms + 30000) / 60000;
    if (minutes < 60) return QString("%1分").arg(minutes);
    return QString("%1時間%2分").arg(minutes / 60).arg(minutes % 60);
}

QString dayText(std::int64_t day) {
    const DateTime d = dateOfDay(day);
    return QString("%1/%2/%3").arg(d.year).arg(d.month, 2, 10, QChar('0')).arg(d.day, 2, 10, QChar('0'));
}

// The days of the last twelve months, a column per week, Monday on top.
class CalendarMap : public QWidget {
public:
    explicit CalendarMap(QWidget* parent) : QWidget(parent) {
        setObjectName("calendar");
        setMouseTracking(true);
        setFont(pixelFont("MS UI Gothic", 11));
    }
    void show(const PracticeDays* days, CalendarSpan span) {
        days_ = days;
        span_ = span;
        update();
    }
    // The cell of a day, in this widget's coordinates.
    QRect cellOf(std::int64_t day) const {
        const auto offset = day - span_.firstDay;
        return QRect(kLeft + static_cast<int>(offset / 7) * kPitch, kTop + static_cast<int>(offset % 7) * kPitch,
                     kCell, kCell);
    }

protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::ToolTip && days_) {
            auto* help = static_cast<QHelpEvent*>(e);
            const QPoint p = help->pos() - QPoint(kLeft, kTop);
            const int week = p.x() / kPitch, row = p.y() / kPitch;
            const std::int64_t day = span_.firstDay + week * 7 + row;
            if (p.x() >= 0 && p.y() >= 0 && row < 7 && week < span_.weeks && day <= span_.today) {
                const std::uint64_t ms = days_->timeOn(day);
                QToolTip::showText(help->globalPos(),
                                   dayText(day) + "  " + (ms ? minutesText(ms) : QString("練習なし")), this);
            } else {
                QToolTip::hideText();
            }
            return true;
        }
        return QWidget::event(e);
    }
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(kSilver);
        const char* weekdays[7] = {"月", "", "水", "", "金", "", ""};
        for (int r = 0; r < 7; ++r)
            p.drawText(QRect(0, kTop + r * kPitch - 1, kLeft - 4, kPitch), Qt::AlignRight | Qt::AlignVCenter,
                       QString::fromUtf8(weekdays[r]));
        if (!days_) return;
        int lastMonth = 0;
        for (int w = 0; w < span_.weeks; ++w) {
            // A month's name over the first week that starts in it.
            const DateTime monday = dateOfDay(span_.firstDay + w * 7);
            if (monday.month != lastMonth && (w > 0 || monday.day == 1) && w < span_.weeks - 2) {
                p.setPen(kSilver);
                p.drawText(QRect(kLeft + w * kPitch, 0, 40, kTop - 2), Qt::AlignLeft | Qt::AlignBottom,
                           QString("%1月").arg(monday.month));
            }
            lastMonth = monday.month;
            for (int r = 0; r < 7; ++r) {
                const std::int64_t day = span_.firstDay + w * 7 + r;
                if (day > span_.today) break;
                p.fillRect(cellOf(day), kHeat[heatLevel(days_->timeOn(day))]);
                if (day == span_.today) {
                    p.setPen(Qt::white);
                    p.drawRect(cellOf(day).adjusted(0, 0, -1, -1));
                }
            }
        }
    }

public:
    static constexpr int kLeft = 22;
    static constexpr int kTop = 16;

private:
    const PracticeDays* days_ = nullptr;
    CalendarSpan span_;
};

// The frame of a part of the window with its heading.
void addPanel(QWidget* parent, const char* name, const QRect& r, const QColor& pen, const char* heading) {
    auto* frame = new TShape(TShape::Kind::RoundRect, parent);
    frame->setObjectName(name);
    frame->setGeometry(r);
    frame->setPenColor(pen);
    frame->setBrushColor(Qt::black);
    addLabel(parent, nullptr, heading, r.left() + 12, r.top() + 8, pixelFont("MS UI Gothic", 12, true),
             Qt::white);
}

TTrendChart* addChart(QWidget* parent, const char* name, const QRect& r) {
    auto* chart = new TTrendChart(parent);
    chart->setObjectName(name);
    chart->setGeometry(r);
    chart->setEmptyText("記録がありません");
    return chart;
}

TRadioGroup* addChoice(QWidget* parent, const char* name, const QRect& r, const QStringList& items) {
    auto* group = new TRadioGroup(parent);
    group->setObjectName(name);
    group->setGeometry(r);
    group->setStyleSheet(kBlackRadioGroupStyle);
    group->setLayoutMetrics(3, 6, 19);
    group->setItems(items);
    group->setItemIndex(0);
    return group;
}

TRoundButton::Picture helpPicture() {
    return [](QPainter& p, qreal w, qreal h) {
        p.setFont(pixelFont("Arial", static_cast<int>(h * 0.5), true));
        p.drawText(QRectF(0, 0, w, h), Qt::AlignCenter, "?");
    };
}

TRoundButton::Picture closePicture() {
    return [](QPainter& p, qreal w, qreal h) {
        p.drawLine(QPointF(w * 0.35, h * 0.35), QPointF(w * 0.65, h * 0.65));
        p.drawLine(QPointF(w * 0.65, h * 0.35), QPointF(w * 0.35, h * 0.65));
    };
}

}  // namespace

std::int64_t localToday() {
    const QDate d = QDate::currentDate();
    return dayNumber(d.year(), d.month(), d.day());
}

TCalendar::TCalendar(AppContext& app, const std::string& cp932User, QWidget* parent)
    : QDialog(parent), app_(app), user_(cp932User) {
    setObjectName("Calendar");
    setWindowTitle("練習ｶﾚﾝﾀﾞｰ");
    setWindowFlags(kToolFrame);
    setFixedSize(800, 600);
    paintBlack(this, kSilver);
    const QFont uiFont = pixelFont("MS UI Gothic", 12);
    setFont(uiFont);

    addLabel(this, "lblUserCaption", "ﾕｰｻﾞ名 :", 8, 8, uiFont, kSilver);
    addLabel(this, "lblUser", fromCp932(cp932User), 64, 8, uiFont, Qt::white, 300);
    struct Image {
        const char* name;
        const char* caption;
        TRoundButton::Picture picture;
        int centre;
        void (TCalendar::*handler)();
    } images[] = {
        {"Image4", "ﾍﾙﾌﾟ", helpPicture(), 656, &TCalendar::btnHelpClick},
        {"Image3", "ｳｨﾝﾄﾞｳを閉じる", closePicture(), 746, &TCalendar::btnCloseClick},
    };
    for (const Image& im : images) {
        auto* button = new TRoundButton(40, im.picture, this);
        button->setObjectName(im.name);
        button->move(im.centre - 20, 10);
        addLabel(this, nullptr, im.caption, im.centre - 45, 54, uiFont, kSilver, 90, Qt::AlignCenter);
        auto handler = im.handler;
        connect(button, &QAbstractButton::clicked, this,
                [this, handler] { app_.guarded([this, handler] { (this->*handler)(); }); });
    }

    // The calendar with the streaks.
    addPanel(this, "Shape1", QRect(8, 76, 784, 166), Qt::red, "● 練習ｶﾚﾝﾀﾞｰ");
    const char* figures[][2] = {{"lblStreakCaption", "現在の連続 :"}, {"lblLongestCaption", "最長の連続 :"},
                                {"lblDaysCaption", "練習した日 :"}, {"lblTotalCaption", "練習時間 :"}};
    const char* values[] = {"lblStreak", "lblLongest", "lblDays", "lblTotal"};
    for (int i = 0; i < 4; ++i) {
        const int left = 150 + i * 160;
        addLabel(this, figures[i][0], figures[i][1], left, 84, uiFont, kSilver);
        addLabel(this, values[i], "", left + 68, 84, pixelFont("Tahoma", 12, true), Qt::white, 86);
    }
    auto* map = new CalendarMap(this);
    map->setGeometry(16, 102, 24 + 53 * kPitch, 16 + 7 * kPitch);
    calendar_ = map;
    addLabel(this, "lblCalendarNote", "※色は1日の練習時間（全ﾀｲﾄﾙのﾀｲﾋﾟﾝｸﾞ時間の合計）", 38, 216, uiFont,
             kSilver);
    addLabel(this, nullptr, "少", 560, 216, uiFont, kSilver);
    for (int level = 0; level < 5; ++level) {
        auto* cell = new TShape(TShape::Kind::Rectangle, this);
        cell->setGeometry(576 + level * kPitch, 219, kCell, kCell);
        cell->setPenColor(kHeat[level]);
        cell->setBrushColor(kHeat[level]);
        const char* tips[] = {"練習なし", "5分未満", "15分未満", "30分未満", "30分以上"};
        cell->setToolTip(QString::fromUtf8(tips[level]));
    }
    addLabel(this, nullptr, "多", 576 + 5 * kPitch + 2, 216, uiFont, kSilver);

    // Weekly figures over all titles.
    addPanel(this, "Shape2", QRect(8, 250, 388, 342), QColor(0x00, 0xFF, 0x00), "● 週ごとの推移（全ﾀｲﾄﾙ）");
    weekChart_ = addChart(this, "chtWeek", QRect(14, 276, 276, 308));
    rgpWeek_ = addChoice(this, "rgpWeek", QRect(296, 276, 92, 84),
                         {"練習回数", "練習時間", "速度", "ﾐｽ率"});
    connect(rgpWeek_, &TRadioGroup::clicked, this, [this] { app_.guarded([this] { rgpWeekClick(); }); });
    QLabel* weekNote = addLabel(this, "lblWeekNote", "※速度とﾐｽ率は週ごとの中央値", 296, 366,
                                pixelFont("MS UI Gothic", 11), kSilver, 92, Qt::AlignLeft | Qt::AlignTop);
    weekNote->setWordWrap(true);
    weekNote->setFixedHeight(40);

    // Reflex games, a line per level.
    addPanel(this, "Shape3", QRect(404, 250, 388, 196), QColor(0x00, 0xFF, 0x00), "● 反射神経（ﾚﾍﾞﾙ別）");
    reflexChart_ = addChart(this, "chtReflex", QRect(410, 276, 280, 164));
    rgpReflex_ = addChoice(this, "rgpReflex", QRect(696, 276, 90, 46), {"平均反応", "破壊率"});
    connect(rgpReflex_, &TRadioGroup::clicked, this, [this] { app_.guarded([this] { rgpReflexClick(); }); });
    for (int level = 1; level <= 6; ++level) {
        QLabel* l = addLabel(this, QString("lblLevel%1").arg(level).toLatin1().constData(),
                             QString("━ ﾚﾍﾞﾙ%1").arg(level), 700 + (level - 1) % 2 * 46, 330 + (level - 1) / 2 * 18,
                             pixelFont("MS UI Gothic", 11), kLevelColours[level - 1]);
        Q_UNUSED(l);
    }

    // Ten-key drills.
    addPanel(this, "Shape4", QRect(404, 454, 388, 138), QColor(0x00, 0xFF, 0x00), "● ﾃﾝｷｰ（1分間の入力数）");
    tenkeyChart_ = addChart(this, "chtTenkey", QRect(410, 478, 376, 92));
    addLabel(this, "lblTenkeyNote", "※ﾃﾝｷｰと反射神経の記録には日付がないため、横軸は記録した順番です。", 416,
             572, pixelFont("MS UI Gothic", 11), kSilver);

    centreOnParent(this);
}

QLabel* TCalendar::label(const char* name) const { return findChild<QLabel*>(name); }

void TCalendar::load(std::int64_t today) {
    const Paths& paths = app_.paths();
    history_ = readPracticeHistory(paths.userFile(user_, ".rec"));
    reflex_ = readReflexGames(paths.userFile(user_, ".ref"));
    const PracticeDays& days = history_.days;

    const CalendarSpan span = calendarSpan(today);
    static_cast<CalendarMap*>(calendar_)->show(&days, span);
    int practised = 0;
    std::uint64_t total = 0;
    for (auto it = days.days().lower_bound(span.firstDay); it != days.days().end() && it->first <= today; ++it) {
        ++practised;
        total += it->second;
    }
    label("lblStreak")->setText(QString("%1日").arg(days.currentStreak(today)));
    label("lblLongest")->setText(QString("%1日").arg(days.longestStreak()));
    label("lblDays")->setText(QString("%1日").arg(practised));
    label("lblTotal")->setText(minutesText(total));

    rgpWeekClick();
    rgpReflexClick();

    std::vector<TTrendChart::Line> tenkey(1);
    tenkey[0].colour = QColor(0xFF, 0x80, 0x80);
    const auto counts = readTenkeyCounts(paths.userFile(user_, ".tnk"));
    for (std::size_t i = 0; i < counts.size(); ++i)
        tenkey[0].points.emplace_back(static_cast<double>(i + 1), counts[i]);
    tenkeyChart_->setYUnit("字");
    tenkeyChart_->setWholeY(true);
    tenkeyChart_->setLines(std::move(tenkey));
}

void TCalendar::rgpWeekClick() {
    const int metric = std::max(0, rgpWeek_->itemIndex());
    std::vector<TTrendChart::Line> lines(1);
    lines[0].colour = QColor(0xFF, 0x80, 0x80);
    for (const ProgressPeriod& w : history_.weeks) {
        double y = 0;
        switch (metric) {
            case 0: y = static_cast<double>(w.sessions); break;
            case 1: y = static_cast<double>(w.timeMs) / 60000.0; break;
            case 2: y = static_cast<double>(w.medianSpeedTenths) / 10.0; break;
            default: y = static_cast<double>(w.medianMissRateTenths) / 10.0; break;
        }
        lines[0].points.emplace_back(static_cast<double>(w.firstDay), y);
    }
    const QString units[] = {"回", "分", "", "%"};
    weekChart_->setYUnit(units[std::min(metric, 3)]);
    weekChart_->setWholeY(metric == 0);
    if (!history_.weeks.empty())
        weekChart_->setXLabel(dayLabels(history_.weeks.front().firstDay, history_.weeks.back().firstDay));
    weekChart_->setLines(std::move(lines));
}

void TCalendar::rgpReflexClick() {
    const bool rate = rgpReflex_->itemIndex() == 1;
    std::vector<TTrendChart::Line> lines(6);
    for (int level = 0; level < 6; ++level) lines[static_cast<std::size_t>(level)].colour = kLevelColours[level];
    for (std::size_t i = 0; i < reflex_.size(); ++i) {
        const ReflexGame& g = reflex_[i];
        auto& line = lines[static_cast<std::size_t>(g.level - 1)];
        if (rate) {
            if (g.dealt > 0) line.points.emplace_back(static_cast<double>(i + 1), 100.0 * g.hits / g.dealt);
        } else if (g.meanMs) {
            line.points.emplace_back(static_cast<double>(i + 1), *g.meanMs);
        }
    }
    reflexChart_->setYUnit(rate ? "%" : "ms");
    reflexChart_->setLines(std::move(lines));
}

void TCalendar::btnHelpClick() { app_.Helper(HelpContext::Calendar); }

void TCalendar::btnCloseClick() { close(); }

void openCalendar(AppContext& app, const std::string& cp932User) {
    QWidget* owner = QApplication::activeModalWidget();
    TCalendar window(app, cp932User, owner ? owner : &app.mainWindow());
    window.load(localToday());
    window.exec();
}

}  // namespace keyrook
