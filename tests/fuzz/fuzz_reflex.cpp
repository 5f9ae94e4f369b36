// Reflex record files: the cleared-level marks and storing a game. The store keeps every line
// of the old text in order, keeps every mark and adds the one just won.
#include <vector>

#include "base/files.h"
#include "fuzz_check.h"
#include "reflex/ref_file.h"

using namespace keyrook;

namespace {

bool isFlagsLine(const std::string& line) {
    return line.size() == 6 && line.find_first_not_of("01") == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const int level = data[0] % 8;  // 0 and 7 are no levels
    const bool cleared = data[0] & 8;
    const std::string text = fuzzInput(data + 1, size - 1);
    const std::array<bool, 6> marks = clearMarksOf(text);
    const std::string record = reflexRecordLine(level, 17280, "48", "60", "7", "812msec");

    const auto stored = reflexTextWithRecord(text, record, level, cleared);
    if (text.find('\0') != std::string::npos) {
        FUZZ_CHECK(!stored);
        return 0;
    }
    FUZZ_CHECK(stored && stored->size() >= 2 && stored->compare(stored->size() - 2, 2, "\r\n") == 0);
    const std::array<bool, 6> after = clearMarksOf(*stored);
    for (int i = 0; i < 6; ++i) {
        FUZZ_CHECK(!marks[i] || after[i]);
        FUZZ_CHECK(after[i] == (marks[i] || (cleared && level == i + 1)));
    }
    const std::vector<std::string> before = splitLines(text), lines = splitLines(*stored);
    const bool hadFlags = !before.empty() && isFlagsLine(before.front());
    FUZZ_CHECK(isFlagsLine(lines.front()));
    FUZZ_CHECK(lines.back() == record);
    FUZZ_CHECK(lines.size() == before.size() + (hadFlags ? 1 : 2));
    FUZZ_CHECK(std::equal(before.begin() + (hadFlags ? 1 : 0), before.end(), lines.begin() + 1));
    return 0;
}
