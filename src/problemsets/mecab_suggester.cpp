// The reading suggester over MeCab's C++ interface.
#include <dlfcn.h>
#include <mecab.h>

#include <string_view>

#include "problemsets/reading_suggester.h"

namespace keyrook {
namespace {

// The fields of a dictionary entry's feature text, split at commas; a field in double quotes
// may hold a comma.
std::vector<std::string> featureFields(std::string_view feature) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < feature.size(); ++i) {
        const char c = feature[i];
        if (c == '"') {
            if (quoted && i + 1 < feature.size() && feature[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else {
                quoted = !quoted;
            }
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

// Byte length of the digit (half- or full-width) at pos of a UTF-8 text, 0 for anything else.
std::size_t digitBytes(std::string_view text, std::size_t pos) {
    if (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') return 1;
    // ０..９: EF BC 90..99
    if (pos + 2 < text.size() && text.compare(pos, 2, "\xEF\xBC") == 0 &&
        static_cast<unsigned char>(text[pos + 2]) >= 0x90 && static_cast<unsigned char>(text[pos + 2]) <= 0x99)
        return 3;
    return 0;
}

bool utf8Charset(const char* charset) {
    if (!charset) return false;
    std::string c;
    for (const char* p = charset; *p; ++p)
        if (*p != '-' && *p != '_') c += static_cast<char>(*p >= 'A' && *p <= 'Z' ? *p + 32 : *p);
    return c == "utf8";
}

class MecabSuggester : public ReadingSuggester {
public:
    MecabSuggester(MeCab::Model* model, MeCab::Tagger* tagger, MeCab::Lattice* lattice)
        : model_(model), tagger_(tagger), lattice_(lattice) {}
    ~MecabSuggester() override {
        delete lattice_;
        delete tagger_;
        delete model_;
    }
    MecabSuggester(const MecabSuggester&) = delete;
    MecabSuggester& operator=(const MecabSuggester&) = delete;

    std::string suggest(std::string_view question) override {
        // MeCab stops at a NUL byte; a line break would split the sentence.
        const std::string_view line = question.substr(0, question.find_first_of(std::string_view("\0\r\n", 3)));
        // A blank is full width in a reading anyway; MeCab would skip a half-width one and let
        // the word after it escape the constraints below.
        std::string text;
        for (char c : line) {
            if (c == ' ')
                text += "\u3000";
            else
                text += c;
        }
        lattice_->set_sentence(text.c_str());
        // Digits stand apart from what follows: the reading keeps them as written, and the word
        // after them is read as a counter (the dictionary knows "５月" only as ごがつ).
        for (std::size_t i = 0; i < text.size();) {
            const std::size_t n = digitBytes(text, i);
            if (n == 0) {
                ++i;
                continue;
            }
            std::size_t end = i;
            while (std::size_t m = digitBytes(text, end)) end += m;
            lattice_->set_boundary_constraint(i, MECAB_TOKEN_BOUNDARY);
            lattice_->set_boundary_constraint(end, MECAB_TOKEN_BOUNDARY);
            i = end;
        }
        if (!tagger_->parse(lattice_)) return {};
        std::vector<Morpheme> words;
        for (const MeCab::Node* n = lattice_->bos_node(); n; n = n->next) {
            if (n->stat == MECAB_BOS_NODE || n->stat == MECAB_EOS_NODE) continue;
            Morpheme m;
            // MeCab drops blanks before a word; they stay, as the question has them.
            const std::size_t blanks = n->rlength - n->length;
            if (blanks > 0) words.push_back({std::string(n->surface - blanks, blanks), "記号", "空白", "*", ""});
            m.surface.assign(n->surface, n->length);
            std::vector<std::string> f = featureFields(n->feature ? n->feature : "");
            if (f.size() > 0) m.pos = f[0];
            if (f.size() > 1) m.pos1 = f[1];
            if (f.size() > 2) m.pos2 = f[2];
            if (n->stat != MECAB_UNK_NODE && f.size() > 7 && f[7] != "*") m.reading = f[7];
            words.push_back(std::move(m));
        }
        return readingOfMorphemes(words);
    }

private:
    MeCab::Model* model_;
    MeCab::Tagger* tagger_;
    MeCab::Lattice* lattice_;
};

// MeCab's model factory. The library is loaded when readings are first asked for, not with the
// program: most starts never suggest a reading, and loading it at every start cost each start
// its relocation. Everything else of MeCab's that is used is a virtual member of the objects the
// model makes, so the factory is the one symbol looked up (by its C++ name, which the library's
// ABI keeps). Null when the library is not installed.
using CreateModel = MeCab::Model* (*)(const char*);
CreateModel mecabModelFactory() {
    static const CreateModel factory = []() -> CreateModel {
        void* library = dlopen("libmecab.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!library) return nullptr;
        return reinterpret_cast<CreateModel>(dlsym(library, "_ZN5MeCab11createModelEPKc"));
    }();
    return factory;
}

}  // namespace

std::vector<std::string> defaultDictionaryDirs() {
    return {"/var/lib/mecab/dic/ipadic-utf8", ""};
}

bool mecabLibraryLoads() { return mecabModelFactory() != nullptr; }

std::unique_ptr<ReadingSuggester> openMecabSuggester(const std::vector<std::string>& dirs) {
    const CreateModel createModel = mecabModelFactory();
    if (!createModel) return nullptr;
    for (const std::string& dir : dirs) {
        // A folder of our own choosing needs no configuration file (MeCab refuses to start
        // when the one it would read is missing); "" asks for MeCab's own configuration.
        std::string args = dir.empty() ? std::string("mecab") : "mecab -r /dev/null -d " + dir;
        if (dir.find_first_of(" \t\"") != std::string::npos) continue;
        MeCab::Model* model = createModel(args.c_str());
        if (!model) continue;
        const MeCab::DictionaryInfo* info = model->dictionary_info();
        if (!info || !utf8Charset(info->charset)) {
            delete model;
            continue;
        }
        MeCab::Tagger* tagger = model->createTagger();
        MeCab::Lattice* lattice = tagger ? model->createLattice() : nullptr;
        if (!lattice) {
            delete tagger;
            delete model;
            continue;
        }
        return std::make_unique<MecabSuggester>(model, tagger, lattice);
    }
    return nullptr;
}

}  // namespace keyrook
