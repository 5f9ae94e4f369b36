// The level picker "反射神経ﾓｰﾄﾞ": six levels with their conditions and the stamps of the levels
// the user has cleared. Clicking a level's icon starts the game window at that level.
#pragma once

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;

namespace keyrook {

class AppContext;
class TReflection;

class TRefLevel : public QDialog {
    Q_OBJECT
public:
    TRefLevel(AppContext& app, TReflection& game, QWidget* parent = nullptr);

    // Shows the stamp "Clear" + level for every level marked true.
    void setClearMarks(const std::array<bool, 6>& cleared);

    // Shared by the six icons: the level is the sender's name after "Level".
    void Level1Click(QObject* sender);
    void btnCancelClick();
    void btnHelpClick();

    QLabel* Level(int level) const { return icons_[static_cast<std::size_t>(level - 1)]; }
    QLabel* Clear(int level) const { return stamps_[static_cast<std::size_t>(level - 1)]; }
    // "lbl" + level + line, line 1..3.
    QLabel* line(int level, int line) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AppContext& app_;
    TReflection& game_;
    std::array<QLabel*, 6> icons_{};
    std::array<QLabel*, 6> stamps_{};
};

// The main menu's "Reflection" entry: the picker with the user's cleared levels, modal.
void openReflection(AppContext& app, TReflection& game);

}  // namespace keyrook
