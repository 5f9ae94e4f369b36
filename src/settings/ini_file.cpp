#include "settings/ini_file.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

#include "base/cp932.h"
#include "base/files.h"

namespace keyrook {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string fold(std::string_view name) { return upperCp932(name); }

}  // namespace

std::optional<std::int32_t> parseIniInteger(std::string_view text) {
    std::string_view s = trim(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    bool hex = false;
    if (!s.empty() && s.front() == '$') {
        hex = true;
        s.remove_prefix(1);
    } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        hex = true;
        s.remove_prefix(2);
    }
    if (s.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : s) {
        int d = hex ? hexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
        if (d < 0) return std::nullopt;
        value = value * (hex ? 16 : 10) + static_cast<unsigned>(d);
        if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    if (hex) {
        auto bits = static_cast<std::uint32_t>(value);
        if (negative) bits = 0u - bits;
        return static_cast<std::int32_t>(bits);
    }
    if (value > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return std::nullopt;
    auto signedValue = static_cast<std::int64_t>(value);
    return static_cast<std::int32_t>(negative ? -signedValue : signedValue);
}

// ---------------------------------------------------------------------------------------------
// IniDocument

void IniDocument::Section::reindex() {
    index.clear();
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (!lines[i].raw) index.try_emplace(fold(lines[i].key), i);
}

void IniDocument::clear() {
    preamble_.clear();
    sections_.clear();
    sectionIndex_.clear();
}

void IniDocument::setText(std::string_view text) {
    clear();
    Section* current = nullptr;
    for (std::string& line : splitLines(text)) {
        std::string_view t = trim(line);
        if (t.empty()) continue;
        if (t.front() == '[' && t.back() == ']' && t.size() >= 2) {
            // A section that appears twice is merged into its first appearance.
            current = &obtain(trim(t.substr(1, t.size() - 2)));
            continue;
        }
        if (!current) {
            preamble_.push_back(std::move(line));
            continue;
        }
        auto eq = line.find('=');
        Line entry;
        if (t.front() == ';' || eq == std::string::npos) {
            entry.raw = true;
            entry.value = std::move(line);
        } else {
            entry.key = std::string(trim(std::string_view(line).substr(0, eq)));
            // The value is kept as written: the text form relies on its leading blanks.
            entry.value = line.substr(eq + 1);
            current->index.try_emplace(fold(entry.key), current->lines.size());
        }
        current->lines.push_back(std::move(entry));
    }
}

std::string IniDocument::text() const {
    std::string out;
    for (const auto& line : preamble_) out += line + "\r\n";
    for (const auto& section : sections_) {
        out += '[';
        out += section.name;
        out += "]\r\n";
        for (const auto& line : section.lines) {
            if (!line.raw) {
                out += line.key;
                out += '=';
            }
            out += line.value;
            out += "\r\n";
        }
        out += "\r\n";
    }
    return out;
}

const IniDocument::Section* IniDocument::find(std::string_view section) const {
    auto it = sectionIndex_.find(fold(section));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

IniDocument::Section* IniDocument::find(std::string_view section) {
    auto it = sectionIndex_.find(fold(section));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

IniDocument::Section& IniDocument::obtain(std::string_view section) {
    if (Section* s = find(section)) return *s;
    sectionIndex_.emplace(fold(section), sections_.size());
    sections_.push_back(Section{std::string(section), {}, {}});
    return sections_.back();
}

std::vector<std::string> IniDocument::sections() const {
    std::vector<std::string> names;
    names.reserve(sections_.size());
    for (const auto& s : sections_) names.push_back(s.name);
    return names;
}

bool IniDocument::sectionExists(std::string_view section) const { return find(section) != nullptr; }

bool IniDocument::sectionIsEmpty(std::string_view section) const {
    const Section* s = find(section);
    return !s || s->lines.empty();
}

bool IniDocument::valueExists(std::string_view section, std::string_view key) const {
    return value(section, key).has_value();
}

std::optional<std::string> IniDocument::value(std::string_view section,
                                              std::string_view key) const {
    const Section* s = find(section);
    if (!s) return std::nullopt;
    auto it = s->index.find(fold(key));
    if (it == s->index.end()) return std::nullopt;
    return s->lines[it->second].value;
}

std::vector<IniDocument::KeyValue> IniDocument::sectionValues(std::string_view section) const {
    std::vector<KeyValue> out;
    if (const Section* s = find(section)) {
        for (const auto& line : s->lines)
            if (!line.raw) out.emplace_back(line.key, line.value);
    }
    return out;
}

std::string IniDocument::readString(std::string_view section, std::string_view key,
                                    std::string_view fallback) const {
    auto v = value(section, key);
    return v ? *v : std::string(fallback);
}

std::int32_t IniDocument::readInteger(std::string_view section, std::string_view key,
                                      std::int32_t fallback) const {
    auto v = value(section, key);
    if (!v) return fallback;
    return parseIniInteger(*v).value_or(fallback);
}

double IniDocument::readFloat(std::string_view section, std::string_view key,
                              double fallback) const {
    auto v = value(section, key);
    if (!v) return fallback;
    std::string_view s = trim(*v);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double result = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), result);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || !std::isfinite(result))
        return fallback;
    return result;
}

bool IniDocument::isValidName(std::string_view name) {
    if (name.find_first_of(std::string_view("\r\n\0=", 4)) != std::string_view::npos) return false;
    if (trim(name).size() != name.size()) return false;
    return name.empty() || (name.front() != '[' && name.front() != ';');
}

bool IniDocument::isValidValue(std::string_view value) {
    return value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

void IniDocument::writeString(std::string_view section, std::string_view key,
                              std::string_view value) {
    if (!isValidName(section) || !isValidName(key))
        throw std::invalid_argument("INI section or key cannot be stored: [" +
                                    std::string(section) + "] " + std::string(key));
    if (!isValidValue(value))
        throw std::invalid_argument("INI value with a line break: [" + std::string(section) +
                                    "] " + std::string(key));
    Section& s = obtain(section);
    auto [it, added] = s.index.try_emplace(fold(key), s.lines.size());
    if (added)
        s.lines.push_back(Line{std::string(key), std::string(value), false});
    else
        s.lines[it->second].value = std::string(value);
}

void IniDocument::writeInteger(std::string_view section, std::string_view key,
                               std::int32_t value) {
    writeString(section, key, std::to_string(value));
}

void IniDocument::writeFloat(std::string_view section, std::string_view key, double value) {
    char buffer[64];
    // to_chars, unlike printf, ignores the locale's decimal comma.
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                   std::chars_format::general, 15);
    (void)ec;
    writeString(section, key, std::string_view(buffer, static_cast<std::size_t>(end - buffer)));
}

void IniDocument::deleteKey(std::string_view section, std::string_view key) {
    Section* s = find(section);
    if (!s) return;
    auto it = s->index.find(fold(key));
    if (it == s->index.end()) return;
    s->lines.erase(s->lines.begin() + static_cast<std::ptrdiff_t>(it->second));
    s->reindex();
}

void IniDocument::clearSection(std::string_view section) {
    Section* s = find(section);
    if (!s) return;
    std::erase_if(s->lines, [](const Line& l) { return !l.raw; });
    s->index.clear();
}

void IniDocument::eraseSection(std::string_view section) {
    auto it = sectionIndex_.find(fold(section));
    if (it == sectionIndex_.end()) return;
    sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(it->second));
    sectionIndex_.clear();
    for (std::size_t i = 0; i < sections_.size(); ++i)
        sectionIndex_.emplace(fold(sections_[i].name), i);
}

