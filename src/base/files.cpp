#include "base/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>

namespace keyrook {
namespace fs = std::filesystem;

namespace {

[[noreturn]] void ioError(const std::string& path, FileAction action, int err) {
    throw FileError(fileErrorMessage(path, action, err));
}

// A name that Links::Refuse turns away, described by what it is.
[[noreturn]] void refused(const std::string& path, mode_t mode) {
    const char* what = S_ISLNK(mode)   ? "シンボリックリンクのため"
                       : S_ISDIR(mode) ? "フォルダのため"
                                       : "通常のファイルではないため";
    throw FileError("「" + path + "」は" + what + "使用できません。");
}

// Throws when the name exists and is no regular file; a missing name passes.
void refuseIfOdd(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) refused(path, st.st_mode);
}

// Opens a file of ours without following a final symbolic link or blocking on a pipe, and
// checks that what it opened is a regular file. -1 with errno for a failed open.
int openOwn(const std::string& path, int flags, mode_t mode = 0) {
    int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, mode);
    if (fd < 0) {
        const int err = errno;
        struct stat st {};
        if ((err == ELOOP || err == EISDIR || err == ENXIO) && ::lstat(path.c_str(), &st) == 0 &&
            !S_ISREG(st.st_mode))
            refused(path, st.st_mode);
        errno = err;
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && !S_ISREG(st.st_mode)) {
        ::close(fd);
        refused(path, st.st_mode);
    }
    // Later reads and writes may block as usual.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::atomic<long long> lockWaitMs{5000};

// The exclusive lock every Keyrook program takes before it changes a file: a POSIX record lock
// (which network file systems carry and which dies with its process) on one byte of the
// folder's ".keyrook.lock", the byte chosen by the file's name without regard to ASCII case, as
// a case-blind share sees names. Held only while one change is written. Locks of one process
// on one file all go when any descriptor of it is closed, so this process never holds two.
class ChangeLock {
public:
    ChangeLock(const std::string& path, FileAction action) {
        const std::string dir = directoryOf(path);
        const std::string name = path.substr(path.find_last_of('/') + 1);
        const std::string lockFile = (dir.empty() ? std::string(".") : dir) + "/.keyrook.lock";
        fd_ = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd_ >= 0) {
            // Pupils with log-ins of their own share it: everybody may lock it.
            [[maybe_unused]] int moded = ::fchmod(fd_, 0666);
        } else if (errno == EEXIST) {
            fd_ = openOwn(lockFile, O_RDWR);
        }
        if (fd_ < 0) ioError(lockFile, action, errno);
        std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
        for (unsigned char c : name) hash = (hash ^ (c >= 'A' && c <= 'Z' ? c + 32 : c)) * 1099511628211ull;
        struct flock range {};
        range.l_type = F_WRLCK;
        range.l_whence = SEEK_SET;
        range.l_start = static_cast<off_t>(hash % (1u << 30));
        range.l_len = 1;
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(lockWaitMs.load());
        for (;;) {
            if (::fcntl(fd_, F_SETLK, &range) == 0) return;
            const int err = errno;
            if (err == EINTR) continue;
            // A file system without record locks (a mount whose lock service is off) is
            // written as it was before there were locks, rather than not at all.
            if (err == ENOLCK || err == EOPNOTSUPP || err == ENOSYS) return;
            if (err != EACCES && err != EAGAIN) {
                ::close(fd_);
                ioError(path, action, err);
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                ::close(fd_);
                throw FileBusyError("「" + path +
                                    "」はほかのプログラムが書き込み中のため、" +
                                    (action == FileAction::Append ? "書き込め" : "保存でき") +
                                    "ませんでした。しばらくしてからもう一度お試しください。");
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    ~ChangeLock() { ::close(fd_); }
    ChangeLock(const ChangeLock&) = delete;
    ChangeLock& operator=(const ChangeLock&) = delete;

private:
    int fd_ = -1;
};

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

// Opens the target's temporary file, emptied. The change lock keeps other programs' saves of
// the target away; a name that is no file of ours (a planted link) is removed first.
int openTemporary(const std::string& temp, const std::string& path) {
    for (int attempt = 0;; ++attempt) {
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666);
        if (fd >= 0) {
            struct stat st {};
            if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) return fd;
            ::close(fd);
            errno = EISDIR;
        }
        const int err = errno;
        struct stat st {};
        if (attempt == 0 && ::lstat(temp.c_str(), &st) == 0 && !S_ISREG(st.st_mode) &&
            !S_ISDIR(st.st_mode) && ::unlink(temp.c_str()) == 0)
            continue;
        ioError(path, FileAction::Save, err);
    }
}

// Writes text over the file at target (path is the name the user knows it by) through the
// temporary file; the caller holds the change lock.
void replaceFile(const std::string& path, const std::string& target, std::string_view text) {
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
    if (::rename(temp.c_str(), target.c_str()) != 0) fail(errno);
    if (::close(fd) != 0) ioError(path, FileAction::Save, errno);
}

}  // namespace

