// INI files in CP932. IniDocument is the file held in memory; IniFile adds the file on disk,
// opened by the first of nested read/write brackets and written back by the last.
//
// Layout written: every section as "[name]", its lines "key=value", then one blank line; CR LF.
// Sections and keys match without regard to ASCII letter case. Everything read is kept in file
// order, including sections, keys, comments and stray lines no caller asks about, so a save
// changes only what was written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace keyrook {

// Integer text as the INI readers take it: blanks around, an optional sign, then decimal digits,
// "$" + hex or "0x" + hex. Hex covers the full 32 bits ("$FFFFFFFF" is -1); decimal must fit.
std::optional<std::int32_t> parseIniInteger(std::string_view text);

class IniDocument {
public:
    using KeyValue = std::pair<std::string, std::string>;

    IniDocument() = default;
    explicit IniDocument(std::string_view text) { setText(text); }

    // Replaces the content by the parsed bytes (CR LF, LF or CR; a NUL ends the text).
    void setText(std::string_view text);
    std::string text() const;
    void clear();

    std::vector<std::string> sections() const;
    bool sectionExists(std::string_view section) const;
    // No line at all in the section, comments and stray lines included (true when absent).
    bool sectionIsEmpty(std::string_view section) const;
    bool valueExists(std::string_view section, std::string_view key) const;
    // The first value of the key (a file edited by hand may repeat a key).
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // The section's entries in file order (stray lines without "=" are left out).
    std::vector<KeyValue> sectionValues(std::string_view section) const;

    std::string readString(std::string_view section, std::string_view key,
                           std::string_view fallback = {}) const;
    // Fallback when the key is missing or its value is no integer.
    std::int32_t readInteger(std::string_view section, std::string_view key,
                             std::int32_t fallback = 0) const;
    double readFloat(std::string_view section, std::string_view key, double fallback = 0) const;

    // Replaces the value in place, or appends the key to its section, or the section to the
    // file. Throws std::invalid_argument for a section or key that would not read back as
    // itself, or a value with a line break or NUL: such text would corrupt the file.
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, std::int32_t value);
    void writeFloat(std::string_view section, std::string_view key, double value);

    void deleteKey(std::string_view section, std::string_view key);
    // Removes every key of the section; the section keeps its place in the file.
    void clearSection(std::string_view section);
    void eraseSection(std::string_view section);

    static bool isValidName(std::string_view name);
    static bool isValidValue(std::string_view value);

private:
    struct Line {
        std::string key;
        std::string value;
        bool raw = false;  // a comment or a line without "=": kept, but no entry
    };
    struct Section {
        std::string name;
        std::vector<Line> lines;
        std::unordered_map<std::string, std::size_t> index;  // folded key -> first line
        void reindex();
    };

    const Section* find(std::string_view section) const;
    Section* find(std::string_view section);
    Section& obtain(std::string_view section);

    std::vector<std::string> preamble_;  // lines before the first section
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> sectionIndex_;
};

// An INI file on disk, read into memory by the outermost bracket and, if any write bracket was
// opened inside it, written back atomically when the outermost bracket closes. Calls of the
// read/write helpers bracket themselves, so nested calls cost one read and at most one write.
class IniFile {
public:
    // A settings file is a few kilobytes; anything past this is damage, not settings.
    static constexpr std::size_t kDefaultSizeLimit = 8u << 20;

    explicit IniFile(std::string fileName = {}) : fileName_(std::move(fileName)) {}

    // Only records the name: the file is opened by the next bracket. An open bracket keeps
    // the file it opened.
    void setFileName(std::string fileName) { fileName_ = std::move(fileName); }
    const std::string& fileName() const { return fileName_; }
    void setSizeLimit(std::size_t bytes) { sizeLimit_ = bytes; }

    // Throws FileError when the file cannot be read or exceeds the size limit; a missing file
    // gives an empty document. The count is unchanged when it throws.
    void beginRead();
    void endRead() { end(); }
    void beginWrite() {
        beginRead();
        writePending_ = true;
    }
    // The outermost end writes the file back if any write bracket was opened inside it, so a
    // write nested in a read bracket is not lost. FileError propagates; the document is
    // discarded either way, so the next bracket starts from the disk.
    void endWrite() { end(); }
    // Closes a bracket without writing anything at the outermost level.
    void abandon();

    bool isOpen() const { return accessCount_ > 0; }
    int accessCount() const { return accessCount_; }
    // The open document; only inside a bracket.
    IniDocument& document();

    std::string readString(std::string_view section, std::string_view key,
                           std::string_view fallback = {});
    std::int32_t readInteger(std::string_view section, std::string_view key,
                             std::int32_t fallback = 0);
    double readFloat(std::string_view section, std::string_view key, double fallback = 0);
    bool valueExists(std::string_view section, std::string_view key);
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, std::int32_t value);
    void writeFloat(std::string_view section, std::string_view key, double value);

private:
    void end();

    std::string fileName_;
    std::string openName_;
    std::size_t sizeLimit_ = kDefaultSizeLimit;
    int accessCount_ = 0;
    bool writePending_ = false;
    IniDocument doc_;
};

// Keeps brackets balanced when an exception leaves the scope. close() ends the bracket the
// ordinary way (a write failure reaches the caller); a bracket left without close() is
// abandoned, so half-done work is never written over the file.
class IniBracket {
public:
    enum Mode { Read, Write };
    IniBracket(IniFile& file, Mode mode) : file_(file), mode_(mode) {
        mode == Write ? file_.beginWrite() : file_.beginRead();
    }
    ~IniBracket() {
        if (!done_) file_.abandon();
    }
    void close() {
        done_ = true;
        mode_ == Write ? file_.endWrite() : file_.endRead();
    }
    IniBracket(const IniBracket&) = delete;
    IniBracket& operator=(const IniBracket&) = delete;

private:
    IniFile& file_;
    Mode mode_;
    bool done_ = false;
};

}  // namespace keyrook
