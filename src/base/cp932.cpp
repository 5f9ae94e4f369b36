#include "base/cp932.h"

#include <iconv.h>

#include <array>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>

namespace keyrook {
namespace {

// One iconv descriptor per thread and direction: a descriptor is not safe to share, and a
// lock per call would cost more than converting a short line.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts the whole input onto the end of out; returns false at the first byte sequence
    // it cannot take (or that ends unfinished). `consumed` tells how far it got.
    bool run(std::string_view in, std::string& out, std::size_t& consumed) {
        // Only a failed call can leave a shift state behind.
        if (dirty_) {
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            dirty_ = false;
        }
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        bool ok = true;
        while (srcLeft > 0) {
            char* dst = buffer_;
            std::size_t dstLeft = sizeof buffer_;
            std::size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer_, static_cast<std::size_t>(dst - buffer_));
            if (r == static_cast<std::size_t>(-1)) {
                if (errno == E2BIG) continue;
                error_ = errno;
                ok = false;
                dirty_ = true;
                break;
            }
        }
        consumed = in.size() - srcLeft;
        return ok;
    }
    // errno of the last failed run: EILSEQ (a sequence it cannot take) or EINVAL (unfinished).
    int error() const { return error_; }

private:
    iconv_t cd_;
    bool dirty_ = false;
    int error_ = 0;
    char buffer_[4096];
};

// iconv's answer for each character, asked once per thread and character: both encodings
// are stateless, so a text converts character by character exactly as it does whole. An
// entry holds up to three output bytes and their count; kUnknown means not asked yet.
class CharTable {
public:
    static constexpr std::uint32_t kUnknown = 0;
    static constexpr std::uint32_t kInvalid = 0xFFFFFFFF;  // iconv refuses the character
    static constexpr std::uint32_t kIncomplete = 0xFFFFFFFE;  // a byte that needs a second

    CharTable(const char* to, const char* from) : converter_(to, from) {}

    // The entry for a character given by its bytes, keyed by a number below 0x10000.
    [[gnu::always_inline]] std::uint32_t lookup(std::uint32_t key, const char* bytes, std::size_t size) {
        const auto& block = blocks_[key >> 8];
        if (block) [[likely]] {
            const std::uint32_t e = (*block)[key & 0xFF];
            if (e != kUnknown) [[likely]]
                return e;
        }
        return learn(key, std::string_view(bytes, size));
    }
    [[gnu::noinline]] std::uint32_t learn(std::uint32_t key, std::string_view bytes) {
        auto& block = blocks_[key >> 8];
        if (!block) block = std::make_unique<std::array<std::uint32_t, 256>>();
        return (*block)[key & 0xFF] = ask(bytes);
    }
    std::uint32_t ask(std::string_view bytes) {
        std::string out;
        std::size_t consumed = 0;
        if (!converter_.run(bytes, out, consumed))
            return converter_.error() == EINVAL && consumed == 0 ? kIncomplete : kInvalid;
        if (out.empty() || out.size() > 3) return kInvalid;
        std::uint32_t e = static_cast<std::uint32_t>(out.size()) << 24;
        for (std::size_t i = 0; i < out.size(); ++i)
            e |= std::uint32_t{static_cast<unsigned char>(out[i])} << (8 * i);
        return e;
    }
    // Writes an entry's bytes at to, with room for four; returns the end of them.
    static char* put(char* to, std::uint32_t e) {
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(to, &e, 4);  // the count byte lands past the end and is overwritten
        } else {
            const unsigned char bytes[4] = {static_cast<unsigned char>(e),
                                            static_cast<unsigned char>(e >> 8),
                                            static_cast<unsigned char>(e >> 16), 0};
            std::memcpy(to, bytes, 4);
        }
        return to + (e >> 24);
    }
    Converter& converter() { return converter_; }

private:
    Converter converter_;
    std::array<std::unique_ptr<std::array<std::uint32_t, 256>>, 256> blocks_;
};

CharTable& cp932Chars() {
    thread_local CharTable t("UTF-8", "CP932");
    return t;
}
CharTable& unicodeChars() {
    thread_local CharTable t("CP932", "UTF-8");
    return t;
}

// Bytes below 0x80 are the same characters in CP932 and UTF-8.
bool isAscii(std::string_view text) {
    std::uint64_t any = 0;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        any |= word;
    }
    for (; i < text.size(); ++i) any |= static_cast<unsigned char>(text[i]);
    return (any & 0x8080808080808080ULL) == 0;
}

