#include "settings/own_spellings.h"

#include <algorithm>

#include "base/cp932.h"

namespace keyrook {

int ownStyleGroupOfEntry(int entry) { return entry + 1 < 18 ? entry + 1 : entry + 2; }

std::vector<std::string> ownSpellingList(const std::vector<std::string>& lines) {
    std::vector<std::string> list;
    for (const std::string& line : lines) {
        std::string spelling = upperCp932(line);
        if (spelling.empty()) continue;
        if (std::find(list.begin(), list.end(), spelling) != list.end()) continue;
        list.push_back(std::move(spelling));
    }
    return list;
}

int selectionAfterReplace(int oldIndex, int newCount) {
    return oldIndex >= 0 && oldIndex < newCount ? oldIndex : newCount - 1;
}

}  // namespace keyrook
