#include "problemsets/romaji_decoder.h"

#include "base/cp932.h"

namespace keyrook {
namespace {

constexpr int kNoLetter = -1;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The group a two-digit token names ("01".."17", "19".."23"), or nullptr: "00", "18" and
// "24".."99" name none.
const VariantGroup* groupOf(char a, char b, const VariantTable& variants) {
    return variants.group((a - '0') * 10 + (b - '0'));
}

bool isLetter(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Only a letter can be doubled: a small tsu before a sign or a digit (あっ！) has no sound of
// its own to type, so it must not make the player type the sign twice.
int letterOnly(int c) { return isLetter(c) ? c : kNoLetter; }

int firstLetter(const std::string& spelling) {
    return spelling.empty() ? kNoLetter : letterOnly(static_cast<unsigned char>(spelling.front()));
}

// The first character of what the token at pos decodes to; what a small tsu in front of it
// doubles. pos never starts a "18" token here: a run of them is skipped by the caller.
int firstLetterAt(const std::string& code, std::size_t pos, const VariantTable& variants) {
    if (pos >= code.size()) return kNoLetter;  // small tsu at the end: nothing to double
    const char c = code[pos];
    if (isLeadByte(static_cast<unsigned char>(c))) return kNoLetter;  // never split a kanji
    if (c == '@') return firstLetter(variants.group(VariantTable::kSmallKanaGroup)->selected());
    if (!isDigit(c) || pos + 1 >= code.size() || !isDigit(code[pos + 1]))
        return letterOnly(static_cast<unsigned char>(c));
    if (c == '9') return kNoLetter;  // a digit
    if (const VariantGroup* g = groupOf(c, code[pos + 1], variants))
        return firstLetter(g->selected());
    return kNoLetter;  // an unknown token passes through as its digits
}

}  // namespace

// Code strings that the encoder never writes still decode without fault:
// - a digit not followed by another digit (also one at the very end) stands for itself;
// - a two-digit token naming no group ("00", "24".."89") passes through as its two digits;
// - "18" doubles the first letter of whatever the next token yields, so "1818KA" gives
//   "KKKA" and "18@U" gives "XXU"; before a sign, a digit, the end or a token yielding nothing
//   it gives nothing ("A18!" gives "A!", "1895" gives "5");
// - a two-byte character is copied whole; its trail byte is never read as "@" or a digit.
std::string Changer(const std::string& code, const VariantTable& variants, bool plainReadings) {
    if (plainReadings) return code;
    std::string out;
    out.reserve(code.size() * 2);
    const std::size_t n = code.size();
    std::size_t i = 0;
    while (i < n) {
        const char c = code[i];
        if (isLeadByte(static_cast<unsigned char>(c)) && i + 1 < n) {
            out.append(code, i, 2);
            i += 2;
        } else if (c == '@') {
            out += variants.group(VariantTable::kSmallKanaGroup)->selected();
            ++i;
        } else if (!isDigit(c) || i + 1 >= n || !isDigit(code[i + 1])) {
            out += c;
            ++i;
        } else if (c == '1' && code[i + 1] == '8') {
            // A run of small tsu all double the same letter; counting the run keeps long
            // runs linear.
            std::size_t j = i;
            std::size_t run = 0;
            while (j + 1 < n && code[j] == '1' && code[j + 1] == '8') {
                j += 2;
                ++run;
            }
            const int letter = firstLetterAt(code, j, variants);
            if (letter != kNoLetter) out.append(run, static_cast<char>(letter));
            i = j;
        } else if (c == '9') {
            out += code[i + 1];
            i += 2;
        } else {
            if (const VariantGroup* g = groupOf(c, code[i + 1], variants))
                out += g->selected();
            else
                out.append(code, i, 2);
            i += 2;
        }
    }
    return out;
}

}  // namespace keyrook
