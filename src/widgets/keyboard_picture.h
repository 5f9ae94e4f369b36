// The pictures of the reflex windows: the keyboard of key frames on which letters light up,
// the six level icons and the clear / not-clear stamps. All are drawn, none is loaded.
#pragma once

#include <QPixmap>

#include <array>
#include <vector>

class QColor;
class QFont;
class QLabel;
class QWidget;

namespace keyrook {

class TShape;

// 40 key frames in four rows (10 keys each, 56 px apart) placed on parent at its client
// coordinates, each with a centred text cell. The letter cells are named "Label" + letter.
struct KeyboardPicture {
    std::array<QLabel*, 26> letterCells{};  // indexed by letter - 'A'
    std::vector<TShape*> frames;
    std::vector<QLabel*> cells;             // all 40 text cells, row by row
};
KeyboardPicture buildKeyboardPicture(QWidget* parent, const QFont& font, const QColor& text);

// 50 x 50 icon of a level (1..6).
QPixmap levelIcon(int level);
// 72 x 73 stamps laid over a level's text.
QPixmap clearStamp();
QPixmap unclearStamp();
// A small ornament for the level picker.
QPixmap pickerOrnament(int width, int height);

}  // namespace keyrook
