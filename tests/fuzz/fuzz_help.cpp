// The help file: topics and their HTML.
#include "app/help_file.h"
#include "fuzz_check.h"

using namespace keyrook;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = fuzzInput(data, size);
    for (const auto& [number, topic] : parseHelpFile(text)) {
        FUZZ_CHECK(number == topic.number && number >= 0);
        const std::string html = helpTopicHtml(topic);
        FUZZ_CHECK(html.find("<script") == std::string::npos);
    }
    return 0;
}
