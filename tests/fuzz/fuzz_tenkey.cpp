// Ten-key score files: the best score, and a score appended to any file is counted.
#include <algorithm>
#include <fstream>

#include "base/files.h"
#include "fuzz_check.h"
#include "tenkey/tenkey_engine.h"

using namespace keyrook;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const int count = (data[0] << 8 | data[1]) % 1000;
    const std::string text = fuzzInput(data + 2, size - 2);
    const int best = tenkeyHighScore(text);
    FUZZ_CHECK(best >= 0);

    static const std::string path = fuzzScratchPath("fuzz_tenkey") + ".tnk";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    FUZZ_CHECK(loadTenkeyHighScore(path) == best);
    appendTenkeyScore(path, count);
    FUZZ_CHECK(loadTenkeyHighScore(path) == std::max(best, count));
    return 0;
}
