// The look shared by the program's windows: pixel-sized fonts, text colours, black windows.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <cstdint>
#include <functional>

class QAction;
class QKeySequence;
class QLabel;
class QMenu;
class QPushButton;
class QRect;
class QWidget;

namespace keyrook {

inline const QColor kSilver(0xC0, 0xC0, 0xC0);

// Frames of the program's windows; every one stays above other programs.
// A dialog box: caption and close box only.
inline constexpr Qt::WindowFlags kDialogFrame =
    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint;
// A dialog with system menu and minimise box.
inline constexpr Qt::WindowFlags kToolFrame = Qt::Dialog | Qt::WindowTitleHint |
                                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                              Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint;
// A top-level window of its own with system menu and minimise box.
inline constexpr Qt::WindowFlags kMainFrame = Qt::Window | Qt::WindowTitleHint |
                                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                              Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint;

// A font of the given pixel height. A face that is not installed (the Windows faces the windows
// are drawn in) is asked for by the installed face it is mapped to, which is the face the font
// system would end up with anyway: asking for it directly spares a search for fallbacks of the
// missing face, most of the time the first paint of the menu takes.
QFont pixelFont(const QString& family, int pixels, bool bold = false, bool italic = false);

// The text colour of a label, check box or button.
void setTextColor(QWidget* widget, const QColor& color);

// A colour held as 0xRRGGBB by the core.
inline QColor rgbColor(std::uint32_t c) { return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

// Black background, the given text colour.
void paintBlack(QWidget* widget, const QColor& text);

// A label placed at (x, y), sized to its text unless a width is given.
QLabel* placeLabel(QWidget* parent, const QString& text, int x, int y, const QFont& font,
                   const QColor& color, const char* objectName = nullptr, int width = 0);

// Gives the label the base font, made smaller a pixel at a time while its text is wider than
// the label, so that no glyph is cut.
void fitToWidth(QLabel* label, const QFont& base);

// The same with the name first, as the dialogs lay out their named labels.
QLabel* addLabel(QWidget* parent, const char* name, const QString& text, int x, int y,
                 const QFont& font, const QColor& color, int width = 0,
                 Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);

// A flat push button of a black window, drawn by the style sheet; it never becomes the
// default button.
QPushButton* flatButton(QWidget* parent, const char* name, const QString& caption,
                        const QRect& geometry, const QString& styleSheet);

// A flat white-on-black button inside a gray box 2 pixels larger all round, as the result
// windows lay out their buttons; the text turns yellow under the mouse.
QPushButton* boxedButton(QWidget* parent, const char* name, const QString& caption,
                         const QRect& geometry);

// The style of a black radio group with silver items.
inline constexpr const char* kBlackRadioGroupStyle =
    "QGroupBox { background: black; border: 1px solid gray; margin-top: 0px; }"
    "QRadioButton { color: silver; background: transparent; }"
    "QRadioButton::indicator { width: 8px; height: 8px; border-radius: 5px;"
    " border: 1px solid gray; background: black; }"
    "QRadioButton::indicator:checked { background: silver; border: 1px solid white; }";

// Moves a window made over its parent to the parent's centre (the frame's centre once the
// parent is shown).
void centreOnParent(QWidget* window);

// An item of a menu that is never shown: added to the owner too, so its key works in the
// owner's window even while the button of the same command is disabled.
QAction* addKeyCommand(QWidget* owner, QMenu* menu, const char* name, const char* caption,
                       const QKeySequence& key, std::function<void()> run);

}  // namespace keyrook
