// The font object of the settings: what a font chooser gives plus the colour and character
// set, stored in the text form (settings/text_form.h).
#pragma once

#include <QColor>
#include <QFont>
#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>

#include "settings/text_form.h"

namespace keyrook {

// A font as the settings store it: what a font chooser gives plus the colour and the
// character set. Controls take font() and color(); font choosers give back setFont().
class TFont : public QObject {
    Q_OBJECT
public:
    explicit TFont(QObject* parent = nullptr) : QObject(parent) {}

    int Charset() const { return charset_; }
    void setCharset(int charset);
    std::int32_t Color() const { return color_; }  // $00BBGGRR or a system colour
    void setColor(std::int32_t color);
    int Height() const { return height_; }  // pixels, negative for character height
    void setHeight(int height);
    QString Name() const { return name_; }
    void setName(const QString& name);
    FontPitch Pitch() const { return pitch_; }
    void setPitch(FontPitch pitch);
    unsigned Style() const { return style_; }  // FontStyle bits
    void setStyle(unsigned style);

    QFont font() const;
    // Takes face, size and style from a chosen font; the colour and character set stay.
    void setFont(const QFont& font);
    QColor color() const;
    // Keeps a named colour (clWindowText...) when it already shows as this colour.
    void setColor(const QColor& color);
    void assign(const TFont& other);

    // The stored form; nullopt when the face name has characters Shift-JIS lacks.
    std::optional<FontSpec> fontSpec() const;
    void setFontSpec(const FontSpec& stored);

signals:
    void changed();

private:
    void touch() { emit changed(); }
    int charset_ = charsets::DEFAULT_CHARSET;
    std::int32_t color_ = colors::clWindowText;
    int height_ = -11;
    QString name_ = QStringLiteral("MS Sans Serif");
    FontPitch pitch_ = FontPitch::Default;
    unsigned style_ = 0;
};

}  // namespace keyrook
