// The registered users and the current one. Names are CP932 bytes; the list file
// "user/user.log" holds the current user on line 1, then every registered name.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/services.h"

namespace keyrook {

class UserList {
public:
    std::vector<std::string> items;  // registered names, in registration order
    std::string current;             // the selected user

    // Line 1 becomes the current user; it is appended to the list unless the other lines
    // already hold it (without regard to case). An empty file leaves both empty.
    void load(const std::string& fileText);

    // The text written at close: the current user, then every item, each with CR LF.
    std::string saveText() const;

    bool contains(const std::string& name) const;  // without regard to letter case
};

// Why a name (UTF-8, as typed) cannot be a user name, or nullopt when it can. A user name is
// the stem of the user's file names and a field of record lines, so path separators, the
// characters Windows forbids in file names, control characters, "." and "..", commas and text
// that Shift-JIS cannot hold are refused.
std::optional<std::string> userNameProblem(const std::string& utf8Name);

// First run: asks for the first user until a usable name is given; cancel gives "somebody".
// Returns the name as CP932.
std::string askFirstUser(Dialogs& dialogs);

// "User Regist": the confirmation, the name prompt and the checks. Appends the name to the list
// and returns true when a user was registered; the current user does not change.
bool registerUser(UserList& users, Dialogs& dialogs);

}  // namespace keyrook
