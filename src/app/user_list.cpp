#include "app/user_list.h"

#include "base/cp932.h"
#include "base/files.h"

namespace keyrook {

void UserList::load(const std::string& fileText) {
    std::vector<std::string> lines = splitLines(fileText);
    items.clear();
    current.clear();
    if (lines.empty()) return;
    current = lines.front();
    lines.erase(lines.begin());
    bool present = false;
    for (const auto& l : lines) present = present || sameTextIgnoreCase(l, current);
    if (!present) lines.push_back(current);
    items = std::move(lines);
}

std::string UserList::saveText() const {
    std::vector<std::string> lines;
    lines.reserve(items.size() + 1);
    lines.push_back(current);
    lines.insert(lines.end(), items.begin(), items.end());
    return joinLinesCrLf(lines);
}

bool UserList::contains(const std::string& name) const {
    for (const auto& i : items)
        if (sameTextIgnoreCase(i, name)) return true;
    return false;
}

std::optional<std::string> userNameProblem(const std::string& name) {
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
    if (!utf8ToCp932(name))
        return "ﾕｰｻﾞ名にShift-JISで表せない文字が含まれています。";
    return std::nullopt;
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

}  // namespace keyrook
