#include "base/user_name.h"

#include "base/cp932.h"
#include "base/files.h"

namespace keyrook {

namespace {

std::optional<std::string> nameProblem(const std::string& name, std::size_t cp932Bytes) {
    if (name == "." || name == "..")
        return "「.」と「..」はﾕｰｻﾞ名に使えません。";
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F)
            return "ﾕｰｻﾞ名に制御文字は使えません。";
        if (forbiddenInFileName(c))
            return "ﾕｰｻﾞ名に次の文字は使えません： \\ / : * ? \" < > |";
        if (c == ',')
            return "ﾕｰｻﾞ名に「,」（ｶﾝﾏ）は使えません。";
    }
    if (cp932Bytes > kMaxUserNameBytes)
        return "ﾕｰｻﾞ名が長すぎます。半角64文字（全角32文字）以内で入力して下さい。";
    return std::nullopt;
}

}  // namespace

std::string shownUserName(std::string_view cp932) {
    std::string utf8;
    for (char c : cp932ToUtf8(cp932))
        utf8 += (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) ? '?' : c;
    constexpr std::size_t kShown = 60;
    if (utf8.size() <= kShown) return utf8;
    std::size_t cut = kShown;
    while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) --cut;
    return utf8.substr(0, cut) + "…";
}

std::optional<std::string> userNameProblem(const std::string& name) {
    auto cp932 = utf8ToCp932(name);
    if (!cp932) {
        if (auto problem = nameProblem(name, 0)) return problem;
        return "ﾕｰｻﾞ名にShift-JISで表せない文字が含まれています。";
    }
    return nameProblem(name, cp932->size());
}

std::optional<std::string> storedUserNameProblem(std::string_view cp932Name) {
    const std::string utf8 = cp932ToUtf8(cp932Name);
    // Shift-JIS has no U+FFFD of its own: it marks bytes that are no character.
    if (utf8.find("\xEF\xBF\xBD") != std::string::npos)
        return "Shift-JISの文字として読めない部分があります。";
    return nameProblem(utf8, cp932Name.size());
}


}  // namespace keyrook
