#include "widgets/font_chooser.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QLineEdit>

namespace keyrook {
namespace {

// The sample shows Japanese for a face that has it; a face without Japanese is still found in
// the list the chooser starts on.
TEST(FontChooser, StartsOnJapaneseTextWhereTheFaceHasIt) {
    const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
    if (japanese.isEmpty()) GTEST_SKIP() << "no Japanese face installed";
    auto showsJapanese = [](QFontDialog& d) {
        for (QLineEdit* e : d.findChildren<QLineEdit*>())
            if (e->text() == QFontDatabase::writingSystemSample(QFontDatabase::Japanese)) return true;
        return false;
    };
    auto d = japaneseFontDialog(QFont(japanese.front(), 12), nullptr);
    EXPECT_TRUE(showsJapanese(*d));
    EXPECT_EQ(d->currentFont().family(), japanese.front());

    for (const QString& face : QFontDatabase::families()) {
        if (japanese.contains(face) || QFontInfo(QFont(face)).family() != face) continue;
        auto latin = japaneseFontDialog(QFont(face, 12), nullptr);
        EXPECT_EQ(latin->currentFont().family(), face);
        EXPECT_FALSE(showsJapanese(*latin));
        break;
    }
}

}  // namespace
}  // namespace keyrook
