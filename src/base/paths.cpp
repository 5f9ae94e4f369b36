#include "base/paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "base/cp932.h"
#include "base/files.h"
#include "base/user_name.h"

namespace keyrook {
namespace {

constexpr const char* kSetSuffix = ".std";

std::string withSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

bool isDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Titles of the sets in one folder, in directory order. "a.std" and "a.STD" are one title,
// listed once: the file lookup reads one of them for it.
std::vector<std::string> titlesIn(const std::string& dataDir) {
    std::vector<std::string> titles;
    std::set<std::string> listed;
    for (const std::string& file : listFiles(dataDir, kSetSuffix)) {
        auto title = utf8ToCp932(titleFromFileName(file));
        if (title && listed.insert(*title).second) titles.push_back(*title);
    }
    return titles;
}

}  // namespace

std::string titleFromFileName(const std::string& fileName) {
    return fileName.size() >= 4 ? fileName.substr(0, fileName.size() - 4) : std::string();
}

Paths::Paths(std::string appDir) : Paths(Mode::Portable, appDir, appDir) {}

Paths::Paths(Mode mode, std::string programDir, std::string userRoot)
    : mode_(mode), programDir_(std::move(programDir)), userRoot_(std::move(userRoot)) {}

Paths Paths::installed(std::string programDir, std::string userRoot) {
    return Paths(Mode::Installed, withSlash(std::move(programDir)), withSlash(std::move(userRoot)));
}

std::string Paths::userList() const { return userRoot_ + "user/user.log"; }

std::string Paths::userFile(const std::string& cp932User, const std::string& extension) const {
    // The empty name of a first run is allowed; it names hidden files inside user/.
    if (!cp932User.empty()) {
        if (auto problem = storedUserNameProblem(cp932User))
            throw FileError("ﾕｰｻﾞ名「" + shownUserName(cp932User) + "」はﾌｧｲﾙ名に使えません。" +
                            *problem);
    }
    return userRoot_ + "user/" + cp932ToUtf8(cp932User) + extension;
}

std::vector<std::string> Paths::setTitles() const {
    std::vector<std::string> titles = titlesIn(programDir_ + "data");
    if (mode_ == Mode::Portable) return titles;
    for (std::string& own : titlesIn(userRoot_ + "data")) {
        // The same title stays where the installed set was listed; setFile() reads the user's.
        if (std::find(titles.begin(), titles.end(), own) == titles.end()) titles.push_back(std::move(own));
    }
    return titles;
}

std::string Paths::setFile(const std::string& cp932Title) const {
    if (mode_ == Mode::Installed) {
        std::string own = setFileForWriting(cp932Title);
        if (fileExists(own)) return own;
    }
    return fileWithExtension(programDir_ + "data", cp932ToUtf8(cp932Title), kSetSuffix);
}

std::string Paths::setDirForWriting() const { return userRoot_ + "data"; }

std::string Paths::setFileForWriting(const std::string& cp932Title) const {
    return fileWithExtension(setDirForWriting(), cp932ToUtf8(cp932Title), kSetSuffix);
}

std::string Paths::soundFile(const std::string& name) const {
    return programDir_ + "sound/" + name + ".wav";
}

std::string Paths::helpFile() const { return programDir_ + "help.hlp"; }

StartupEnvironment processEnvironment() {
    StartupEnvironment env;
    if (const char* xdg = std::getenv("XDG_DATA_HOME")) env.xdgDataHome = xdg;
    if (const char* home = std::getenv("HOME"); home && *home) {
        env.home = home;
    } else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) {
        env.home = pw->pw_dir;
    }
    return env;
}

std::string userDataRoot(const StartupEnvironment& env) {
    // A relative $XDG_DATA_HOME is invalid and ignored, as the base-directory rules say.
    std::string base = !env.xdgDataHome.empty() && env.xdgDataHome.front() == '/'
                           ? env.xdgDataHome
                           : withSlash(env.home) + ".local/share";
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    return withSlash(base) + "keyrook/";
}

bool folderWritable(const std::string& dir) { return ::access(dir.c_str(), W_OK | X_OK) == 0; }

Paths decidePaths(const std::string& appDir, const StartupEnvironment& env,
                  const std::function<bool(const std::string&)>& writable) {
    const std::string user = appDir + "user";
    const std::string share =
        std::filesystem::path(appDir + "../share/keyrook").lexically_normal().string();
    if (isDirectory(user)) {
        if (writable(user)) return Paths(appDir);
    } else if (!isDirectory(share) && writable(appDir) && ::mkdir(user.c_str(), 0777) == 0) {
        return Paths(appDir);
    }
    return Paths::installed(isDirectory(share) ? share : appDir, userDataRoot(env));
}

}  // namespace keyrook
