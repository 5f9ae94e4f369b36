// The registered users and the current one. Names are CP932 bytes; the list file
// "user/user.log" holds the current user on line 1, then every registered name.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/services.h"
#include "base/user_name.h"

namespace keyrook {

class UserList {
public:
    // A line of the list file that is no usable user name (a hand-edited or damaged file).
    struct Skipped {
        std::string line;    // CP932, as in the file
        std::string reason;  // UTF-8, for the user
    };

    std::vector<std::string> items;  // registered names, in registration order
    std::string current;             // the selected user
    std::vector<Skipped> skipped;    // never offered nor used in a path, but written back

    // Line 1 becomes the current user; it is appended to the list unless the other lines
    // already hold it (without regard to case). An empty line is the empty name, which the
    // first-run prompt accepts: a user like any other, listed once. Lines that fail the
    // user-name rule go to skipped; when line 1 is one of them, the first usable name is the
    // current user, and with none (an empty file too) the empty name is. NUL bytes separate
    // lines but make none. The current user is always one of the items.
    void load(const std::string& fileText);

    // The text written at close: the current user, every item, then the skipped lines, each
    // with CR LF.
    std::string saveText() const;

    // The text written at close when other programs may share the list file: every name and
    // skipped line of the file as it is now (fileNow; nullopt when missing) in its order, then
    // this program's names it lacks, with this program's current user first.
    std::string mergedSaveText(const std::optional<std::string>& fileNow) const;

    bool contains(const std::string& name) const;  // without regard to letter case
};

// The start-up notice about the skipped lines of the list file at path; empty when none.
std::string skippedUsersMessage(const UserList& users, const std::string& path);

// First run: asks for the first user until a usable name is given; cancel gives "somebody".
// Returns the name as CP932.
std::string askFirstUser(Dialogs& dialogs);

// "User Regist": the confirmation, the name prompt and the checks. Appends the name to the list
// and returns true when a user was registered; the current user does not change.
bool registerUser(UserList& users, Dialogs& dialogs);

}  // namespace keyrook