void setFileLockWait(std::chrono::milliseconds wait) { lockWaitMs = wait.count(); }

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
        case EISDIR: reason = "同じ名前のフォルダがあります"; break;
        case ENOTDIR: reason = "途中の名前がフォルダではありません"; break;
        case ELOOP: reason = "シンボリックリンクが多すぎるか、使えないシンボリックリンクです"; break;
        case EBUSY: reason = "ほかのプログラムが使用中です"; break;
        case ETXTBSY: reason = "実行中のプログラムのファイルです"; break;
        case EEXIST: reason = "同じ名前のものがすでにあります"; break;
        case EIO: reason = "入出力エラーが起きました"; break;
        case EFBIG: reason = "ファイルが大きすぎます"; break;
        case EMFILE:
        case ENFILE: reason = "開いているファイルが多すぎます"; break;
        case ENOLCK: reason = "ファイルをロックできません"; break;
        case ESTALE: reason = "ネットワーク上のファイルが無効になりました"; break;
        case ETIMEDOUT: reason = "時間切れになりました"; break;
        case EXDEV: reason = "別のドライブへは移せません"; break;
        case ENXIO:
        case ENODEV: reason = "装置がありません"; break;
        case EINVAL: reason = "この場所では使えない名前か操作です"; break;
        case EAGAIN: reason = "一時的に使えません"; break;
        case EINTR: reason = "中断されました"; break;
        case ENOMEM: reason = "メモリが足りません"; break;
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

std::string loadStringFromFileLimit(const std::string& path, std::size_t limit, Links links) {
    std::uintmax_t size = findFile(path);
    if (size > limit) size = limit;
    std::string text;
    int fd = links == Links::Refuse ? openOwn(path, O_RDONLY) : -2;
    if (fd == -2) {
        if (size == 0) return text;
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    }
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

std::string loadStringFromFile(const std::string& path, Links links) {
    return loadStringFromFileLimit(path, static_cast<std::size_t>(-1), links);
}

void saveStringToFile(const std::string& path, std::string_view text, Links links) {
    ensureDirectory(path);
    const std::string target = links == Links::Follow ? saveTarget(path) : path;
    if (target != path) ensureDirectory(target);
    ChangeLock lock(target, FileAction::Save);
    if (links == Links::Refuse) refuseIfOdd(path);
    replaceFile(path, target, text);
}

void updateFile(const std::string& path,
                const std::function<std::string(const std::optional<std::string>& now)>& merge) {
    ensureDirectory(path);
    ChangeLock lock(path, FileAction::Save);
    std::optional<std::string> now;
    int fd = openOwn(path, O_RDONLY);
    if (fd < 0 && errno != ENOENT) ioError(path, FileAction::Read, errno);
    if (fd >= 0) {
        now.emplace();
        char buffer[65536];
        for (;;) {
            ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                int err = errno;
                ::close(fd);
                ioError(path, FileAction::Read, err);
            }
            if (n == 0) break;
            now->append(buffer, static_cast<std::size_t>(n));
        }
        ::close(fd);
    }
    replaceFile(path, path, merge(now));
}

namespace {

// Writes all of text at offset in as few calls as the system allows (one for a line); 0 or the
// error number.
int writeAllAt(int fd, std::string_view text, off_t offset) {
    while (!text.empty()) {
        ssize_t n = ::pwrite(fd, text.data(), text.size(), offset);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
        offset += n;
    }
    return 0;
}

void appendUnderLock(const std::string& path, std::string_view text, bool wholeLines) {
    ensureDirectory(path);
    ChangeLock lock(path, FileAction::Append);
    int fd = openOwn(path, O_RDWR | O_CREAT, 0666);
    if (fd < 0) ioError(path, FileAction::Append, errno);
    struct stat before {};
    if (::fstat(fd, &before) != 0) {
        int err = errno;
        ::close(fd);
        ioError(path, FileAction::Append, err);
    }
    // The end as the lock holder sees it, not O_APPEND: on a network file system an append is
    // no single step, a write at a known offset under the lock is.
    std::string joined;
    if (wholeLines && before.st_size > 0) {
        char last = '\n';
        if (::pread(fd, &last, 1, before.st_size - 1) == 1 && last != '\n' && last != '\r') {
            joined = "\r\n";
            joined += text;
            text = joined;
        }
    }
    // A line half written is worse than none: readers would take it for a whole one.
    // The first error is the one reported; the cut back is all that can still be done.
    if (int err = writeAllAt(fd, text, before.st_size)) {
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

}  // namespace

void appendStringToFile(const std::string& path, std::string_view text) {
    appendUnderLock(path, text, false);
}

void appendLinesToFile(const std::string& path, std::string_view lines) {
    appendUnderLock(path, lines, true);
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
