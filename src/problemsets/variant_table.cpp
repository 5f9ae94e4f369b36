#include "problemsets/variant_table.h"

#include <algorithm>

#include "base/cp932.h"

namespace keyrook {
namespace {

struct DefaultGroup {
    int number;
    const char* caption;  // UTF-8 here, CP932 in the table
    std::vector<std::string> items;
};

const std::array<VariantGroup, VariantTable::kGroupCount>& defaultGroups() {
    static const auto groups = [] {
        const DefaultGroup defs[VariantTable::kGroupCount] = {
            {1, "し", {"SI", "SHI"}},
            {2, "ち", {"TI", "CHI"}},
            {3, "つ", {"TU", "TSU"}},
            {4, "ふ", {"FU", "HU"}},
            {5, "しゃ", {"SYA", "SHA"}},
            {6, "しゅ", {"SYU", "SHU"}},
            {7, "しょ", {"SYO", "SHO"}},
            {8, "しぇ", {"SYE", "SHE"}},
            {9, "じ", {"ZI", "JI"}},
            {10, "じゃ", {"ZYA", "JYA", "JA"}},
            {11, "じゅ", {"ZYU", "JYU", "JU"}},
            {12, "じょ", {"ZYO", "JYO", "JO"}},
            {13, "じぇ", {"ZYE", "JYE", "JE"}},
            {14, "ちゃ", {"TYA", "CHA", "CYA"}},
            {15, "ちゅ", {"TYU", "CHU", "CYU"}},
            {16, "ちょ", {"TYO", "CHO", "CYO"}},
            {17, "ちぇ", {"TYE", "CHE", "CYE"}},
            {19, "じぃ", {"ZYI", "JYI"}},
            {20, "ちぃ", {"TYI", "CYI"}},
            {21, "小字", {"X", "L"}},
            {22, "しぃ", {"SYI", "SHILI"}},
            {23, "てぃ", {"THI", "TELI"}},
        };
        std::array<VariantGroup, VariantTable::kGroupCount> out;
        for (int k = 0; k < VariantTable::kGroupCount; ++k) {
            out[k].number = defs[k].number;
            out[k].caption = utf8ToCp932(defs[k].caption).value_or(std::string());
            out[k].items = defs[k].items;
            out[k].itemIndex = 0;
        }
        return out;
    }();
    return groups;
}

// Groups are stored in number order without 18.
int slotOf(int number) { return number < 18 ? number - 1 : number - 2; }

// Selecting an item past the end of a shortened list picks the last one, as a radio group does.
void selectClamped(VariantGroup& g, int index) {
    g.itemIndex = std::min(index, static_cast<int>(g.items.size()) - 1);
}

}  // namespace

const std::string& VariantGroup::selected() const {
    static const std::string none;
    if (itemIndex < 0 || itemIndex >= static_cast<int>(items.size())) return none;
    return items[static_cast<std::size_t>(itemIndex)];
}

VariantTable::VariantTable() : groups_(defaultGroups()) {}

VariantGroup* VariantTable::group(int number) {
    return isGroupNumber(number) ? &groups_[static_cast<std::size_t>(slotOf(number))] : nullptr;
}

const VariantGroup* VariantTable::group(int number) const {
    return isGroupNumber(number) ? &groups_[static_cast<std::size_t>(slotOf(number))] : nullptr;
}

void VariantTable::applyHepburn() {
    for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 14, 15, 16, 17}) selectClamped(*group(n), 1);
}

void VariantTable::applyRoman() {
    for (int n = 1; n <= 20; ++n)
        if (isGroupNumber(n)) selectClamped(*group(n), 0);
}

}  // namespace keyrook
