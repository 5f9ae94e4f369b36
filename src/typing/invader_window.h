// "ﾀｲﾋﾟﾝｸﾞ ｲﾝﾍﾞｰﾀﾞｰ": the level picker of the letter-shooting game.
#pragma once

#include <QDialog>

#include <array>
#include <functional>

class QLabel;

namespace keyrook {

class TShape;

class TInvader : public QDialog {
    Q_OBJECT
public:
    explicit TInvader(QWidget* parent = nullptr);

    // Runs with the chosen level; the dialog closes afterwards.
    std::function<void(int level)> onChoose;

    void Label1Click(int level);
    void Label1MouseMove(int level);
    void FormMouseMove();

    QLabel* levelLabel(int level) const { return labels_[level]; }
    TShape* levelSquare(int level) const { return squares_[level]; }
    QLabel* lblSpeed() const { return lblSpeed_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QLabel*, 11> labels_{};
    std::array<TShape*, 11> squares_{};
    QLabel* lblSpeed_ = nullptr;
};

}  // namespace keyrook
