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

// Where the keys go: rows of keys at a pitch, each key a square frame (a "_" in a row is the
// space bar, spaceWidth wide). With captions every key shows its character.
struct KeyboardLayout {
    struct Row {
        int left, top;
        const char* keys;
    };
    std::vector<Row> rows;
    int pitch = 56;
    int frame = 49;
    int spaceWidth = 0;
    bool captions = false;
};
// The reflex game's keyboard: 40 frames in four rows (digits, QWERTY, ASDF, ZXCV), 10 keys
// each, 56 px apart; only letters ever show text.
const KeyboardLayout& reflexKeyboard();

// Key frames placed on parent at its client coordinates, each with a centred text cell. The
// letter cells are named "Label" + letter.
struct KeyboardPicture {
    std::array<QLabel*, 26> letterCells{};  // indexed by letter - 'A'
    std::vector<TShape*> frames;
    std::vector<QLabel*> cells;             // all text cells, row by row
    std::vector<char> keys;                 // the key of each frame and cell
};
KeyboardPicture buildKeyboardPicture(QWidget* parent, const QFont& font, const QColor& text,
                                     const KeyboardLayout& layout = reflexKeyboard());

// 50 x 50 icon of a level (1..6).
QPixmap levelIcon(int level);
// 72 x 73 stamps laid over a level's text.
QPixmap clearStamp();
QPixmap unclearStamp();
// A small ornament for the level picker.
QPixmap pickerOrnament(int width, int height);

}  // namespace keyrook
