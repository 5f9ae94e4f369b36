#include "app/user_list.h"

#include "base/cp932.h"
#include "base/files.h"

namespace keyrook {

namespace {

// The lines of the list file, split at CR LF, LF and CR. A run of NUL bytes, which a crash can
// leave, separates lines too but makes no line of its own; an empty line between two line
// breaks is a line, the empty name.
std::vector<std::string> listLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    bool afterBreak = true;  // the start of the text counts as one
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n' && c != '\0') continue;
        const bool lineBreak = c != '\0';
        if (i > start || (afterBreak && lineBreak)) lines.emplace_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
        afterBreak = lineBreak;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

}  // namespace

void UserList::load(const std::string& fileText) {
    std::vector<std::string> lines = listLines(fileText);
    items.clear();
    current.clear();
    skipped.clear();
    // An empty file reads as the one line a first run with an empty name writes.
    const std::string first = lines.empty() ? std::string() : lines.front();
    if (!lines.empty()) lines.erase(lines.begin());
    bool present = false;
    for (const auto& l : lines) present = present || sameTextIgnoreCase(l, first);
    if (!present) lines.push_back(first);
    bool emptyNameListed = false;
    for (std::string& l : lines) {
        if (l.empty()) {
            // The empty name is one user, however many blank lines a hand edit left.
            if (!emptyNameListed) items.emplace_back();
            emptyNameListed = true;
        } else if (auto problem = storedUserNameProblem(l)) {
            skipped.push_back({std::move(l), std::move(*problem)});
        } else {
            items.push_back(std::move(l));
        }
    }
    if (!storedUserNameProblem(first)) {
        current = first;
    } else if (!items.empty()) {
        current = items.front();
    } else {
        // No usable name at all: the sessions go to the empty name's files, so that is the
        // user.
        items.emplace_back();
    }
}

std::string UserList::saveText() const {
    std::vector<std::string> lines;
    lines.reserve(items.size() + skipped.size() + 1);
    lines.push_back(current);
    lines.insert(lines.end(), items.begin(), items.end());
    for (const Skipped& s : skipped) lines.push_back(s.line);
    return joinLinesCrLf(lines);
}

std::string UserList::mergedSaveText(const std::optional<std::string>& fileNow) const {
    if (!fileNow || fileNow->empty()) return saveText();
    UserList merged;
    merged.load(*fileNow);
    for (const std::string& name : items)
        if (!merged.contains(name)) merged.items.push_back(name);
    for (const Skipped& s : skipped) {
        bool kept = false;
        for (const Skipped& t : merged.skipped) kept = kept || t.line == s.line;
        if (!kept) merged.skipped.push_back(s);
    }
    merged.current = current;
    return merged.saveText();
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
