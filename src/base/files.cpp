#include "base/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace keyrook {
namespace fs = std::filesystem;

namespace {

[[noreturn]] void ioError(const std::string& path, FileAction action, int err) {
    throw FileError(fileErrorMessage(path, action, err));
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

void ensureDirectory(const std::string& path) {
    std::string dir = directoryOf(path);
    if (dir.empty()) return;
    std::error_code ec;
    if (fs::is_directory(dir, ec)) return;
    fs::create_directories(dir, ec);
    if (ec || !fs::is_directory(dir)) throw FileError("ディレクトリ" + dir + "が作れません。");
}

// 0 when every byte was written, else the error number.
int writeAll(int fd, std::string_view text) {
    const char* p = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return 0;
}

// The file a save replaces: a symbolic link is followed to the file it names (which need not
// exist yet), so the link itself stays as it is.
std::string saveTarget(const std::string& path) {
    std::string target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
        std::error_code ec;
        fs::path link = fs::read_symlink(target, ec);
        if (ec) ioError(path, FileAction::Save, ec.value());
        target = link.is_absolute() ? link.string()
                                    : (fs::path(directoryOf(target)) / link).string();
    }
    ioError(path, FileAction::Save, ELOOP);
}

}  // namespace

std::string temporaryNameFor(const std::string& target) {
    const std::size_t slash = target.find_last_of('/');
    const std::string dir = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string name = target.substr(dir.size());
    std::string temp = "." + name + ".tmp";
    long nameMax = ::pathconf(dir.empty() ? "." : dir.c_str(), _PC_NAME_MAX);
    if (nameMax <= 0) nameMax = 255;
    if (temp.size() > static_cast<std::size_t>(nameMax)) {
        // A name near the limit leaves no room for the marks: a short name made from it,
        // still one per target, takes their place.
        std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
        for (unsigned char c : name) hash = (hash ^ c) * 1099511628211ull;
        char hex[17];
        std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
        temp = std::string(".keyrook-") + hex + ".tmp";
    }
    return dir + temp;
}

namespace {

// Opens the target's temporary file, emptied and locked. Another instance of the program may be
// saving the same file: its lock is waited for, and once it has renamed its temporary file the
// descriptor may stand for the file it wrote, so the name is opened again.
int openTemporary(const std::string& temp, const std::string& path) {
    for (int attempt = 0;; ++attempt) {
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0) {
            // Something else put a link there: it is no file of ours to write through.
            if (errno == ELOOP && attempt == 0 && ::unlink(temp.c_str()) == 0) continue;
            ioError(path, FileAction::Save, errno);
        }
        while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
        struct stat held {}, named {};
        if (::fstat(fd, &held) == 0 && ::lstat(temp.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            if (::ftruncate(fd, 0) == 0) return fd;
            int err = errno;
            ::close(fd);
            ioError(path, FileAction::Save, err);
        }
        ::close(fd);
    }
}

}  // namespace

std::string fileErrorMessage(const std::string& path, FileAction action, int err) {
    const bool reading = action == FileAction::Read;
    std::string reason;
    switch (err) {
        case EACCES:
        case EPERM: reason = reading ? "読み込みが許可されていません" : "書き込みが許可されていません"; break;
        case EROFS: reason = "読み取り専用のファイルシステムです"; break;
        case ENOSPC:
        case EDQUOT: reason = "ディスクの空き容量が足りません"; break;
        case ENAMETOOLONG: reason = "ファイル名が長すぎます"; break;
        case ENOENT: reason = "ファイルまたはフォルダが見つかりません"; break;
        default: reason = std::strerror(err);
    }
    const char* what = action == FileAction::Read   ? "」を読み込めませんでした。（"
                       : action == FileAction::Save ? "」を保存できませんでした。（"
                                                    : "」に書き込めませんでした。（";
    return "「" + path + what + reason + "）";
}

std::uintmax_t findFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        throw FileError(path + "の情報の取得に失敗しました。");
    return S_ISDIR(st.st_mode) ? 0 : static_cast<std::uintmax_t>(st.st_size);
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::string loadStringFromFileLimit(const std::string& path, std::size_t limit) {
    std::uintmax_t size = findFile(path);
    if (size > limit) size = limit;
    std::string text;
    if (size == 0) return text;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) ioError(path, FileAction::Read, errno);
    text.resize(static_cast<std::size_t>(size));
    std::size_t got = 0;
    while (got < text.size()) {
        ssize_t n = ::read(fd, text.data() + got, text.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            ::close(fd);
            ioError(path, FileAction::Read, err);
        }
        if (n == 0) break;  // the file shrank meanwhile
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    text.resize(got);
    return text;
}

