// The class report a teacher opens in a spreadsheet: per user and title, how often and how well
// the user practised, from the user list and each user's record file.
#pragma once

#include <cstddef>
#include <string>

namespace keyrook {

struct ClassReport {
    std::string csv;           // UTF-8, a header line, then one row per user and title
    std::size_t damaged = 0;   // record lines left out: bad checksum, wrong field count, no numbers
};

// The report over userDir (the folder holding user.log and the .rec files). Users come in the
// list's order, titles in the order of their first session. Columns: user, title, sessions,
// first and last date (20yy/mm/dd), best score, and the medians of speed (Hits/Min) and
// mistype rate (%) over the title's last 10 sessions. A user without a record file has no row.
// Throws FileError when the list cannot be read.
ClassReport classReport(const std::string& userDir);

}  // namespace keyrook
