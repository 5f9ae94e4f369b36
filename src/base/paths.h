// Where the program's own files and each user's files live, decided once at start-up.
//
// Portable: everything beside the executable, as it always was (the build tree, a copied
// folder, a USB stick): AppDir + "data/", "sound/", "help.hlp" and "user/".
// Installed: the program's own files come from <prefix>/share/keyrook/ (found relative to the
// executable) and the user's from $XDG_DATA_HOME/keyrook/ (default ~/.local/share/keyrook/):
// "user/" for every per-user file, "data/" for the problem sets the user writes. The set list
// merges the installed sets with the user's own; a user's set of the same title replaces the
// installed one.
//
// Names are CP932, as the program holds them; the paths returned are in the file-name encoding
// (UTF-8) and joined with "/".
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace keyrook {

// Title of a set from its file name ("がっこう.std" -> "がっこう"): the last four characters dropped.
std::string titleFromFileName(const std::string& fileName);

class Paths {
public:
    enum class Mode { Portable, Installed };

    // The portable layout rooted at appDir ("/" at the end, as AppDir is kept). A folder is all a
    // portable layout needs, so a folder name converts to one.
    Paths(std::string appDir);  // NOLINT(google-explicit-constructor)
    // The installed layout: programDir holds data/, sound/ and help.hlp; userRoot receives user/
    // and data/. Both end in "/".
    static Paths installed(std::string programDir, std::string userRoot);

    Mode mode() const { return mode_; }
    const std::string& programDir() const { return programDir_; }
    const std::string& userRoot() const { return userRoot_; }  // programDir() when portable

    // "user/user.log".
    std::string userList() const;
    // "user/" + user + extension. Throws FileError for a name that fails the user-name rule.
    std::string userFile(const std::string& cp932User, const std::string& extension) const;

    // Titles of the problem sets (CP932), the installed ones in directory order with the user's
    // own after them. A file name Shift-JIS cannot spell is left out: it could never be stored
    // in a record.
    std::vector<std::string> setTitles() const;
    // The file a title is read from: the user's own set when there is one, else the installed.
    // A set file whose extension is in other letter case ("Upper.STD") is the title's file.
    std::string setFile(const std::string& cp932Title) const;
    // The folder the maker writes into (without the final "/") and the file it writes a title to.
    std::string setDirForWriting() const;
    std::string setFileForWriting(const std::string& cp932Title) const;

    // "sound/" + name + ".wav".
    std::string soundFile(const std::string& name) const;
    std::string helpFile() const;

private:
    Paths(Mode mode, std::string programDir, std::string userRoot);

    Mode mode_;
    std::string programDir_;
    std::string userRoot_;
};

// What the decision reads from the process: $XDG_DATA_HOME and the home folder ($HOME, or the
// password entry's when HOME is unset).
struct StartupEnvironment {
    std::string xdgDataHome;
    std::string home;
};
StartupEnvironment processEnvironment();

// $XDG_DATA_HOME/keyrook/, or ~/.local/share/keyrook/ when it is unset or not absolute.
std::string userDataRoot(const StartupEnvironment& env);

// True when files can be made in the folder (a read-only file system counts as not writable,
// even for root).
bool folderWritable(const std::string& dir);

// The start-up decision for an executable in appDir ("/" at the end). Portable when
// appDir + "user/" is a writable folder, or is missing and can be created there. A program
// that sits in an installed layout (appDir + "../share/keyrook/" exists) never creates a user/
// folder beside itself: that would be /usr/bin/user for root. Otherwise installed, reading its
// own files from ../share/keyrook/, or from appDir when that folder is missing (a read-only
// copy of the portable folder).
Paths decidePaths(const std::string& appDir, const StartupEnvironment& env,
                  const std::function<bool(const std::string&)>& writable = folderWritable);

}  // namespace keyrook
