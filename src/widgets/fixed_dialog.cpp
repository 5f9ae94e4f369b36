#include "widgets/fixed_dialog.h"

#include <QDialog>

#include "widgets/look.h"

namespace keyrook {

QFont fixedDialog(QDialog* dialog, const char* name, const char* caption, Qt::WindowFlags frame,
                  QSize size, const QColor& text, int fontPixels) {
    dialog->setObjectName(name);
    dialog->setWindowTitle(QString::fromUtf8(caption));
    dialog->setWindowFlags(frame);
    dialog->setFixedSize(size);
    paintBlack(dialog, text);
    if (fontPixels <= 0) return dialog->font();
    const QFont font = pixelFont("MS UI Gothic", fontPixels);
    dialog->setFont(font);
    return font;
}

}  // namespace keyrook
