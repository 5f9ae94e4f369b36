// The session record file "user/<name>.rec": one comma-separated line of 14 fields per
// confirmed session, CP932 with CR LF, oldest first, the last field a checksum of the rest.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "typing/scoring.h"

namespace keyrook {

// The machine's local date and time now.
DateTime localDateTime();

// Field 1: "yy/mm/dd h:nn:ss" (01/03/24 11:45:43) whatever the machine's locale; the displays
// put "20" in front of it.
std::string recordDateText(const DateTime& when);

// A user name or title as a record field: the format has no escape, so a comma becomes the
// full-width "，" and a line break or a NUL (which readers take for a line break) a blank. Other text passes unchanged.
std::string recordFieldText(std::string_view cp932);

// Stores one record line with CR LF: appended to an existing file, or a new file created.
void writeRecord(const std::string& path, std::string_view recordLine);

// The fields of the last record whose title (field 3) equals the session's title in its record
// form, or nullopt. A missing file is first created holding one empty line.
std::optional<std::vector<std::string>> findPreviousRecord(const std::string& path,
                                                           std::string_view title);

// The fields of a line, split at every comma.
std::vector<std::string> splitRecordFields(std::string_view line);

// The last field, read as an integer, equals Checksum of the text before the last comma.
bool isValidRecordLine(std::string_view line);

// "ok " or "bad ": what a record check prints before a line.
const char* recordLineVerdict(std::string_view line);

// The verdict followed by each non-empty line of a record file's text.
std::vector<std::string> checkRecordLines(std::string_view fileText);

}  // namespace keyrook
