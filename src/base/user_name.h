// The one rule for user names. A user name is the stem of the user's file names and a field of
// record lines, whether it was typed at registration or read back from the user list, so every
// name passes this rule before it becomes part of a path.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace keyrook {

constexpr std::size_t kMaxUserNameBytes = 64;

// Why a name (UTF-8, as typed) cannot be a user name, or nullopt when it can: path separators,
// the characters Windows forbids in file names, control characters, "." and "..", commas, text
// that Shift-JIS cannot hold and names over kMaxUserNameBytes in Shift-JIS are refused.
std::optional<std::string> userNameProblem(const std::string& utf8Name);

// The same rule for a name as stored (CP932 bytes, from a file); bytes that are no Shift-JIS
// character are refused too.
std::optional<std::string> storedUserNameProblem(std::string_view cp932Name);

// A stored name or list line as a message can show it (UTF-8): control characters as "?",
// long text cut with "…".
std::string shownUserName(std::string_view cp932);

}  // namespace keyrook
