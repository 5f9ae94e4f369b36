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

std::string skippedUsersMessage(const UserList& users, const std::string& path) {
    if (users.skipped.empty()) return {};
    std::string text = "ﾕｰｻﾞｰ一覧「" + path +
                       "」の次の行はﾕｰｻﾞ名として使えないため、読み飛ばしました"
                       "（ﾌｧｲﾙには残してあります）。";
    constexpr std::size_t kListed = 10;
    for (std::size_t i = 0; i < users.skipped.size() && i < kListed; ++i)
        text += "\n「" + shownUserName(users.skipped[i].line) + "」 " + users.skipped[i].reason;
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

}  // namespace keyrook
