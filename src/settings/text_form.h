// The text form of stored objects: the textual notation of window resources, as the settings
// file holds object-valued properties. Only the body lines are handled here (the "object
// TStreamingDummy" and "end" lines around them are not stored), each property of the object
// on a line "  Obj.<name> = <value>". Two objects occur: a string list and a font.
//
// Strings are CP932 bytes. Quoting: bytes from the blank upward except the single quote go
// inside single quotes, a quote or control byte is written as "#" and its decimal code next
// to the quoted pieces, an empty string is ''. A string over 64 bytes is split over lines
// joined by " +".
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace keyrook {

// A text that does not parse. line() is the index of the offending stored line (-1 when the
// text ends too early); what() says what is wrong, in words a user can follow.
class TextFormError : public std::runtime_error {
public:
    TextFormError(int line, const std::string& message)
        : std::runtime_error(message), line_(line) {}
    int line() const { return line_; }

private:
    int line_;
};

// Colours as the stored files write them: $00BBGGRR, or a system colour with the high byte
// 0xFF. Named values are written by name ("clWhite"), others as decimal numbers.
namespace colors {
constexpr std::int32_t clBlack = 0x000000;
constexpr std::int32_t clWhite = 0xFFFFFF;
constexpr std::int32_t clSystemColor = static_cast<std::int32_t>(0xFF000000u);
constexpr std::int32_t clWindowText = clSystemColor | 8;
constexpr std::int32_t clNone = 0x1FFFFFFF;
constexpr std::int32_t clDefault = 0x20000000;
}  // namespace colors

namespace charsets {
constexpr int ANSI_CHARSET = 0;
constexpr int DEFAULT_CHARSET = 1;
constexpr int SHIFTJIS_CHARSET = 128;
}  // namespace charsets

enum class FontPitch { Default, Variable, Fixed };  // fpDefault, fpVariable, fpFixed

enum FontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct FontSpec {
    int charset = charsets::DEFAULT_CHARSET;
    std::int32_t color = colors::clWindowText;
    int height = -11;  // pixels; negative: character height, positive: cell height
    std::string name = "MS Sans Serif";  // CP932
    FontPitch pitch = FontPitch::Default;
    unsigned style = 0;  // FontStyle bits

    bool operator==(const FontSpec&) const = default;
};

// One string as a value, without line splitting ("'it'#39's'").
std::string quoteTextFormString(std::string_view cp932);

std::vector<std::string> stringsToTextForm(const std::vector<std::string>& items);
std::vector<std::string> fontToTextForm(const FontSpec& font);

// Parse the stored lines and apply them. On TextFormError the target is left as it was.
// Properties that the lines do not mention keep their value; "Obj.Strings" replaces the list.
void textFormToStrings(const std::vector<std::string>& lines, std::vector<std::string>& items);
void textFormToFont(const std::vector<std::string>& lines, FontSpec& font);

// Identifier or decimal text of a colour and a character set, and back.
std::string colorToText(std::int32_t color);
std::optional<std::int32_t> colorFromIdent(std::string_view ident);
std::string charsetToText(int charset);
std::optional<int> charsetFromIdent(std::string_view ident);

}  // namespace keyrook
