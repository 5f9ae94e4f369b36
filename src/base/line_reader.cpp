#include "base/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/files.h"

namespace keyrook {
namespace {

constexpr std::size_t kChunk = 64 * 1024;

[[noreturn]] void readError(const std::string& path, int err) {
    throw FileError(fileErrorMessage(path, FileAction::Read, err));
}

}  // namespace

FileLines::FileLines(const std::string& path, Links links) : path_(path) {
    findFile(path);  // a missing file reports as a whole-file read does
    if (links == Links::Refuse) {
        // Read as loadStringFromFile reads a user's file: only a regular file of that name.
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        struct stat st {};
        if (fd_ >= 0 && ::fstat(fd_, &st) == 0 && !S_ISREG(st.st_mode)) {
            ::close(fd_);
            fd_ = -1;
            loadStringFromFileLimit(path, 0, links);  // throws the refusal
        }
        if (fd_ < 0 && errno == ELOOP) loadStringFromFileLimit(path, 0, links);
        if (fd_ >= 0) ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    } else {
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (fd_ < 0) readError(path, errno);
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
