// The window "練習ｶﾚﾝﾀﾞｰ": one user's last twelve months as a calendar of days coloured by the
// typing time practised, the current and longest streak, the weekly figures over all titles as
// a trend, the reflex games per level and the ten-key drills in the order stored.
#pragma once

#include <QDialog>

#include <array>
#include <string>

#include "records/history.h"

class QLabel;

namespace keyrook {

class AppContext;
class TRadioGroup;
class TTrendChart;

class TCalendar : public QDialog {
    Q_OBJECT
public:
    TCalendar(AppContext& app, const std::string& cp932User, QWidget* parent = nullptr);

    // Reads the user's .rec, .ref and .tnk files and shows them as of today.
    void load(std::int64_t today);

    void rgpWeekClick();
    void rgpReflexClick();
    void btnHelpClick();
    void btnCloseClick();

    QLabel* label(const char* name) const;
    TRadioGroup* rgpWeek() const { return rgpWeek_; }
    TRadioGroup* rgpReflex() const { return rgpReflex_; }
    TTrendChart* weekChart() const { return weekChart_; }
    TTrendChart* reflexChart() const { return reflexChart_; }
    TTrendChart* tenkeyChart() const { return tenkeyChart_; }
    QWidget* calendar() const { return calendar_; }
    const PracticeHistory& history() const { return history_; }

private:
    AppContext& app_;
    std::string user_;
    PracticeHistory history_;
    std::vector<ReflexGame> reflex_;
    QWidget* calendar_ = nullptr;
    TRadioGroup* rgpWeek_ = nullptr;
    TRadioGroup* rgpReflex_ = nullptr;
    TTrendChart* weekChart_ = nullptr;
    TTrendChart* reflexChart_ = nullptr;
    TTrendChart* tenkeyChart_ = nullptr;
};

// Today as a day number of the machine's local date.
std::int64_t localToday();

// Opens the calendar of a user, modally.
void openCalendar(AppContext& app, const std::string& cp932User);

}  // namespace keyrook
