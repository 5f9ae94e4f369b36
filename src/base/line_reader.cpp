#include "base/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "base/files.h"

namespace keyrook {
namespace {

constexpr std::size_t kChunk = 64 * 1024;

[[noreturn]] void readError(const std::string& path, int err) {
    throw FileError(fileErrorMessage(path, FileAction::Read, err));
}

// Opens a file to read; with Links::Refuse only a regular file of that name, as
// loadStringFromFile reads a user's file.
int openToRead(const std::string& path, Links links) {
    int fd = -1;
    if (links == Links::Refuse) {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        struct stat st {};
        if (fd >= 0 && ::fstat(fd, &st) == 0 && !S_ISREG(st.st_mode)) {
            ::close(fd);
            fd = -1;
            loadStringFromFileLimit(path, 0, links);  // throws the refusal
        }
        if (fd < 0 && errno == ELOOP) loadStringFromFileLimit(path, 0, links);
        if (fd >= 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    } else {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (fd < 0) readError(path, errno);
    return fd;
}

}  // namespace

FileLines::FileLines(const std::string& path, Links links) : path_(path) {
    findFile(path);  // a missing file reports as a whole-file read does
    fd_ = openToRead(path, links);
    buffer_.resize(kChunk);
}

FileLines::~FileLines() {
    if (fd_ >= 0) ::close(fd_);
}

bool FileLines::fill() {
    if (ended_) return false;
    // Keep the unread tail, then read behind it; a line longer than the buffer grows it.
    if (start_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + start_, end_ - start_);
        end_ -= start_;
        start_ = 0;
    }
    if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
    for (;;) {
        ssize_t n = ::read(fd_, buffer_.data() + end_, buffer_.size() - end_);
        if (n < 0) {
            if (errno == EINTR) continue;
            readError(path_, errno);
        }
        if (n == 0) {
            ended_ = true;
            return false;
        }
        end_ += static_cast<std::size_t>(n);
        return true;
    }
}

bool FileLines::next(std::string_view& line) {
    std::size_t scanned = start_;
    for (;;) {
        for (std::size_t i = scanned; i < end_; ++i) {
            const char c = buffer_[i];
            if (c != '\r' && c != '\n' && c != '\0') continue;
            if (i == start_) {  // an empty line, or the LF of a CR LF
                start_ = i + 1;
                continue;
            }
            line = std::string_view(buffer_.data() + start_, i - start_);
            start_ = i + 1;
            return true;
        }
        scanned = end_ - start_;
        if (!fill()) {
            if (start_ >= end_) return false;
            // The last line has no line break.
            line = std::string_view(buffer_.data() + start_, end_ - start_);
            start_ = end_;
            return true;
        }
    }
}

void forEachLineBackward(const std::string& path, const std::function<bool(std::string_view)>& fn,
                         Links links) {
    const std::uintmax_t size = findFile(path);
    const int fd = openToRead(path, links);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    auto separator = [](char c) { return c == '\r' || c == '\n' || c == '\0'; };
    std::uintmax_t pos = size;
    std::string block;
    std::string carry;  // the start of a line whose beginning lies further back
    while (pos > 0) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uintmax_t>(kChunk, pos));
        block.resize(n);
        std::size_t got = 0;
        while (got < n) {
            const ssize_t r = ::pread(fd, block.data() + got, n - got,
                                      static_cast<off_t>(pos - n + got));
            if (r < 0) {
                if (errno == EINTR) continue;
                readError(path, errno);
            }
            if (r == 0) break;  // the file shrank meanwhile: read what is there
            got += static_cast<std::size_t>(r);
        }
        block.resize(got);
        pos -= n;
        block += carry;
        std::size_t end = block.size();
        for (std::size_t i = block.size(); i-- > 0;) {
            if (!separator(block[i])) continue;
            if (end > i + 1 && !fn(std::string_view(block).substr(i + 1, end - i - 1))) return;
            end = i;
        }
        carry.assign(block, 0, end);
    }
    if (!carry.empty()) fn(carry);
}

std::optional<char> lastByteOfFile(const std::string& path) {
    const std::uintmax_t size = findFile(path);
    if (size == 0) return std::nullopt;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) readError(path, errno);
    char c = 0;
    ssize_t n;
    do {
        n = ::pread(fd, &c, 1, static_cast<off_t>(size - 1));
    } while (n < 0 && errno == EINTR);
    const int err = errno;
    ::close(fd);
    if (n < 0) readError(path, err);
    if (n == 0) return std::nullopt;  // the file shrank meanwhile
    return c;
}

}  // namespace keyrook
