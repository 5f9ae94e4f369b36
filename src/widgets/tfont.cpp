#include "widgets/tfont.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QPalette>

#include "widgets/qt_services.h"

namespace keyrook {
namespace {

// Windows system colours as this desktop's palette shows them.
QColor systemColor(int index) {
    const QPalette palette = QGuiApplication::palette();
    switch (index) {
    case 5: return palette.color(QPalette::Base);                       // clWindow
    case 8: return palette.color(QPalette::WindowText);                 // clWindowText
    case 13: return palette.color(QPalette::Highlight);                 // clHighlight
    case 14: return palette.color(QPalette::HighlightedText);           // clHighlightText
    case 15: return palette.color(QPalette::Button);                    // clBtnFace
    case 17: return palette.color(QPalette::Disabled, QPalette::Text);  // clGrayText
    case 18: return palette.color(QPalette::ButtonText);                // clBtnText
    case 23: return palette.color(QPalette::ToolTipText);               // clInfoText
    case 24: return palette.color(QPalette::ToolTipBase);               // clInfoBk
    default: return palette.color(QPalette::WindowText);
    }
}

}  // namespace

void TFont::setCharset(int charset) {
    if (charset_ == charset) return;
    charset_ = charset;
    touch();
}

void TFont::setColor(std::int32_t color) {
    if (color_ == color) return;
    color_ = color;
    touch();
}

void TFont::setHeight(int height) {
    if (height_ == height) return;
    height_ = height;
    touch();
}

void TFont::setName(const QString& name) {
    if (name_ == name) return;
    name_ = name;
    touch();
}

void TFont::setPitch(FontPitch pitch) {
    if (pitch_ == pitch) return;
    pitch_ = pitch;
    touch();
}

void TFont::setStyle(unsigned style) {
    if (style_ == style) return;
    style_ = style;
    touch();
}

QFont TFont::font() const {
    QFont f(name_);
    f.setPixelSize(height_ != 0 ? std::abs(height_) : 12);
    f.setBold(style_ & fsBold);
    f.setItalic(style_ & fsItalic);
    f.setUnderline(style_ & fsUnderline);
    f.setStrikeOut(style_ & fsStrikeOut);
    if (pitch_ == FontPitch::Fixed) {
        f.setFixedPitch(true);
        f.setStyleHint(QFont::TypeWriter);
    }
    return f;
}

void TFont::setFont(const QFont& font) {
    name_ = font.family();
    if (font.pixelSize() > 0)
        height_ = -font.pixelSize();
    else if (font.pointSizeF() > 0)
        height_ = -static_cast<int>(std::lround(font.pointSizeF() * 96.0 / 72.0));
    style_ = (font.bold() ? fsBold : 0u) | (font.italic() ? fsItalic : 0u) |
             (font.underline() ? fsUnderline : 0u) | (font.strikeOut() ? fsStrikeOut : 0u);
    if (font.fixedPitch())
        pitch_ = FontPitch::Fixed;
    else if (pitch_ == FontPitch::Fixed)
        pitch_ = FontPitch::Default;
    touch();
}

QColor TFont::color() const {
    const auto bits = static_cast<std::uint32_t>(color_);
    if ((bits & 0xFF000000u) == 0xFF000000u) return systemColor(static_cast<int>(bits & 0xFF));
    if (color_ == colors::clNone) return QColor(Qt::transparent);
    if (color_ == colors::clDefault) return systemColor(8);
    return QColor(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                  static_cast<int>((bits >> 16) & 0xFF));
}

void TFont::setColor(const QColor& color) {
    if (color == this->color()) return;
    setColor(static_cast<std::int32_t>(static_cast<std::uint32_t>(color.red()) |
                                       static_cast<std::uint32_t>(color.green()) << 8 |
                                       static_cast<std::uint32_t>(color.blue()) << 16));
}

void TFont::assign(const TFont& other) {
    charset_ = other.charset_;
    color_ = other.color_;
    height_ = other.height_;
    name_ = other.name_;
    pitch_ = other.pitch_;
    style_ = other.style_;
    touch();
}

std::optional<FontSpec> TFont::fontSpec() const {
    auto name = toCp932(name_);
    if (!name) return std::nullopt;
    return FontSpec{charset_, color_, height_, *name, pitch_, style_};
}

void TFont::setFontSpec(const FontSpec& stored) {
    charset_ = stored.charset;
    color_ = stored.color;
    height_ = stored.height;
    name_ = fromCp932(stored.name);
    pitch_ = stored.pitch;
    style_ = stored.style;
    touch();
}

}  // namespace keyrook
