// Readings suggested for question lines: a morphological analysis (MeCab with the IPA
// dictionary) turned into a reading as the problem sets write them: hiragana, long vowels as
// kana, particles は/へ/を as written, digits and signs kept, and a counter after a number
// read with the sound change the number gives it (３本 → ３ぼん, １０分 → １０ぷん).
// All text here is UTF-8.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace keyrook {

// One word of an analysed sentence, with the fields of the IPA dictionary that the reading
// rules use.
struct Morpheme {
    std::string surface;
    std::string pos;      // part of speech: 名詞, 動詞, 記号, ...
    std::string pos1;     // its first subdivision: 数, 接尾, ...
    std::string pos2;     // its second subdivision: 助数詞, ...
    std::string reading;  // katakana; empty when the dictionary has none (an unknown word)
};

// The reading of a sentence from its words.
std::string readingOfMorphemes(const std::vector<Morpheme>& words);

// Katakana turned into hiragana (ヴ becomes う゛, as the encoder takes it); everything else as
// it stands.
std::string hiraganaOf(std::string_view text);

class ReadingSuggester {
public:
    virtual ~ReadingSuggester() = default;
    // The suggested reading of one question line.
    virtual std::string suggest(std::string_view question) = 0;
};

// The Debian packages that make suggestions possible at run time.
inline constexpr char kSuggesterPackages[] = "libmecab2, mecab-ipadic-utf8";

// Where dictionaries are looked for, in order: the folder Debian installs the UTF-8 IPA
// dictionary to; "" stands for the one MeCab's own configuration (/etc/mecabrc) names.
std::vector<std::string> defaultDictionaryDirs();

// Whether MeCab's library (libmecab.so.2, loaded at the first call) and its model factory are
// there; without them every suggester is null, as without a dictionary.
bool mecabLibraryLoads();

// MeCab over the first of dirs that holds a UTF-8 dictionary; nullptr when none does.
std::unique_ptr<ReadingSuggester> openMecabSuggester(
    const std::vector<std::string>& dirs = defaultDictionaryDirs());

}  // namespace keyrook
