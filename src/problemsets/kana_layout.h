// The JIS kana layout (JIS X 6002, as printed on Japanese keyboards), keyed by the physical
// position of each key, so that kana input does not depend on the desktop's keyboard layout or
// on an input method.
//
// A position is the key's Linux input code (evdev; on X11 and Wayland the native key code is
// this code + 8). The window hands over the position and whether Shift is held; everything
// else, the legends included, is decided here.
//
// ANSI keyboards lack the JIS ¥ key (ー) and ろ key. They type ろ on the key left of 1 (` on
// ANSI, 半角/全角 on JIS) and ー on Shift and that key. The JIS keys work as well on any keyboard.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace keyrook {

// One key of the layout. Texts are CP932.
struct KanaKey {
    int code = 0;         // Linux input code of the position
    int row = 0;          // 0 digits, 1 upper, 2 home, 3 lower, 4 space bar
    int column = 0;       // from the left within the row, in keys
    std::string legend;   // unshifted kana (empty for the space bar)
    std::string shifted;  // shifted kana, or empty
    char ascii = 0;       // the ASCII character typed with it (digits), or 0
    char shiftedAscii = 0;  // with Shift (! and ?), or 0
};

// A key press: position and Shift.
struct KanaPress {
    int code = 0;
    bool shift = false;
    bool operator==(const KanaPress&) const = default;
};

// Appended (UTF-8 here) to the title under which a kana session is stored, so its records and
// key statistics stay apart from the romaji ones of the same set.
inline constexpr const char* kKanaTitleMark = "（かな）";

// Input codes of the positions that need naming.
inline constexpr int kKanaCodeSpace = 57;
inline constexpr int kKanaCodeYen = 124;    // ー on JIS
inline constexpr int kKanaCodeRo = 89;      // ろ on JIS
inline constexpr int kKanaCodeGrave = 41;   // ろ (ー with Shift) on ANSI

// The keys of the layout as drawn: rows 0 to 3 left to right, then the space bar. The ANSI
// stand-in for ー and ろ is not among them.
const std::vector<KanaKey>& kanaKeys();
// The key at a position, or null (the ANSI stand-in included).
const KanaKey* kanaKeyAt(int code);

// Linux input code of a native scan code as X11 and Wayland report it; 0 for none.
inline int kanaCodeOfXkbKeycode(std::uint32_t keycode) {
    return keycode > 8 && keycode < 264 ? static_cast<int>(keycode - 8) : 0;
}

// The press notation a press types (its kana, or the digit, ! or ? of a key without a kana
// there, " " for the space bar); empty for a key that types nothing.
std::string kanaTypedBy(KanaPress press);

// Whether a press types the given press notation (see kanaPressOf).
bool kanaPressTypes(KanaPress press, const std::string& notation);

// The press that types one character of the notation (CP932): a key's unshifted kana legend,
// a shifted key's kana (ぁぃぅぇぉゃゅょを っ 、。・「」), ゛, ゜, ー, a digit, ! or ?, and a blank
// or "_" for the space bar. A position of 0 for anything else.
KanaPress kanaPressOf(const std::string& notation);

// The half-width katakana byte (or ASCII byte) under which a press's key statistics count: the
// legend it types (ﾇ ﾌ ｱ ... ﾞ ﾟ ｰ ､ ｡ ･ ｢ ｣, small kana and ｯ their own), the digit or sign for
// the ASCII keys, "_" for the space bar. 0 for a press that types nothing.
unsigned char kanaStatByte(const std::string& notation);

}  // namespace keyrook
