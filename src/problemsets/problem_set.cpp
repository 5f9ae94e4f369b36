#include "problemsets/problem_set.h"

namespace keyrook {

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

std::string titleFromFileName(const std::string& fileName) {
    return fileName.size() >= 4 ? fileName.substr(0, fileName.size() - 4) : std::string();
}

}  // namespace keyrook
