// The font chooser of the settings and the maker: Qt's font dialog, set to Japanese text.
#pragma once

#include <QFont>
#include <QFontDialog>

#include <memory>
#include <optional>

namespace keyrook {

// A font dialog on `start` whose sample and face list are for Japanese writing (its sample shows
// kana rather than "AaBbYyZz"), unless the start face has no Japanese, which the list then keeps.
std::unique_ptr<QFontDialog> japaneseFontDialog(const QFont& start, QWidget* parent,
                                                QFontDialog::FontDialogOptions options = {});

// The dialog run modally: the font chosen, or nothing when cancelled.
std::optional<QFont> chooseJapaneseFont(const QFont& start, QWidget* parent,
                                        QFontDialog::FontDialogOptions options = {});

}  // namespace keyrook
