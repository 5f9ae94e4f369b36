// Shared by the fuzz targets: a property check that stops the run with a report, the input
// as a byte string, and a scratch path for targets that go through real files.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#define FUZZ_CHECK(condition)                                                              \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__,      \
                         #condition);                                                      \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)

inline std::string fuzzInput(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// A path in the working folder (the build tree under ctest, so nothing is left elsewhere),
// one per process: the workers of a parallel run (-jobs) share that folder.
inline std::string fuzzScratchPath(const std::string& name) {
    return std::filesystem::current_path().string() + "/" + name + "-" +
           std::to_string(::getpid());
}
