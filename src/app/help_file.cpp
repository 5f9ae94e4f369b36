#include "app/help_file.h"

#include "base/cp932.h"
#include "base/files.h"
#include "base/text.h"

namespace keyrook {

std::map<int, HelpTopic> parseHelpFile(const std::string& cp932Text) {
    std::map<int, HelpTopic> topics;
    HelpTopic* current = nullptr;
    for (const std::string& raw : splitLines(cp932Text)) {
        std::string line = cp932ToUtf8(raw);
        if (!line.empty() && line[0] == ';') continue;
        if (line.rfind("@topic", 0) == 0) {
            std::string rest = line.substr(6);
            std::size_t p = rest.find_first_not_of(' ');
            std::size_t q = rest.find(' ', p == std::string::npos ? rest.size() : p);
            std::string digits =
                p == std::string::npos ? std::string() : rest.substr(p, q == std::string::npos ? std::string::npos : q - p);
            int number = toIntDef(digits, -1);
            if (number < 0) {
                current = nullptr;  // a damaged heading: skip its body rather than mix topics
                continue;
            }
            HelpTopic& t = topics[number];
            t.number = number;
            t.title = q == std::string::npos ? std::string() : rest.substr(q + 1);
            t.lines.clear();
            current = &t;
            continue;
        }
        if (current) current->lines.push_back(line);
    }
    for (auto& [n, t] : topics)
        while (!t.lines.empty() && t.lines.back().empty()) t.lines.pop_back();
    return topics;
}

namespace {
std::string escapeHtml(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}
}  // namespace

std::string helpTopicHtml(const HelpTopic& topic) {
    const std::string heading = "■", bullet = "・";
    std::string html = "<h2>" + escapeHtml(topic.title) + "</h2>\n";
    bool inList = false, inPara = false;
    auto close = [&] {
        if (inList) html += "</ul>\n";
        if (inPara) html += "</p>\n";
        inList = inPara = false;
    };
    for (const std::string& line : topic.lines) {
        if (line.empty()) {
            close();
        } else if (line.rfind(heading, 0) == 0) {
            close();
            html += "<h3>" + escapeHtml(line.substr(heading.size())) + "</h3>\n";
        } else if (line.rfind(bullet, 0) == 0) {
            if (inPara) html += "</p>\n";
            inPara = false;
            if (!inList) html += "<ul>\n";
            inList = true;
            html += "<li>" + escapeHtml(line.substr(bullet.size())) + "</li>\n";
        } else {
            if (inList) html += "</ul>\n";
            inList = false;
            if (!inPara) html += "<p>";
            else html += "<br>";
            inPara = true;
            html += escapeHtml(line);
        }
    }
    close();
    return html;
}

}  // namespace keyrook