// ---------------------------------------------------------------------------------------------
// IniFile

void IniFile::beginRead() {
    if (accessCount_ == 0) {
        openName_ = fileName_;
        IniDocument doc;
        if (!openName_.empty() && fileExists(openName_)) {
            if (findFile(openName_) > sizeLimit_)
                throw FileError(openName_ + " は大きすぎるため設定ファイルとして読めません（" +
                                std::to_string(sizeLimit_) + " バイトまで）。");
            doc.setText(loadStringFromFile(openName_, Links::Refuse));
        }
        doc_ = std::move(doc);
        writePending_ = false;
    }
    ++accessCount_;
}

void IniFile::end() {
    if (accessCount_ <= 0) throw std::logic_error("IniFile: bracket closed twice");
    if (--accessCount_ > 0) return;
    const bool write = writePending_;
    writePending_ = false;
    std::string text = write ? doc_.text() : std::string();
    doc_.clear();
    if (write) saveStringToFile(openName_, text);
}

void IniFile::abandon() {
    if (accessCount_ <= 0) return;
    if (--accessCount_ > 0) return;
    writePending_ = false;
    doc_.clear();
}

IniDocument& IniFile::document() {
    if (accessCount_ <= 0) throw std::logic_error("IniFile: document used outside a bracket");
    return doc_;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view fallback) {
    IniBracket bracket(*this, IniBracket::Read);
    std::string v = doc_.readString(section, key, fallback);
    bracket.close();
    return v;
}

std::int32_t IniFile::readInteger(std::string_view section, std::string_view key,
                                  std::int32_t fallback) {
    IniBracket bracket(*this, IniBracket::Read);
    std::int32_t v = doc_.readInteger(section, key, fallback);
    bracket.close();
    return v;
}

double IniFile::readFloat(std::string_view section, std::string_view key, double fallback) {
    IniBracket bracket(*this, IniBracket::Read);
    double v = doc_.readFloat(section, key, fallback);
    bracket.close();
    return v;
}

bool IniFile::valueExists(std::string_view section, std::string_view key) {
    IniBracket bracket(*this, IniBracket::Read);
    bool v = doc_.valueExists(section, key);
    bracket.close();
    return v;
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    IniBracket bracket(*this, IniBracket::Write);
    doc_.writeString(section, key, value);
    bracket.close();
}

void IniFile::writeInteger(std::string_view section, std::string_view key, std::int32_t value) {
    IniBracket bracket(*this, IniBracket::Write);
    doc_.writeInteger(section, key, value);
    bracket.close();
}

void IniFile::writeFloat(std::string_view section, std::string_view key, double value) {
    IniBracket bracket(*this, IniBracket::Write);
    doc_.writeFloat(section, key, value);
    bracket.close();
}

}  // namespace keyrook
