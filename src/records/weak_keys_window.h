// The window "苦手ｷｰ分析": one user's per-key statistics on a keyboard heat map, the ten
// weakest keys, the figures of the chosen range, the practice set built from the weakest keys,
// and a chosen key's miss rate per week over the whole history.
#pragma once

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

#include "records/key_analysis.h"
#include "widgets/keyboard_picture.h"

class QLabel;
class QMouseEvent;
class QTreeWidget;
class QPushButton;

namespace keyrook {

class AppContext;
class TRadioGroup;
class TTrendChart;
class VariantTable;

// Where the window reads and writes.
struct WeakKeysFiles {
    std::string keyStats;                // the user's .kst file
    std::vector<std::string> sets;       // the problem sets the practice set is built from
    std::string practiceSet;             // where the practice set is written
};

class TWeakKeys : public QDialog {
    Q_OBJECT
public:
    // Practising a user's weak keys is practising as that user: asUser makes the shown user
    // the current one, with their settings in force, and gives the spellings the practice set
    // is scored with. It runs when "苦手ｷｰ練習" has the data it needs.
    using AsUser = std::function<const VariantTable&()>;

    TWeakKeys(AppContext& app, const std::string& cp932User, WeakKeysFiles files, AsUser asUser,
              QWidget* parent = nullptr);

    // For a user who types in kana: the kana layout, the kana sessions only, and a practice
    // set scored by kana presses. Called before load().
    void useKanaLayout();
    // Reads the user's .kst file (a missing file is no session yet) and shows the range.
    void load();

    void rgpRangeClick();
    // A key of the map or a row of the list was clicked: its miss rate per week, read from the
    // whole file (only now, so the window opens as fast as its range allows).
    void chooseKey(unsigned char key);
    void btnPracticeClick();  // 苦手ｷｰ練習
    void btnHelpClick();
    void btnCloseClick();

    // The practice set was written: the caller starts a session on it.
    bool practiceRequested() const { return practiceRequested_; }

    const KeyAnalysis& analysis() const { return analysis_; }
    const KeyboardPicture& keyboard() const { return keyboard_; }
    TRadioGroup* rgpRange() const { return rgpRange_; }
    QTreeWidget* lstWeak() const { return lstWeak_; }
    TTrendChart* keyChart() const { return keyChart_; }
    QLabel* label(const char* name) const;

    // Confusions listed under the map.
    static constexpr int kConfusionsShown = 8;

protected:
    void mousePressEvent(QMouseEvent* e) override;

private:
    void showAnalysis();
    void markChosenKey();

    AppContext& app_;
    WeakKeysFiles files_;
    AsUser asUser_;
    std::vector<StoredKeyStats> sessions_;
    KeyAnalysis analysis_;
    KeyboardPicture keyboard_;
    TRadioGroup* rgpRange_ = nullptr;
    QTreeWidget* lstWeak_ = nullptr;
    TTrendChart* keyChart_ = nullptr;
    bool practiceRequested_ = false;
    bool kana_ = false;
    unsigned char chosenKey_ = 0;
};

}  // namespace keyrook