// Length of the UTF-8 character at s[i] (a byte of 0x80 or more) with its code point, or 0
// when the bytes there are no well-formed character: no overlong forms, no surrogates,
// nothing above U+10FFFF, no missing continuation bytes.
[[gnu::always_inline]] inline std::size_t utf8Char(std::string_view s, std::size_t i, char32_t& cp) {
    const auto c = static_cast<unsigned char>(s[i]);
    // Japanese text is almost all three-byte characters.
    if ((c & 0xF0) == 0xE0 && i + 2 < s.size()) {
        const auto t1 = static_cast<unsigned char>(s[i + 1]);
        const auto t2 = static_cast<unsigned char>(s[i + 2]);
        if (((t1 & 0xC0) != 0x80) | ((t2 & 0xC0) != 0x80)) return 0;
        cp = (char32_t{c} & 0x0F) << 12 | (char32_t{t1} & 0x3F) << 6 | (t2 & 0x3F);
        return cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF) ? 0 : 3;
    }
    std::size_t n;
    if ((c & 0xE0) == 0xC0) {
        n = 1;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        n = 2;
        cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        n = 3;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (i + n >= s.size()) return 0;
    for (std::size_t k = 1; k <= n; ++k) {
        const auto t = static_cast<unsigned char>(s[i + k]);
        if ((t & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (t & 0x3F);
    }
    if ((n == 1 && cp < 0x80) || (n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) ||
        cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n + 1;
}

}  // namespace

std::string cp932ToUtf8(std::string_view cp932) {
    if (isAscii(cp932)) return std::string(cp932);
    CharTable& chars = cp932Chars();
    // A character of one or two bytes takes at most three in UTF-8 (one more for put).
    std::string out(cp932.size() * 3 + 1, '\0');
    char* to = out.data();
    for (std::size_t i = 0; i < cp932.size();) {
        const auto c = static_cast<unsigned char>(cp932[i]);
        if (c < 0x80) {
            *to++ = static_cast<char>(c);
            ++i;
            continue;
        }
        std::uint32_t e = chars.lookup(c, cp932.data() + i, 1);
        std::size_t used = 1;
        if (e == CharTable::kIncomplete && i + 1 < cp932.size()) {
            const auto t = static_cast<unsigned char>(cp932[i + 1]);
            e = chars.lookup(std::uint32_t{c} << 8 | t, cp932.data() + i, 2);
            used = 2;
        }
        if (e == CharTable::kInvalid || e == CharTable::kIncomplete) {
            // Skip one bad character (two bytes when it starts like one) and go on.
            to = CharTable::put(to, 0x03BDBFEF);  // U+FFFD
            i += isLeadByte(c) && i + 1 < cp932.size() ? 2 : 1;
            continue;
        }
        to = CharTable::put(to, e);
        i += used;
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
    return out;
}

bool utf8ToCp932(std::string_view utf8, std::string& out) {
    if (isAscii(utf8)) {
        out.assign(utf8);
        return true;
    }
    CharTable& chars = unicodeChars();
    // No character takes more bytes in CP932 than in UTF-8 (two more for put).
    out.resize(utf8.size() + 2);
    char* to = out.data();
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            *to++ = static_cast<char>(c);
            ++i;
            continue;
        }
        char32_t cp = 0;
        const std::size_t n = utf8Char(utf8, i, cp);
        if (n == 0) return false;
        if (cp < 0x10000) {
            const std::uint32_t e = chars.lookup(cp, utf8.data() + i, n);
            if (e == CharTable::kInvalid || e == CharTable::kIncomplete) return false;
            to = CharTable::put(to, e);
        } else {
            std::string one;
            std::size_t consumed = 0;
            if (!chars.converter().run(utf8.substr(i, n), one, consumed)) return false;
            for (char b : one) *to++ = b;
        }
        i += n;
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
    return true;
}

std::optional<std::string> utf8ToCp932(std::string_view utf8) {
    std::string out;
    if (!utf8ToCp932(utf8, out)) return std::nullopt;
    return out;
}

std::string cp932Of(std::string_view utf8) { return utf8ToCp932(utf8).value_or(std::string()); }

bool isValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        char32_t cp = 0;
        const std::size_t n = utf8Char(s, i, cp);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

namespace {

// A copy with the ASCII letters from..from+25 moved to..to+25, trail bytes left alone.
std::string shiftLettersCp932(std::string_view s, char from, char to) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size(); ++i) {
        auto c = static_cast<unsigned char>(out[i]);
        if (isLeadByte(c)) {
            ++i;
        } else if (c >= from && c <= from + 25) {
            out[i] = static_cast<char>(c - from + to);
        }
    }
    return out;
}

}  // namespace

std::string upperCp932(std::string_view s) { return shiftLettersCp932(s, 'a', 'A'); }

std::string lowerCp932(std::string_view s) { return shiftLettersCp932(s, 'A', 'a'); }

bool sameTextIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && upperCp932(a) == upperCp932(b);
}

std::size_t cp932Length(std::string_view s) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); ++i, ++n)
        if (isLeadByte(static_cast<unsigned char>(s[i]))) ++i;
    return n;
}

std::string utf8Of(std::uint32_t cp) {
    std::string out;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

}  // namespace keyrook
