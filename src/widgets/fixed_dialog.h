// The start every fixed-size black dialog of the program shares.
#pragma once

#include <QColor>
#include <QFont>
#include <QSize>

class QDialog;

namespace keyrook {

// Names the dialog, gives it its caption, frame and fixed size, paints it black with the given
// text colour and sets its font (MS UI Gothic of the given pixel height; 0 keeps the font it
// has), which it returns.
QFont fixedDialog(QDialog* dialog, const char* name, const char* caption, Qt::WindowFlags frame,
                  QSize size, const QColor& text, int fontPixels = 12);

}  // namespace keyrook
