// The keyboard guide under the typing window: the keyboard picture with the next key lit in the
// colour of the finger that types it (Shift lit beside it when needed), and a line with the live
// speed and accuracy. The key tops come from a GuideTable, so another input swaps them.
#pragma once

#include <QWidget>

#include <optional>
#include <string>
#include <vector>

#include "typing/key_guide.h"
#include "widgets/keyboard_picture.h"

class QLabel;

namespace keyrook {

class TShape;

class TKeyGuide : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 214;

    explicit TKeyGuide(QWidget* parent, const GuideTable& table = romajiGuide());

    // The key tops of another table.
    void setTable(const GuideTable& table);
    // The next character of the line; nullopt when there is none (at rest, between questions).
    void showNext(std::optional<char> next);
    // The key to light (with Shift when it says so); nullopt for none.
    void showKey(std::optional<GuideKey> key);
    void showPace(const std::string& cp932Speed, const std::string& cp932Accuracy);

    // The key lit now (0 for none) and whether Shift is lit with it.
    GuideKey lit() const { return lit_; }
    QLabel* paceLabel() const { return lblPace_; }

private:
    void buildKeys();
    void paintKey(char key, bool lit);
    void paintShift(bool left, bool lit);

    const GuideTable* table_;
    std::vector<std::string> rows_;
    KeyboardPicture keyboard_;
    std::vector<QWidget*> keyParts_;  // everything buildKeys made
    TShape* shifts_[2] = {nullptr, nullptr};  // left, right
    QLabel* shiftCells_[2] = {nullptr, nullptr};
    QLabel* lblPace_ = nullptr;
    GuideKey lit_;
};

}  // namespace keyrook
