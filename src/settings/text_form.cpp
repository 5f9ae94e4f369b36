#include "settings/text_form.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <utility>

#include "base/cp932.h"

namespace keyrook {
namespace {

// Bytes of string per output line before the writer breaks it with " +".
constexpr std::size_t kLineLength = 64;
// Nesting of lists and sets; far beyond any real form, it keeps a crafted text off the stack.
constexpr int kMaxDepth = 16;

std::string indent(int level) { return std::string(static_cast<std::size_t>(level) * 2, ' '); }

bool sameIdent(std::string_view a, std::string_view b) { return sameTextIgnoreCase(a, b); }

struct NamedValue {
    std::int32_t value;
    const char* name;
};

constexpr std::int32_t sys(int n) { return colors::clSystemColor | n; }

constexpr NamedValue kColors[] = {
    {0x000000, "clBlack"},       {0x000080, "clMaroon"},
    {0x008000, "clGreen"},       {0x008080, "clOlive"},
    {0x800000, "clNavy"},        {0x800080, "clPurple"},
    {0x808000, "clTeal"},        {0x808080, "clGray"},
    {0xC0C0C0, "clSilver"},      {0x0000FF, "clRed"},
    {0x00FF00, "clLime"},        {0x00FFFF, "clYellow"},
    {0xFF0000, "clBlue"},        {0xFF00FF, "clFuchsia"},
    {0xFFFF00, "clAqua"},        {0xFFFFFF, "clWhite"},
    {0xC0DCC0, "clMoneyGreen"},  {0xF0CAA6, "clSkyBlue"},
    {0xF0FBFF, "clCream"},       {0xA4A0A0, "clMedGray"},
    {sys(10), "clActiveBorder"}, {sys(2), "clActiveCaption"},
    {sys(12), "clAppWorkSpace"}, {sys(1), "clBackground"},
    {sys(15), "clBtnFace"},      {sys(20), "clBtnHighlight"},
    {sys(16), "clBtnShadow"},    {sys(18), "clBtnText"},
    {sys(9), "clCaptionText"},   {sys(27), "clGradientActiveCaption"},
    {sys(28), "clGradientInactiveCaption"},
    {sys(17), "clGrayText"},     {sys(13), "clHighlight"},
    {sys(14), "clHighlightText"}, {sys(26), "clHotLight"},
    {sys(11), "clInactiveBorder"}, {sys(3), "clInactiveCaption"},
    {sys(19), "clInactiveCaptionText"},
    {sys(24), "clInfoBk"},       {sys(23), "clInfoText"},
    {sys(4), "clMenu"},          {sys(30), "clMenuBar"},
    {sys(29), "clMenuHighlight"}, {sys(7), "clMenuText"},
    {sys(0), "clScrollBar"},     {sys(21), "cl3DDkShadow"},
    {sys(22), "cl3DLight"},      {sys(5), "clWindow"},
    {sys(6), "clWindowFrame"},   {sys(8), "clWindowText"},
    {colors::clNone, "clNone"},  {colors::clDefault, "clDefault"},
};

constexpr NamedValue kCharsets[] = {
    {0, "ANSI_CHARSET"},         {1, "DEFAULT_CHARSET"},     {2, "SYMBOL_CHARSET"},
    {77, "MAC_CHARSET"},         {128, "SHIFTJIS_CHARSET"},  {129, "HANGEUL_CHARSET"},
    {130, "JOHAB_CHARSET"},      {134, "GB2312_CHARSET"},    {136, "CHINESEBIG5_CHARSET"},
    {161, "GREEK_CHARSET"},      {162, "TURKISH_CHARSET"},   {163, "VIETNAMESE_CHARSET"},
    {177, "HEBREW_CHARSET"},     {178, "ARABIC_CHARSET"},    {186, "BALTIC_CHARSET"},
    {204, "RUSSIAN_CHARSET"},    {222, "THAI_CHARSET"},      {238, "EASTEUROPE_CHARSET"},
    {255, "OEM_CHARSET"},
};

constexpr const char* kPitches[] = {"fpDefault", "fpVariable", "fpFixed"};
constexpr const char* kStyles[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};

template <std::size_t N>
const char* nameOf(const NamedValue (&table)[N], std::int32_t value) {
    for (const auto& e : table)
        if (e.value == value) return e.name;
    return nullptr;
}

template <std::size_t N>
std::optional<std::int32_t> valueOf(const NamedValue (&table)[N], std::string_view name) {
    for (const auto& e : table)
        if (sameIdent(e.name, name)) return e.value;
    return std::nullopt;
}

// True when byte i of s is the second byte of a two-byte character.
bool isTrailByte(std::string_view s, std::size_t i) {
    std::size_t p = 0;
    while (p < i) p += (isLeadByte(static_cast<unsigned char>(s[p])) && p + 1 < s.size()) ? 2 : 1;
    return p > i;
}

// Appends a string value to `line`; a string over kLineLength bytes starts on a new line and
// continues over as many as it needs, each line but the last ending in " +".
void writeString(std::vector<std::string>& out, std::string& line, std::string_view s, int level) {
    if (s.empty()) {
        line += "''";
        return;
    }
    auto newLine = [&] {
        out.push_back(std::move(line));
        line = indent(level + 1);
    };
    const std::size_t n = s.size();
    std::size_t i = 0;
    if (n > kLineLength) newLine();
    std::size_t lineStart = 0;
    while (i < n) {
        bool lineBreak = false;
        auto c = static_cast<unsigned char>(s[i]);
        if (c >= ' ' && c != '\'') {
            const std::size_t j = i;
            do {
                ++i;
            } while (i < n && static_cast<unsigned char>(s[i]) >= ' ' && s[i] != '\'' &&
                     i - lineStart < kLineLength);
            if (i - lineStart >= kLineLength) {
                lineBreak = true;
                // Keep a two-byte character whole on the next line.
                if (i < n && i - 1 > j && isTrailByte(s, i)) --i;
            }
            line += '\'';
            line.append(s.substr(j, i - j));
            line += '\'';
        } else {
            line += '#';
            line += std::to_string(c);
            ++i;
            if (i - lineStart >= kLineLength) lineBreak = true;
        }
        if (lineBreak && i < n) {
            line += " +";
            newLine();
            lineStart = i;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Parsing

struct Value {
    enum Kind { Integer, Float, String, Ident, Set, List } kind = Integer;
    std::int64_t integer = 0;
    std::string text;              // String, Ident
    std::vector<std::string> set;  // Set
    std::vector<Value> list;       // List
};

struct Assignment {
    std::string path;
    Value value;
    int line;
};

struct Token {
    enum Kind { End, Ident, String, Integer, Float, Symbol } kind = End;
    std::string text;
    std::int64_t integer = 0;
    char symbol = 0;
    int line = -1;
};

class Parser {
public:
    explicit Parser(const std::vector<std::string>& lines) : lines_(lines) { advance(); }

    std::vector<Assignment> body() {
        std::vector<Assignment> out;
        while (tok_.kind != Token::End) {
            if (tok_.kind != Token::Ident) fail("プロパティ名がありません");
            if (sameIdent(tok_.text, "object") || sameIdent(tok_.text, "inherited") ||
                sameIdent(tok_.text, "inline") || sameIdent(tok_.text, "end"))
                fail("入れ子のオブジェクトは読めません（" + tok_.text + "）");
            Assignment a;
            a.line = tok_.line;
            a.path = tok_.text;
            advance();
            while (isSymbol('.')) {
                advance();
                if (tok_.kind != Token::Ident) fail(a.path + ". の後にプロパティ名がありません");
                a.path += "." + tok_.text;
                advance();
            }
            if (!isSymbol('=')) fail(a.path + " の後に = がありません");
            advance();
            a.value = value(0);
            out.push_back(std::move(a));
        }
        return out;
    }

private:
    [[noreturn]] void fail(const std::string& message) const {
        throw TextFormError(tok_.kind == Token::End ? -1 : tok_.line, message);
    }
    [[noreturn]] void failAt(int line, const std::string& message) const {
        throw TextFormError(line, message);
    }

    bool isSymbol(char c) const { return tok_.kind == Token::Symbol && tok_.symbol == c; }

    Value value(int depth) {
        if (depth > kMaxDepth) fail("括弧の入れ子が深すぎます");
        Value v;
        switch (tok_.kind) {
        case Token::End:
            fail("値がありません");
        case Token::Integer:
            v.kind = Value::Integer;
            v.integer = tok_.integer;
            advance();
            return v;
        case Token::Float:
            v.kind = Value::Float;
            v.text = tok_.text;
            advance();
            return v;
        case Token::Ident:
            v.kind = Value::Ident;
            v.text = tok_.text;
            advance();
            return v;
        case Token::String:
            v.kind = Value::String;
            v.text = tok_.text;
            advance();
            while (isSymbol('+')) {
                advance();
                if (tok_.kind != Token::String) fail("+ の後に文字列がありません");
                v.text += tok_.text;
                advance();
            }
            return v;
        case Token::Symbol:
            break;
        }
        if (isSymbol('[')) {
            v.kind = Value::Set;
            advance();
            if (isSymbol(']')) {
                advance();
                return v;
            }
            for (;;) {
                if (tok_.kind != Token::Ident) fail("[ ] の中に名前でないものがあります");
                v.set.push_back(tok_.text);
                advance();
                if (isSymbol(']')) break;
                if (!isSymbol(',')) fail("] がありません");
                advance();
            }
            advance();
            return v;
        }
        if (isSymbol('(')) {
            v.kind = Value::List;
            advance();
            while (!isSymbol(')')) {
                if (tok_.kind == Token::End) fail(") がありません");
                v.list.push_back(value(depth + 1));
            }
            advance();
            return v;
        }
        if (isSymbol('{') || isSymbol('<')) fail("この形式の値は読めません");
        fail(std::string("値がありません（") + tok_.symbol + "）");
    }

    // Lexer: the lines are one text; a line end is a blank, but a string must close on its line.
    bool atEnd() const { return line_ >= lines_.size(); }
    char peek() const { return pos_ < lines_[line_].size() ? lines_[line_][pos_] : '\n'; }

    void skipBlanks() {
        while (!atEnd()) {
            const std::string& l = lines_[line_];
            while (pos_ < l.size() && static_cast<unsigned char>(l[pos_]) <= ' ') ++pos_;
            if (pos_ < l.size()) return;
            ++line_;
            pos_ = 0;
        }
    }

    void advance() {
        skipBlanks();
        tok_ = Token{};
        if (atEnd()) return;
        tok_.line = static_cast<int>(line_);
        const std::string& l = lines_[line_];
        const char c = l[pos_];
        auto isAlpha = [](char ch) {
            return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '_';
        };
        auto isDigit = [](char ch) { return ch >= '0' && ch <= '9'; };
        if (isAlpha(c)) {
            std::size_t start = pos_;
            while (pos_ < l.size() && (isAlpha(l[pos_]) || isDigit(l[pos_]))) ++pos_;
            tok_.kind = Token::Ident;
            tok_.text = l.substr(start, pos_ - start);
        } else if (c == '\'' || c == '#') {
            lexString();
        } else if (isDigit(c) || c == '$' ||
                   ((c == '-' || c == '+') && pos_ + 1 < l.size() &&
                    (isDigit(l[pos_ + 1]) || l[pos_ + 1] == '$'))) {
            lexNumber();
        } else if (std::string_view("=()[],+.{}<>:").find(c) != std::string_view::npos) {
            tok_.kind = Token::Symbol;
            tok_.symbol = c;
            ++pos_;
        } else {
            tok_.kind = Token::Symbol;  // so fail() reports this line
            throw TextFormError(tok_.line, "使えない文字があります（" + describe(c) + "）");
        }
    }

    // The value of a decimal digit, or of a hexadecimal one when hex; -1 for any other character.
    static int digitValue(char ch, bool hex) {
        if (ch >= '0' && ch <= '9') return ch - '0';
        if (hex && ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
        if (hex && ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
        return -1;
    }

    static std::string describe(char c) {
        auto u = static_cast<unsigned char>(c);
        if (u >= 0x21 && u < 0x7F) return std::string(1, c);
        return "#" + std::to_string(u);
    }

    // Reads decimal ("#65") or hex ("#$41") digits after the current position.
    std::uint64_t readCode(const std::string& l) {
        bool hex = pos_ < l.size() && l[pos_] == '$';
        if (hex) ++pos_;
        std::size_t start = pos_;
        std::uint64_t code = 0;
        while (pos_ < l.size()) {
            const int d = digitValue(l[pos_], hex);
            if (d < 0) break;
            code = code * (hex ? 16 : 10) + static_cast<unsigned>(d);
            if (code > 0x10FFFF) failAt(tok_.line, "文字コードが大きすぎます");
            ++pos_;
        }
        if (pos_ == start) failAt(tok_.line, "# の後に文字コードがありません");
        return code;
    }

    void lexString() {
        const std::string& l = lines_[line_];
        tok_.kind = Token::String;
        for (;;) {
            char c = peek();
            if (c == '#') {
                ++pos_;
                std::uint64_t code = readCode(l);
                if (code <= 0xFF) {
                    tok_.text += static_cast<char>(code);
                } else {
                    // A wide character code, as later writers of the format produce.
                    auto bytes = (code >= 0xD800 && code <= 0xDFFF)
                                     ? std::nullopt
                                     : utf8ToCp932(utf8Of(static_cast<std::uint32_t>(code)));
                    if (!bytes)
                        failAt(tok_.line,
                               "文字コード #" + std::to_string(code) + " は Shift-JIS にありません");
                    tok_.text += *bytes;
                }
            } else if (c == '\'') {
                ++pos_;
                for (;;) {
                    if (pos_ >= l.size()) failAt(tok_.line, "文字列の終わりの ' がありません");
                    char ch = l[pos_++];
                    if (ch == '\'') {
                        if (pos_ < l.size() && l[pos_] == '\'') {
                            tok_.text += '\'';
                            ++pos_;
                            continue;
                        }
                        break;
                    }
                    tok_.text += ch;
                }
            } else {
                return;
            }
        }
    }

    void lexNumber() {
        const std::string& l = lines_[line_];
        bool negative = false;
        if (l[pos_] == '-' || l[pos_] == '+') negative = l[pos_++] == '-';
        bool hex = l[pos_] == '$';
        if (hex) ++pos_;
        std::size_t start = pos_;
        std::uint64_t v = 0;
        bool tooBig = false;
        while (pos_ < l.size()) {
            const int d = digitValue(l[pos_], hex);
            if (d < 0) break;
            v = v * (hex ? 16 : 10) + static_cast<unsigned>(d);
            if (v > 0xFFFFFFFFull) tooBig = true;
            ++pos_;
        }
        if (pos_ == start) failAt(tok_.line, "数値が正しくありません");
        if (!hex && pos_ + 1 < l.size() && l[pos_] == '.' && l[pos_ + 1] >= '0' &&
            l[pos_ + 1] <= '9') {
            ++pos_;
            while (pos_ < l.size() && ((l[pos_] >= '0' && l[pos_] <= '9') || l[pos_] == 'e' ||
                                       l[pos_] == 'E' || l[pos_] == '-' || l[pos_] == '+'))
                ++pos_;
            tok_.kind = Token::Float;
            tok_.text = l.substr(start, pos_ - start);
            return;
        }
        if (tooBig) failAt(tok_.line, "数値が大きすぎます");
        tok_.kind = Token::Integer;
        tok_.integer = negative ? -static_cast<std::int64_t>(v) : static_cast<std::int64_t>(v);
    }

    const std::vector<std::string>& lines_;
    std::size_t line_ = 0;
    std::size_t pos_ = 0;
    Token tok_;
};

[[noreturn]] void badValue(const Assignment& a) {
    throw TextFormError(a.line, a.path + " の値が正しくありません");
}

[[noreturn]] void noProperty(const Assignment& a) {
    throw TextFormError(a.line, "プロパティ " + a.path + " はありません");
}

std::int32_t int32Of(const Assignment& a) {
    if (a.value.kind != Value::Integer || a.value.integer < INT32_MIN ||
        a.value.integer > INT32_MAX)
        badValue(a);
    return static_cast<std::int32_t>(a.value.integer);
}

}  // namespace

std::string colorToText(std::int32_t color) {
    if (const char* name = nameOf(kColors, color)) return name;
    return std::to_string(color);
}

std::optional<std::int32_t> colorFromIdent(std::string_view ident) {
    return valueOf(kColors, ident);
}

std::string charsetToText(int charset) {
    if (const char* name = nameOf(kCharsets, charset)) return name;
    return std::to_string(charset);
}

std::optional<int> charsetFromIdent(std::string_view ident) { return valueOf(kCharsets, ident); }

std::string quoteTextFormString(std::string_view cp932) {
    if (cp932.empty()) return "''";
    std::string line;
    bool inQuotes = false;
    for (char c : cp932) {
        auto u = static_cast<unsigned char>(c);
        if (u >= ' ' && c != '\'') {
            if (!inQuotes) line += '\'';
            inQuotes = true;
            line += c;
        } else {
            if (inQuotes) line += '\'';
            inQuotes = false;
            line += '#' + std::to_string(u);
        }
    }
    if (inQuotes) line += '\'';
    return line;
}

std::vector<std::string> stringsToTextForm(const std::vector<std::string>& items) {
    std::vector<std::string> out;
    if (items.empty()) return out;  // an empty list is not written at all
    std::string line = indent(1) + "Obj.Strings = (";
    for (const auto& item : items) {
        out.push_back(std::move(line));
        line = indent(2);
        writeString(out, line, item, 2);
    }
    line += ')';
    out.push_back(std::move(line));
    return out;
}

std::vector<std::string> fontToTextForm(const FontSpec& font) {
    std::vector<std::string> out;
    const std::string prefix = indent(1) + "Obj.";
    out.push_back(prefix + "Charset = " + charsetToText(font.charset));
    out.push_back(prefix + "Color = " + colorToText(font.color));
    out.push_back(prefix + "Height = " + std::to_string(font.height));
    std::string line = prefix + "Name = ";
    writeString(out, line, font.name, 1);
    out.push_back(std::move(line));
    if (font.pitch != FontPitch::Default)
        out.push_back(prefix + "Pitch = " + kPitches[static_cast<int>(font.pitch)]);
    std::string style = prefix + "Style = [";
    bool first = true;
    for (unsigned bit = 0; bit < 4; ++bit) {
        if (!(font.style & (1u << bit))) continue;
        if (!first) style += ", ";
        style += kStyles[bit];
        first = false;
    }
    out.push_back(style + "]");
    return out;
}

void textFormToStrings(const std::vector<std::string>& lines, std::vector<std::string>& items) {
    std::vector<std::string> result = items;
    for (const Assignment& a : Parser(lines).body()) {
        if (!sameIdent(a.path, "Obj.Strings")) noProperty(a);
        if (a.value.kind != Value::List) badValue(a);
        result.clear();
        for (const Value& v : a.value.list) {
            if (v.kind != Value::String) badValue(a);
            result.push_back(v.text);
        }
    }
    items = std::move(result);
}

namespace {

// The position of an identifier in a list of names (letter case aside), or -1.
template <std::size_t N>
int identIndex(const char* const (&names)[N], std::string_view ident) {
    for (std::size_t i = 0; i < N; ++i)
        if (sameIdent(ident, names[i])) return static_cast<int>(i);
    return -1;
}

// Readers of the font's properties: each checks its value and sets its field.
void readCharset(const Assignment& a, FontSpec& f) {
    if (a.value.kind == Value::Ident) {
        auto cs = charsetFromIdent(a.value.text);
        if (!cs) badValue(a);
        f.charset = *cs;
        return;
    }
    std::int32_t cs = int32Of(a);
    if (cs < 0 || cs > 255) badValue(a);
    f.charset = cs;
}

void readColor(const Assignment& a, FontSpec& f) {
    const Value& v = a.value;
    if (v.kind == Value::Ident) {
        auto c = colorFromIdent(v.text);
        if (!c) badValue(a);
        f.color = *c;
    } else if (v.kind == Value::Integer && v.integer >= INT32_MIN &&
               v.integer <= static_cast<std::int64_t>(UINT32_MAX)) {
        f.color = static_cast<std::int32_t>(static_cast<std::uint32_t>(v.integer));
    } else {
        badValue(a);
    }
}

void readHeight(const Assignment& a, FontSpec& f) { f.height = int32Of(a); }

void readSize(const Assignment& a, FontSpec& f) {
    // Points at 96 dots per inch, rounded as the height is derived from it.
    std::int64_t size = int32Of(a);
    if (size < -100000 || size > 100000) badValue(a);
    f.height = static_cast<int>(-(size * 96 + (size >= 0 ? 36 : -36)) / 72);
}

void readName(const Assignment& a, FontSpec& f) {
    if (a.value.kind != Value::String) badValue(a);
    f.name = a.value.text;
}

void readPitch(const Assignment& a, FontSpec& f) {
    if (a.value.kind != Value::Ident) badValue(a);
    const int found = identIndex(kPitches, a.value.text);
    if (found < 0) badValue(a);
    f.pitch = static_cast<FontPitch>(found);
}

void readStyle(const Assignment& a, FontSpec& f) {
    if (a.value.kind != Value::Set) badValue(a);
    unsigned style = 0;
    for (const auto& name : a.value.set) {
        const int found = identIndex(kStyles, name);
        if (found < 0) badValue(a);
        style |= 1u << found;
    }
    f.style = style;
}

struct FontProperty {
    const char* path;
    void (*read)(const Assignment&, FontSpec&);
};
constexpr FontProperty kFontProperties[] = {
    {"Obj.Charset", readCharset}, {"Obj.Color", readColor}, {"Obj.Height", readHeight},
    {"Obj.Size", readSize},       {"Obj.Name", readName},   {"Obj.Pitch", readPitch},
    {"Obj.Style", readStyle},
};

}  // namespace

void textFormToFont(const std::vector<std::string>& lines, FontSpec& font) {
    FontSpec result = font;
    for (const Assignment& a : Parser(lines).body()) {
        const FontProperty* p = std::find_if(std::begin(kFontProperties), std::end(kFontProperties),
                                             [&](const FontProperty& fp) { return sameIdent(a.path, fp.path); });
        if (p == std::end(kFontProperties)) noProperty(a);
        p->read(a, result);
    }
    font = std::move(result);
}

}  // namespace keyrook
