// The table of spelling variants: one group per kana whose romaji is a matter of taste. The
// settings window edits it, the romaji decoder reads it. Group numbers run 1..23 without 18
// (the code "18" is the small tsu). Captions and spellings are CP932 bytes.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace keyrook {

// A group holds at most this many spellings: more than any taste needs, and a settings file
// with thousands is damage (each spelling becomes a button).
constexpr std::size_t kMaxSpellings = 32;

struct VariantGroup {
    int number = 0;
    std::string caption;              // the kana, CP932
    std::vector<std::string> items;   // spellings, upper-case ASCII
    int itemIndex = 0;                // selected spelling; may be -1 (none)

    // The selected spelling, or "" when the index is outside the list.
    const std::string& selected() const;
};

class VariantTable {
public:
    static constexpr int kGroupCount = 22;
    // The group of the small kana (ぁ ぃ ... written alone, code "@").
    static constexpr int kSmallKanaGroup = 21;

    // Item 0 selected everywhere, the default spelling lists.
    VariantTable();

    // Group by its number (1..23 except 18); nullptr for any other number.
    VariantGroup* group(int number);
    const VariantGroup* group(int number) const;

    // Groups in number order (1..17, 19..23).
    std::array<VariantGroup, kGroupCount>& groups() { return groups_; }
    const std::array<VariantGroup, kGroupCount>& groups() const { return groups_; }

    // "ﾍﾎﾞﾝ式": item 1 in groups 1 to 9 and 14 to 17.
    void applyHepburn();
    // "ﾛｰﾏ式": item 0 in groups 1 to 17, 19 and 20.
    void applyRoman();

    static bool isGroupNumber(int number) { return number >= 1 && number <= 23 && number != 18; }

private:
    std::array<VariantGroup, kGroupCount> groups_;
};

}  // namespace keyrook
