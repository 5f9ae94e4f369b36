// The conversions answer character by character from a cache of iconv's answers; they must give
// exactly what iconv gives for the whole text, bad bytes and unfinished characters included.
#include "base/cp932.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <optional>
#include <random>
#include <string>

namespace keyrook {
namespace {

// iconv over the whole text: the conversions as they were before the cache.
bool convertWhole(const char* to, const char* from, std::string_view in, std::string& out,
                  std::size_t& consumed) {
    iconv_t cd = iconv_open(to, from);
    char* src = const_cast<char*>(in.data());
    std::size_t left = in.size();
    std::string buffer(in.size() * 4 + 16, '\0');
    char* dst = buffer.data();
    std::size_t room = buffer.size();
    const bool ok = iconv(cd, &src, &left, &dst, &room) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    out.append(buffer.data(), static_cast<std::size_t>(dst - buffer.data()));
    consumed = in.size() - left;
    return ok;
}

std::string wholeToUtf8(std::string_view in) {
    std::string out;
    while (!in.empty()) {
        std::size_t consumed = 0;
        if (convertWhole("UTF-8", "CP932", in, out, consumed)) break;
        const bool two = isLeadByte(static_cast<unsigned char>(in[consumed])) && consumed + 1 < in.size();
        out += "\xEF\xBF\xBD";
        in.remove_prefix(consumed + (two ? 2 : 1));
    }
    return out;
}

std::optional<std::string> wholeToCp932(std::string_view in) {
    if (!isValidUtf8(in)) return std::nullopt;
    std::string out;
    std::size_t consumed = 0;
    if (!convertWhole("CP932", "UTF-8", in, out, consumed)) return std::nullopt;
    return out;
}

TEST(Cp932, EveryByteAndPairDecodesAsIconvDoes) {
    for (int a = 0x80; a <= 0xFF; ++a) {
        const std::string one(1, static_cast<char>(a));
        ASSERT_EQ(cp932ToUtf8(one), wholeToUtf8(one)) << a;
        for (int b = 0; b <= 0xFF; ++b) {
            // The pair inside a text, and cut off by the end of it.
            const std::string text = "x" + one + static_cast<char>(b) + "\x82\xa0" + one;
            ASSERT_EQ(cp932ToUtf8(text), wholeToUtf8(text)) << a << " " << b;
        }
    }
    std::mt19937 rng(5);
    for (int n = 0; n < 20000; ++n) {
        std::string text;
        for (std::size_t k = rng() % 12; k > 0; --k) text += static_cast<char>(rng() % 3 ? 0x80 + rng() % 128 : rng() % 128);
        ASSERT_EQ(cp932ToUtf8(text), wholeToUtf8(text)) << text;
    }
}

TEST(Cp932, EveryCodePointEncodesAsIconvDoes) {
    for (char32_t cp = 0x80; cp < 0x10000; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        const std::string text = "a" + utf8Of(cp) + "\xe3\x81\x82";
        ASSERT_EQ(utf8ToCp932(text), wholeToCp932(text)) << static_cast<unsigned>(cp);
    }
    // Beyond the first plane, and bytes that are no UTF-8 at all.
    for (const std::string& text : {utf8Of(0x1F600), std::string("\xe3\x81"), std::string("\xc0\xaf"),
                                    std::string("\xed\xa0\x80"), std::string("\xf4\x90\x80\x80")})
        EXPECT_EQ(utf8ToCp932("\xe3\x81\x82" + text), std::nullopt);
    std::mt19937 rng(9);
    for (int n = 0; n < 20000; ++n) {
        std::string text;
        for (std::size_t k = rng() % 10; k > 0; --k) text += static_cast<char>(rng() % 4 ? 0xE3 - rng() % 2 : rng() % 256);
        ASSERT_EQ(utf8ToCp932(text), wholeToCp932(text)) << text;
    }
}

}  // namespace
}  // namespace keyrook
