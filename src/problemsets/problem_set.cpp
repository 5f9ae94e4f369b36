#include "problemsets/problem_set.h"

#include <string_view>

#include "base/files.h"
#include "problemsets/encoder.h"

namespace keyrook {

std::vector<std::string> loadProblemSet(const std::string& path) {
    if (findFile(path) > kMaxProblemSetBytes)
        throw FileError("問題集「" + path + "」は16MBを超えているため読み込めません。");
    return splitLines(loadStringFromFile(path));
}

SetHeader parseHeader(const std::string& header) {
    SetHeader h;
    std::string rest;
    auto slash = header.find('/');
    if (slash == std::string::npos) {
        rest = header;
    } else {
        h.description = header.substr(0, slash);
        rest = header.substr(slash + 1);
    }
    if (!rest.empty() && rest.back() == '#') {
        h.plainReadings = true;
        rest.pop_back();
    }
    h.author = rest;
    return h;
}

int questionCount(const std::vector<std::string>& lines) {
    return static_cast<int>(lines.size() / 2);
}

namespace {

std::size_t textSize(const std::vector<std::string>& lines) {
    std::size_t n = 0;
    for (const auto& l : lines) n += l.size() + 2;
    return n;
}

void appendLine(std::string& out, std::string_view line) {
    out += line;
    out += "\r\n";
}

}  // namespace

std::string romanSetText(const std::string& description, const std::string& author,
                         const std::vector<std::string>& editorLines) {
    std::string out;
    out.reserve(description.size() + author.size() + 3 + textSize(editorLines));
    appendLine(out, description + "/" + author);
    for (std::size_t r = 0; r < editorLines.size(); ++r)
        appendLine(out, r % 2 == 0 ? editorLines[r] : encodeReading(editorLines[r]));
    return out;
}

std::string englishSetText(const std::string& description, const std::string& author,
                           const std::vector<std::string>& editorLines) {
    std::string out;
    out.reserve(description.size() + author.size() + 4 + textSize(editorLines));
    appendLine(out, description + "/" + author + "#");
    for (const auto& line : editorLines) appendLine(out, line);
    return out;
}

}  // namespace keyrook
