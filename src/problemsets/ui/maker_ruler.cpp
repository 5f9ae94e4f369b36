#include "problemsets/ui/maker_ruler.h"

#include <QPainter>

#include <algorithm>

#include "problemsets/ui/maker_editor.h"
#include "widgets/look.h"

namespace keyrook {

EditorRuler::EditorRuler(TPEditor* editor, const MakerView& view, QWidget* parent)
    : QWidget(parent), editor_(editor), view_(view) {
    setObjectName("Ruler");
    setFixedHeight(16);
}

void EditorRuler::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0xF0, 0xF0, 0xE8));
    const int frame = editor_->frameWidth();
    const double start = frame + editor_->columnLeft();
    const double w = editor_->columnWidth();
    const int textStart = frame + editor_->marginsWidth();
    p.setClipRect(QRect(textStart, 0, width() - textStart, height()));
    p.fillRect(QRectF(start + view_.caretColumn * w, 0, w, height()), QColor(0xC0, 0xD8, 0xF0));
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.setFont(pixelFont("Arial", 9));
    const int first = std::max(0, static_cast<int>((textStart - start) / w) - 1);
    for (int c = first; start + c * w <= width(); ++c) {
        const int x = static_cast<int>(start + c * w);
        const int tick = c % 10 == 0 ? height() : c % 5 == 0 ? 6 : 3;
        p.drawLine(x, height() - tick, x, height() - 1);
        if (c % 10 == 0 && c > 0) p.drawText(x + 2, 9, QString::number(c));
    }
    p.drawLine(0, height() - 1, width(), height() - 1);
}

}  // namespace keyrook
