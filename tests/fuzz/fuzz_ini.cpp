// Settings files: the INI document, the text form of string lists and fonts inside it, and the
// spelling settings. Round trips: a document written and read back writes the same text, a
// value written reads back as itself, lists and fonts in text form parse back to themselves.
#include <vector>

#include "fuzz_check.h"
#include "settings/ini_file.h"
#include "settings/text_form.h"
#include "settings/variant_settings.h"

using namespace keyrook;

namespace {

void checkStringsRoundTrip(const std::vector<std::string>& items) {
    std::vector<std::string> back = {"stale"};
    textFormToStrings(stringsToTextForm(items), back);
    // An empty list is not written at all, so the target keeps what it had.
    FUZZ_CHECK(items.empty() ? back == std::vector<std::string>{"stale"} : back == items);
}

void checkFontRoundTrip(const FontSpec& font) {
    FontSpec back;
    textFormToFont(fontToTextForm(font), back);
    FUZZ_CHECK(back == font);
}

// The values of keys "<stem>0", "<stem>1", ... of a section, in file order.
std::vector<std::string> objectLines(const IniDocument& doc, const std::string& section,
                                     const std::string& stem) {
    std::vector<std::string> lines;
    for (const auto& [key, value] : doc.sectionValues(section)) {
        if (key.size() <= stem.size() || key.compare(0, stem.size(), stem) != 0) continue;
        if (key.find_first_not_of("0123456789", stem.size()) != std::string::npos) continue;
        lines.push_back(value);
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = fuzzInput(data, size);
    IniDocument doc(text);
    const std::string written = doc.text();
    FUZZ_CHECK(IniDocument(written).text() == written);

    int checked = 0;
    for (const std::string& section : doc.sections()) {
        for (const auto& [key, value] : doc.sectionValues(section)) {
            doc.readInteger(section, key);
            doc.readFloat(section, key);
            if (checked++ < 16 && IniDocument::isValidName(section) && IniDocument::isValidName(key) &&
                IniDocument::isValidValue(value)) {
                IniDocument one;
                one.writeString(section, key, value);
                FUZZ_CHECK(IniDocument(one.text()).value(section, key) == value);
            }
        }
        for (const char* stem : {"Items", "Font"}) {
            const std::vector<std::string> lines = objectLines(doc, section, stem);
            if (lines.empty()) continue;
            try {
                std::vector<std::string> items;
                textFormToStrings(lines, items);
                checkStringsRoundTrip(items);
            } catch (const TextFormError&) {
            }
            try {
                FontSpec font;
                textFormToFont(lines, font);
                checkFontRoundTrip(font);
            } catch (const TextFormError&) {
            }
        }
    }
    VariantTable table;
    loadVariantSettings(doc, table);
    for (const auto& g : table.groups()) FUZZ_CHECK(g.items.size() <= kMaxSpellings);

    // Any bytes as list entries, one per input line: quoting must carry every byte.
    std::vector<std::string> items;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i)
        if (i == text.size() || text[i] == '\n') {
            items.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    checkStringsRoundTrip(items);
    return 0;
}
