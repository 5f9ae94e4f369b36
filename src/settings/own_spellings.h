// The own-style spelling editor's rules: a group's spelling list typed as lines of a memo.
#pragma once

#include <string>
#include <vector>

namespace keyrook {

// The group an entry of the editor's kind list stands for: entries run over groups 1..17 and
// 19..23 in order (there is no group 18).
int ownStyleGroupOfEntry(int entry);

// The new list from the memo lines (CP932): each upper-cased, empty lines and repeats dropped.
std::vector<std::string> ownSpellingList(const std::vector<std::string>& lines);

// The selection after a list is replaced: kept when it still exists, else the last spelling.
int selectionAfterReplace(int oldIndex, int newCount);

}  // namespace keyrook
