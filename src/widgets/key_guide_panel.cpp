#include "widgets/key_guide_panel.h"

#include <QLabel>

#include "widgets/look.h"
#include "widgets/qt_services.h"
#include "widgets/shape.h"

namespace keyrook {
namespace {

constexpr int kPitch = 36;
constexpr int kFrame = 32;
constexpr int kShiftWidth = 68;
const QColor kUnlitText(0x90, 0x90, 0x90);

// A table's rows in place: each row half a key further right than the one above, the space bar
// under C to M.
KeyboardLayout guideLayout(const std::vector<std::string>& rows) {
    static const int lefts[] = {160, 178, 187, 205, 0};
    KeyboardLayout layout;
    for (std::size_t i = 0; i < rows.size() && i < 5; ++i) {
        const bool space = rows[i] == "_";
        layout.rows.push_back({space ? 259 : lefts[i], 28 + static_cast<int>(i) * kPitch, rows[i].c_str()});
    }
    layout.pitch = kPitch;
    layout.frame = kFrame;
    layout.spaceWidth = 216;
    layout.captions = false;
    return layout;
}

QColor dimmed(std::uint32_t rgb) { return rgbColor(rgb).darker(220); }

}  // namespace

TKeyGuide::TKeyGuide(QWidget* parent, const GuideTable& table) : QWidget(parent), table_(&table) {
    setObjectName("KeyGuide");
    setFixedSize(751, kHeight);
    paintBlack(this, kSilver);
    lblPace_ = addLabel(this, "lblPace", "", 160, 4, pixelFont("ＭＳ ゴシック", 14, true), Qt::white, 430,
                        Qt::AlignCenter);
    setTable(table);
}

void TKeyGuide::setTable(const GuideTable& table) {
    if (&table == table_ && !keyboard_.keys.empty()) return;
    const bool sameRows = !keyboard_.keys.empty() && table.rows() == table_->rows();
    table_ = &table;
    if (!sameRows) buildKeys();
    lit_ = GuideKey{};
    for (std::size_t i = 0; i < keyboard_.keys.size(); ++i) {
        keyboard_.cells[i]->setText(fromCp932(table.legend(keyboard_.keys[i])));
        paintKey(keyboard_.keys[i], false);
    }
    paintShift(true, false);
    paintShift(false, false);
}

// The key frames, home-row marks and Shift keys of the table's rows, replacing any before.
void TKeyGuide::buildKeys() {
    qDeleteAll(keyParts_);
    keyParts_.clear();
    rows_ = table_->rows();
    keyboard_ = buildKeyboardPicture(this, pixelFont("Arial", 13, true), kUnlitText, guideLayout(rows_));
    keyParts_.insert(keyParts_.end(), keyboard_.frames.begin(), keyboard_.frames.end());
    keyParts_.insert(keyParts_.end(), keyboard_.cells.begin(), keyboard_.cells.end());
    for (std::size_t i = 0; i < keyboard_.keys.size(); ++i)
        keyboard_.cells[i]->setObjectName(QString("guideKey_%1").arg(static_cast<int>(static_cast<unsigned char>(keyboard_.keys[i])), 2, 16, QChar('0')));
    // Home-row marks: a bar under F and J, as the key tops carry a ridge.
    for (std::size_t i = 0; i < keyboard_.keys.size(); ++i) {
        if (keyboard_.keys[i] != 'F' && keyboard_.keys[i] != 'J') continue;
        const QRect r = keyboard_.frames[i]->geometry();
        auto* mark = new QWidget(this);
        mark->setObjectName(QString("homeMark%1").arg(QChar(keyboard_.keys[i])));
        mark->setGeometry(r.center().x() - 5, r.bottom() - 6, 11, 2);
        mark->setAutoFillBackground(true);
        QPalette pal = mark->palette();
        pal.setColor(QPalette::Window, kSilver);
        mark->setPalette(pal);
        keyParts_.push_back(mark);
    }
    // Shift keys at both ends of the fourth row.
    const int shiftTop = 28 + 3 * kPitch;
    const int lowerKeys = rows_.size() > 3 ? static_cast<int>(rows_[3].size()) : 10;
    const int lefts[2] = {205 - (kPitch - kFrame) - kShiftWidth, 205 + lowerKeys * kPitch};
    for (int side = 0; side < 2; ++side) {
        shifts_[side] = new TShape(TShape::Kind::RoundRect, this);
        shifts_[side]->setObjectName(side == 0 ? "guideShiftL" : "guideShiftR");
        shifts_[side]->setGeometry(lefts[side], shiftTop, kShiftWidth, kFrame);
        shiftCells_[side] = new QLabel("Shift", this);
        shiftCells_[side]->setGeometry(lefts[side] + 2, shiftTop + 3, kShiftWidth - 4, kFrame - 6);
        shiftCells_[side]->setAlignment(Qt::AlignCenter);
        shiftCells_[side]->setFont(pixelFont("Arial", 12, true));
        keyParts_.push_back(shifts_[side]);
        keyParts_.push_back(shiftCells_[side]);
    }
    for (QWidget* w : keyParts_) w->show();
    lblPace_->raise();
}

void TKeyGuide::paintKey(char key, bool lit) {
    const std::uint32_t colour = fingerColor(fingerOf(key));
    for (std::size_t i = 0; i < keyboard_.keys.size(); ++i) {
        if (keyboard_.keys[i] != key) continue;
        keyboard_.frames[i]->setPenColor(lit ? rgbColor(colour) : dimmed(colour));
        keyboard_.frames[i]->setBrushColor(lit ? rgbColor(colour) : QColor(Qt::black));
        setTextColor(keyboard_.cells[i], lit ? QColor(Qt::black) : kUnlitText);
    }
}

void TKeyGuide::paintShift(bool left, bool lit) {
    const int side = left ? 0 : 1;
    const std::uint32_t colour = fingerColor(left ? Finger::LeftPinky : Finger::RightPinky);
    shifts_[side]->setPenColor(lit ? rgbColor(colour) : dimmed(colour));
    shifts_[side]->setBrushColor(lit ? rgbColor(colour) : QColor(Qt::black));
    setTextColor(shiftCells_[side], lit ? QColor(Qt::black) : kUnlitText);
}

void TKeyGuide::showNext(std::optional<char> next) {
    std::optional<GuideKey> key;
    if (next) key = table_->keyFor(*next);
    showKey(key);
}

void TKeyGuide::showKey(std::optional<GuideKey> next) {
    const GuideKey key = next.value_or(GuideKey{});
    if (key == lit_) return;
    if (lit_.key) paintKey(lit_.key, false);
    paintShift(true, false);
    paintShift(false, false);
    lit_ = key;
    if (!key.key) return;
    paintKey(key.key, true);
    // Shift is held by the other hand than the one that types the key.
    if (key.shift) {
        const Finger f = fingerOf(key.key);
        const bool leftHand = f == Finger::LeftPinky || f == Finger::LeftRing || f == Finger::LeftMiddle ||
                              f == Finger::LeftIndex;
        paintShift(!leftHand, true);
    }
}

void TKeyGuide::showPace(const std::string& cp932Speed, const std::string& cp932Accuracy) {
    lblPace_->setText("速度 " + fromCp932(cp932Speed) + "　　正確率 " + fromCp932(cp932Accuracy));
}

}  // namespace keyrook