std::string loadStringFromFile(const std::string& path) {
    return loadStringFromFileLimit(path, static_cast<std::size_t>(-1));
}

void saveStringToFile(const std::string& path, std::string_view text) {
    ensureDirectory(path);
    const std::string target = saveTarget(path);
    if (target != path) ensureDirectory(target);
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    // A file its owner made read-only is not replaced behind their back.
    if (replacing && ::access(target.c_str(), W_OK) != 0 && errno == EACCES)
        ioError(path, FileAction::Save, EACCES);
    const std::string temp = temporaryNameFor(target);
    int fd = openTemporary(temp, path);
    auto fail = [&](int err) {
        ::unlink(temp.c_str());
        ::close(fd);
        ioError(path, FileAction::Save, err);
    };
    if (replacing) {
        // The new file takes the old one's place with its owner and mode where the file system
        // allows it (only root can give a file away; FAT keeps no modes).
        [[maybe_unused]] int owned = ::fchown(fd, old.st_uid, old.st_gid);
        [[maybe_unused]] int moded = ::fchmod(fd, old.st_mode & 07777);
    }
    if (int err = writeAll(fd, text)) fail(err);
    if (::fsync(fd) != 0) fail(errno);
    // Renamed while still locked, so no other save can empty it in between.
    if (::rename(temp.c_str(), target.c_str()) != 0) fail(errno);
    if (::close(fd) != 0) ioError(path, FileAction::Save, errno);
}

void appendStringToFile(const std::string& path, std::string_view text) {
    ensureDirectory(path);
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) ioError(path, FileAction::Append, errno);
    struct stat before {};
    if (::fstat(fd, &before) != 0) {
        int err = errno;
        ::close(fd);
        ioError(path, FileAction::Append, err);
    }
    // A line half written is worse than none: readers would take it for a whole one.
    // The first error is the one reported; the cut back is all that can still be done.
    if (int err = writeAll(fd, text)) {
        [[maybe_unused]] int cut = ::ftruncate(fd, before.st_size);
        ::close(fd);
        ioError(path, FileAction::Append, err);
    }
    if (::close(fd) != 0) {
        int err = errno;
        [[maybe_unused]] int cut = ::truncate(path.c_str(), before.st_size);
        ioError(path, FileAction::Append, err);
    }
}

std::vector<std::string> listFiles(const std::string& dir, std::string_view suffix) {
    std::vector<std::string> names;
    DIR* d = ::opendir(dir.c_str());
    if (!d) return names;
    while (dirent* e = ::readdir(d)) {
        std::string_view name(e->d_name);
        if (name.size() < suffix.size() ||
            !equalsIgnoringAsciiCase(name.substr(name.size() - suffix.size()), suffix))
            continue;
        struct stat st {};
        std::string full = dir + "/" + std::string(name);
        if (::stat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode)) names.emplace_back(name);
    }
    ::closedir(d);
    return names;
}

std::string fileWithExtension(const std::string& dir, const std::string& stem, std::string_view extension) {
    const std::string folder = !dir.empty() && dir.back() == '/' ? dir : dir + "/";
    const std::string path = folder + stem + std::string(extension);
    if (stem.empty() || fileExists(path)) return path;
    for (const std::string& name : listFiles(dir, extension))
        if (name.size() == stem.size() + extension.size() && name.compare(0, stem.size(), stem) == 0)
            return folder + name;
    return path;
}

bool forbiddenInFileName(unsigned char c) {
    return c < 0x20 || c == 0x7F ||
           std::string_view("/\\:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos;
}

std::string directoryOf(const std::string& path) {
    auto p = path.find_last_of('/');
    if (p == std::string::npos) return {};
    if (p == 0) return "/";
    return path.substr(0, p);
}

std::vector<std::string> splitLines(std::string_view text) {
    auto nul = text.find('\0');
    if (nul != std::string_view::npos) text = text.substr(0, nul);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

std::vector<std::string> splitNonEmptyLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\r' && text[i] != '\n' && text[i] != '\0') continue;
        if (i > start) lines.emplace_back(text.substr(start, i - start));
        start = i + 1;
    }
    return lines;
}

std::string joinLinesCrLf(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

}  // namespace keyrook
