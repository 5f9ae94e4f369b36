// CP932 literals for tests: the sources are UTF-8, the core works in CP932.
#pragma once

#include <stdexcept>
#include <string>

#include "base/cp932.h"

namespace keyrook::testing {

inline std::string sj(const std::string& utf8) {
    auto s = utf8ToCp932(utf8);
    if (!s) throw std::invalid_argument("not CP932: " + utf8);
    return *s;
}

}  // namespace keyrook::testing
