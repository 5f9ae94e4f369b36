// The reflex result dialog "反射神経ﾓｰﾄﾞ結果": the finished game's rate, mean reaction time,
// mistypes and verdict; "&OK" stores the game in the user's .ref file.
#pragma once

#include <QDialog>

#include <string>

#include "reflex/reflex_engine.h"

class QLabel;
class QPushButton;

namespace keyrook {

class AppContext;

class TRefFin : public QDialog {
    Q_OBJECT
public:
    explicit TRefFin(AppContext& app, QWidget* parent = nullptr);

    // Labels, stamps, level lines and icon from the game; the record line to store on OK.
    void setResult(const ReflexResult& result, const QPixmap& levelIcon);

    void brnOKClick();
    void btnCancelClick();
    void btnHelpClick();

    QLabel* label(const char* name) const;
    QPushButton* button(const char* name) const;

private:
    AppContext& app_;
    ReflexResult result_;
    QLabel* imgClear_ = nullptr;
    QLabel* imgUnclear_ = nullptr;
};

}  // namespace keyrook
