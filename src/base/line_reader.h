// Reading files that grow with a user's history (a record file of a million sessions)
// without holding them in memory: line by line through a small buffer, or only the last byte.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/files.h"

namespace keyrook {

// The lines of a file the program appends to, the same as splitNonEmptyLines gives for the
// whole file: split at CR, LF and NUL bytes, empty lines left out.
class FileLines {
public:
    // Opens the file; throws FileError as loadStringFromFile does.
    explicit FileLines(const std::string& path, Links links = Links::Follow);
    ~FileLines();
    FileLines(const FileLines&) = delete;
    FileLines& operator=(const FileLines&) = delete;

    // The next line without its line break; false after the last. The view stays valid until
    // the next call.
    bool next(std::string_view& line);

private:
    bool fill();  // more bytes into the buffer; false at the end of the file

    std::string path_;
    int fd_ = -1;
    std::string buffer_;
    std::size_t start_ = 0;  // first unread byte in buffer_
    std::size_t end_ = 0;    // bytes held in buffer_
    bool ended_ = false;     // end of file reached
};

// The lines of a file from the last towards the first, split as FileLines splits them, read
// backwards through a small buffer: fn gets each line and returns false once it has enough,
// so a long history's tail is read without its beginning. Throws FileError as
// loadStringFromFile does.
void forEachLineBackward(const std::string& path, const std::function<bool(std::string_view)>& fn,
                         Links links = Links::Follow);

// The last byte of a file, or nullopt for an empty one; throws FileError as
// loadStringFromFile does.
std::optional<char> lastByteOfFile(const std::string& path);

}  // namespace keyrook
