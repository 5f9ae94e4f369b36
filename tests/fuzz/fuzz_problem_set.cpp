// Problem-set files: line splitting, the header, the romaji decoder with every preset, the
// reading decoder, the encoder and the maker's conversions. Round trips: lines joined and split
// again, an English-type set written and read back, and readings that settle
// (shrinking, never growing) over saves and reopens in the maker.
#include <vector>

#include "base/files.h"
#include "fuzz_check.h"
#include "problemsets/encoder.h"
#include "problemsets/maker_convert.h"
#include "problemsets/problem_set.h"
#include "problemsets/reading_decoder.h"
#include "problemsets/romaji_decoder.h"

using namespace keyrook;

namespace {

const std::vector<VariantTable>& presets() {
    static const std::vector<VariantTable> tables = [] {
        VariantTable plain, hepburn, roman, last;
        hepburn.applyHepburn();
        roman.applyRoman();
        for (auto& g : last.groups()) g.itemIndex = static_cast<int>(g.items.size()) - 1;
        return std::vector<VariantTable>{plain, hepburn, roman, last};
    }();
    return tables;
}

// The maker's editor lines after a roman-type save and reopen.
std::vector<std::string> savedAndReopened(const SetHeader& h, const std::vector<std::string>& editor) {
    return editorLinesOf(splitLines(romanSetText(h.description, h.author, editor)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = fuzzInput(data, size);
    const std::vector<std::string> lines = splitLines(text);
    for (const auto& line : lines)
        FUZZ_CHECK(line.find_first_of(std::string("\r\n\0", 3)) == std::string::npos);
    FUZZ_CHECK(splitLines(joinLinesCrLf(lines)) == lines);
    const std::vector<std::string> nonEmpty = splitNonEmptyLines(text);
    FUZZ_CHECK(splitNonEmptyLines(joinLinesCrLf(nonEmpty)) == nonEmpty);
    if (lines.empty()) return 0;

    const SetHeader header = parseHeader(lines.front());
    FUZZ_CHECK(questionCount(lines) == static_cast<int>(lines.size() / 2));
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        for (const VariantTable& t : presets()) {
            Changer(line, t, false);
            FUZZ_CHECK(Changer(line, t, true) == line);
        }
        FUZZ_CHECK(ChangeYomi(line, true).empty());
        const std::string reading = ChangeYomi(line, false);
        encodeReading(line);  // any text, not only readings
        // A sign, digit, small kana or small tsu in front of a small kana is dropped by the
        // encoder, so "。？ぁ" loses one character a round ("。ぁ", then "ぁ"): readings settle
        // rather than round-trip at once, each round either keeping the text or shortening it.
        std::string settled = ChangeYomi(encodeReading(reading), false);
        for (std::size_t round = 0, rounds = settled.size(); round <= rounds; ++round) {
            const std::string again = ChangeYomi(encodeReading(settled), false);
            if (again == settled) break;
            FUZZ_CHECK(again.size() < settled.size());
            settled = again;
        }
        FUZZ_CHECK(ChangeYomi(encodeReading(settled), false) == settled);
    }

    const std::vector<std::string> body(lines.begin() + 1, lines.end());
    const std::vector<std::string> back = splitLines(englishSetText(header.description, header.author, body));
    FUZZ_CHECK(back.size() == lines.size());
    FUZZ_CHECK(std::equal(body.begin(), body.end(), back.begin() + 1));
    const SetHeader again = parseHeader(back.front());
    FUZZ_CHECK(again.plainReadings && again.description == header.description &&
               again.author == header.author);

    const std::vector<std::string> editor = editorLinesOf(lines);
    checkRomanLines(editor);
    std::vector<std::string> reopened = savedAndReopened(header, editor);
    FUZZ_CHECK(reopened.size() == editor.size());
    // Saving again settles the readings the same way the encoder does: each save keeps every
    // line or shortens some, never lengthens one, until a save changes nothing.
    for (std::size_t round = 0; round <= text.size(); ++round) {
        const std::vector<std::string> again = savedAndReopened(header, reopened);
        FUZZ_CHECK(again.size() == reopened.size());
        if (again == reopened) break;
        for (std::size_t i = 0; i < again.size(); ++i)
            FUZZ_CHECK(again[i].size() <= reopened[i].size());
        reopened = again;
    }
    FUZZ_CHECK(savedAndReopened(header, reopened) == reopened);
    return 0;
}
