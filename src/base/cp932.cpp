#include "base/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <mutex>

namespace keyrook {
namespace {

// iconv descriptors are not thread-safe, but the program has one thread; the mutex keeps
// tests that run conversions from helper threads honest anyway.
struct Converter {
    iconv_t cd;
    std::mutex lock;
    Converter(const char* to, const char* from) : cd(iconv_open(to, from)) {}
    ~Converter() {
        if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
    }
    // Converts the whole input; returns false at the first byte sequence it cannot take.
    // `consumed` tells how far it got.
    bool run(std::string_view in, std::string& out, std::size_t& consumed) {
        std::lock_guard<std::mutex> guard(lock);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        // A buffer that rarely fills: iconv's CP932 tables are slow to restart on a full one.
        std::string buffer(in.size() * 2 + 16, '\0');
        bool ok = true;
        while (srcLeft > 0) {
            char* dst = buffer.data();
            std::size_t dstLeft = buffer.size();
            std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer.data(), static_cast<std::size_t>(dst - buffer.data()));
            if (r == static_cast<std::size_t>(-1)) {
                if (errno == E2BIG) continue;
                ok = false;
                break;
            }
        }
        consumed = in.size() - srcLeft;
        return ok;
    }
};

Converter& toUtf8() {
    static Converter c("UTF-8", "CP932");
    return c;
}
Converter& fromUtf8() {
    static Converter c("CP932", "UTF-8");
    return c;
}

}  // namespace

std::string cp932ToUtf8(std::string_view cp932) {
    std::string out;
    out.reserve(cp932.size() * 3 / 2);
    while (!cp932.empty()) {
        std::size_t consumed = 0;
        if (toUtf8().run(cp932, out, consumed)) break;
        // Skip one bad character (two bytes when it starts like one) and go on.
        std::size_t skip = (isLeadByte(static_cast<unsigned char>(cp932[consumed])) &&
                            consumed + 1 < cp932.size())
                               ? 2
                               : 1;
        out += "\xEF\xBF\xBD";
        cp932.remove_prefix(consumed + skip);
    }
    return out;
}

std::optional<std::string> utf8ToCp932(std::string_view utf8) {
    if (!isValidUtf8(utf8)) return std::nullopt;
    std::string out;
    std::size_t consumed = 0;
    if (!fromUtf8().run(utf8, out, consumed)) return std::nullopt;
    return out;
}

std::string cp932Of(std::string_view utf8) { return utf8ToCp932(utf8).value_or(std::string()); }

bool isValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        auto c = static_cast<unsigned char>(s[i]);
        std::size_t n;
        char32_t cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            n = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            n = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            n = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + n >= s.size()) return false;
        for (std::size_t k = 1; k <= n; ++k) {
            auto t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (t & 0x3F);
        }
        if ((n == 1 && cp < 0x80) || (n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) ||
            cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += n + 1;
    }
    return true;
}

std::string upperCp932(std::string_view s) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size(); ++i) {
        auto c = static_cast<unsigned char>(out[i]);
        if (isLeadByte(c)) {
            ++i;
        } else if (c >= 'a' && c <= 'z') {
            out[i] = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

bool sameTextIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && upperCp932(a) == upperCp932(b);
}

std::size_t cp932Length(std::string_view s) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); ++i, ++n)
        if (isLeadByte(static_cast<unsigned char>(s[i]))) ++i;
    return n;
}

}  // namespace keyrook
