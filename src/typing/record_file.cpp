#include "typing/record_file.h"

#include <ctime>

#include <charconv>
#include <cstdio>

#include "base/files.h"
#include "base/line_reader.h"

namespace keyrook {

DateTime localDateTime() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return DateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string recordDateText(const DateTime& when) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%02d %d:%02d:%02d", ((when.year % 100) + 100) % 100,
                  when.month, when.day, when.hour, when.minute, when.second);
    return buf;
}

std::string recordFieldText(std::string_view cp932) {
    std::string out;
    out.reserve(cp932.size());
    // Neither a comma nor a line break can be the trail byte of a two-byte character.
    for (char c : cp932) {
        if (c == ',')
            out += "\x81\x43";  // ，
        else if (c == '\r' || c == '\n' || c == '\0')
            out += ' ';
        else
            out += c;
    }
    return out;
}

void writeRecord(const std::string& path, std::string_view recordLine) {
    // A file whose last line lost its line break would swallow the new record into that line:
    // the append starts a new line then.
    appendLinesToFile(path, std::string(recordLine) + "\r\n");
}

std::optional<std::vector<std::string>> findPreviousRecord(const std::string& path,
                                                           std::string_view title) {
    if (!fileExists(path)) {
        // Another program may store the first record meanwhile: that file stays as it is.
        updateFile(path, [](const std::optional<std::string>& now) {
            return now ? *now : joinLinesCrLf({std::string()});
        });
    }
    const std::string wanted = recordFieldText(title);
    // Line by line, keeping the last match: a long history is never held whole.
    std::optional<std::string> found;
    FileLines lines(path, Links::Refuse);
    for (std::string_view line; lines.next(line);) {
        // The title is the text between the second and the third comma.
        constexpr std::size_t none = std::string_view::npos;
        auto commaAfter = [&](std::size_t at) { return at == none ? none : line.find(',', at + 1); };
        const std::size_t second = commaAfter(line.find(','));
        const std::size_t third = commaAfter(second);
        if (third != none && line.substr(second + 1, third - second - 1) == wanted)
            found = std::string(line);
    }
    if (!found) return std::nullopt;
    return splitRecordFields(*found);
}

std::vector<std::string> splitRecordFields(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t comma = line.find(',', start);
        if (comma == std::string_view::npos) break;
        fields.emplace_back(line.substr(start, comma - start));
        start = comma + 1;
    }
    fields.emplace_back(line.substr(start));
    return fields;
}

bool isValidRecordLine(std::string_view line) {
    std::size_t comma = line.rfind(',');
    if (comma == std::string_view::npos) return false;
    std::string_view last = line.substr(comma + 1);
    int value = 0;
    auto [end, ec] = std::from_chars(last.data(), last.data() + last.size(), value);
    if (last.empty() || ec != std::errc() || end != last.data() + last.size()) return false;
    return value == Checksum(line.substr(0, comma));
}

const char* recordLineVerdict(std::string_view line) {
    return isValidRecordLine(line) ? "ok " : "bad ";
}

std::vector<std::string> checkRecordLines(std::string_view fileText) {
    std::vector<std::string> out;
    for (const std::string& line : splitNonEmptyLines(fileText))
        out.push_back(recordLineVerdict(line) + line);
    return out;
}

}  // namespace keyrook
