#include "problemsets/ui/maker_editor.h"

#include <QFontInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

#include "problemsets/maker_readings_window.h"
#include "widgets/qt_services.h"

namespace keyrook {
namespace {

const QColor kMarkColor(0x00, 0x80, 0x80);

}  // namespace

TPEditor::TPEditor(QWidget* parent) : QsciScintilla(parent) {
    setObjectName("TPEditor");
    setUtf8(true);
    setEolMode(EolUnix);
    setEolVisibility(false);  // drawn as marks of their own
    setWrapMode(WrapNone);
    setTabWidth(8);
    setIndentationsUseTabs(true);
    setMarginType(0, NumberMargin);
    setMarginLineNumbers(0, true);
    setMarginWidth(1, 0);
    setColor(Qt::black);
    setPaper(Qt::white);
    SendScintilla(SCI_SETPASTECONVERTENDINGS, 1UL);
    // The horizontal scroll bar follows the longest line shown so far.
    SendScintilla(SCI_SETSCROLLWIDTH, 1UL);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1UL);
    // By its own name: the font chooser offers the editor's font as the user knows it.
    QFont start("ＭＳ ゴシック");
    start.setPixelSize(13);
    setEditorFont(start);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, viewport(), [this] { viewport()->update(); });
}

std::vector<std::string> TPEditor::lineList() const {
    const QString all = text();
    std::vector<std::string> out;
    if (all.isEmpty()) return out;
    QStringList parts = all.split('\n');
    if (all.endsWith('\n')) parts.removeLast();
    out.reserve(static_cast<std::size_t>(parts.size()));
    for (QString& l : parts) {
        if (l.endsWith('\r')) l.chop(1);
        out.push_back(us(l));
    }
    return out;
}

std::string TPEditor::lineText(int row) const {
    if (row < 0 || row >= lines()) return {};
    QString l = text(row);
    while (l.endsWith('\n') || l.endsWith('\r')) l.chop(1);
    return us(l);
}

void TPEditor::setLineList(const std::vector<std::string>& lines) {
    QString all;
    for (const auto& l : lines) all += qs(l) + '\n';
    setUpdatesEnabled(false);
    setText(all);
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    setModified(false);
    setCursorPosition(0, 0);
    setUpdatesEnabled(true);
}

void TPEditor::placeCaret(int row, int charIndex) {
    setCursorPosition(row, charIndex);
    ensureCursorVisible();
    setFocus();
}

void TPEditor::setEditorFont(const QFont& font) {
    font_ = font;
    // Scintilla wants a face it can name in Latin-1 and a size in points.
    QFont f(QFontInfo(font).family());
    const double dpi = logicalDpiY() > 0 ? logicalDpiY() : 96.0;
    const double pixels = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * dpi / 72.0;
    f.setPointSizeF(pixels * 72.0 / dpi);
    f.setBold(font.bold());
    f.setItalic(font.italic());
    f.setUnderline(font.underline());
    f.setStrikeOut(font.strikeOut());
    setFont(f);
    setMarginsFont(f);
    setMarginWidth(0, QStringLiteral("000000"));
    viewport()->update();
}

void TPEditor::toggleSelectAll() {
    const long start = SendScintilla(SCI_GETSELECTIONSTART);
    const long end = SendScintilla(SCI_GETSELECTIONEND);
    const long length = SendScintilla(SCI_GETLENGTH);
    if (length > 0 && end - start == length) {
        // Removing the selection puts the caret back where it stood before all was selected.
        const long caret = caretBeforeSelectAll_ >= 0 && caretBeforeSelectAll_ <= length
                               ? caretBeforeSelectAll_
                               : SendScintilla(SCI_GETCURRENTPOS);
        SendScintilla(SCI_SETEMPTYSELECTION, static_cast<unsigned long>(caret));
        caretBeforeSelectAll_ = -1;
    } else {
        caretBeforeSelectAll_ = SendScintilla(SCI_GETCURRENTPOS);
        selectAll(true);
    }
}

int TPEditor::marginsWidth() const {
    long width = 0;
    for (int m = 0; m < 5; ++m) width += SendScintilla(SCI_GETMARGINWIDTHN, static_cast<unsigned long>(m));
    return static_cast<int>(width);
}

int TPEditor::columnLeft() const {
    return static_cast<int>(SendScintilla(SCI_GETMARGINLEFT) + marginsWidth() - SendScintilla(SCI_GETXOFFSET));
}

double TPEditor::columnWidth() const {
    // Measured over ten columns: a half-width advance need not be a whole pixel.
    const long ten = SendScintilla(SCI_TEXTWIDTH, static_cast<unsigned long>(STYLE_DEFAULT), "0000000000");
    return std::max(1.0, ten / 10.0);
}

bool TPEditor::event(QEvent* event) {
    // Ctrl keys and Esc belong to the window's commands first (Ctrl+A toggles, Ctrl+L reloads,
    // Esc quits); a key no command takes still reaches the editor as a key press.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & Qt::ControlModifier) || key->key() == Qt::Key_Escape) {
            event->ignore();
            return false;
        }
    }
    return QsciScintilla::event(event);
}

void TPEditor::paintEvent(QPaintEvent* event) {
    QsciScintilla::paintEvent(event);
    // A mark after every line end and after the end of the text.
    QPainter p(viewport());
    p.setClipRect(QRect(marginsWidth(), 0, viewport()->width(), viewport()->height()));
    QFont mark(QFontInfo(font_).family());
    mark.setPixelSize(font_.pixelSize() > 0 ? font_.pixelSize()
                                            : qRound(font_.pointSizeF() * logicalDpiY() / 72.0));
    p.setFont(mark);
    p.setPen(kMarkColor);
    const long count = SendScintilla(SCI_GETLINECOUNT);
    const long first = SendScintilla(SCI_GETFIRSTVISIBLELINE);
    const long last = std::min(count - 1, first + SendScintilla(SCI_LINESONSCREEN) + 1);
    const int height = static_cast<int>(SendScintilla(SCI_TEXTHEIGHT, 0UL));
    for (long line = first; line <= last; ++line) {
        const long end = SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line));
        const int x = static_cast<int>(SendScintilla(SCI_POINTXFROMPOSITION, 0UL, end));
        const int y = static_cast<int>(SendScintilla(SCI_POINTYFROMPOSITION, 0UL, end));
        p.drawText(QRect(x + 1, y, 80, height), Qt::AlignLeft | Qt::AlignVCenter,
                   line == count - 1 ? QStringLiteral("[EOF]") : QStringLiteral("↓"));
    }
}

void TPEditorLines::replaceLines(const std::vector<LineEdit>& edits) { replaceEditorLines(e_, edits); }

}  // namespace keyrook
