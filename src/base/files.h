// Whole-file operations. Paths are in the file system's own encoding (UTF-8 here) and joined
// with "/". File contents are raw bytes (CP932 text). Every failure throws FileError, whose
// message (UTF-8) is what the user sees in the top-level error box.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace keyrook {

class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Another Keyrook program held the file's lock for longer than a change waits: nothing was
// written and the user may try again.
class FileBusyError : public FileError {
public:
    using FileError::FileError;
};

enum class FileAction { Read, Save, Append };

// What a file operation does with a name that is a symbolic link or no regular file (a folder,
// a pipe, a device). A user's own files and the sets the maker writes refuse them: on a shared
// folder anybody may plant a link there to have another user's program write where they point.
// Refused names throw FileError naming the file; a folder is never written over.
enum class Links { Refuse, Follow };

// How long a change of a file waits for another program's lock before it gives up with
// FileBusyError (a few seconds unless a test shortens it).
void setFileLockWait(std::chrono::milliseconds wait);

// What the user reads when the system refuses a file operation: the path, what could not be
// done and why, in Japanese for the common causes (permission, read-only file system, full
// disk, too long a name, a missing file or folder) and in the system's words for the rest.
std::string fileErrorMessage(const std::string& path, FileAction action, int err);

// Size in bytes of the file (or directory) at path; throws path + "の情報の取得に失敗しました。".
std::uintmax_t findFile(const std::string& path);

bool fileExists(const std::string& path);

// The whole file as one byte string. A reader never waits for a lock: saves replace a file in
// one step, so it sees the old or the new content.
std::string loadStringFromFile(const std::string& path, Links links = Links::Follow);

// The first min(limit, size) bytes of the file.
std::string loadStringFromFileLimit(const std::string& path, std::size_t limit,
                                    Links links = Links::Follow);

// Replaces the file with exactly these bytes, creating missing directories. The bytes go to a
// temporary file in the same folder first and are renamed over the target, so the old content
// survives any failure. The temporary name is fixed per target (temporaryNameFor), so a save
// killed midway leaves at most that one file, which the next save replaces. The replaced
// file's permission bits are kept. With Links::Follow a symbolic link stays and the file it
// points to is replaced. Every change of a file (save, append, update) holds the exclusive
// lock that all Keyrook programs take for it, and only while it writes.
void saveStringToFile(const std::string& path, std::string_view text, Links links = Links::Refuse);

// Read-merge-write under the file's lock: merge gets the content on disk now (nullopt for a
// missing file) and returns the text to save, so what other programs stored meanwhile is kept.
// An exception from merge leaves the file as it was.
void updateFile(const std::string& path,
                const std::function<std::string(const std::optional<std::string>& now)>& merge);

// The temporary file a save of target writes: ".<name>.tmp" beside it, or, when that would be
// longer than the folder's file system takes, ".keyrook-<16 hex digits>.tmp" made from a hash
// of the name, so a name at the limit can still be saved.
std::string temporaryNameFor(const std::string& target);

// Appends the bytes to the file, creating it (and its folder) when missing. A failed append
// (a full disk) cuts the file back to its length before the append, then throws. The bytes go
// in one write at the end the lock holder sees, so appends of several programs at once never
// interleave, on a network file system too.
void appendStringToFile(const std::string& path, std::string_view text);

// Appends whole lines (text ending in a line break): when the file's last line lacks its line
// break, CR LF goes first, so the new line never joins it.
void appendLinesToFile(const std::string& path, std::string_view lines);

// Names of the regular files in dir whose name ends in suffix, letter case aside (".STD"
// counts as ".std"), in directory order. A missing directory gives an empty list.
std::vector<std::string> listFiles(const std::string& dir, std::string_view suffix);

// dir + "/" + stem + extension; when that file is missing but one whose extension differs
// only in letter case exists ("Upper.STD" for ".std"), that one.
std::string fileWithExtension(const std::string& dir, const std::string& stem, std::string_view extension);

// Whether a character may not be part of a file name here or on Windows: a control character,
// a path separator (/ \) or one of : * ? " < > |. In CP932 text, ask for single-byte
// characters only: a trail byte may have any of these values.
bool forbiddenInFileName(unsigned char c);

// The directory part of a path without a trailing "/" ("" for a bare name).
std::string directoryOf(const std::string& path);

// Splits text into lines at CR LF, LF or CR. A NUL byte ends the text; a missing final line
// break is accepted; an empty text has no lines.
std::vector<std::string> splitLines(std::string_view text);

// Lines of the files the program appends to (records, scores, the user list): split at CR LF,
// LF, CR and at every run of NUL bytes, which a crash or power cut can leave in the middle of
// such a file; empty lines are left out. Nothing stored after damage is hidden this way.
std::vector<std::string> splitNonEmptyLines(std::string_view text);

// Every line followed by CR LF.
std::string joinLinesCrLf(const std::vector<std::string>& lines);

}  // namespace keyrook
