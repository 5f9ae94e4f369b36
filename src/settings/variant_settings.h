// The spelling choices of a user's settings file, read without the settings window: each
// variant group's section holds "ItemIndex" and its spelling list as "Items0", "Items1", ...
#pragma once

#include <string>
#include <vector>

#include "problemsets/variant_table.h"
#include "settings/ini_file.h"

namespace keyrook {

// Applies every group found in the file to the table; groups and keys that are missing keep
// their value. Returns the problems met (a list that does not parse, a bad index), one text
// per problem, UTF-8; the groups concerned keep what they had.
std::vector<std::string> loadVariantSettings(const IniDocument& ini, VariantTable& variants);

// Whether the user's settings choose kana input ("かな入力"; absent is off).
bool kanaInputChosen(const IniDocument& ini);

}  // namespace keyrook
