#include "widgets/font_chooser.h"

#include <QComboBox>
#include <QFontDatabase>

namespace keyrook {

std::unique_ptr<QFontDialog> japaneseFontDialog(const QFont& start, QWidget* parent,
                                                QFontDialog::FontDialogOptions options) {
    auto d = std::make_unique<QFontDialog>(parent);
    d->setWindowTitle("ﾌｫﾝﾄ");
    d->setOptions(options);
    // The dialog offers its writing systems in a combo box only; choosing one there is what
    // sets the sample and narrows the list of faces.
    if (QFontDatabase::writingSystems(QFontInfo(start).family()).contains(QFontDatabase::Japanese)) {
        const QString japanese = QFontDatabase::writingSystemName(QFontDatabase::Japanese);
        for (QComboBox* box : d->findChildren<QComboBox*>()) {
            const int at = box->findText(japanese);
            if (at < 0) continue;
            box->setCurrentIndex(at);
            emit box->activated(at);
            break;
        }
    }
    d->setCurrentFont(start);
    return d;
}

std::optional<QFont> chooseJapaneseFont(const QFont& start, QWidget* parent,
                                        QFontDialog::FontDialogOptions options) {
    auto d = japaneseFontDialog(start, parent, options);
    if (d->exec() != QDialog::Accepted) return std::nullopt;
    return d->selectedFont();
}

}  // namespace keyrook
