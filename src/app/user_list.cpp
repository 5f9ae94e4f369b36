#include "app/user_list.h"

#include "base/cp932.h"
#include "base/files.h"

namespace keyrook {

void UserList::load(const std::string& fileText) {
    std::vector<std::string> lines = splitNonEmptyLines(fileText);
    items.clear();
    current.clear();
    skipped.clear();
    if (lines.empty()) return;
    // An empty line 1 is a list without a current user (the first run's empty name, or no
    // usable name at the last close): the names start on line 2.
    const bool noCurrent = fileText.front() == '\r' || fileText.front() == '\n';
    const std::string first = noCurrent ? std::string() : lines.front();
    if (!noCurrent) lines.erase(lines.begin());
    bool present = noCurrent;
    for (const auto& l : lines) present = present || sameTextIgnoreCase(l, first);
    if (!present) lines.push_back(first);
    for (std::string& l : lines) {
        if (auto problem = storedUserNameProblem(l))
            skipped.push_back({std::move(l), std::move(*problem)});
        else
            items.push_back(std::move(l));
    }
    if (noCurrent) return;
    if (!storedUserNameProblem(first))
        current = first;
    else if (!items.empty())
        current = items.front();
}

std::string UserList::saveText() const {
    std::vector<std::string> lines;
    lines.reserve(items.size() + skipped.size() + 1);
    lines.push_back(current);
    lines.insert(lines.end(), items.begin(), items.end());
    for (const Skipped& s : skipped) lines.push_back(s.line);
    return joinLinesCrLf(lines);
}

bool UserList::contains(const std::string& name) const {
    for (const auto& i : items)
        if (sameTextIgnoreCase(i, name)) return true;
    return false;
}

namespace {

std::optional<std::string> nameProblem(const std::string& name, std::size_t cp932Bytes) {
    if (name == "." || name == "..")
        return "「.」と「..」はﾕｰｻﾞ名に使えません。";
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F)
            return "ﾕｰｻﾞ名に制御文字は使えません。";
        if (std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
            return "ﾕｰｻﾞ名に次の文字は使えません： \\ / : * ? \" < > |";
        if (c == ',')
            return "ﾕｰｻﾞ名に「,」（ｶﾝﾏ）は使えません。";
    }
    if (cp932Bytes > kMaxUserNameBytes)
        return "ﾕｰｻﾞ名が長すぎます。半角64文字（全角32文字）以内で入力して下さい。";
    return std::nullopt;
}

// A line as the user can read it in a message: control characters shown as "?", long lines cut.
std::string shownLine(std::string_view cp932) {
    std::string utf8;
    for (char c : cp932ToUtf8(cp932))
        utf8 += (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) ? '?' : c;
    constexpr std::size_t kShown = 60;
    if (utf8.size() <= kShown) return utf8;
    std::size_t cut = kShown;
    while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) --cut;
    return utf8.substr(0, cut) + "…";
}

}  // namespace

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

std::string skippedUsersMessage(const UserList& users, const std::string& path) {
    if (users.skipped.empty()) return {};
    std::string text = "ﾕｰｻﾞｰ一覧「" + path +
                       "」の次の行はﾕｰｻﾞ名として使えないため、読み飛ばしました"
                       "（ﾌｧｲﾙには残してあります）。";
    constexpr std::size_t kListed = 10;
    for (std::size_t i = 0; i < users.skipped.size() && i < kListed; ++i)
        text += "\n「" + shownLine(users.skipped[i].line) + "」 " + users.skipped[i].reason;
    if (users.skipped.size() > kListed)
        text += "\nほか " + std::to_string(users.skipped.size() - kListed) + " 行";
    return text;
}

std::string askFirstUser(Dialogs& dialogs) {
    for (;;) {
        auto typed = dialogs.input("ﾕｰｻﾞ名の初期登録", "ｹﾞｰﾑで遊ぶためのﾕｰｻﾞ名を登録します！", "");
        if (!typed) return "somebody";
        // An empty name is accepted here, as it always was at the first run.
        if (typed->empty()) return {};
        if (auto problem = userNameProblem(*typed)) {
            dialogs.message(*problem);
            continue;
        }
        return *utf8ToCp932(*typed);
    }
}

bool registerUser(UserList& users, Dialogs& dialogs) {
    if (!dialogs.confirm("新規ユーザ登録をしますか？")) return false;
    auto typed = dialogs.input("ﾕｰｻﾞ名を登録します...", "ﾕｰｻﾞ名を入力して下さい。", "");
    if (!typed || typed->empty()) return false;
    if (auto problem = userNameProblem(*typed)) {
        dialogs.message(*problem);
        return false;
    }
    std::string name = *utf8ToCp932(*typed);
    if (users.contains(name)) {
        dialogs.message("そのﾕｰｻﾞ名はすでに登録されております！");
        return false;
    }
    users.items.push_back(name);
    return true;
}

std::string userFilePath(const std::string& appDir, const std::string& cp932Name,
                         const std::string& extension) {
    if (!cp932Name.empty()) {
        if (auto problem = storedUserNameProblem(cp932Name))
            throw FileError("ﾕｰｻﾞ名「" + shownLine(cp932Name) + "」はﾌｧｲﾙ名に使えません。" + *problem);
    }
    return appDir + "user/" + cp932ToUtf8(cp932Name) + extension;
}

}  // namespace keyrook
